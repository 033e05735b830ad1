// Video files read into pictures: which frames a range at a rate gives, their delays, which
// way up and how wide they come, and what damaged files and files without video give.
#include "import/image_source.h"
#include "support/temp_folder.h"
#include "support/test_files.h"
#include "support/video_clips.h"
#include "video/video_probe.h"
#include "video/video_reading.h"
#include "video/video_reference.h"
#include "video/video_time.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {
struct Taken {
    std::vector<int> frames;
    std::vector<int> delays;
    std::vector<double> times;
    std::vector<wxImage> pictures;
    VideoReading reading;
};

VideoPictureSink Collect(Taken* taken) {
    return [taken](VideoPicture picture) {
        taken->frames.push_back(ClipFrameNumber(*picture.image));
        taken->delays.push_back(picture.delay);
        taken->times.push_back(picture.time);
        taken->pictures.push_back(*picture.image);
    };
}

Taken ReadRange(const wxString& path, const VideoRange& range) {
    Taken taken;
    taken.reading = ReadVideoRange(path, range, Collect(&taken), VideoStopRequest());
    return taken;
}

bool White(const wxImage& picture, int x, int y) {
    return picture.GetRed(x, y) > 200 && picture.GetGreen(x, y) > 200 &&
           picture.GetBlue(x, y) > 200;
}
} // namespace

TEST(VideoReading, RangesAtARateFollowTheTimeStamps) {
    TempFolder folder;
    const double kWhole = VideoRange().end;
    const struct {
        std::vector<double> times;
        VideoRange range;
        std::vector<int> frames, delays;
    } cases[] = {
        // The video's own rate: 30 fps gives 3, 3, 4 hundredths, ten frames a tenth of a second.
        {SteadyTimes(30, 30),
         {0, kWhole, 0},
         {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
          15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29},
         {3, 3, 4, 3, 3, 4, 3, 3, 4, 3, 3, 4, 3, 3, 4,
          3, 3, 4, 3, 3, 4, 3, 3, 4, 3, 3, 4, 3, 3, 4}},
        {SteadyTimes(30, 30),
         {0, kWhole, 10},
         {0, 3, 6, 9, 12, 15, 18, 21, 24, 27},
         {10, 10, 10, 10, 10, 10, 10, 10, 10, 10}},
        // A cut from the middle, its end not included.
        {SteadyTimes(30, 30), {0.5, 0.8, 10}, {15, 18, 21}, {10, 10, 10}},
        {SteadyTimes(30, 30), {0.2, 0.45, 15}, {6, 8, 10, 12}, {6, 7, 7, 5}},
        // Faster than 50 frames a second is taken at 50.
        {SteadyTimes(10, 100), {0, kWhole, 0}, {0, 2, 4, 6, 8}, {2, 2, 2, 2, 2}},
        // Asked faster than the video's rate, each frame still comes once.
        {SteadyTimes(5, 10), {0, kWhole, 30}, {0, 1, 2, 3, 4}, {10, 10, 10, 10, 10}},
        // A varying rate keeps its rhythm: the long third frame stays long.
        {{0, 0.1, 0.15, 0.5, 0.6}, {0, kWhole, 20}, {0, 1, 2, 3, 4}, {10, 5, 35, 10, 10}},
        {{0, 0.1, 0.15, 0.5, 0.6}, {0, kWhole, 10}, {0, 1, 2, 3, 4}, {10, 10, 30, 10, 10}},
    };
    for (const auto& c : cases) {
        VideoClip clip;
        clip.times = c.times;
        const wxString path = WriteVideoClip(folder.File("clip.mp4"), clip);
        ASSERT_FALSE(path.empty());
        const Taken taken = ReadRange(path, c.range);
        EXPECT_EQ(taken.frames, c.frames) << &c - cases;
        EXPECT_EQ(taken.delays, c.delays) << &c - cases;
        EXPECT_TRUE(taken.reading.complete) << &c - cases << taken.reading.error;
        EXPECT_EQ(taken.reading.pictures, static_cast<int>(c.frames.size()));
        if (c.times.size() > 5) { // steady clips: the count is known before reading
            EXPECT_EQ(CountVideoPictures(ProbeVideo(path), c.range),
                      static_cast<int>(c.frames.size()))
                << &c - cases;
        }
        // The packets' time stamps alone give the same timing.
        const VideoTiming timing = TimeVideoRange(path, c.range);
        EXPECT_EQ(timing.delays, c.delays) << &c - cases;
        EXPECT_EQ(timing.times, taken.times) << &c - cases;
        // Reading a picture's time again gives the same frame.
        Taken again;
        ReadVideoTimes(path, taken.times, Collect(&again), VideoStopRequest());
        EXPECT_EQ(again.frames, c.frames) << &c - cases;
    }
}

