#include "support/gui_harness.h"
#include "support/test_images.h"
#include "window/gif_frame.h"
#include "window/thumbnailctrl.h"

#include <gtest/gtest.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>
#include <wx/testing.h>
#include <wx/toolbar.h>
#include <wx/xrc/xmlres.h>

namespace {
wxArrayString Paths(std::initializer_list<wxString> paths) {
    wxArrayString list;
    for (const wxString& path : paths) {
        list.push_back(path);
    }
    return list;
}

struct FrameCommands : ::testing::Test {
    GifFrame* frame = nullptr;
    TempFolder folder;
    wxArrayString answer;
    std::vector<FileDialogRequest> asked;

    void SetUp() override {
        frame = MakeMainWindow();
        ASSERT_NE(frame, nullptr);
        frame->SetFileDialogSeam(
            [this](wxWindow*, const FileDialogRequest& request, wxArrayString& paths) {
                asked.push_back(request);
                paths = answer;
                return !answer.empty();
            });
    }
    void TearDown() override { DestroyMainWindow(frame); }

    void Command(wxMenuItem* item) {
        wxCommandEvent event(wxEVT_MENU, item->GetId());
        frame->ProcessWindowEvent(event);
    }
    void Command(int id) {
        wxCommandEvent event(wxEVT_MENU, id);
        frame->ProcessWindowEvent(event);
    }
    wxThumbnailCtrl& Strip() { return *frame->m_thumbnailCtrl; }
    wxString PathOf(int index) { return Strip().GetItem(index)->GetPath(); }

    void AddImages(const wxArrayString& paths) {
        answer = paths;
        Command(frame->m_menuItem_add);
        ASSERT_TRUE(RunUntil([this] { return frame->m_progressDialog == nullptr; }));
    }
};
} // namespace

TEST_F(FrameCommands, AddImageImportsEveryFrameThenPreviewsTheFirst) {
    const wxString gif = WriteGif(folder / "walk.gif", 4, 40, 30);
    AddImages(Paths({WritePng(folder / "a.png", 40, 30), WritePng(folder / "b.png", 40, 30), gif,
                     WritePng(folder / "c.png", 40, 30)}));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].message, "Add Image Files");
    EXPECT_EQ(asked[0].wildcard, "Image files (*.png;*.jpg;*bmp;*.gif)|*.png;*.jpg;*.bmp;*.gif");

    ASSERT_EQ(Strip().GetCount(), 7);
    EXPECT_EQ(PathOf(0), folder / "a.png");
    EXPECT_EQ(PathOf(2), gif + "_0");
    EXPECT_EQ(PathOf(5), gif + "_3");
    EXPECT_EQ(PathOf(6), folder / "c.png");
    EXPECT_EQ(Strip().GetDelay(), frame->m_spinctrl_delay->GetValue());
    EXPECT_EQ(frame->m_spinctrl_width->GetValue(), 40);
    EXPECT_EQ(frame->m_spinctrl_height->GetValue(), 30);
    EXPECT_EQ(frame->m_statusBar1->GetStatusText(0), "Untitled.gif (40 * 30)px");
    EXPECT_EQ(frame->m_statusBar1->GetStatusText(1), "a.png Width:40px,Height:30 px");
    EXPECT_TRUE(frame->m_menuItem_run->IsEnabled());
    EXPECT_TRUE(frame->m_toolBar_button->GetToolEnabled(XRCID("m_tool_play")));

    // More files go to the end, and the whole strip's first frame is shown again.
    AddImages(Paths({WritePng(folder / "d.png", 80, 20)}));
    ASSERT_EQ(Strip().GetCount(), 8);
    EXPECT_EQ(PathOf(7), folder / "d.png");
    EXPECT_EQ(frame->m_currentFileName, "a.png");
    EXPECT_EQ(frame->m_spinctrl_width->GetValue(), 80);
}

TEST_F(FrameCommands, AddImageNamesTheFilesItCouldNotReadAndStillFinishes) {
    const wxString broken = folder / "broken.png";
    wxFile(broken, wxFile::write).Write("not a picture");
    answer = Paths({WritePng(folder / "a.png", 10, 10), folder / "missing.png", broken});
    wxString shown;
    wxTEST_DIALOG(Command(frame->m_menuItem_add);
                  ASSERT_TRUE(RunUntil([this] { return frame->m_progressDialog == nullptr; })),
                  wxExpectModal<wxMessageDialog>(wxID_OK).Describe("unread files"));
    EXPECT_EQ(Strip().GetCount(), 1);
    EXPECT_EQ(frame->m_currentFileName, "a.png");
}

