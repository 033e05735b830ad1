// The main window right after start: its parts, menus, enabled commands, title and status bar.
#include "gui/window_fixture.h"

#include <wx/panel.h>
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
    EXPECT_EQ(bar->GetMenu(0), frame->m_menu_file);
    EXPECT_EQ(frame->m_menu_help->GetMenuItems()[1]->GetSubMenu(), frame->m_menu_language);

    // The seven languages, exactly one of them checked.
    const int ids[7] = {46, 47, 89, 58, 80, 110, 112};
    const char* labels[7] = {"中文简体", "中文繁体", "Deutsch", "English",
                             "Français", "Italiano", "日本語"};
    const wxMenuItemList& items = frame->m_menu_language->GetMenuItems();
    ASSERT_EQ(items.size(), 7u);
    int checked = 0;
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(items[i]->GetId(), ids[i]);
        EXPECT_EQ(items[i]->GetItemLabel(), wxString::FromUTF8(labels[i]));
        EXPECT_TRUE(items[i]->IsCheckable());
        if (items[i]->IsChecked()) {
            ++checked;
            EXPECT_EQ(items[i]->GetId(), frame->m_language);
        }
    }
    EXPECT_EQ(checked, 1);
}

TEST_F(MainWindow, StartsWithoutFramesAndOnlyTheCommandsThatNeedNone) {
    EXPECT_EQ(frame->GetTitle(), "Reelmont");
    ASSERT_NE(frame->m_thumbnailCtrl, nullptr);
    EXPECT_EQ(Strip().GetCount(), 0);
    EXPECT_EQ(Strip().GetParent(), frame->m_panel_top);
    EXPECT_EQ(Strip().GetBackgroundColour(), wxColour(176, 223, 227));
    wxStatusBar* status = frame->m_statusBar1;
    ASSERT_EQ(status->GetFieldsCount(), 3);
    EXPECT_EQ(status->GetStatusWidth(0), 200);
    EXPECT_EQ(status->GetStatusWidth(1), 400);
    EXPECT_EQ(status->GetStatusWidth(2), -1);

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
    EXPECT_TRUE(tools->GetToolEnabled(XRCID("m_menuItem_loop_count")));
    for (wxSpinCtrl* spin :
         {frame->m_spinctrl_delay, frame->m_spinctrl_width, frame->m_spinctrl_height}) {
        EXPECT_FALSE(spin->IsEnabled());
    }

    frame->EnableEditControls();
    EXPECT_TRUE(frame->m_menuItem_saveproject->IsEnabled());
    EXPECT_TRUE(tools->GetToolEnabled(XRCID("m_tool_play")));
    EXPECT_TRUE(frame->m_spinctrl_height->IsEnabled());
    frame->DisableEditControls();
    EXPECT_FALSE(frame->m_menuItem_run->IsEnabled());
    EXPECT_TRUE(frame->m_menuItem_add->IsEnabled());
}
