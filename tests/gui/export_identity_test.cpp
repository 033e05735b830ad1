#include "cli/export_command.h"
#include "support/gif_bytes.h"
#include "support/gui_harness.h"
#include "support/temp_folder.h"
#include "support/test_files.h"
#include "window/gif_frame.h"
#include "window/thumbnailctrl.h"

#include <gtest/gtest.h>
#include <wx/filedlg.h>
#include <wx/menu.h>
#include <wx/spinctrl.h>

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
} // namespace

// The command-line exporter and the window's Save share one export: for the same frames, size
// and delay they must write the same bytes.
TEST(ExportIdentity, WindowSaveAndCommandLineWriteTheSameFile) {
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
    const int width = frame->m_spinctrl_width->GetValue();
    const int height = frame->m_spinctrl_height->GetValue();
    DestroyMainWindow(frame);

    const wxString commandGif = folder.File("command.gif");
    std::vector<wxString> arguments = {"-d", "7", "-o", commandGif};
    for (const wxString& input : inputs) {
        arguments.push_back(input);
    }
    std::FILE* quiet = std::fopen("/dev/null", "w");
    ASSERT_EQ(RunExportCommand(arguments, quiet, quiet, false), kExportSucceeded);
    std::fclose(quiet);

    EXPECT_EQ(width, 64);
    EXPECT_EQ(height, 48);
    const std::string fromWindow = ReadBytes(windowGif);
    ASSERT_GT(fromWindow.size(), 100u);
    EXPECT_TRUE(fromWindow == ReadBytes(commandGif));
}
