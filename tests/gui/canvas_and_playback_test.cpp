#include "support/gui_harness.h"
#include "support/test_images.h"
#include "window/gif_frame.h"
#include "window/loop_count_dialog.h"
#include "window/thumbnailctrl.h"

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>
#include <wx/testing.h>
#include <wx/xrc/xmlres.h>

namespace {
struct Canvas : ::testing::Test {
    GifFrame* frame = nullptr;
    TempFolder folder;
    void SetUp() override {
        frame = MakeMainWindow();
        ASSERT_NE(frame, nullptr);
    }
    void TearDown() override { DestroyMainWindow(frame); }

    // Frames put straight into the strip as the import does.
    void AddFrames(const std::vector<wxSize>& sizes) {
        for (const wxSize& size : sizes) {
            const wxString path =
                WritePng(folder / wxString::Format("%dx%d.png", size.x, size.y), 1, 1);
            frame->m_thumbnailCtrl->Append(
                new wxImageThumbnailItem(new wxImage(FilledImage(size.x, size.y, 250, 0, 0)), 0,
                                         path),
                frame->m_spinctrl_delay->GetValue());
        }
        frame->EnableEditControls();
        frame->RefreshCanvasSize();
    }
    void Type(wxSpinCtrl* control, int value) {
        control->SetValue(value);
        wxCommandEvent typed(wxEVT_TEXT, control->GetId());
        frame->ProcessWindowEvent(typed);
    }
    void Tick() {
        wxTimerEvent tick(frame->m_timer);
        frame->ProcessWindowEvent(tick);
    }
    void Command(int id) {
        wxCommandEvent event(wxEVT_MENU, id);
        frame->ProcessWindowEvent(event);
    }
};
} // namespace

TEST_F(Canvas, SizeControlsKeepTheFramesProportions) {
    AddFrames({{400, 300}});
    EXPECT_EQ(frame->m_statusBar1->GetStatusText(0), "Untitled.gif (400 * 300)px");
    Type(frame->m_spinctrl_width, 200);
    EXPECT_EQ(frame->m_spinctrl_height->GetValue(), 150);
    EXPECT_EQ(frame->m_outputWidth, 200);
    EXPECT_EQ(frame->m_outputHeight, 150);
    Type(frame->m_spinctrl_height, 100);
    EXPECT_EQ(frame->m_spinctrl_width->GetValue(), 133);
    EXPECT_EQ(frame->m_statusBar1->GetStatusText(0), "Untitled.gif (133 * 100)px");
    frame->m_gifName = "walk.gif";
    Type(frame->m_spinctrl_width, 200);
    EXPECT_EQ(frame->m_statusBar1->GetStatusText(0), "walk.gif (200 * 150)px");
}

TEST_F(Canvas, TheLastWiderOrTallerFrameSetsTheCanvas) {
    AddFrames({{100, 50}, {60, 80}});
    EXPECT_EQ(frame->m_imageWidth, 60);
    EXPECT_EQ(frame->m_imageHeight, 80);
    frame->m_thumbnailCtrl->Clear();
    AddFrames({{60, 80}, {100, 50}});
    EXPECT_EQ(frame->m_spinctrl_width->GetValue(), 100);
    EXPECT_EQ(frame->m_spinctrl_height->GetValue(), 50);
}

TEST_F(Canvas, DelayGoesToTheStripAndStopsPlayback) {
    AddFrames({{10, 10}, {10, 10}});
    Command(frame->m_menuItem_run->GetId());
    ASSERT_TRUE(frame->m_isPlaying);
    Type(frame->m_spinctrl_delay, 12);
    EXPECT_FALSE(frame->m_isPlaying);
    EXPECT_EQ(frame->m_thumbnailCtrl->GetDelay(), 12);
}

TEST_F(Canvas, PlaybackRunsTheChosenNumberOfPasses) {
    AddFrames({{10, 10}, {20, 20}, {30, 30}});
    frame->m_spinctrl_delay->SetValue(50);
    frame->m_loopCount = 2;
    Command(XRCID("m_tool_play"));
    ASSERT_TRUE(frame->m_isPlaying);
    EXPECT_TRUE(frame->m_timer.IsRunning());
    EXPECT_EQ(frame->m_timer.GetInterval(), 500);
    EXPECT_EQ(frame->m_menuItem_run->GetItemLabel(), "Stop animation\tCtrl+T");
    EXPECT_TRUE(frame->m_currentFileName.empty()) << "starting shows nothing until a tick";
    for (int tick = 0; tick < 5; ++tick) {
        Tick();
        EXPECT_TRUE(frame->m_isPlaying);
    }
    Tick();
    EXPECT_FALSE(frame->m_isPlaying);
    EXPECT_FALSE(frame->m_timer.IsRunning());
    EXPECT_EQ(frame->m_currentFileName, "30x30.png");
    EXPECT_EQ(frame->m_menuItem_run->GetItemLabel(), "Run animation\tCtrl+P");

    // Without a count the run goes on until it is stopped.
    frame->m_loopCount = 0;
    Command(frame->m_menuItem_run->GetId());
    for (int tick = 0; tick < 10; ++tick) {
        Tick();
    }
    EXPECT_TRUE(frame->m_isPlaying);
    Command(frame->m_menuItem_run->GetId());
    EXPECT_FALSE(frame->m_isPlaying);
}

