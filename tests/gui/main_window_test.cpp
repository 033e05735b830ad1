#include "support/gui_harness.h"
#include "window/gif_frame.h"
#include "window/thumbnailctrl.h"

#include <gtest/gtest.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/xrc/xmlres.h>

namespace {
struct MainWindow : ::testing::Test {
    GifFrame* frame = nullptr;
    void SetUp() override {
        frame = MakeMainWindow();
        ASSERT_NE(frame, nullptr);
    }
    void TearDown() override { DestroyMainWindow(frame); }

    wxArrayString Labels(wxMenu* menu) {
        wxArrayString labels;
        for (wxMenuItem* item : menu->GetMenuItems()) {
            labels.push_back(item->GetItemLabel());
        }
        return labels;
    }
};
} // namespace

TEST_F(MainWindow, MenusReadAsTheyShouldWithTheirShortcuts) {
    wxMenuBar* bar = frame->GetMenuBar();
    ASSERT_EQ(bar, frame->m_menubar);
    ASSERT_EQ(bar->GetMenuCount(), 4u);
    EXPECT_EQ(bar->GetMenuLabelText(0), "File");
    EXPECT_EQ(bar->GetMenuLabelText(1), "Frame");
    EXPECT_EQ(bar->GetMenuLabelText(2), "Animation");
    EXPECT_EQ(bar->GetMenuLabelText(3), "Help");

    const wxArrayString file = Labels(frame->m_menu_file);
    ASSERT_EQ(file.size(), 5u);
    EXPECT_EQ(file[0], "Save");
    EXPECT_EQ(file[1], "Save As");
    EXPECT_EQ(file[2], "Open Project");
    EXPECT_EQ(file[3], "Save Project\tCtrl+S");
    EXPECT_EQ(file[4], "Exit\tCtrl+Q");

    const wxArrayString frames = Labels(frame->m_menu_frame);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0], "Add Image\tCtrl+Ins");
    EXPECT_EQ(frames[1], "Delete\tCtrl+Del");
    EXPECT_EQ(frames[2], "Clear All");

    const wxArrayString animation = Labels(frame->m_menu_animation);
    ASSERT_EQ(animation.size(), 2u);
    EXPECT_EQ(animation[0], "Run animation\tCtrl+P");
    EXPECT_EQ(animation[1], "Loop Count");

    const wxArrayString help = Labels(frame->m_menu_help);
    ASSERT_EQ(help.size(), 5u);
    EXPECT_EQ(help[0], "Help");
    EXPECT_EQ(help[1], "Language");
    EXPECT_EQ(help[2], "Support");
    EXPECT_EQ(help[3], "Check for Update");
    EXPECT_EQ(help[4], "About");
    EXPECT_EQ(frame->m_menu_help->GetMenuItems()[1]->GetSubMenu(), frame->m_menu_language);
}

TEST_F(MainWindow, LanguageMenuHasTheSevenLanguagesWithOneChecked) {
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
    ASSERT_NE(frame->m_thumbnailCtrl, nullptr);
    EXPECT_EQ(frame->m_thumbnailCtrl->GetCount(), 0);
    EXPECT_EQ(frame->m_thumbnailCtrl->GetParent(), frame->m_panel_top);
    EXPECT_EQ(frame->m_thumbnailCtrl->GetBackgroundColour(), wxColour(176, 223, 227));

    for (wxMenuItem* item :
         {frame->m_menuItem_save, frame->m_menuItem_saveas, frame->m_menuItem_saveproject,
          frame->m_menuItem_delete, frame->m_menuItem_clear, frame->m_menuItem_run,
          frame->m_menuItem_loop}) {
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
    EXPECT_FALSE(frame->m_spinctrl_delay->IsEnabled());
    EXPECT_FALSE(frame->m_spinctrl_width->IsEnabled());
    EXPECT_FALSE(frame->m_spinctrl_height->IsEnabled());

    frame->EnableEditControls();
    EXPECT_TRUE(frame->m_menuItem_saveproject->IsEnabled());
    EXPECT_TRUE(tools->GetToolEnabled(XRCID("m_tool_play")));
    EXPECT_TRUE(frame->m_spinctrl_height->IsEnabled());
    frame->DisableEditControls();
    EXPECT_FALSE(frame->m_menuItem_run->IsEnabled());
    EXPECT_TRUE(frame->m_menuItem_add->IsEnabled());
}

TEST_F(MainWindow, TitleLabelsStatusBarAndControlRanges) {
    EXPECT_EQ(frame->GetTitle(), "Reelmont");
    EXPECT_EQ(frame->m_staticText_delay->GetLabel(), "Delay :");
    EXPECT_EQ(frame->m_staticText_sec->GetLabel(), "1/100sec ");
    EXPECT_EQ(frame->m_staticText_gif->GetLabel(), "GIF:");
    EXPECT_EQ(frame->m_staticText_width->GetLabel(), "Width:");
    EXPECT_EQ(frame->m_staticText_wpx->GetLabel(), "px");
    EXPECT_EQ(frame->m_staticText_height->GetLabel(), "Height:");
    EXPECT_EQ(frame->m_staticText_hpx->GetLabel(), "px");

    wxStatusBar* status = frame->m_statusBar1;
    ASSERT_EQ(status->GetFieldsCount(), 3);
    EXPECT_EQ(status->GetStatusWidth(0), 200);
    EXPECT_EQ(status->GetStatusWidth(1), 400);
    EXPECT_EQ(status->GetStatusWidth(2), -1);

    EXPECT_EQ(frame->m_spinctrl_delay->GetValue(), 10);
    EXPECT_EQ(frame->m_spinctrl_delay->GetMin(), 1);
    EXPECT_EQ(frame->m_spinctrl_delay->GetMax(), 65535);
    EXPECT_EQ(frame->m_spinctrl_width->GetMin(), 0);
    EXPECT_EQ(frame->m_spinctrl_height->GetMax(), 65535);
    EXPECT_FALSE(frame->m_isPlaying);
    EXPECT_EQ(frame->m_imageWidth, 0);
    EXPECT_EQ(frame->m_loopCount, 0);
}
