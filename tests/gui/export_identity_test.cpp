#include "app/export_setting.h"
#include "cli/export_command.h"
#include "export/size_fitting.h"
#include "gui/window_fixture.h"
#include "window/export_options_dialog.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <functional>

namespace {
using ExportIdentity = WindowTest;

// Answers the Export Options dialog: `set` changes its controls, then OK, once an estimate is
// shown unless the choices have a size limit.
class ChooseExportOptions : public wxExpectModalBase<ExportOptionsDialog, ChooseExportOptions> {
public:
    explicit ChooseExportOptions(std::function<void(ExportOptionsDialog*)> set,
                                 wxString* estimate = nullptr)
        : m_set(std::move(set)), m_estimate(estimate) {}

protected:
    int OnInvoked(ExportOptionsDialog* dialog) const override {
        m_set(dialog);
        if (m_estimate) {
            EXPECT_TRUE(RunUntil([dialog] { return dialog->HasEstimate(); }, 20000));
            *m_estimate = dialog->m_text_estimate->GetLabel();
        }
        EXPECT_TRUE(dialog->m_button_ok->IsEnabled());
        return wxID_OK;
    }

private:
    std::function<void(ExportOptionsDialog*)> m_set;
    wxString* m_estimate;
};

// Controls changed as a user changes them: with the event the control sends.
template <typename Control> void Set(Control* control, int value, wxEventType type) {
    control->SetValue(value);
    wxCommandEvent changed(type, control->GetId());
    changed.SetEventObject(control);
    control->ProcessWindowEvent(changed);
}
void Set(wxSpinCtrl* control, int value) {
    control->SetValue(value);
    wxSpinEvent changed(wxEVT_SPINCTRL, control->GetId());
    changed.SetEventObject(control);
    changed.SetPosition(value);
    control->ProcessWindowEvent(changed);
}
void Choose(wxChoice* control, int entry) {
    control->SetSelection(entry);
    wxCommandEvent changed(wxEVT_CHOICE, control->GetId());
    control->ProcessWindowEvent(changed);
}

// Photo-like frames, different from each other, for which quality and size limits matter.
wxString WriteGrainyPng(const wxString& path, unsigned seed) {
    wxImage picture(96, 72);
    unsigned char* rgb = picture.GetData();
    for (int p = 0; p < 96 * 72; ++p) {
        seed = seed * 1103515245u + 12345u;
        const int grain = static_cast<int>(seed >> 27);
        rgb[3 * p] = static_cast<unsigned char>((p % 96) * 2 + grain);
        rgb[3 * p + 1] = static_cast<unsigned char>((p / 96) * 3 + grain);
        rgb[3 * p + 2] = static_cast<unsigned char>(128 + grain * 3);
    }
    picture.SaveFile(path, wxBITMAP_TYPE_PNG);
    return path;
}

std::string CommandFile(const std::vector<wxString>& options, const std::vector<wxString>& inputs,
                        const wxString& path) {
    std::vector<wxString> arguments = {"-d", "7", "-o", path};
    arguments.insert(arguments.end(), options.begin(), options.end());
    arguments.insert(arguments.end(), inputs.begin(), inputs.end());
    CommandStreams streams;
    streams.err = std::fopen("/dev/null", "w");
    const int status = RunExportCommand(arguments, streams);
    std::fclose(streams.err);
    return status == kExportSucceeded ? ReadBytes(path) : std::string();
}

} // namespace

// The command-line exporter and the window's Save share one export: for the same frames, size,
// delay and options they must write the same bytes. The menu's choices and the loop count
// dialog's make Save write the file again, and are remembered.
TEST_F(ExportIdentity, WindowSaveAndCommandLineWriteTheSameFile) {
    WriteExportSetting(ExportChoices());
    wxImage translucent = FilledImage(50, 70, 10, 200, 90);
    translucent.InitAlpha();
    for (int i = 0; i < 50 * 70; ++i) {
        translucent.GetAlpha()[i] = static_cast<unsigned char>(i % 256);
    }
    translucent.SaveFile(folder.File("alpha.png"), wxBITMAP_TYPE_PNG);
    const std::vector<wxString> files = {
        WritePng(folder.File("wide.png"), 120, 40, 200, 30, 30), folder.File("alpha.png"),
        testgif::WriteAnimation(folder.File("walk.gif"), 3, 64, 48)};
    Import(frame->m_menuItem_add, files);
    Type(frame->m_spinctrl_delay, 7);
    const wxString windowGif = folder.File("window.gif");
    answer = {windowGif};
    Save(frame->m_menuItem_save);
    const std::string plain = ReadBytes(windowGif);
    ASSERT_GT(plain.size(), 100u);
    EXPECT_TRUE(plain == CommandFile({}, files, folder.File("command.gif")));

    wxTEST_DIALOG(Command(frame->m_menuItem_loop), ChooseLoopCount(3, true));
    frame->m_menuItem_best->Check(true);
    Command(frame->m_menuItem_best);
    frame->m_menuItem_optimize->Check(true);
    Command(frame->m_menuItem_optimize);
    Save(frame->m_menuItem_save);
    const std::string chosen = ReadBytes(windowGif);
    EXPECT_NE(chosen, plain);
    EXPECT_TRUE(chosen ==
                CommandFile({"-q", "best", "-O", "--loop", "3"}, files, folder.File("c.gif")));

    // A new window starts with the remembered choices.
    Restart();
    EXPECT_TRUE(frame->m_menuItem_best->IsChecked());
    EXPECT_TRUE(frame->m_menuItem_optimize->IsChecked());
    WriteExportSetting(ExportChoices());
}

