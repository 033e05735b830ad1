// Selection rules for clicks and keys, with the exact order of the notifications, focus moves,
// keyboard navigation over columns and pages, and select-all.
#include "gui/strip_fixture.h"

#include "support/gui_harness.h"

#include <wx/uiaction.h>

namespace {
using Changes = std::vector<std::pair<bool, int>>;

} // namespace

TEST_F(StripTest, PlainClickReplacesTheSelection) {
    SetClientSize(400, 300);
    AppendEntries(6);
    RecordNotifications();
    m_strip->Select(1);
    m_strip->Select(2);
    EXPECT_TRUE(m_notified.empty()); // Select is silent

    PressOn(4);
    EXPECT_EQ(SelectionNotifications(), (Changes{{false, 1}, {false, 2}, {true, 4}}));
    ASSERT_EQ(m_notified.size(), 4u);
    EXPECT_EQ(m_notified.back().type, wxEVT_THUMBSTRIP_LEFT_CLICK);
    EXPECT_EQ(m_notified.back().index, 4);
    EXPECT_EQ(m_strip->GetSelectedIndices(), Indices({4}));
    EXPECT_EQ(IndexMembers(), (std::vector<int>{4, 4, 4}));

    // A press outside every entry changes nothing.
    m_notified.clear();
    Press(wxEVT_LEFT_DOWN, wxPoint(395, 5));
    EXPECT_TRUE(m_notified.empty());
    EXPECT_EQ(m_strip->GetSelectedIndices(), Indices({4}));
}

TEST_F(StripTest, ShiftClickExtendsFromTheAnchor) {
    SetClientSize(400, 300);
    AppendEntries(7);
    RecordNotifications();
    m_strip->Select(2);

    PressOn(5, THUMBSTRIP_MOD_SHIFT);
    EXPECT_EQ(m_strip->GetSelectedIndices(), Indices({2, 3, 4, 5}));
    EXPECT_EQ(SelectionNotifications(), (Changes{{true, 2}, {true, 3}, {true, 4}, {true, 5}}));
    EXPECT_EQ(m_strip->GetAnchorItem(), 2);
    EXPECT_EQ(m_strip->GetFocusItem(), 5);
    EXPECT_EQ(m_notified.back().modifiers, THUMBSTRIP_MOD_SHIFT);

    // The range turns around the same anchor; entries that fall out are not reported.
    m_notified.clear();
    PressOn(1, THUMBSTRIP_MOD_SHIFT);
    EXPECT_EQ(m_strip->GetSelectedIndices(), Indices({2, 1}));
    EXPECT_EQ(SelectionNotifications(), (Changes{{true, 2}, {true, 1}}));
    EXPECT_EQ(m_strip->GetAnchorItem(), 2);

    // Right after Append there is no anchor: only the clicked entry ends up selected.
    AppendEntries(1);
    m_notified.clear();
    PressOn(6, THUMBSTRIP_MOD_SHIFT);
    EXPECT_EQ(m_strip->GetSelectedIndices(), Indices({6}));
    EXPECT_EQ(SelectionNotifications(), (Changes{{true, 6}}));
    EXPECT_EQ(m_strip->GetAnchorItem(), 6);
}

TEST_F(StripTest, CtrlClickTogglesOneEntry) {
    SetClientSize(400, 300);
    AppendEntries(5);
    RecordNotifications();
    PressOn(1);
    PressOn(3, THUMBSTRIP_MOD_CTRL);
    // Ctrl wins over Shift.
    PressOn(4, THUMBSTRIP_MOD_CTRL | THUMBSTRIP_MOD_SHIFT);
    EXPECT_EQ(m_strip->GetSelectedIndices(), Indices({1, 3, 4}));

    m_notified.clear();
    PressOn(1, THUMBSTRIP_MOD_CTRL);
    EXPECT_EQ(SelectionNotifications(), (Changes{{false, 1}}));
    EXPECT_EQ(m_strip->GetSelectedIndices(), Indices({3, 4}));
    EXPECT_EQ(m_strip->GetFocusItem(), 1);
    EXPECT_EQ(m_strip->GetAnchorItem(), 1);
}

TEST_F(StripTest, SingleSelectionStyleTreatsModifiedClicksAsPlain) {
    SetClientSize(400, 300);
    AppendEntries(6);
    m_strip->SetWindowStyleFlag(m_strip->GetWindowStyleFlag() & ~wxTHUMBSTRIP_MULTIPLE);
    RecordNotifications();
    PressOn(1);
    m_notified.clear();
    PressOn(3, THUMBSTRIP_MOD_CTRL);
    EXPECT_EQ(SelectionNotifications(), (Changes{{false, 1}, {true, 3}}));
    PressOn(5, THUMBSTRIP_MOD_SHIFT);
    EXPECT_EQ(m_strip->GetSelectedIndices(), Indices({5}));
}

