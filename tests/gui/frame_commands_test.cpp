// Add Image, Insert Image, Delete and Clear All on a real main window, from its start without
// frames.
#include "gui/window_fixture.h"

#include "export/size_fitting.h"

#include <wx/file.h>
#include <wx/toolbar.h>

using FrameCommands = WindowTest;

TEST_F(FrameCommands, AddInsertDeleteAndClearAll) {
    // Every frame of a GIF, named by its frame reference; the first frame is shown.
    Import(frame->m_menuItem_add, {WritePng(folder.File("a.png"), 40, 30),
                                   testgif::WriteAnimation(folder.File("walk.gif"), 3, 40, 30),
                                   WritePng(folder.File("b.png"), 40, 30)});
    EXPECT_EQ(Names(),
              (std::vector<wxString>{"a.png", "walk.gif_0", "walk.gif_1", "walk.gif_2", "b.png"}));
    EXPECT_EQ(frame->m_currentFileName, "a.png");

    // Insert goes through the import worker before the selection, or to the end without one,
    // and Undo takes each insert back whole.
    Strip().SelectWithModifiers(1, 0);
    Import(ID_POPUP_INSERT, {WritePng(folder.File("c.png"), 40, 30),
                             testgif::WriteAnimation(folder.File("two.gif"), 2, 40, 30)});
    EXPECT_EQ(Names(), (std::vector<wxString>{"a.png", "c.png", "two.gif_0", "two.gif_1",
                                              "walk.gif_0", "walk.gif_1", "walk.gif_2", "b.png"}));
    Command(frame->m_menuItem_undo);
    Strip().SetSelection({1});
    Import(ID_POPUP_INSERT, {folder.File("c.png")});
    Strip().SetSelection({});
    Import(ID_POPUP_INSERT, {WritePng(folder.File("wide.png"), 80, 20)});
    EXPECT_EQ(Names(), (std::vector<wxString>{"a.png", "c.png", "walk.gif_0", "walk.gif_1",
                                              "walk.gif_2", "b.png", "wide.png"}));
    EXPECT_EQ(frame->m_currentFileName, "a.png");
    EXPECT_EQ(frame->m_spinctrl_width->GetValue(), 80);

    // Delete asks once; No keeps everything.
    Strip().SetSelection({1, 3});
    wxTEST_DIALOG(Command(frame->m_menuItem_delete), wxExpectModal<wxMessageDialog>(wxID_NO));
    EXPECT_EQ(Strip().GetCount(), 7);
    wxTEST_DIALOG(Command(frame->m_menuItem_delete), wxExpectModal<wxMessageDialog>(wxID_YES));
    EXPECT_EQ(Names(),
              (std::vector<wxString>{"a.png", "walk.gif_0", "walk.gif_2", "b.png", "wide.png"}));
    Strip().SelectAll();
    wxTEST_DIALOG(Command(XRCID("m_tool_delete")), wxExpectModal<wxMessageDialog>(wxID_YES));
    EXPECT_EQ(Strip().GetCount(), 0);
    EXPECT_EQ(frame->m_spinctrl_width->GetValue(), 0);

    // Clear All asks nothing and leaves the window as at start.
    Import(frame->m_menuItem_add, {WritePng(folder.File("d.png"), 40, 30)});
    Command(frame->m_menuItem_clear);
    EXPECT_EQ(Strip().GetCount(), 0);
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

    // A file cut short: its first frame comes in and the message names it as damaged.
    const wxString walk = testgif::WriteAnimation(folder.File("walk.gif"), 4, 40, 30);
    wxString text;
    {
        wxFile whole(walk);
        std::string bytes(static_cast<size_t>(whole.Length()), '\0');
        whole.Read(&bytes[0], bytes.size());
        WriteBytes(folder.File("cut.gif"), bytes.substr(0, bytes.size() - 8));
    }
    wxTEST_DIALOG((Import(frame->m_menuItem_add, {folder.File("cut.gif")})),
                  ExpectMessage(wxID_OK, &text));
    EXPECT_TRUE(text.StartsWith("These files are damaged") && text.Contains("cut.gif")) << text;
    const int kept = Strip().GetCount();
    EXPECT_GT(kept, 1);

    // A picture declaring more pixels than the program takes is named with its size.
    const wxString bomb =
        WriteBytes(folder.File("bomb.ppm"), "P6\n20000 20000\n255\n" + std::string(4000, '\0'));
    wxTEST_DIALOG((Import(frame->m_menuItem_add, {bomb})), ExpectMessage(wxID_OK, &text));
    EXPECT_TRUE(text.StartsWith("These pictures have more pixels than the program takes") &&
                text.Contains("bomb.ppm: 20000 x 20000"))
        << text;
    EXPECT_EQ(Strip().GetCount(), kept);

    // A GIF file whose frames would pass the memory budget is not decoded.
    MemoryBudget& budget = MemoryBudget::Process();
    const std::uint64_t limit = budget.Limit();
    budget.SetLimit(budget.InUse() + 40 * 30 * 4 * 3);
    const wxString leftOut = "These files were left out: their frames would take more memory";
    wxTEST_DIALOG((Import(frame->m_menuItem_add, {walk})), ExpectMessage(wxID_OK, &text));
    EXPECT_TRUE(text.StartsWith(leftOut)) << text;
    EXPECT_TRUE(text.Contains("walk.gif: its frames would take " + FormatByteSize(4 * 40 * 30 * 4)))
        << text;
    EXPECT_EQ(Strip().GetCount(), kept);
    wxTEST_DIALOG((Import(ID_POPUP_INSERT, {walk})), ExpectMessage(wxID_OK, &text));
    EXPECT_TRUE(text.StartsWith(leftOut)) << text;
    EXPECT_EQ(Strip().GetCount(), kept);
    budget.SetLimit(limit);

    // Nothing readable at all: the dialog closes and editing stays off.
    Command(frame->m_menuItem_clear);
    wxTEST_DIALOG((Import(frame->m_menuItem_add, {folder.File("missing.png")})),
                  wxExpectModal<wxMessageDialog>(wxID_OK));
    EXPECT_EQ(Strip().GetCount(), 0);
    EXPECT_FALSE(frame->m_menuItem_run->IsEnabled());
    EXPECT_TRUE(frame->IsEnabled());
}

