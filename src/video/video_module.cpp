#include "video/video_module.h"

extern "C" __attribute__((visibility("default"))) const VideoModule* ReelmontVideoModule() {
    static const VideoModule module = {ffmpeg::ProbeVideo, ffmpeg::ReadVideoRange,
                                       ffmpeg::ReadVideoTimes, ffmpeg::TimeVideoRange};
    return &module;
}