// The Export Options dialog sets all choices at once, as one edit that the check items follow;
// Save then writes what the exporter writes with the same options, says what a size limit chose
// as the exporter says it, and refuses with its message when nothing fits.
TEST_F(ExportIdentity, ExportOptionsSaveWritesWhatTheExporterWrites) {
    WriteExportSetting(ExportChoices());
    std::vector<wxString> files;
    for (unsigned i = 0; i < 5; ++i) {
        files.push_back(WriteGrainyPng(folder.File(wxString::Format("f%u.png", i)), i + 1));
    }
    Import(frame->m_menuItem_add, files);
    Type(frame->m_spinctrl_delay, 7);
    answer = {folder.File("choices.xml")};
    Command(frame->m_menuItem_saveproject);
    ASSERT_TRUE(frame->IsProjectUnchanged());

    wxString estimate;
    wxTEST_DIALOG(Command(frame->m_menuItem_exportoptions),
                  ChooseExportOptions(
                      [](ExportOptionsDialog* dialog) {
                          // A size limit writes the best colours, and shows them chosen.
                          Set(dialog->m_check_maxsize, true, wxEVT_CHECKBOX);
                          EXPECT_TRUE(dialog->m_radio_best->GetValue());
                          Set(dialog->m_check_maxsize, false, wxEVT_CHECKBOX);
                          EXPECT_TRUE(dialog->m_radio_standard->GetValue());
                          Set(dialog->m_radio_best, true, wxEVT_RADIOBUTTON);
                          Set(dialog->m_spin_quality, 70);
                          Set(dialog->m_spin_colours, 64);
                          Choose(dialog->m_choice_lossy, kLossyAtLevel);
                          Set(dialog->m_spin_lossy, 30);
                          Set(dialog->m_check_optimize, true, wxEVT_CHECKBOX);
                      },
                      &estimate));
    EXPECT_TRUE(frame->m_menuItem_best->IsChecked());
    EXPECT_TRUE(frame->m_menuItem_optimize->IsChecked());
    EXPECT_FALSE(frame->IsProjectUnchanged());
    const wxString windowGif = folder.File("window.gif");
    answer = {windowGif};
    Save(frame->m_menuItem_save);
    const std::string lossy = ReadBytes(windowGif);
    EXPECT_TRUE(lossy ==
                CommandFile({"-q", "best", "-Q", "70", "--colours", "64", "--lossy", "30", "-O"},
                            files, folder.File("lossy.gif")));
    // The estimate of five frames encodes them all.
    EXPECT_EQ(estimate, wxString::Format("Estimated size: about %s", FormatByteSize(lossy.size())));

    // One Undo takes the whole dialog back.
    Command(frame->m_menuItem_undo);
    EXPECT_FALSE(frame->m_menuItem_best->IsChecked());
    EXPECT_FALSE(frame->m_menuItem_optimize->IsChecked());
    EXPECT_TRUE(frame->IsProjectUnchanged());
    Command(frame->m_menuItem_redo);

    // Under a size limit the dialog's choices of colours give way to the limit's.
    const long long limit = static_cast<long long>(lossy.size()) * 3 / 4;
    wxTEST_DIALOG(Command(frame->m_menuItem_exportoptions),
                  ChooseExportOptions([limit](ExportOptionsDialog* dialog) {
                      dialog->m_text_maxsize->SetValue(wxString::Format("%lld", limit));
                      EXPECT_TRUE(dialog->m_check_maxsize->GetValue());
                      EXPECT_FALSE(dialog->m_spin_quality->IsEnabled());
                  }));
    Save(frame->m_menuItem_save);
    const std::string fitted = ReadBytes(windowGif);
    EXPECT_LE(static_cast<long long>(fitted.size()), limit);
    EXPECT_TRUE(fitted == CommandFile({"-q", "best", "-Q", "70", "--colours", "64", "--lossy", "30",
                                       "-O", "--max-size", wxString::Format("%lld", limit)},
                                      files, folder.File("fitted.gif")));
    EXPECT_TRUE(Status(2).StartsWith("chose quality ")) << Status(2);
    EXPECT_TRUE(Status(2).EndsWith(" of " + FormatByteSize(limit))) << Status(2);

    // Nothing fits: the file stays as it was.
    wxTEST_DIALOG(Command(frame->m_menuItem_exportoptions),
                  ChooseExportOptions([](ExportOptionsDialog* dialog) {
                      dialog->m_text_maxsize->SetValue("100");
                  }));
    wxString refusal;
    wxTEST_DIALOG(Save(frame->m_menuItem_save), ExpectMessage(wxID_OK, &refusal));
    EXPECT_TRUE(refusal.StartsWith(wxString::Format("Cannot save \"%s\" in %s: even quality ",
                                                    windowGif, FormatByteSize(100))))
        << refusal;
    EXPECT_TRUE(ReadBytes(windowGif) == fitted);

    // A new window starts with the choices made last.
    Restart();
    const ExportOptions remembered = frame->CurrentChoices().options;
    EXPECT_EQ(remembered.quality, 70);
    EXPECT_EQ(remembered.colours, 64);
    EXPECT_EQ(remembered.lossy, 30);
    EXPECT_EQ(remembered.maxBytes, 100);
    WriteExportSetting(ExportChoices());
}