TEST(VideoReading, PicturesStandUprightAtTheirDisplayAspect) {
    TempFolder folder;
    const struct {
        int rotation, aspectNum, aspectDen;
        wxSize size;
        wxPoint square; // where the recorded top left corner ends up
    } cases[] = {
        {0, 1, 1, {64, 48}, {2, 2}},     {90, 1, 1, {48, 64}, {45, 2}},
        {180, 1, 1, {64, 48}, {61, 45}}, {270, 1, 1, {48, 64}, {2, 61}},
        {0, 2, 1, {128, 48}, {2, 2}},    {90, 2, 1, {48, 128}, {45, 2}},
    };
    for (const auto& c : cases) {
        VideoClip clip;
        clip.times = SteadyTimes(3, 25);
        clip.rotation = c.rotation;
        clip.aspectNum = c.aspectNum;
        clip.aspectDen = c.aspectDen;
        const wxString path = WriteVideoClip(folder.File("phone.mp4"), clip);
        const VideoProbe probe = ProbeVideo(path);
        EXPECT_TRUE(probe.readable) << probe.error;
        EXPECT_EQ(probe.size, c.size) << &c - cases;
        EXPECT_EQ(probe.rotation, c.rotation);
        EXPECT_NEAR(probe.duration, 0.12, 0.001);
        EXPECT_NEAR(probe.frameRate, 25, 0.01);
        const Taken taken = ReadRange(path, VideoRange());
        ASSERT_EQ(taken.pictures.size(), 3u);
        const wxImage& first = taken.pictures.front();
        EXPECT_EQ(first.GetSize(), c.size) << &c - cases;
        EXPECT_TRUE(White(first, c.square.x, c.square.y)) << &c - cases;
        EXPECT_FALSE(
            White(first, c.size.GetWidth() - 1 - c.square.x, c.size.GetHeight() - 1 - c.square.y))
            << &c - cases;
    }
}

TEST(VideoReading, DamagedFilesAndFilesWithoutVideo) {
    TempFolder folder;
    VideoClip clip;
    clip.width = 160;
    clip.height = 120;
    clip.times = SteadyTimes(60, 30);
    const std::string whole = ReadBytes(WriteVideoClip(folder.File("whole.mkv"), clip));
    const wxString cut = WriteBytes(folder.File("cut.mkv"), whole.substr(0, whole.size() / 2));
    const Taken taken = ReadRange(cut, VideoRange());
    EXPECT_FALSE(taken.reading.complete);
    EXPECT_GT(taken.reading.pictures, 10);
    EXPECT_LT(taken.reading.pictures, 55);
    EXPECT_NEAR(taken.reading.stoppedAt, taken.reading.pictures / 30.0, 0.05);
    EXPECT_TRUE(taken.reading.error.Contains(cut)) << taken.reading.error;
    EXPECT_TRUE(taken.reading.error.Contains(FormatVideoTime(taken.reading.stoppedAt)));
    // The exporter's survey counts the frames that decode, not the packets, and says where.
    const SourceSurvey survey = SurveyImageSource(cut);
    EXPECT_EQ(survey.pictures, taken.reading.pictures);
    EXPECT_EQ(survey.problem.fault, SourceFault::Damaged);
    EXPECT_DOUBLE_EQ(survey.problem.stoppedAt, taken.reading.stoppedAt);

    // Sound only: a WAV file of a tenth of a second of silence at 8000 Hz.
    std::string wav = "RIFF";
    const auto Word = [&wav](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            wav += static_cast<char>(value >> (8 * i) & 0xff);
        }
    };
    Word(36 + 1600, 4);
    wav += "WAVEfmt ";
    Word(16, 4), Word(1, 2), Word(1, 2), Word(8000, 4), Word(16000, 4), Word(2, 2), Word(16, 2);
    wav += "data";
    Word(1600, 4);
    wav += std::string(1600, '\0');
    const wxString sound = WriteBytes(folder.File("sound.wav"), wav);
    const wxString text = WriteBytes(folder.File("notes.mp4"), "not a video at all\n");
    const struct {
        wxString path;
        bool noVideo;
    } refused[] = {{sound, true}, {text, false}};
    for (const auto& c : refused) {
        const VideoProbe probe = ProbeVideo(c.path);
        EXPECT_FALSE(probe.readable);
        EXPECT_EQ(probe.noVideo, c.noVideo) << c.path;
        EXPECT_TRUE(probe.error.Contains(c.path)) << probe.error;
        const Taken none = ReadRange(c.path, VideoRange());
        EXPECT_EQ(none.reading.pictures, 0);
        EXPECT_FALSE(none.reading.complete);
        EXPECT_EQ(none.reading.error, probe.error);
    }
}

