#include "video/video_reading.h"

#include <algorithm>
#include <cmath>

double DefaultVideoRate(const VideoProbe& probe) {
    // Without a rate of its own, a video is taken as PAL television.
    return probe.frameRate > 0 ? std::min(probe.frameRate, kFastestVideoRate) : 25;
}

VideoRange ResolveVideoRange(const VideoProbe& probe, const VideoRange& range) {
    VideoRange resolved = range;
    resolved.start = std::max(range.start, 0.0);
    if (probe.duration > 0) {
        resolved.end = std::min(range.end, probe.duration);
    }
    resolved.fps = range.fps > 0 ? std::min(range.fps, kFastestVideoRate) : DefaultVideoRate(probe);
    return resolved;
}

int CountVideoPictures(const VideoProbe& probe, const VideoRange& range) {
    const VideoRange part = ResolveVideoRange(probe, range);
    if (!std::isfinite(part.end) || part.end <= part.start) {
        return 0;
    }
    // Taken faster than the video's own rate, a frame covers several moments yet comes once.
    const double rate = probe.frameRate > 0 ? std::min(part.fps, probe.frameRate) : part.fps;
    return static_cast<int>(std::ceil((part.end - part.start) * rate - kVideoTimeSlack));
}
