#include "app/export_setting.h"
#include "cli/export_command.h"
#include "gui/window_fixture.h"

namespace {
using ExportIdentity = WindowTest;

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
    WriteExportSetting(ExportSetting());
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
    WriteExportSetting(ExportSetting());
}
