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

// Without the module no video has a decoder here: a probe or reading that says so.
template <typename Answer> Answer WithoutDecoder(const wxString& path) {
    Answer answer;
    answer.error = wxString::Format(_("Cannot read \"%s\": its video has no decoder here"), path);
    return answer;
}
} // namespace

VideoProbe ProbeVideo(const wxString& path) {
    const VideoModule* module = Module();
    return module ? module->probe(path) : WithoutDecoder<VideoProbe>(path);
}

VideoReading ReadVideoRange(const wxString& path, const VideoRange& range,
                            const VideoPictureSink& deliver,
                            const VideoStopRequest& stopRequested) {
    const VideoModule* module = Module();
    return module ? module->readRange(path, range, deliver, stopRequested)
                  : WithoutDecoder<VideoReading>(path);
}

VideoReading ReadVideoTimes(const wxString& path, const std::vector<double>& times,
                            const VideoPictureSink& deliver,
                            const VideoStopRequest& stopRequested) {
    const VideoModule* module = Module();
    return module ? module->readTimes(path, times, deliver, stopRequested)
                  : WithoutDecoder<VideoReading>(path);
}

VideoTiming TimeVideoRange(const wxString& path, const VideoRange& range) {
    const VideoModule* module = Module();
    return module ? module->timeRange(path, range) : VideoTiming();
}
