// Save and Save As on a real main window: when they ask, when they write, what they report.
#include "gui/window_fixture.h"

#include <wx/dir.h>

using ExportCommands = WindowTest;

TEST_F(ExportCommands, SaveAsksOnceAndWritesOnlyWhatChanged) {
    // Without frames Save only asks; the name chosen then is where later saves write.
    const wxString path = folder.File("first.gif");
    answer = {path};
    Command(frame->m_menuItem_save);
    EXPECT_EQ(asked.at(0).defaultFile, "Untitled.gif");
    EXPECT_FALSE(wxFileExists(path));
    AddFrames({{40, 30}, {40, 30}, {40, 30}});
    Save(frame->m_menuItem_save);
    EXPECT_EQ(Status(0), "first.gif (40 * 30)px");

    // Mark the file: a Save that rewrites it removes the mark.
    WriteBytes(path, ReadBytes(path) + "MARK");
    const auto marked = [&path] {
        const std::string bytes = ReadBytes(path);
        return bytes.size() > 4 && bytes.compare(bytes.size() - 4, 4, "MARK") == 0;
    };
    Save(frame->m_menuItem_save);
    EXPECT_TRUE(marked());
    // Replace a frame: same count, delay and size, yet a different animation.
    frame->TakeFrame(1);
    frame->AddEntry(new wxImageThumbnailItem(new wxImage(FilledImage(40, 30, 0, 255, 0)), 0,
                                             folder.File("40x30.png")),
                    -1, 10);
    Save(frame->m_menuItem_save);
    EXPECT_FALSE(marked());
    wxRemoveFile(path);
    Save(frame->m_menuItem_save);
    EXPECT_TRUE(wxFileExists(path));
    EXPECT_EQ(asked.size(), 1u);
}

TEST_F(ExportCommands, SaveAsNamesTheFileAndAFailureKeepsTheOldOne) {
    AddFrames({{40, 30}});
    answer = {folder.File("anim")};
    Save(frame->m_menuItem_saveas);
    const wxString path = folder.File("anim.gif");
    EXPECT_EQ(frame->m_gifPath, path);
    EXPECT_EQ(Status(0), "anim.gif (40 * 30)px");
    const std::string good = ReadBytes(path);
    ASSERT_FALSE(good.empty());

    // A file that cannot be created, or a folder that cannot hold it: the old file and the
    // window's state stay.
    for (const wxString& bad :
         {wxString("/proc/anim.gif"), WritePng(folder.File("plain.png"), 2, 2) + "/anim.gif"}) {
        answer = {bad};
        wxTEST_DIALOG(Save(frame->m_menuItem_saveas),
                      wxExpectModal<wxMessageDialog>(wxID_OK).Describe("export failure"));
        EXPECT_EQ(ReadBytes(path), good);
        EXPECT_EQ(Status(0), "anim.gif (40 * 30)px");
        EXPECT_EQ(frame->m_gifPath, path);
        EXPECT_TRUE(frame->IsEnabled());
    }

    // Cancel: the old file stays, nothing is left beside it, and nothing is said.
    AddFrames(std::vector<wxSize>(40, wxSize(1500, 1000)));
    const auto files = [this] {
        wxArrayString names;
        wxDir::GetAllFiles(folder.Path(), &names, wxEmptyString, wxDIR_FILES | wxDIR_HIDDEN);
        return names;
    };
    const wxArrayString before = files();
    answer = {path};
    Command(frame->m_menuItem_saveas);
    ASSERT_NE(frame->m_saveProgressDialog, nullptr);
    PressCancel(frame->m_saveProgressDialog);
    ASSERT_TRUE(RunUntil([this] { return frame->m_saveProgressDialog == nullptr; }, 20000));
    EXPECT_EQ(ReadBytes(path), good);
    EXPECT_EQ(files(), before);
    EXPECT_EQ(frame->m_gifPath, path);
    EXPECT_TRUE(frame->IsEnabled());
    for (int n = Strip().GetCount() - 1; n > 0; --n) {
        frame->TakeFrame(n);
    }
    frame->RefreshCanvasSize();

    // Typed without ".gif": asked before the completed name replaces a file.
    answer = {folder.File("anim")};
    wxTEST_DIALOG(Command(frame->m_menuItem_saveas),
                  wxExpectModal<wxMessageDialog>(wxID_NO).Describe("replace anim.gif"));
    EXPECT_TRUE(frame->m_gifPath.empty());
    answer = {folder.File("anim.GIF")};
    Save(frame->m_menuItem_saveas);
    EXPECT_EQ(frame->m_gifPath, folder.File("anim.GIF.gif"));
    answer.clear();
    Command(frame->m_menuItem_saveas);
    EXPECT_TRUE(frame->m_gifPath.empty());
}
