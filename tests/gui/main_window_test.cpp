// The main window right after start: its menus, enabled commands and title.
#include "gui/window_fixture.h"

#include <wx/toolbar.h>

namespace {
using MainWindow = WindowTest;
} // namespace

TEST_F(MainWindow, MenusReadAsTheyShouldWithTheirShortcuts) {
    wxMenuBar* bar = frame->GetMenuBar();
    ASSERT_EQ(bar, frame->m_menubar);
    const std::vector<std::pair<wxString, std::vector<wxString>>> expected = {
        {"File", {"Save", "Save As", "Open Project", "Save Project\tCtrl+S", "Exit\tCtrl+Q"}},
        {"Edit",
         {"Undo\tCtrl+Z", "Redo\tCtrl+Shift+Z", "Select All\tCtrl+A", "Move Left\tAlt+Left",
          "Move Right\tAlt+Right", "Reverse Order"}},
        {"Frame", {"Add Image\tCtrl+Ins", "Delete\tCtrl+Del", "Clear All"}},
        {"Animation",
         {"Run animation\tCtrl+P", "Loop Count", "", "Best colours", "Optimise file size"}},
        {"Help", {"Help", "Language", "Support", "Check for Update", "About"}}};
    ASSERT_EQ(bar->GetMenuCount(), expected.size());
    for (size_t m = 0; m < expected.size(); ++m) {
        EXPECT_EQ(bar->GetMenuLabelText(m), expected[m].first);
        std::vector<wxString> labels;
        for (wxMenuItem* item : bar->GetMenu(m)->GetMenuItems()) {
            labels.push_back(item->GetItemLabel());
        }
        EXPECT_EQ(labels, expected[m].second) << expected[m].first;
    }
}

TEST_F(MainWindow, StartsWithoutFramesAndOnlyTheCommandsThatNeedNone) {
    EXPECT_EQ(frame->GetTitle(), "Reelmont");
    EXPECT_EQ(Strip().GetCount(), 0);
    for (wxMenuItem* item :
         {frame->m_menuItem_save, frame->m_menuItem_saveas, frame->m_menuItem_saveproject,
          frame->m_menuItem_delete, frame->m_menuItem_clear, frame->m_menuItem_run,
          frame->m_menuItem_loop, frame->m_menuItem_undo, frame->m_menuItem_redo,
          frame->m_menuItem_selectall, frame->m_menuItem_moveleft, frame->m_menuItem_moveright,
          frame->m_menuItem_reverse}) {
        EXPECT_FALSE(item->IsEnabled()) << item->GetItemLabel();
    }
    for (wxMenuItem* item : {frame->m_menuItem_add, frame->m_menuItem_open, frame->m_menuItem_exit,
                             frame->m_menuItem_about}) {
        EXPECT_TRUE(item->IsEnabled()) << item->GetItemLabel();
    }
    wxToolBar* tools = frame->m_toolBar_button;
    EXPECT_FALSE(tools->GetToolEnabled(XRCID("m_tool_delete")));
    EXPECT_FALSE(tools->GetToolEnabled(XRCID("m_tool_play")));
    EXPECT_TRUE(tools->GetToolEnabled(XRCID("m_tool_insert")));
    for (wxSpinCtrl* spin :
         {frame->m_spinctrl_delay, frame->m_spinctrl_width, frame->m_spinctrl_height}) {
        EXPECT_FALSE(spin->IsEnabled());
    }
}
