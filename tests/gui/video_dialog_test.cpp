// The dialog before a video comes in: the whole video at its own rate unless chosen otherwise,
// the count following the choice, and no OK for a part that cannot be read.
#include "support/temp_folder.h"
#include "support/video_clips.h"
#include "window/video_range_dialog.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

TEST(VideoDialog, ChoosesAPartThatCanBeRead) {
    TempFolder folder;
    VideoClip clip;
    clip.times = SteadyTimes(30, 30);
    const wxString path = WriteVideoClip(folder.File("clip.mp4"), clip);
    const VideoProbe probe = ProbeVideo(path);
    ASSERT_TRUE(probe.readable);
    VideoRangeDialog dialog(nullptr, path, probe);
    wxWindow* ok = dialog.FindWindow(wxID_OK);
    EXPECT_EQ(dialog.StartControl()->GetValue(), "0:00.00");
    EXPECT_EQ(dialog.EndControl()->GetValue(), "0:01.00");
    EXPECT_DOUBLE_EQ(dialog.RateControl()->GetValue(), 30);
    EXPECT_EQ(dialog.CountText()->GetLabel(), "30 frames will come in.");

    const struct {
        const char *start, *end;
        double rate;
        bool accepted;
        wxString says;
    } cases[] = {
        {"0:00.50", "0.8", 10, true, "3 frames will come in."},
        {"0.2", "9:00", 30, true, "24 frames will come in."}, // the end stops at the video's
        {"0.8", "0.5", 10, false, "The end must come after the start."},
        {"0.5", "0.5", 10, false, "The end must come after the start."},
        {"1:00", "2:00", 10, false, "The video ends at 0:01.00."},
        {"half", "1", 10, false,
         "Write the times as minutes and seconds, such as 1:05.50, or as seconds."},
    };
    for (const auto& c : cases) {
        dialog.RateControl()->SetValue(c.rate);
        dialog.StartControl()->ChangeValue(c.start);
        dialog.EndControl()->SetValue(c.end);
        EXPECT_EQ(ok->IsEnabled(), c.accepted) << c.start << " " << c.end;
        EXPECT_EQ(dialog.CountText()->GetLabel(), c.says) << c.start << " " << c.end;
    }
    // A rate of 0 cannot be entered.
    dialog.RateControl()->SetValue(0);
    EXPECT_DOUBLE_EQ(dialog.RateControl()->GetValue(), 1);
    dialog.StartControl()->SetValue("0.5");
    dialog.EndControl()->SetValue("0.8");
    dialog.RateControl()->SetValue(10);
    const VideoRange range = dialog.GetRange();
    EXPECT_DOUBLE_EQ(range.start, 0.5);
    EXPECT_DOUBLE_EQ(range.end, 0.8);
    EXPECT_DOUBLE_EQ(range.fps, 10);
}
