// Selection rules for clicks, select-all and keys, with the exact order of the notifications,
// keyboard navigation over columns and pages, and real key presses.
#include "gui/strip_fixture.h"

#include <wx/uiaction.h>

namespace {
constexpr int S = THUMBSTRIP_MOD_SHIFT;
constexpr int C = THUMBSTRIP_MOD_CTRL;
constexpr int A = THUMBSTRIP_MOD_ALT;
// Steps that are no press on an entry.
constexpr int kBeside = -1; // a press right of the last column
constexpr int kAppend = -2; // one more entry is appended
constexpr int kSelectAll = -3;

struct Click {
    int n;
    int modifiers = 0;
    wxEventType type = wxEVT_LEFT_DOWN;
};
} // namespace

TEST_F(StripTest, ClicksFollowTheSelectionRulesAndNotifyInOrder) {
    const wxEventType right = wxEVT_RIGHT_DOWN;
    const struct {
        bool multiple;
        std::vector<int> selected; // with Select, silently
        std::vector<Click> before;
        Click click;
        std::vector<int> selection;
        std::vector<int> members; // focus, anchor, last selected
        const char* notified;
    } cases[] = {
        // A plain click replaces the selection; a press beside the entries changes nothing.
        {true, {1, 2}, {}, {4}, {4}, {4, 4, 4}, "-1 -2 +4 L4"},
        {true, {}, {{4}}, {kBeside}, {4}, {4, 4, 4}, ""},
        // Shift extends from the anchor; entries that fall out of the range are not reported;
        // right after Append there is no anchor.
        {true, {2}, {}, {5, S}, {2, 3, 4, 5}, {5, 2, 5}, "+2 +3 +4 +5 L5:1"},
        {true, {2}, {{5, S}}, {1, S}, {2, 1}, {1, 2, 1}, "+2 +1 L1:1"},
        {true, {2}, {{5, S}, {kAppend}}, {6, S}, {6}, {6, 6, 6}, "+6 L6:1"},
        // Ctrl toggles one entry and wins over Shift.
        {true, {}, {{1}, {3, C}}, {4, C | S}, {1, 3, 4}, {4, 4, 4}, "+4 L4:3"},
        {true, {}, {{1}, {3, C}, {4, C}}, {1, C}, {3, 4}, {1, 1, 1}, "-1 L1:2"},
        // A plain press on one of several selected entries keeps them for a drag, moving the focus.
        {true, {}, {{1}, {3, C}}, {1}, {1, 3}, {1, 3, 3}, "L1"},
        // Without the multiple style, modified clicks are plain ones.
        {false, {}, {{1}}, {3, C}, {3}, {3, 3, 3}, "-1 +3 L3:2"},
        {false, {}, {{1}}, {5, S}, {5}, {5, 5, 5}, "-1 +5 L5:1"},
        // The other buttons only notify; the right one also moves the focus.
        {true, {}, {{1}}, {4, A, right}, {1}, {4, 1, 1}, "R4:4"},
        {true, {}, {{1}, {4, 0, right}}, {2, 0, wxEVT_MIDDLE_DOWN}, {1}, {4, 1, 1}, "M2"},
        {true, {}, {{1}, {4, 0, right}}, {3, 0, wxEVT_LEFT_DCLICK}, {1}, {4, 1, 1}, "D3"},
        // Select All adds every other entry after the selected ones, silently.
        {true, {3}, {}, {kSelectAll}, {3, 0, 1, 2, 4, 5, 6}, {6, 6, 6}, ""},
    };
    SetClientSize(400, 300); // four columns
    const long style = m_strip->GetWindowStyleFlag();
    const auto press = [this](const Click& click) {
        if (click.n == kAppend) {
            AppendEntries(1);
        } else if (click.n == kSelectAll) {
            wxCommandEvent command(wxEVT_MENU, wxID_SELECTALL);
            m_strip->GetEventHandler()->ProcessEvent(command);
        } else if (click.n == kBeside) {
            Press(click.type, wxPoint(395, 5), click.modifiers);
        } else {
            PressOn(click.n, click.modifiers, click.type);
        }
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        m_strip->Clear();
        AppendEntries(7);
        m_strip->SetWindowStyleFlag(c.multiple ? style : style & ~wxTHUMBSTRIP_MULTIPLE);
        for (int n : c.selected) {
            m_strip->Select(n);
        }
        EXPECT_EQ(Notified(), "");
        for (const Click& click : c.before) {
            press(click);
        }
        Notified();
        press(c.click);
        EXPECT_EQ(Notified(), c.notified);
        EXPECT_EQ(Selection(), c.selection);
        EXPECT_EQ(IndexMembers(), c.members);
    }
}