TEST_F(FrameCommands, CancelledImportsLeaveTheFramesAsTheyWere) {
    AddFrames({{40, 30}, {40, 30}});
    const std::vector<wxString> before = Names();
    const wxString undoBefore = frame->m_menuItem_undo->GetItemLabelText();
    // Pictures slow enough to decode that the import is still running when Cancel is pressed:
    // after some of its frames are in, or before any.
    std::vector<wxString> files;
    for (int i = 0; i < 30; ++i) {
        files.push_back(WritePng(folder.File(wxString::Format("big%d.png", i)), 1500, 1000));
    }
    for (const int seen : {1, 0}) {
        for (int command : {frame->m_menuItem_add->GetId(), int(ID_POPUP_INSERT)}) {
            Strip().SetSelection({1});
            answer = files;
            Command(command);
            ASSERT_NE(frame->m_progressDialog, nullptr);
            ASSERT_TRUE(RunUntil([&] { return Strip().GetCount() >= int(before.size()) + seen; }));
            PressCancel(frame->m_progressDialog);
            ASSERT_TRUE(RunUntil([this] { return frame->m_progressDialog == nullptr; }, 20000));
            EXPECT_EQ(Names(), before) << "seen " << seen;
            EXPECT_EQ(frame->m_menuItem_undo->GetItemLabelText(), undoBefore);
            EXPECT_TRUE(frame->IsEnabled());
        }
    }
}