TEST_F(StripTest, OtherButtonsOnlyNotify) {
    SetClientSize(400, 300);
    AppendEntries(6);
    RecordNotifications();
    PressOn(1);
    m_notified.clear();

    // Right click moves the focus box and leaves the selection.
    PressOn(4, THUMBSTRIP_MOD_ALT, wxEVT_RIGHT_DOWN);
    EXPECT_EQ(m_strip->GetFocusItem(), 4);
    EXPECT_EQ(m_strip->GetSelectedIndices(), Indices({1}));
    PressOn(2, 0, wxEVT_MIDDLE_DOWN);
    PressOn(3, 0, wxEVT_LEFT_DCLICK);
    ASSERT_EQ(m_notified.size(), 3u);
    EXPECT_EQ(m_notified[0].type, wxEVT_THUMBSTRIP_RIGHT_CLICK);
    EXPECT_EQ(m_notified[0].index, 4);
    EXPECT_EQ(m_notified[0].modifiers, THUMBSTRIP_MOD_ALT);
    EXPECT_EQ(m_notified[1].type, wxEVT_THUMBSTRIP_MIDDLE_CLICK);
    EXPECT_EQ(m_notified[1].index, 2);
    EXPECT_EQ(m_notified[2].type, wxEVT_THUMBSTRIP_LEFT_DCLICK);
    EXPECT_EQ(m_notified[2].index, 3);
    EXPECT_EQ(m_strip->GetSelectedIndices(), Indices({1}));
    EXPECT_EQ(m_strip->GetFocusItem(), 4);
}

TEST_F(StripTest, KeysMoveOverColumnsAndPages) {
    AppendEntries(10);
    // Three columns and two rows per page.
    SetClientSize(300, 2 * (m_strip->GetItemHeight() + 3) + 10);
    RecordNotifications();

    // With neither focus nor last-selected entry, any navigation key selects entry 0.
    Key(WXK_PAGEUP);
    EXPECT_EQ(m_strip->GetSelectedIndices(), Indices({0}));

    m_strip->SetFocusItem(8);
    m_notified.clear();
    Key(WXK_DOWN);
    EXPECT_TRUE(m_notified.empty());
    EXPECT_EQ(m_strip->GetSelectedIndices(), Indices({0}));

    Key(WXK_PAGEDOWN);
    EXPECT_EQ(m_strip->GetSelectedIndices(), Indices({9}));
    Key(WXK_RIGHT);
    EXPECT_EQ(m_strip->GetFocusItem(), 9);
    Key(WXK_LEFT);
    Key(WXK_UP);
    EXPECT_EQ(m_strip->GetSelectedIndices(), Indices({5}));
    Key(WXK_PAGEUP);
    EXPECT_EQ(m_strip->GetSelectedIndices(), Indices({0}));
    Key(WXK_END);
    EXPECT_EQ(m_strip->GetSelectedIndices(), Indices({9}));
    Key(WXK_HOME);
    EXPECT_EQ(m_strip->GetSelectedIndices(), Indices({0}));

    // Shift extends from the anchor and Ctrl toggles, as with clicks.
    Key(WXK_DOWN, THUMBSTRIP_MOD_SHIFT);
    Key(WXK_RIGHT, THUMBSTRIP_MOD_SHIFT);
    EXPECT_EQ(m_strip->GetSelectedIndices(), Indices({0, 1, 2, 3, 4}));
    Key(WXK_LEFT, THUMBSTRIP_MOD_CTRL);
    EXPECT_EQ(m_strip->GetSelectedIndices(), Indices({0, 1, 2, 4}));

    // Moving down a page scrolls the new entry into sight.
    Key(WXK_END);
    wxRect cell;
    ASSERT_TRUE(m_strip->GetItemRect(cell, 9, true));
    EXPECT_GT(m_strip->GetViewStart().y, 0);
    EXPECT_LE(cell.y, m_strip->GetClientSize().y);

    // Enter reports no entry; other keys pass through.
    m_notified.clear();
    Key(WXK_RETURN);
    Key('a');
    ASSERT_EQ(m_notified.size(), 1u);
    EXPECT_EQ(m_notified[0].type, wxEVT_THUMBSTRIP_RETURN);
    EXPECT_EQ(m_notified[0].index, -1);
    EXPECT_EQ(m_strip->GetSelectedIndices(), Indices({9}));
}

