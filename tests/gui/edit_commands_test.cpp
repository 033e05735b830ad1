// The Edit menu on a real main window: moves, undo and redo of every kind of edit, files
// dropped on the strip and files named on the command line.
#include "gui/window_fixture.h"
#include "window/strip_drop_target.h"

#include <wx/uiaction.h>

namespace {
struct EditCommands : WindowTest {
    // The pictures the entries show, by identity: an undone edit gives back the very frames.
    std::vector<const FramePixels*> Entries() {
        std::vector<const FramePixels*> entries;
        for (int i = 0; i < Strip().GetCount(); ++i) {
            auto* entry = wxDynamicCast(Strip().GetItem(i), wxImageThumbnailItem);
            entries.push_back(entry != nullptr ? entry->GetPixels().get() : nullptr);
        }
        return entries;
    }
    // What an undo or redo item reads; empty while it is off.
    wxString Label(wxMenuItem* item) {
        frame->UpdateEditMenu();
        return item->IsEnabled() ? item->GetItemLabelText() : "";
    }
    void ImportThree() {
        Import(frame->m_menuItem_add,
               {WritePng(folder.File("a.png"), 120, 90), WritePng(folder.File("b.png"), 120, 90),
                WritePng(folder.File("c.png"), 120, 90)});
    }
    void DropAt(int entry, const std::vector<wxString>& names) {
        const wxArrayString files(names.size(), names.data());
        wxRect cell;
        Strip().GetItemRect(cell, entry);
        auto* target = dynamic_cast<StripDropTarget*>(Strip().GetDropTarget());
        ASSERT_NE(target, nullptr);
        EXPECT_TRUE(target->OnDropFiles(cell.x + 5, cell.y + 5, files));
        RunFor(50);
        ASSERT_TRUE(RunUntil([this] { return frame->m_progressDialog == nullptr; }));
    }
};
} // namespace