TEST_F(FrameCommands, AnImportOfNothingReadableClosesItsDialogAndDisablesEditing) {
    answer = Paths({folder / "missing.png"});
    wxTEST_DIALOG(Command(frame->m_menuItem_add);
                  ASSERT_TRUE(RunUntil([this] { return frame->m_progressDialog == nullptr; })),
                  wxExpectModal<wxMessageDialog>(wxID_OK));
    EXPECT_EQ(Strip().GetCount(), 0);
    EXPECT_FALSE(frame->m_menuItem_run->IsEnabled());
    EXPECT_TRUE(frame->IsEnabled());
}

TEST_F(FrameCommands, InsertImageGoesToTheSelectionOrToTheEnd) {
    AddImages(Paths({WritePng(folder / "0.png", 10, 10), WritePng(folder / "1.png", 10, 10),
                     WritePng(folder / "2.png", 10, 10), WritePng(folder / "3.png", 10, 10)}));
    Strip().SelectWithModifiers(2, 0);
    const wxString b = WriteGif(folder / "b.gif", 2, 10, 10);
    answer = Paths({WritePng(folder / "a.png", 10, 10), b});
    Command(ID_POPUP_INSERT);
    ASSERT_EQ(Strip().GetCount(), 7);
    EXPECT_EQ(PathOf(2), folder / "a.png");
    EXPECT_EQ(PathOf(3), b + "_0");
    EXPECT_EQ(PathOf(4), b + "_1");
    EXPECT_EQ(PathOf(5), folder / "2.png");
    EXPECT_EQ(asked.back().message, "Insert Image Files");

    const wxArrayInt selected = Strip().GetSelectedIndices();
    for (int index : selected) {
        Strip().Select(index, false);
    }
    answer = Paths({WritePng(folder / "z.png", 10, 10)});
    Command(ID_POPUP_INSERT);
    ASSERT_EQ(Strip().GetCount(), 8);
    EXPECT_EQ(PathOf(7), folder / "z.png");
}

TEST_F(FrameCommands, DeleteAsksOnceAndKeepsTheRestInOrder) {
    wxArrayString paths;
    for (int i = 0; i < 5; ++i) {
        paths.push_back(WritePng(folder / wxString::Format("%d.png", i), 10, 10));
    }
    AddImages(paths);
    Strip().Select(1, true);
    Strip().Select(3, true);

    wxTEST_DIALOG(Command(frame->m_menuItem_delete),
                  wxExpectModal<wxMessageDialog>(wxID_NO).Describe("confirm delete"));
    EXPECT_EQ(Strip().GetCount(), 5);
    EXPECT_EQ(frame->m_statusBar1->GetStatusText(1), "");

    wxTEST_DIALOG(Command(frame->m_menuItem_delete),
                  wxExpectModal<wxMessageDialog>(wxID_YES).Describe("confirm delete"));
    ASSERT_EQ(Strip().GetCount(), 3);
    EXPECT_EQ(PathOf(0), folder / "0.png");
    EXPECT_EQ(PathOf(1), folder / "2.png");
    EXPECT_EQ(PathOf(2), folder / "4.png");
    EXPECT_TRUE(frame->m_menuItem_run->IsEnabled());

    Strip().SelectAll();
    wxTEST_DIALOG(Command(XRCID("m_tool_delete")), wxExpectModal<wxMessageDialog>(wxID_YES));
    EXPECT_EQ(Strip().GetCount(), 0);
    EXPECT_FALSE(frame->m_menuItem_run->IsEnabled());
    EXPECT_FALSE(frame->m_toolBar_button->GetToolEnabled(XRCID("m_tool_play")));
    EXPECT_EQ(frame->m_spinctrl_width->GetValue(), 0);
}

TEST_F(FrameCommands, ClearAllEmptiesTheStripAndTheSizes) {
    AddImages(Paths({WritePng(folder / "a.png", 30, 20), WritePng(folder / "b.png", 30, 20)}));
    Command(frame->m_menuItem_clear);
    EXPECT_EQ(Strip().GetCount(), 0);
    EXPECT_EQ(frame->m_spinctrl_width->GetValue(), 0);
    EXPECT_EQ(frame->m_spinctrl_height->GetValue(), 0);
    EXPECT_EQ(frame->m_statusBar1->GetStatusText(0), "");
    EXPECT_EQ(frame->m_statusBar1->GetStatusText(1), "");
    EXPECT_FALSE(frame->m_menuItem_clear->IsEnabled());
    // Width changes without frames do nothing.
    frame->m_spinctrl_width->SetValue(50);
    wxCommandEvent typed(wxEVT_TEXT, XRCID("m_spinctrl_width"));
    frame->ProcessWindowEvent(typed);
    EXPECT_EQ(frame->m_spinctrl_height->GetValue(), 0);
}
