#include "video/video_module.h"

#include <wx/intl.h>

#include <dlfcn.h>

namespace {
// Loaded on the first video read, and kept: FFmpeg's libraries are never unloaded safely.
const VideoModule* Module() {
    static const VideoModule* const module = []() -> const VideoModule* {
        void* handle = dlopen(kVideoModuleFile, RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            return nullptr;
        }
        const auto entry = reinterpret_cast<VideoModuleEntry>(dlsym(handle, kVideoModuleEntry));
        return entry ? entry() : nullptr;
    }();
    return module;
}

// Without the module no video has a decoder here.
wxString NoDecoder(const wxString& path) {
    return wxString::Format(_("Cannot read \"%s\": its video has no decoder here"), path);
}
} // namespace

VideoProbe ProbeVideo(const wxString& path) {
    if (const VideoModule* module = Module()) {
        return module->probe(path);
    }
    VideoProbe probe;
    probe.error = NoDecoder(path);
    return probe;
}

VideoReading ReadVideoRange(const wxString& path, const VideoRange& range,
                            const VideoPictureSink& deliver,
                            const VideoStopRequest& stopRequested) {
    if (const VideoModule* module = Module()) {
        return module->readRange(path, range, deliver, stopRequested);
    }
    VideoReading reading;
    reading.error = NoDecoder(path);
    return reading;
}

VideoReading ReadVideoTimes(const wxString& path, const std::vector<double>& times,
                            const VideoPictureSink& deliver,
                            const VideoStopRequest& stopRequested) {
    if (const VideoModule* module = Module()) {
        return module->readTimes(path, times, deliver, stopRequested);
    }
    VideoReading reading;
    reading.error = NoDecoder(path);
    return reading;
}

VideoTiming TimeVideoRange(const wxString& path, const VideoRange& range) {
    if (const VideoModule* module = Module()) {
        return module->timeRange(path, range);
    }
    return VideoTiming();
}