TEST_F(EditCommands, MovesAndUndoRedoOfEveryEditBringBackTheVeryFrames) {
    ImportThree();
    const auto imported = Entries();
    // Moves keep their frames selected.
    const struct {
        wxMenuItem* command;
        std::vector<wxString> names;
        int selected;
        const char* undo;
    } moves[] = {
        {frame->m_menuItem_moveright, {"b.png", "a.png", "c.png"}, 1, "Undo Move Right"},
        {frame->m_menuItem_moveright, {"b.png", "c.png", "a.png"}, 2, "Undo Move Right"},
        {frame->m_menuItem_moveleft, {"b.png", "a.png", "c.png"}, 1, "Undo Move Left"},
        {frame->m_menuItem_reverse, {"c.png", "a.png", "b.png"}, 1, "Undo Reverse Order"},
    };
    Strip().SelectWithModifiers(0, 0);
    frame->UpdateEditMenu();
    EXPECT_FALSE(frame->m_menuItem_moveleft->IsEnabled());
    for (const auto& move : moves) {
        Command(move.command);
        EXPECT_EQ(Names(), move.names) << move.undo;
        EXPECT_EQ(Selection(), std::vector<int>{move.selected}) << move.undo;
        EXPECT_EQ(Label(frame->m_menuItem_undo), move.undo);
    }
    // The keys reach the command from the strip too.
    frame->Raise();
    Strip().SetFocus();
    ASSERT_TRUE(RunUntil([this] { return wxWindow::FindFocus() == &Strip(); }));
    wxUIActionSimulator input;
    input.Char(WXK_RIGHT, wxMOD_ALT);
    EXPECT_TRUE(RunUntil([this] { return Selection() == std::vector<int>{2}; }));
    EXPECT_EQ(Names(), (std::vector<wxString>{"c.png", "b.png", "a.png"}));
    // Dragging the selected frame with the mouse: a marker in the gap, the frame moves there.
    wxRect from;
    Strip().GetItemRect(from, 2);
    input.MouseMove(Strip().ClientToScreen(from.GetPosition() + wxPoint(40, 40)));
    RunFor(30);
    input.MouseDown();
    for (int x = from.x + 30; x > 10; x -= 30) {
        input.MouseMove(Strip().ClientToScreen(wxPoint(x, from.y + 40)));
        RunFor(30);
    }
    EXPECT_TRUE(RunUntil([this] { return Strip().GetDropMarkerRect().x < 3; }));
    input.MouseUp();
    EXPECT_TRUE(RunUntil([this] { return !Strip().IsDragging(); }));
    EXPECT_EQ(Names(), (std::vector<wxString>{"a.png", "c.png", "b.png"}));
    EXPECT_TRUE(Strip().GetDropMarkerRect().IsEmpty());
    EXPECT_EQ(Label(frame->m_menuItem_undo), "Undo Move");

    // Typing a number is one edit; the width brings the height along and back.
    Type(frame->m_spinctrl_delay, 2);
    Type(frame->m_spinctrl_delay, 25);
    Type(frame->m_spinctrl_width, 60);
    Command(frame->m_menuItem_undo);
    EXPECT_EQ(frame->m_spinctrl_height->GetValue(), 90);
    EXPECT_EQ(Status(0), "Untitled.gif (120 * 90)px");
    Command(frame->m_menuItem_undo);
    EXPECT_EQ(Strip().GetDelay(), 10);
    Command(frame->m_menuItem_redo);
    EXPECT_EQ(frame->m_spinctrl_delay->GetValue(), 25);

    // Delete and Clear All are undone with the same frames, not imported again.
    const auto beforeDelete = Entries();
    Command(frame->m_menuItem_selectall);
    wxTEST_DIALOG(Command(frame->m_menuItem_delete), wxExpectModal<wxMessageDialog>(wxID_YES));
    Command(frame->m_menuItem_undo);
    EXPECT_EQ(Entries(), beforeDelete);
    EXPECT_EQ(Selection(), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(frame->m_menuItem_run->IsEnabled());
    EXPECT_EQ(Label(frame->m_menuItem_redo), "Redo Delete");
    Command(frame->m_menuItem_clear);
    Command(frame->m_menuItem_undo);
    EXPECT_EQ(Entries(), beforeDelete);

    while (frame->m_menuItem_undo->IsEnabled()) {
        Command(frame->m_menuItem_undo);
        frame->UpdateEditMenu();
    }
    EXPECT_EQ(Strip().GetCount(), 0);
    EXPECT_FALSE(frame->m_menuItem_run->IsEnabled());
    EXPECT_EQ(Label(frame->m_menuItem_redo), "Redo Add Image");
    Command(frame->m_menuItem_redo);
    EXPECT_EQ(Entries(), imported);
    EXPECT_EQ(frame->m_spinctrl_width->GetValue(), 120);
}

TEST_F(EditCommands, DroppedFilesAndCommandLineFilesOpenAsUsersExpect) {
    ImportThree();
    DropAt(1, {WritePng(folder.File("d.png"), 60, 45),
               testgif::WriteAnimation(folder.File("e.gif"), 2, 60, 45)});
    EXPECT_EQ(Names(),
              (std::vector<wxString>{"a.png", "d.png", "e.gif_0", "e.gif_1", "b.png", "c.png"}));
    EXPECT_EQ(Label(frame->m_menuItem_undo), "Undo Drop");
    Command(frame->m_menuItem_undo);
    EXPECT_EQ(Names(), (std::vector<wxString>{"a.png", "b.png", "c.png"}));

    // A dropped project replaces the animation after the unsaved-project question; a move alone
    // since the save leaves unsaved work.
    answer = {folder.File("two.xml")};
    Strip().SetSelection({2});
    wxTEST_DIALOG(Command(frame->m_menuItem_delete), wxExpectModal<wxMessageDialog>(wxID_YES));
    ASSERT_TRUE(frame->SaveProjectFile());
    Strip().SetSelection({0});
    Command(frame->m_menuItem_moveright);
    wxTEST_DIALOG(DropAt(0, {folder.File("two.xml"), folder.File("c.png")}),
                  wxExpectModal<wxMessageDialog>(wxID_NO).Describe("unsaved project"));
    EXPECT_EQ(Names(), (std::vector<wxString>{"a.png", "b.png"}));
    EXPECT_EQ(Label(frame->m_menuItem_undo), "");

    // Names on the command line count from the current folder.
    Command(frame->m_menuItem_clear);
    const wxString here = wxGetCwd();
    wxSetWorkingDirectory(folder.File(""));
    OpenStartupFiles(frame, wxArrayString(1, "c.png"));
    wxSetWorkingDirectory(here);
    RunFor(50);
    ASSERT_TRUE(RunUntil([this] { return frame->m_progressDialog == nullptr; }));
    EXPECT_EQ(Strip().GetItem(0)->GetPath(), folder.File("c.png"));
}
