// Videos in the window: the dialog before a video comes in (the whole video at its own rate
// unless chosen otherwise, the count following the choice, no OK for a part that cannot be
// read), the part chosen coming in upright, and a project keeping its frames.
#include "gui/window_fixture.h"
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

namespace {
// Answers the video dialog with a part and a rate, or cancels it.
class ChooseVideoPart : public wxExpectModalBase<VideoRangeDialog, ChooseVideoPart> {
public:
    ChooseVideoPart(const char* start, const char* end, double rate, int answer = wxID_OK)
        : m_start(start), m_end(end), m_rate(rate), m_answer(answer) {}

protected:
    int OnInvoked(VideoRangeDialog* dialog) const override {
        dialog->RateControl()->SetValue(m_rate);
        dialog->StartControl()->SetValue(m_start);
        dialog->EndControl()->SetValue(m_end);
        return m_answer;
    }
    const char* m_start;
    const char* m_end;
    double m_rate;
    int m_answer;
};
} // namespace

using VideoImport = WindowTest;

TEST_F(VideoImport, APartOfAPhoneVideoComesInUprightAndStaysInTheProject) {
    VideoClip clip;
    clip.times = SteadyTimes(60, 30);
    clip.rotation = 90;
    const wxString phone = WriteVideoClip(folder.File("phone.mp4"), clip);
    wxTEST_DIALOG(Import(frame->m_menuItem_add, {phone}), ChooseVideoPart("0.5", "1.5", 10));
    std::vector<wxString> frames;
    for (int k = 0; k < 10; ++k) {
        frames.push_back(wxString::Format("phone.mp4#t=%s", wxString::FromCDouble(0.5 + k / 10.0)));
    }
    EXPECT_EQ(Names(), frames);
    EXPECT_EQ(frame->m_imageWidth, 48);
    EXPECT_EQ(frame->m_imageHeight, 64);

    // Cancelled, nothing comes in; a file without video is named.
    wxTEST_DIALOG(Import(frame->m_menuItem_add, {phone}),
                  ChooseVideoPart("0", "1", 10, wxID_CANCEL));
    EXPECT_EQ(Strip().GetCount(), 10);
    const wxString notes = WriteBytes(folder.File("notes.mp4"), "no video here");
    wxString said;
    wxTEST_DIALOG(Import(frame->m_menuItem_add, {notes}), ExpectMessage(wxID_OK, &said));
    EXPECT_TRUE(said.Contains(notes)) << said;

    // The project names each frame by its video and time, and opens to the same frames.
    answer = {folder.File("walk")};
    Command(frame->m_menuItem_saveproject);
    const std::string saved = ReadBytes(folder.File("walk.xml"));
    EXPECT_NE(saved.find("video=\"" + phone.ToStdString() + "\" time=\"0.5\""), std::string::npos)
        << saved;
    Import(frame->m_menuItem_open, {folder.File("walk.xml")});
    EXPECT_EQ(Names(), frames);
    EXPECT_EQ(frame->m_imageWidth, 48);
}
