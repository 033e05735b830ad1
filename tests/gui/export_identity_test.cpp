#include "app/export_setting.h"
#include "cli/export_command.h"
#include "support/gif_bytes.h"
#include "support/gui_harness.h"
#include "support/temp_folder.h"
#include "support/test_files.h"
#include "window/gif_frame.h"
#include "window/loop_count_dialog.h"
#include "window/thumbnailctrl.h"

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/filedlg.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/testing.h>

namespace {
wxString WriteTranslucentPng(const wxString& path) {
    wxImage image = FilledImage(50, 70, 10, 200, 90);
    image.InitAlpha();
    for (int y = 0; y < 70; ++y) {
        for (int x = 0; x < 50; ++x) {
            image.SetAlpha(x, y, static_cast<unsigned char>((x * 5 + y) % 256));
        }
    }
    image.SaveFile(path, wxBITMAP_TYPE_PNG);
    return path;
}
// Confirms the loop count dialog with a number of passes and the choice to write it.
class WriteCount : public wxExpectModalBase<LoopCountDialog, WriteCount> {
protected:
    int OnInvoked(LoopCountDialog* dialog) const override {
        dialog->m_radio_times->SetValue(true);
        dialog->m_spinctrl_loop->SetValue(3);
        dialog->m_checkBox_file->SetValue(true);
        wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
        dialog->OnButton(ok);
        return wxID_OK;
    }
};

void Command(GifFrame* frame, wxMenuItem* item) {
    wxCommandEvent event(wxEVT_MENU, item->GetId());
    frame->ProcessWindowEvent(event);
}

std::string CommandFile(const std::vector<wxString>& options, const wxArrayString& inputs,
                        const wxString& path) {
    std::vector<wxString> arguments = {"-d", "7", "-o", path};
    arguments.insert(arguments.end(), options.begin(), options.end());
    arguments.insert(arguments.end(), inputs.begin(), inputs.end());
    std::FILE* quiet = std::fopen("/dev/null", "w");
    const int status = RunExportCommand(arguments, quiet, quiet, false);
    std::fclose(quiet);
    return status == kExportSucceeded ? ReadBytes(path) : std::string();
}

} // namespace

// The command-line exporter and the window's Save share one export: for the same frames, size,
// delay and options they must write the same bytes. The menu's choices and the loop count
// dialog's make Save write the file again, and are remembered.
TEST(ExportIdentity, WindowSaveAndCommandLineWriteTheSameFile) {
    WriteExportSetting(ExportSetting());
    TempFolder folder;
    wxArrayString inputs;
    inputs.push_back(WritePng(folder.File("wide.png"), 120, 40, 200, 30, 30));
    inputs.push_back(WriteTranslucentPng(folder.File("alpha.png")));
    inputs.push_back(testgif::WriteAnimation(folder.File("walk.gif"), 3, 64, 48));

    GifFrame* frame = MakeMainWindow();
    ASSERT_NE(frame, nullptr);
    const wxString windowGif = folder.File("window.gif");
    frame->SetFileDialogSeam(
        [&](wxWindow*, const FileDialogRequest& request, wxArrayString& paths) {
            paths = request.style & wxFD_SAVE ? wxArrayString(1, &windowGif) : inputs;
            return true;
        });
    wxCommandEvent add(wxEVT_MENU, frame->m_menuItem_add->GetId());
    frame->ProcessWindowEvent(add);
    ASSERT_TRUE(RunUntil([&] { return frame->m_progressDialog == nullptr; }));
    ASSERT_EQ(frame->m_thumbnailCtrl->GetCount(), 5);
    frame->m_spinctrl_delay->SetValue(7);
    wxCommandEvent save(wxEVT_MENU, frame->m_menuItem_save->GetId());
    frame->ProcessWindowEvent(save);
    ASSERT_TRUE(RunUntil([&] { return frame->m_saveProgressDialog == nullptr; }, 20000));
    EXPECT_EQ(frame->m_spinctrl_width->GetValue(), 64);
    EXPECT_EQ(frame->m_spinctrl_height->GetValue(), 48);
    const std::string plain = ReadBytes(windowGif);
    ASSERT_GT(plain.size(), 100u);
    EXPECT_TRUE(plain == CommandFile({}, inputs, folder.File("command.gif")));

    wxTEST_DIALOG(Command(frame, frame->m_menuItem_loop), WriteCount());
    frame->m_menuItem_best->Check(true);
    Command(frame, frame->m_menuItem_best);
    frame->m_menuItem_optimize->Check(true);
    Command(frame, frame->m_menuItem_optimize);
    Command(frame, frame->m_menuItem_save);
    ASSERT_TRUE(RunUntil([&] { return frame->m_saveProgressDialog == nullptr; }, 20000));
    DestroyMainWindow(frame);
    const std::string chosen = ReadBytes(windowGif);
    EXPECT_NE(chosen, plain);
    EXPECT_TRUE(chosen ==
                CommandFile({"-q", "best", "-O", "--loop", "3"}, inputs, folder.File("c.gif")));

    // A new window starts with the remembered choices.
    EXPECT_TRUE(ReadExportSetting() == (ExportSetting{true, true, true}));
    frame = MakeMainWindow();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->m_menuItem_best->IsChecked());
    EXPECT_TRUE(frame->m_menuItem_optimize->IsChecked());
    DestroyMainWindow(frame);
    WriteExportSetting(ExportSetting());
}