// Real key presses, so that the keys are known to reach the strip in the running program.
TEST_F(StripTest, KeysMoveOverColumnsAndPages) {
    // Away from where the other tests open their windows, with the pointer over it.
    m_frame->SetSize(820, 620, 440, 340);
    AppendEntries(10);
    // Three columns and two rows per page.
    SetClientSize(300, 2 * (m_strip->GetItemHeight() + 3) + 10);
    wxUIActionSimulator input;
    input.MouseMove(m_strip->ClientToScreen(wxPoint(290, 10)));
    m_frame->Raise();
    m_strip->SetFocus();
    ASSERT_TRUE(RunUntil([this] { return wxWindow::FindFocus() == m_strip; }));

    const struct {
        int key;
        int modifiers;
        std::vector<int> selection;
        int focus;
        std::string notified;
    } steps[] = {
        // With neither focus nor last-selected entry, any navigation key selects entry 0.
        {WXK_PAGEUP, 0, {0}, 0, "+0"},
        // From here on the keys start from the focus (moved to 8), not from the last-selected
        // entry.
        {WXK_DOWN, 0, {0}, 8, ""},
        {WXK_PAGEDOWN, 0, {9}, 9, "-0 +9"},
        {WXK_RIGHT, 0, {9}, 9, ""},
        {WXK_LEFT, 0, {8}, 8, "-9 +8"},
        {WXK_UP, 0, {5}, 5, "-8 +5"},
        {WXK_PAGEUP, 0, {0}, 0, "-5 +0"},
        {WXK_END, 0, {9}, 9, "-0 +9"},
        {WXK_HOME, 0, {0}, 0, "-9 +0"},
        // Shift extends from the anchor and Ctrl toggles, as with clicks.
        {WXK_DOWN, wxMOD_SHIFT, {0, 1, 2, 3}, 3, "+0 +1 +2 +3"},
        {WXK_RIGHT, wxMOD_SHIFT, {0, 1, 2, 3, 4}, 4, "+0 +1 +2 +3 +4"},
        {WXK_LEFT, wxMOD_CONTROL, {0, 1, 2, 4}, 3, "-3"},
        {WXK_END, 0, {9}, 9, "-0 -1 -2 -4 +9"},
        // Other keys pass through; Enter reports no entry. A key that should do nothing is
        // always followed by one that notifies, which shows whether it did.
        {'a', 0, {9}, 9, ""},
        {WXK_RETURN, 0, {9}, 9, "E-1"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.key);
        input.Char(step.key, step.modifiers);
        RunUntil([&] { return m_notified == step.notified && Selection() == step.selection; });
        EXPECT_EQ(Notified(), step.notified);
        EXPECT_EQ(Selection(), step.selection);
        EXPECT_EQ(m_strip->GetFocusItem(), step.focus);
        if (&step == steps) {
            m_strip->SetFocusItem(8);
        }
    }
    // Moving down a page scrolled the last entry into sight.
    wxRect cell;
    ASSERT_TRUE(m_strip->GetItemRect(cell, 9, true));
    EXPECT_GT(m_strip->GetViewStart().y, 0);
    EXPECT_LE(cell.y, m_strip->GetClientSize().y);
}
