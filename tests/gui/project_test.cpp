#include "support/gui_harness.h"
#include "support/test_images.h"
#include "window/gif_frame.h"
#include "window/thumbnailctrl.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/spinctrl.h>
#include <wx/testing.h>
#include <wx/xml/xml.h>

namespace {
struct Project : ::testing::Test {
    GifFrame* frame = nullptr;
    TempFolder folder;
    wxString answer;
    int asked = 0;

    void SetUp() override {
        frame = MakeMainWindow();
        ASSERT_NE(frame, nullptr);
        AnswerWithPath();
    }
    void AnswerWithPath() {
        frame->SetFileDialogSeam([this](wxWindow*, const FileDialogRequest&, wxArrayString& paths) {
            ++asked;
            if (answer.empty()) {
                return false;
            }
            paths.push_back(answer);
            return true;
        });
    }
    void TearDown() override {
        if (frame != nullptr && !IsClosing()) {
            DestroyMainWindow(frame);
        }
        RunFor(20);
    }
    // A destroyed main window waits on the toolkit's list of windows to delete.
    bool IsClosing() const { return wxPendingDelete.Member(frame); }
    void Command(wxMenuItem* item) {
        wxCommandEvent event(wxEVT_MENU, item->GetId());
        frame->ProcessWindowEvent(event);
    }
    void Import(const wxArrayString& paths) {
        wxArrayString list = paths;
        frame->SetFileDialogSeam([list](wxWindow*, const FileDialogRequest&, wxArrayString& out) {
            out = list;
            return true;
        });
        Command(frame->m_menuItem_add);
        ASSERT_TRUE(RunUntil([this] { return frame->m_progressDialog == nullptr; }));
        AnswerWithPath();
    }
    wxArrayString StoredPaths(const wxString& file) {
        wxXmlDocument document(file);
        wxArrayString paths;
        const wxXmlNode* node = document.GetRoot()->GetChildren();
        while (node != nullptr && node->GetName() != "images") {
            node = node->GetNext();
        }
        for (const wxXmlNode* path = node ? node->GetChildren() : nullptr; path != nullptr;
             path = path->GetNext()) {
            paths.push_back(path->GetNodeContent());
        }
        return paths;
    }
};
} // namespace

TEST_F(Project, SaveListsEveryFrameAndEachGifOnceAfterItsFrames) {
    const wxString a = WritePng(folder / "a.png", 20, 10);
    const wxString b = WriteGif(folder / "b.gif", 3, 20, 10);
    const wxString c = WritePng(folder / "c.png", 20, 10);
    wxArrayString paths;
    paths.push_back(a);
    paths.push_back(b);
    paths.push_back(c);
    frame->m_thumbnailCtrl->Clear();
    Import(paths);
    ASSERT_EQ(frame->m_thumbnailCtrl->GetCount(), 5);
    answer = folder / "walk";
    Command(frame->m_menuItem_saveproject);
    EXPECT_EQ(frame->m_projectPath, folder / "walk.xml");
    EXPECT_EQ(frame->GetTitle(), "walk - Reelmont");
    const wxArrayString stored = StoredPaths(folder / "walk.xml");
    ASSERT_EQ(stored.size(), 6u);
    EXPECT_EQ(stored[0], a);
    EXPECT_EQ(stored[1], b + "_0");
    EXPECT_EQ(stored[3], b + "_2");
    EXPECT_EQ(stored[4], b);
    EXPECT_EQ(stored[5], c);

    // Opening it again reproduces the strip; the GIF file's own entry adds no frame.
    frame->m_thumbnailCtrl->Clear();
    answer = folder / "walk.xml";
    frame->m_projectPath.clear();
    Command(frame->m_menuItem_open);
    ASSERT_TRUE(RunUntil([this] { return frame->m_progressDialog == nullptr; }));
    ASSERT_EQ(frame->m_thumbnailCtrl->GetCount(), 5);
    EXPECT_EQ(frame->m_thumbnailCtrl->GetItem(2)->GetPath(), b + "_1");
    EXPECT_EQ(frame->m_spinctrl_width->GetValue(), 20);
    EXPECT_EQ(frame->m_spinctrl_delay->GetValue(), 10);
}

TEST_F(Project, ClosingAsksOnlyWhenTheProjectIsUnsavedAndNeverLosesWork) {
    wxArrayString paths;
    paths.push_back(WritePng(folder / "a.png", 20, 10));
    Import(paths);
    // Yes, but the save is cancelled: the window stays.
    answer.clear();
    wxTEST_DIALOG(Command(frame->m_menuItem_exit), wxExpectModal<wxMessageDialog>(wxID_YES));
    EXPECT_FALSE(IsClosing());
    wxTEST_DIALOG(Command(frame->m_menuItem_exit), wxExpectModal<wxMessageDialog>(wxID_CANCEL));
    EXPECT_FALSE(IsClosing());

    answer = folder / "kept.xml";
    Command(frame->m_menuItem_saveproject);
    frame->m_spinctrl_delay->SetValue(30);
    frame->m_spinctrl_delay->SetValue(10);
    // Saved and changed back: no question.
    Command(frame->m_menuItem_exit);
    EXPECT_TRUE(IsClosing());
}

TEST_F(Project, ClosingWithFramesAndNoProjectAsksAndNoCloses) {
    wxArrayString paths;
    paths.push_back(WritePng(folder / "a.png", 20, 10));
    Import(paths);
    wxTEST_DIALOG(frame->Close(), wxExpectModal<wxMessageDialog>(wxID_NO));
    EXPECT_TRUE(IsClosing());
}
