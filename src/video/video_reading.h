// Decoding a part of a video into upright RGB pictures, one after the other: only the picture
// being handed over and the frame before it are held, never the whole part.
#pragma once

#include "video/video_probe.h"

#include <wx/image.h>
#include <wx/string.h>

#include <functional>
#include <limits>
#include <memory>
#include <vector>

// Time stamps of frames meant for a moment may miss it by rounding: Matroska keeps whole
// milliseconds, so frame 2 of 30 a second is at 0.067 s for the moment 0.0667 s.
constexpr double kVideoTimeSlack = 0.001;

// The part of a video to take, in seconds from its start, and the rate to take it at.
struct VideoRange {
    double start = 0;
    // Up to, not including; past the video's end it stops at the end.
    double end = std::numeric_limits<double>::infinity();
    // Frames a second; 0 for the video's own rate. At most kFastestVideoRate.
    double fps = 0;
};

struct VideoPicture {
    // Never null; whoever receives it owns it.
    std::unique_ptr<wxImage> image;
    // Seconds from the video's start at which the picture is taken; reading this time again
    // gives the same picture.
    double time = 0;
    // Hundredths of a second the picture stays, following the video's time stamps: the delays
    // of a range add up to its length. 0 where pictures are read at given times.
    int delay = 0;
    // True when no further picture follows.
    bool isLast = false;
};

using VideoPictureSink = std::function<void(VideoPicture picture)>;
using VideoStopRequest = std::function<bool()>;

struct VideoReading {
    int pictures = 0;
    // False when the file could not be opened, or when it ended or broke before the part did;
    // `error` (translated) names the file and, for a damaged one, the time it stopped at.
    bool complete = false;
    // True when the stop request ended the reading.
    bool stopped = false;
    // True when the file was read as a container that holds no video (sound only).
    bool noVideo = false;
    double stoppedAt = 0;
    wxString error;
};

// Takes the range at its rate: at each multiple of 1 / fps from its start the frame shown at
// that moment, one picture per frame however many moments show it, its delay lasting until
// the moment the next frame is first shown. A video of varying rate keeps its rhythm.
VideoReading ReadVideoRange(const wxString& path, const VideoRange& range,
                            const VideoPictureSink& deliver, const VideoStopRequest& stopRequested);

// One picture for each of `times` (ascending, seconds from the start): the frame shown at it.
VideoReading ReadVideoTimes(const wxString& path, const std::vector<double>& times,
                            const VideoPictureSink& deliver, const VideoStopRequest& stopRequested);

// The time and delay of each picture ReadVideoRange gives for the same range, found from the
// packets' time stamps without decoding (a damaged file may then give fewer pictures).
struct VideoTiming {
    bool readable = false;
    // True when the packets ended in a read error rather than at the file's end: a damaged or
    // cut-off file, whose last frames may not decode.
    bool damaged = false;
    std::vector<double> times;
    std::vector<int> delays;
};
VideoTiming TimeVideoRange(const wxString& path, const VideoRange& range);

// The range with its end at the video's end and its rate chosen where it had none.
VideoRange ResolveVideoRange(const VideoProbe& probe, const VideoRange& range);

// How many pictures ReadVideoRange gives for the range of a video of steady rate.
int CountVideoPictures(const VideoProbe& probe, const VideoRange& range);