TEST(VideoTime, WrittenAndRead) {
    const struct {
        const char* text;
        bool valid;
        double seconds;
    } cases[] = {
        {"65.5", true, 65.5}, {"1:05.5", true, 65.5}, {"1:01:05,25", true, 3665.25},
        {"0:60", false, 0},   {"1:2:3:4", false, 0},  {"-1", false, 0},
        {"", false, 0},       {"2s", false, 0},       {"1.5:00", false, 0},
    };
    for (const auto& c : cases) {
        double seconds = 0;
        EXPECT_EQ(ParseVideoTime(c.text, &seconds), c.valid) << c.text;
        if (c.valid) {
            EXPECT_DOUBLE_EQ(seconds, c.seconds) << c.text;
        }
    }
    EXPECT_EQ(FormatVideoTime(65.5), "1:05.50");
    EXPECT_EQ(FormatVideoTime(3665.25), "1:01:05.25");
}

TEST(VideoReading, PartsAndFramesByNameAsImageSources) {
    TempFolder folder;
    VideoClip clip;
    clip.times = SteadyTimes(30, 30);
    const wxString path = WriteVideoClip(folder.File("clip.mkv"), clip);
    // A name goes through the list of an import and back to the same part or frame.
    const struct {
        wxString name;
        bool valid;
        std::vector<int> frames, delays;
        std::vector<wxString> sources;
    } cases[] = {
        {VideoPartName(path, {0.5, 0.8, 10}),
         true,
         {15, 18, 21},
         {10, 10, 10},
         {path + "#t=0.5", path + "#t=0.6", path + "#t=0.7"}},
        {VideoPartName(path, {0.9, VideoRange().end, 0}), true, {27, 28, 29}, {3, 3, 4}, {}},
        {VideoFrameName(path, 0.6), true, {18}, {0}, {path + "#t=0.6"}},
        {path + "#t=0.2,0.1x", false, {}, {}, {}},
        {path + "#t=", false, {}, {}, {}},
        {path + "#t=1,2&fps=0", false, {}, {}, {}},
    };
    for (const auto& c : cases) {
        VideoName parsed;
        EXPECT_EQ(ParseVideoName(c.name, &parsed), c.valid) << c.name;
        Taken taken;
        std::vector<wxString> sources;
        const bool any = DecodeImageSource(
            c.name,
            [&](SourcePicture picture) {
                taken.frames.push_back(ClipFrameNumber(*picture.image));
                taken.delays.push_back(picture.delay);
                sources.push_back(picture.sourcePath);
            },
            StopRequest());
        EXPECT_EQ(any, c.valid) << c.name;
        EXPECT_EQ(taken.frames, c.frames) << c.name;
        EXPECT_EQ(taken.delays, c.delays) << c.name;
        if (!c.sources.empty()) {
            EXPECT_EQ(sources, c.sources) << c.name;
        }
        const SourceSurvey survey = SurveyImageSource(c.name);
        EXPECT_EQ(survey.pictures, static_cast<int>(c.frames.size())) << c.name;
        EXPECT_EQ(survey.size, c.valid ? wxSize(64, 48) : wxSize()) << c.name;
    }
    // The plain video file: all of it at its own rate.
    EXPECT_EQ(SurveyImageSource(path).pictures, 30);

    // A project's frames of one video at rising times, not far apart, are read in one pass,
    // each under its name as the project wrote it.
    const std::vector<wxString> run = {path + "#t=0.1", path + "#t=0.50", path + "#t=0.9"};
    EXPECT_EQ(FrameRunLength(std::vector<wxString>{run[0], run[1], run[2], path + "#t=6"}, 0), 3u);
    EXPECT_EQ(FrameRunLength(std::vector<wxString>{run[1], run[0]}, 0), 1u);
    std::vector<int> frames;
    std::vector<wxString> names;
    EXPECT_TRUE(DecodeFrameRun(
        run,
        [&](SourcePicture picture) {
            frames.push_back(ClipFrameNumber(*picture.image));
            names.push_back(picture.sourcePath);
        },
        StopRequest()));
    EXPECT_EQ(frames, (std::vector<int>{3, 15, 27}));
    EXPECT_EQ(names, run);
    EXPECT_EQ(SurveyFrameRun(run).pictures, 3);
}