TEST_F(Canvas, APassesCountSurvivesAStopByHand) {
    AddFrames({{10, 10}, {10, 10}, {10, 10}});
    frame->m_loopCount = 3;
    Command(frame->m_menuItem_run->GetId());
    for (int tick = 0; tick < 6; ++tick) {
        Tick();
    }
    Command(frame->m_menuItem_run->GetId());
    ASSERT_FALSE(frame->m_isPlaying);
    Command(frame->m_menuItem_run->GetId());
    for (int tick = 0; tick < 3; ++tick) {
        EXPECT_TRUE(frame->m_isPlaying);
        Tick();
    }
    EXPECT_FALSE(frame->m_isPlaying);
}

TEST_F(Canvas, ClickingAThumbnailWhilePlayingStopsAndShowsIt) {
    AddFrames({{10, 10}, {20, 20}, {30, 30}});
    Command(frame->m_menuItem_run->GetId());
    wxThumbnailEvent click(wxEVT_THUMBSTRIP_LEFT_CLICK, ID_THUMBNAIL_CTRL);
    click.SetItemIndex(1);
    frame->ProcessWindowEvent(click);
    EXPECT_FALSE(frame->m_isPlaying);
    EXPECT_EQ(frame->m_currentFileName, "20x20.png");
    EXPECT_EQ(frame->m_statusBar1->GetStatusText(1), "20x20.png Width:20px,Height:20 px");
}

TEST_F(Canvas, PreviewShrinksToFitAndSitsBelowTheCentre) {
    const wxColour background = frame->m_panel_down->GetBackgroundColour();
    auto paint = [&](const wxSize& size) {
        frame->m_thumbnailCtrl->Clear();
        AddFrames({size});
        frame->PreviewFrame(0);
        wxBitmap target(500, 400, 24);
        {
            wxMemoryDC dc(target);
            frame->PaintPreview(dc, wxSize(500, 400));
        }
        return target.ConvertToImage();
    };
    auto isFrame = [](const wxImage& image, int x, int y) {
        return image.GetRed(x, y) > 200 && image.GetGreen(x, y) < 40;
    };
    auto isBackground = [&](const wxImage& image, int x, int y) {
        return image.GetRed(x, y) == background.Red() && image.GetGreen(x, y) == background.Green();
    };
    // 1000x200 is drawn at 500x100 from (0, 180).
    wxImage shot = paint({1000, 200});
    EXPECT_TRUE(isFrame(shot, 0, 180));
    EXPECT_TRUE(isFrame(shot, 499, 279));
    EXPECT_TRUE(isBackground(shot, 250, 179));
    EXPECT_TRUE(isBackground(shot, 250, 280));
    // 200x100 is never enlarged: drawn as it is from (150, 180).
    shot = paint({200, 100});
    EXPECT_TRUE(isFrame(shot, 150, 180));
    EXPECT_TRUE(isFrame(shot, 349, 279));
    EXPECT_TRUE(isBackground(shot, 149, 200));
    EXPECT_TRUE(isBackground(shot, 350, 200));
    EXPECT_TRUE(isBackground(shot, 200, 179));
}

TEST_F(Canvas, LoopCountDialogRemembersTheConfirmedCount) {
    Command(frame->m_menuItem_loop->GetId()); // empty strip: no dialog at all
    AddFrames({{10, 10}});
    LoopCountDialog::s_lastLoopCount = 0;
    {
        LoopCountDialog dialog(frame);
        EXPECT_TRUE(dialog.m_radio_infinite->GetValue());
        EXPECT_FALSE(dialog.m_spinctrl_loop->IsEnabled());
        EXPECT_EQ(dialog.m_spinctrl_loop->GetValue(), 1);
        EXPECT_EQ(dialog.m_spinctrl_loop->GetMax(), 100);
    }
    class ChooseTimes : public wxExpectModalBase<LoopCountDialog, ChooseTimes> {
    public:
        explicit ChooseTimes(int times) : m_times(times) {}

    protected:
        int OnInvoked(LoopCountDialog* dialog) const override {
            dialog->m_radio_times->SetValue(true);
            dialog->m_spinctrl_loop->SetValue(m_times);
            wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
            dialog->OnButton(ok);
            return wxID_OK;
        }
        int m_times;
    };
    frame->m_loopsPlayed = 1;
    wxTEST_DIALOG(Command(frame->m_menuItem_loop->GetId()), ChooseTimes(3));
    EXPECT_EQ(frame->m_loopCount, 3);
    EXPECT_EQ(frame->m_loopsPlayed, 0);
    {
        LoopCountDialog dialog(frame);
        EXPECT_TRUE(dialog.m_radio_times->GetValue());
        EXPECT_EQ(dialog.m_spinctrl_loop->GetValue(), 3);
    }
    wxTEST_DIALOG(Command(XRCID("m_menuItem_loop_count")), ChooseTimes(0));
    EXPECT_EQ(frame->m_loopCount, 0);
    {
        LoopCountDialog dialog(frame);
        EXPECT_TRUE(dialog.m_radio_infinite->GetValue());
    }
    frame->m_loopCount = 5;
    Command(frame->m_menuItem_run->GetId());
    wxTEST_DIALOG(Command(frame->m_menuItem_loop->GetId()),
                  wxExpectDismissableModal<LoopCountDialog>(wxID_CANCEL));
    EXPECT_EQ(frame->m_loopCount, 5);
    EXPECT_EQ(LoopCountDialog::s_lastLoopCount, 0);
    EXPECT_FALSE(frame->m_isPlaying);
}