TEST_F(StripTest, RealKeyPressesReachTheStrip) {
    // A window of its own, away from where the other tests open theirs, with the pointer over
    // it: other test programs may run beside this one on the same display.
    auto* frame = new wxFrame(nullptr, wxID_ANY, wxS("keys"), wxPoint(820, 620), wxSize(440, 340));
    auto* strip = new wxThumbnailCtrl(new wxPanel(frame), wxPoint(0, 0), wxSize(400, 300));
    frame->Show();
    ASSERT_TRUE(RunUntil([strip] { return strip->IsShownOnScreen(); }));
    for (int i = 0; i < 10; ++i) {
        strip->Append(MakeEntry(SourceFile(wxS("frame.png"))), 10);
    }
    wxUIActionSimulator input;
    input.MouseMove(strip->ClientToScreen(wxPoint(390, 290)));
    frame->Raise();
    strip->SetFocus();
    ASSERT_TRUE(RunUntil([strip] { return wxWindow::FindFocus() == strip; }));
    strip->Select(0);

    // Four columns and two rows per page.
    const std::vector<std::pair<int, int>> steps = {
        {WXK_RIGHT, 1}, {WXK_END, 9},      {WXK_PAGEUP, 1}, {WXK_DOWN, 5},
        {WXK_HOME, 0},  {WXK_PAGEDOWN, 8}, {WXK_UP, 4},     {WXK_LEFT, 3}};
    for (const auto& [key, focus] : steps) {
        input.Char(key);
        EXPECT_TRUE(RunUntil([strip, focus = focus] { return strip->GetFocusItem() == focus; }))
            << "key " << key;
    }
    EXPECT_EQ(strip->GetSelectedIndices(), Indices({3}));
    frame->Destroy();
    RunFor(10);
}

TEST_F(StripTest, SelectAllSelectsEveryEntrySilently) {
    RecordNotifications();
    m_strip->SelectAll();
    EXPECT_TRUE(m_strip->GetSelectedIndices().empty());
    EXPECT_EQ(m_strip->GetFocusItem(), -1);

    wxUpdateUIEvent update(wxID_SELECTALL);
    m_strip->GetEventHandler()->ProcessEvent(update);
    EXPECT_FALSE(update.GetEnabled());

    AppendEntries(5);
    m_strip->Select(3);
    wxCommandEvent command(wxEVT_MENU, wxID_SELECTALL);
    m_strip->GetEventHandler()->ProcessEvent(command);
    EXPECT_EQ(m_strip->GetSelectedIndices(), Indices({3, 0, 1, 2, 4}));
    EXPECT_EQ(IndexMembers(), (std::vector<int>{4, 4, 4}));
    EXPECT_TRUE(m_notified.empty());

    wxUpdateUIEvent enabled(wxID_SELECTALL);
    m_strip->GetEventHandler()->ProcessEvent(enabled);
    EXPECT_TRUE(enabled.GetEnabled());
}

namespace {
// A window that hears the strip's clicks through its static event table, by the strip's id.
class ClickFrame : public wxFrame {
public:
    ClickFrame() : wxFrame(nullptr, wxID_ANY, wxS("clicks")) {}

    void OnLeftClick(wxThumbnailEvent& event) { m_left.push_back(event.GetItemIndex()); }
    void OnRightClick(wxThumbnailEvent& event) { m_right.push_back(event.GetItemIndex()); }

    std::vector<int> m_left;
    std::vector<int> m_right;

    wxDECLARE_EVENT_TABLE();
};

// clang-format off
wxBEGIN_EVENT_TABLE(ClickFrame, wxFrame)
    EVT_THUMBSTRIP_LEFT_CLICK(ID_THUMBNAIL_CTRL, ClickFrame::OnLeftClick)
    EVT_THUMBSTRIP_RIGHT_CLICK(ID_THUMBNAIL_CTRL, ClickFrame::OnRightClick)
wxEND_EVENT_TABLE()
// clang-format on
} // namespace

TEST_F(StripTest, ClicksTravelUpToTheOwningWindow) {
    auto* owner = new ClickFrame;
    auto* panel = new wxPanel(owner);
    auto* strip = new wxThumbnailCtrl(panel, wxPoint(0, 0), wxSize(300, 200));
    owner->Show();
    RunUntil([strip] { return strip->IsShownOnScreen(); });
    strip->Append(MakeEntry(SourceFile(wxS("frame.png"))), 10);
    strip->Append(MakeEntry(SourceFile(wxS("frame.png"))), 10);

    wxRect cell;
    ASSERT_TRUE(strip->GetItemRect(cell, 1));
    for (wxEventType type : {wxEVT_LEFT_DOWN, wxEVT_RIGHT_DOWN}) {
        wxMouseEvent press(type);
        press.SetPosition(cell.GetPosition() + wxPoint(10, 10));
        strip->GetEventHandler()->ProcessEvent(press);
    }
    EXPECT_EQ(owner->m_left, std::vector<int>{1});
    EXPECT_EQ(owner->m_right, std::vector<int>{1});
    owner->Destroy();
    RunFor(10);
}
