// Add Image, Insert Image, Delete and Clear All on a real main window.
#include "gui/window_fixture.h"

#include <wx/toolbar.h>

namespace {
using FrameCommands = WindowTest;

// A message box whose text starts as given, answered with OK.
class ExpectMessage : public wxExpectModal<wxMessageDialog> {
public:
    explicit ExpectMessage(const wxString& start)
        : wxExpectModal<wxMessageDialog>(wxID_OK), m_start(start) {}

protected:
    int OnInvoked(wxMessageDialog* box) const override {
        EXPECT_TRUE(box->GetMessage().StartsWith(m_start)) << box->GetMessage();
        return wxID_OK;
    }

private:
    wxString m_start;
};
} // namespace

TEST_F(FrameCommands, AddImageImportsEveryFrameThenPreviewsTheFirst) {
    const wxString gif = testgif::WriteAnimation(folder.File("walk.gif"), 4, 40, 30);
    Import(frame->m_menuItem_add,
           {WritePng(folder.File("a.png"), 40, 30), WritePng(folder.File("b.png"), 40, 30), gif,
            WritePng(folder.File("c.png"), 40, 30)});
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].message, "Add Image Files");
    EXPECT_EQ(asked[0].wildcard, "Image files (*.png;*.jpg;*bmp;*.gif)|*.png;*.jpg;*.bmp;*.gif");

    ASSERT_EQ(Strip().GetCount(), 7);
    EXPECT_EQ(PathOf(0), folder.File("a.png"));
    EXPECT_EQ(PathOf(2), gif + "_0");
    EXPECT_EQ(PathOf(5), gif + "_3");
    EXPECT_EQ(PathOf(6), folder.File("c.png"));
    EXPECT_EQ(Strip().GetDelay(), frame->m_spinctrl_delay->GetValue());
    EXPECT_EQ(frame->m_spinctrl_width->GetValue(), 40);
    EXPECT_EQ(frame->m_spinctrl_height->GetValue(), 30);
    EXPECT_EQ(Status(0), "Untitled.gif (40 * 30)px");
    EXPECT_EQ(Status(1), "a.png Width:40px,Height:30 px");
    EXPECT_TRUE(frame->m_menuItem_run->IsEnabled());
    EXPECT_TRUE(frame->m_toolBar_button->GetToolEnabled(XRCID("m_tool_play")));

    // More files go to the end, and the whole strip's first frame is shown again.
    Import(frame->m_menuItem_add, {WritePng(folder.File("d.png"), 80, 20)});
    ASSERT_EQ(Strip().GetCount(), 8);
    EXPECT_EQ(PathOf(7), folder.File("d.png"));
    EXPECT_EQ(frame->m_currentFileName, "a.png");
    EXPECT_EQ(frame->m_spinctrl_width->GetValue(), 80);
}

TEST_F(FrameCommands, AddImageNamesTheFilesItCouldNotReadAndStillFinishes) {
    const wxString broken = WriteBytes(folder.File("broken.png"), "not a picture");
    wxTEST_DIALOG((Import(frame->m_menuItem_add, {WritePng(folder.File("a.png"), 10, 10),
                                                  folder.File("missing.png"), broken})),
                  wxExpectModal<wxMessageDialog>(wxID_OK).Describe("unread files"));
    EXPECT_EQ(Strip().GetCount(), 1);
    EXPECT_EQ(frame->m_currentFileName, "a.png");

    // A GIF file whose frames would take more memory than the import may is not decoded.
    frame->m_importMemoryLimit = 40 * 30 * 4 * 3;
    const wxString walk = testgif::WriteAnimation(folder.File("walk.gif"), 4, 40, 30);
    const wxString leftOut = "These files were left out: their frames would take more memory";
    wxTEST_DIALOG((Import(frame->m_menuItem_add, {walk})), ExpectMessage(leftOut));
    EXPECT_EQ(Strip().GetCount(), 1);
    answer = {walk};
    wxTEST_DIALOG((Command(ID_POPUP_INSERT)), ExpectMessage(leftOut));
    EXPECT_EQ(Strip().GetCount(), 1);

    // Nothing readable at all: the dialog closes and editing stays off.
    Command(frame->m_menuItem_clear);
    wxTEST_DIALOG((Import(frame->m_menuItem_add, {folder.File("missing.png")})),
                  wxExpectModal<wxMessageDialog>(wxID_OK));
    EXPECT_EQ(Strip().GetCount(), 0);
    EXPECT_FALSE(frame->m_menuItem_run->IsEnabled());
    EXPECT_TRUE(frame->IsEnabled());
}

