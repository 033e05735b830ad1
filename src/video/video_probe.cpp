#include "video/video_probe.h"

#include "video/video_input.h"

#include <algorithm>

VideoProbe ProbeVideo(const wxString& path) {
    VideoProbe probe;
    VideoInput input;
    if (!input.Open(path, &probe.error, &probe.noVideo)) {
        return probe;
    }
    probe.readable = true;
    probe.duration = input.Duration();
    probe.size = input.PictureSize();
    probe.rotation = input.Rotation();
    probe.frameRate = input.FrameRate();
    return probe;
}

double DefaultVideoRate(const VideoProbe& probe) {
    // Without a rate of its own, a video is taken as PAL television.
    return probe.frameRate > 0 ? std::min(probe.frameRate, kFastestVideoRate) : 25;
}
