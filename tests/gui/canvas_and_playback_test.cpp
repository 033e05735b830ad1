// The canvas size controls, and playback with the loop count dialog's count.
#include "gui/window_fixture.h"

namespace {
using Canvas = WindowTest;

void Ticks(GifFrame* frame, int count) {
    for (int tick = 0; tick < count; ++tick) {
        wxTimerEvent event(frame->m_timer);
        frame->ProcessWindowEvent(event);
    }
}
} // namespace

TEST_F(Canvas, SizeControlsKeepTheProportionsWithinWhatAGifHolds) {
    AddFrames({{400, 300}});
    EXPECT_EQ(Status(0), "Untitled.gif (400 * 300)px");
    Type(frame->m_spinctrl_width, 200);
    EXPECT_EQ(frame->m_spinctrl_height->GetValue(), 150);
    Type(frame->m_spinctrl_height, 100);
    EXPECT_EQ(frame->m_spinctrl_width->GetValue(), 133);
    EXPECT_EQ(Status(0), "Untitled.gif (133 * 100)px");

    // The canvas comes from the frames; when the other side would leave the range a GIF holds,
    // the typed side gives way.
    Command(frame->m_menuItem_clear);
    AddFrames({{100, 50}, {10, 40000}});
    Type(frame->m_spinctrl_width, 65535);
    EXPECT_EQ(frame->m_spinctrl_width->GetValue(), 16);
    EXPECT_EQ(frame->m_outputHeight, 65535);
    // An emptied field changes nothing until a number is typed into it.
    Type(frame->m_spinctrl_height, 0);
    EXPECT_EQ(frame->m_spinctrl_width->GetValue(), 16);
    EXPECT_EQ(frame->m_outputHeight, 65535);
}

TEST_F(Canvas, PlaybackRunsTheNumberOfPassesTheLoopCountDialogConfirmed) {
    Command(frame->m_menuItem_loop); // empty strip: no dialog at all
    AddFrames({{10, 10}, {20, 20}, {30, 30}});
    Type(frame->m_spinctrl_delay, 50);
    wxTEST_DIALOG(Command(frame->m_menuItem_loop), ChooseLoopCount(2));
    EXPECT_EQ(LoopCountDialog(frame).m_spinctrl_loop->GetValue(), 2);
    Command(XRCID("m_tool_play"));
    ASSERT_TRUE(frame->m_isPlaying);
    EXPECT_EQ(frame->m_timer.GetInterval(), 500);
    EXPECT_TRUE(frame->m_currentFileName.empty()) << "starting shows nothing until a tick";
    Ticks(frame, 5);
    EXPECT_TRUE(frame->m_isPlaying);
    Ticks(frame, 1);
    EXPECT_FALSE(frame->m_isPlaying);
    EXPECT_FALSE(frame->m_timer.IsRunning());
    EXPECT_EQ(frame->m_currentFileName, "30x30.png");

    // A run stopped by hand after two of three passes plays one more pass next time.
    wxTEST_DIALOG(Command(frame->m_menuItem_loop), ChooseLoopCount(3));
    Command(frame->m_menuItem_run);
    Ticks(frame, 6);
    Command(frame->m_menuItem_run);
    Command(frame->m_menuItem_run);
    Ticks(frame, 2);
    EXPECT_TRUE(frame->m_isPlaying);
    Ticks(frame, 1);
    EXPECT_FALSE(frame->m_isPlaying);

    // The loop count dialog stops a run; Cancel keeps the count.
    Command(frame->m_menuItem_run);
    wxTEST_DIALOG(Command(frame->m_menuItem_loop),
                  wxExpectDismissableModal<LoopCountDialog>(wxID_CANCEL));
    EXPECT_FALSE(frame->m_isPlaying);
    EXPECT_EQ(frame->m_loopCount, 3);

    // Without a count the run goes on until it is stopped; a new delay stops it too.
    frame->m_loopCount = 0;
    Command(frame->m_menuItem_run);
    Ticks(frame, 10);
    EXPECT_TRUE(frame->m_isPlaying);
    Type(frame->m_spinctrl_delay, 12);
    EXPECT_FALSE(frame->m_isPlaying);

    // Clicking a thumbnail while playing stops and shows it.
    Command(frame->m_menuItem_run);
    wxThumbnailEvent click(wxEVT_THUMBSTRIP_LEFT_CLICK, ID_THUMBNAIL_CTRL);
    click.SetItemIndex(1);
    frame->ProcessWindowEvent(click);
    EXPECT_FALSE(frame->m_isPlaying);
    EXPECT_EQ(frame->m_currentFileName, "20x20.png");
    EXPECT_EQ(Status(1), "20x20.png Width:20px,Height:20 px");
}