TEST_F(FrameCommands, InsertImageGoesToTheSelectionOrToTheEnd) {
    std::vector<wxString> files;
    for (int i = 0; i < 4; ++i) {
        files.push_back(WritePng(folder.File(wxString::Format("%d.png", i)), 10, 10));
    }
    Import(frame->m_menuItem_add, files);
    Strip().SelectWithModifiers(2, 0);
    const wxString b = testgif::WriteAnimation(folder.File("b.gif"), 2, 10, 10);
    answer = {WritePng(folder.File("a.png"), 10, 10), b};
    Command(ID_POPUP_INSERT);
    ASSERT_EQ(Strip().GetCount(), 7);
    EXPECT_EQ(PathOf(2), folder.File("a.png"));
    EXPECT_EQ(PathOf(3), b + "_0");
    EXPECT_EQ(PathOf(4), b + "_1");
    EXPECT_EQ(PathOf(5), folder.File("2.png"));
    EXPECT_EQ(asked.back().message, "Insert Image Files");

    for (int index : Strip().GetSelectedIndices()) {
        Strip().Select(index, false);
    }
    answer = {WritePng(folder.File("z.png"), 10, 10)};
    Command(ID_POPUP_INSERT);
    ASSERT_EQ(Strip().GetCount(), 8);
    EXPECT_EQ(PathOf(7), folder.File("z.png"));
}

TEST_F(FrameCommands, DeleteAsksOnceAndClearAllEmptiesEverything) {
    std::vector<wxString> files;
    for (int i = 0; i < 5; ++i) {
        files.push_back(WritePng(folder.File(wxString::Format("%d.png", i)), 10, 10));
    }
    Import(frame->m_menuItem_add, files);
    Strip().Select(1, true);
    Strip().Select(3, true);

    wxTEST_DIALOG(Command(frame->m_menuItem_delete),
                  wxExpectModal<wxMessageDialog>(wxID_NO).Describe("confirm delete"));
    EXPECT_EQ(Strip().GetCount(), 5);
    EXPECT_EQ(Status(1), "");

    wxTEST_DIALOG(Command(frame->m_menuItem_delete),
                  wxExpectModal<wxMessageDialog>(wxID_YES).Describe("confirm delete"));
    ASSERT_EQ(Strip().GetCount(), 3);
    EXPECT_EQ(PathOf(0), folder.File("0.png"));
    EXPECT_EQ(PathOf(1), folder.File("2.png"));
    EXPECT_EQ(PathOf(2), folder.File("4.png"));
    EXPECT_TRUE(frame->m_menuItem_run->IsEnabled());

    Strip().SelectAll();
    wxTEST_DIALOG(Command(XRCID("m_tool_delete")), wxExpectModal<wxMessageDialog>(wxID_YES));
    EXPECT_EQ(Strip().GetCount(), 0);
    EXPECT_FALSE(frame->m_menuItem_run->IsEnabled());
    EXPECT_FALSE(frame->m_toolBar_button->GetToolEnabled(XRCID("m_tool_play")));
    EXPECT_EQ(frame->m_spinctrl_width->GetValue(), 0);

    Import(frame->m_menuItem_add, {files[0], files[1]});
    Command(frame->m_menuItem_clear);
    EXPECT_EQ(Strip().GetCount(), 0);
    EXPECT_EQ(frame->m_spinctrl_width->GetValue(), 0);
    EXPECT_EQ(frame->m_spinctrl_height->GetValue(), 0);
    EXPECT_EQ(Status(0), "");
    EXPECT_EQ(Status(1), "");
    EXPECT_FALSE(frame->m_menuItem_clear->IsEnabled());
    // Width changes without frames do nothing.
    Type(frame->m_spinctrl_width, 50);
    EXPECT_EQ(frame->m_spinctrl_height->GetValue(), 0);
}
