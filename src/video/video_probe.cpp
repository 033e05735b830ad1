#include "video/video_input.h"
#include "video/video_module.h"

VideoProbe ffmpeg::ProbeVideo(const wxString& path) {
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
