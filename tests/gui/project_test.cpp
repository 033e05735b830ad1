// Save Project, Open Project and the question at close on a real main window.
#include "gui/window_fixture.h"

#include <wx/xml/xml.h>

namespace {
using Project = WindowTest;

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
} // namespace

TEST_F(Project, SaveListsEveryFrameAndEachGifOnceAfterItsFrames) {
    const wxString a = WritePng(folder.File("a.png"), 20, 10);
    const wxString b = testgif::WriteAnimation(folder.File("b.gif"), 3, 20, 10);
    const wxString c = WritePng(folder.File("c.png"), 20, 10);
    Import(frame->m_menuItem_add, {a, b, c});
    ASSERT_EQ(Strip().GetCount(), 5);
    answer = {folder.File("walk")};
    Command(frame->m_menuItem_saveproject);
    EXPECT_EQ(frame->m_projectPath, folder.File("walk.xml"));
    EXPECT_EQ(frame->GetTitle(), "walk - Reelmont");
    const wxArrayString stored = StoredPaths(folder.File("walk.xml"));
    ASSERT_EQ(stored.size(), 6u);
    EXPECT_EQ(stored[0], a);
    EXPECT_EQ(stored[1], b + "_0");
    EXPECT_EQ(stored[3], b + "_2");
    EXPECT_EQ(stored[4], b);
    EXPECT_EQ(stored[5], c);

    // Opening it again reproduces the strip; the GIF file's own entry adds no frame.
    Strip().Clear();
    frame->m_projectPath.clear();
    Import(frame->m_menuItem_open, {folder.File("walk.xml")});
    ASSERT_EQ(Strip().GetCount(), 5);
    EXPECT_EQ(PathOf(2), b + "_1");
    EXPECT_EQ(frame->m_spinctrl_width->GetValue(), 20);
    EXPECT_EQ(frame->m_spinctrl_delay->GetValue(), 10);
}

TEST_F(Project, ClosingAsksOnlyWhenTheProjectIsUnsavedAndNeverLosesWork) {
    Import(frame->m_menuItem_add, {WritePng(folder.File("a.png"), 20, 10)});
    // Yes, but the save is cancelled: the window stays, and the next close asks again.
    answer.clear();
    wxTEST_DIALOG(Command(frame->m_menuItem_exit), wxExpectModal<wxMessageDialog>(wxID_YES));
    EXPECT_FALSE(IsClosing());
    wxTEST_DIALOG(Command(frame->m_menuItem_exit), wxExpectModal<wxMessageDialog>(wxID_CANCEL));
    EXPECT_FALSE(IsClosing());

    answer = {folder.File("kept.xml")};
    Command(frame->m_menuItem_saveproject);
    frame->m_spinctrl_delay->SetValue(30);
    frame->m_spinctrl_delay->SetValue(10);
    // Saved and changed back: no question.
    Command(frame->m_menuItem_exit);
    EXPECT_TRUE(IsClosing());
}

TEST_F(Project, ClosingWithFramesAndNoProjectAsksAndNoCloses) {
    Import(frame->m_menuItem_add, {WritePng(folder.File("a.png"), 20, 10)});
    wxTEST_DIALOG(frame->Close(), wxExpectModal<wxMessageDialog>(wxID_NO));
    EXPECT_TRUE(IsClosing());
}
