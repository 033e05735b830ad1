// The video module, reelmont-video.so: the one piece linked with FFmpeg's libraries, loaded
// only once a video is read, so that the program and the exporter start without mapping the
// hundred libraries those pull in. The readers of video_probe.h and video_reading.h call it
// through the table it hands out.
#pragma once

#include "video/video_reading.h"

// The module's file name, found through the executables' library search path.
constexpr const char* kVideoModuleFile = "reelmont-video.so";
// The one name the module exports: a function returning its table.
constexpr const char* kVideoModuleEntry = "ReelmontVideoModule";

struct VideoModule {
    VideoProbe (*probe)(const wxString& path);
    VideoReading (*readRange)(const wxString& path, const VideoRange& range,
                              const VideoPictureSink& deliver,
                              const VideoStopRequest& stopRequested);
    VideoReading (*readTimes)(const wxString& path, const std::vector<double>& times,
                              const VideoPictureSink& deliver,
                              const VideoStopRequest& stopRequested);
    VideoTiming (*timeRange)(const wxString& path, const VideoRange& range);
};
using VideoModuleEntry = const VideoModule* (*)();

// The readers as the module holds them, behind the table.
namespace ffmpeg {
VideoProbe ProbeVideo(const wxString& path);
VideoReading ReadVideoRange(const wxString& path, const VideoRange& range,
                            const VideoPictureSink& deliver, const VideoStopRequest& stopRequested);
VideoReading ReadVideoTimes(const wxString& path, const std::vector<double>& times,
                            const VideoPictureSink& deliver, const VideoStopRequest& stopRequested);
VideoTiming TimeVideoRange(const wxString& path, const VideoRange& range);
} // namespace ffmpeg
