// Add Image, Insert Image, Delete and Clear All on a real main window.
#include "gui/window_fixture.h"

#include <wx/toolbar.h>

namespace {
using FrameCommands = WindowTest;
} // namespace

TEST_F(FrameCommands, AddInsertDeleteAndClearAll) {
    const wxString gif = testgif::WriteAnimation(folder.File("walk.gif"), 3, 40, 30);
    std::vector<wxString> png;
    for (const char* name : {"a.png", "b.png", "c.png", "d.png"}) {
        png.push_back(WritePng(folder.File(name), 40, 30));
    }
    // Every frame of a GIF, named by its frame reference; the first frame is shown.
    Import(frame->m_menuItem_add, {png[0], gif, png[1]});
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].message, "Add Image Files");
    EXPECT_EQ(Names(),
              (std::vector<wxString>{"a.png", "walk.gif_0", "walk.gif_1", "walk.gif_2", "b.png"}));
    EXPECT_EQ(Strip().GetDelay(), frame->m_spinctrl_delay->GetValue());
    EXPECT_EQ(Status(0), "Untitled.gif (40 * 30)px");
    EXPECT_EQ(Status(1), "a.png Width:40px,Height:30 px");
    EXPECT_TRUE(frame->m_toolBar_button->GetToolEnabled(XRCID("m_tool_play")));

    // Insert goes before the selection, or to the end without one.
    Strip().SelectWithModifiers(1, 0);
    answer = {png[2]};
    Command(ID_POPUP_INSERT);
    for (int index : Selection()) {
        Strip().Select(index, false);
    }
    answer = {WritePng(folder.File("wide.png"), 80, 20)};
    Command(ID_POPUP_INSERT);
    EXPECT_EQ(asked.back().message, "Insert Image Files");
    EXPECT_EQ(Names(), (std::vector<wxString>{"a.png", "c.png", "walk.gif_0", "walk.gif_1",
                                              "walk.gif_2", "b.png", "wide.png"}));
    EXPECT_EQ(frame->m_currentFileName, "a.png");
    EXPECT_EQ(frame->m_spinctrl_width->GetValue(), 80);

    // Delete asks once; No keeps everything.
    Strip().Select(1, true);
    Strip().Select(3, true);
    wxTEST_DIALOG(Command(frame->m_menuItem_delete), wxExpectModal<wxMessageDialog>(wxID_NO));
    EXPECT_EQ(Strip().GetCount(), 7);
    wxTEST_DIALOG(Command(frame->m_menuItem_delete), wxExpectModal<wxMessageDialog>(wxID_YES));
    EXPECT_EQ(Names(),
              (std::vector<wxString>{"a.png", "walk.gif_0", "walk.gif_2", "b.png", "wide.png"}));
    Strip().SelectAll();
    wxTEST_DIALOG(Command(XRCID("m_tool_delete")), wxExpectModal<wxMessageDialog>(wxID_YES));
    EXPECT_EQ(Strip().GetCount(), 0);
    EXPECT_FALSE(frame->m_menuItem_run->IsEnabled());
    EXPECT_EQ(frame->m_spinctrl_width->GetValue(), 0);

    Import(frame->m_menuItem_add, {png[3]});
    Command(frame->m_menuItem_clear);
    EXPECT_EQ(Strip().GetCount(), 0);
    EXPECT_EQ(frame->m_spinctrl_height->GetValue(), 0);
    EXPECT_EQ(Status(0), "");
    EXPECT_EQ(Status(1), "");
    EXPECT_FALSE(frame->m_toolBar_button->GetToolEnabled(XRCID("m_tool_play")));
    // Width changes without frames do nothing.
    Type(frame->m_spinctrl_width, 50);
    EXPECT_EQ(frame->m_spinctrl_height->GetValue(), 0);
}

TEST_F(FrameCommands, AddImageNamesTheFilesItCouldNotReadAndStillFinishes) {
    const wxString broken = WriteBytes(folder.File("broken.png"), "not a picture");
    wxTEST_DIALOG((Import(frame->m_menuItem_add, {WritePng(folder.File("a.png"), 10, 10),
                                                  folder.File("missing.png"), broken})),
                  wxExpectModal<wxMessageDialog>(wxID_OK).Describe("unread files"));
    EXPECT_EQ(Strip().GetCount(), 1);
    EXPECT_EQ(frame->m_currentFileName, "a.png");

    // Nothing readable at all: the dialog closes and editing stays off.
    Command(frame->m_menuItem_clear);
    wxTEST_DIALOG((Import(frame->m_menuItem_add, {folder.File("missing.png")})),
                  wxExpectModal<wxMessageDialog>(wxID_OK));
    EXPECT_EQ(Strip().GetCount(), 0);
    EXPECT_FALSE(frame->m_menuItem_run->IsEnabled());
    EXPECT_TRUE(frame->IsEnabled());
}
