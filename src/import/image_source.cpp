#include "import/image_source.h"

#include "import/frame_reference.h"
#include "import/gif_frames.h"
#include "video/video_reference.h"

#include <wx/filefn.h>
#include <wx/log.h>

namespace {
bool Stopped(const StopRequest& stopRequested) {
    return stopRequested && stopRequested();
}

// The whole video at its own rate where `path` names a video file.
VideoName WholeVideo(const wxString& path) {
    VideoName name;
    name.path = path;
    return name;
}

bool DecodeVideo(const VideoName& name, const PictureSink& deliver,
                 const StopRequest& stopRequested, wxString* damage) {
    const VideoPictureSink each = [&](VideoPicture picture) {
        deliver(SourcePicture{std::move(picture.image), 0, VideoFrameName(name.path, picture.time),
                              picture.isLast, picture.delay});
    };
    const VideoReading reading = name.frame
                                     ? ReadVideoTimes(name.path, {name.time}, each, stopRequested)
                                     : ReadVideoRange(name.path, name.range, each, stopRequested);
    if (damage && reading.pictures > 0 && !reading.complete && !reading.stopped) {
        *damage = reading.error;
    }
    return reading.pictures > 0;
}

bool DecodeStill(const wxString& path, const PictureSink& deliver, const StopRequest& stopRequested,
                 wxString* damage) {
    if (Stopped(stopRequested)) {
        return false;
    }
    auto picture = std::make_unique<wxImage>();
    if (!picture->LoadFile(path, wxBITMAP_TYPE_ANY) || !picture->IsOk()) {
        return DecodeVideo(WholeVideo(path), deliver, stopRequested, damage);
    }
    deliver(SourcePicture{std::move(picture), 0, path, true});
    return true;
}
} // namespace

bool DecodeImageSource(const wxString& path, const PictureSink& deliver,
                       const StopRequest& stopRequested, wxString* damage) {
    wxLogNull quiet;
    VideoName video;
    if (ParseVideoName(path, &video) || HasVideoExtension(path)) {
        if (video.path.empty()) {
            video = WholeVideo(path);
        }
        return wxFileExists(video.path) && DecodeVideo(video, deliver, stopRequested, damage);
    }
    const int frameIndex = ParseFrameIndex(path);
    const wxString source = StripFrameSuffix(path);
    if (!wxFileExists(source)) {
        return false;
    }
    if (IsGifSource(source)) {
        return DecodeGifFrames(source, frameIndex, deliver, stopRequested);
    }
    return DecodeStill(source, deliver, stopRequested, damage);
}

SourceSurvey SurveyImageSource(const wxString& path) {
    wxLogNull quiet;
    VideoName video;
    const bool named = ParseVideoName(path, &video);
    const wxString source = named ? video.path : StripFrameSuffix(path);
    if (!wxFileExists(source)) {
        return SourceSurvey();
    }
    if (!named && IsGifSource(source)) {
        return SurveyGifFrames(source, ParseFrameIndex(path));
    }
    SourceSurvey survey;
    wxImage still;
    if (!named && !HasVideoExtension(source) && still.LoadFile(source, wxBITMAP_TYPE_ANY) &&
        still.IsOk()) {
        survey.pictures = 1;
        survey.size = still.GetSize();
        return survey;
    }
    const VideoProbe probe = ProbeVideo(source);
    if (probe.readable) {
        survey.pictures = video.frame ? 1 : CountVideoPictures(probe, video.range);
        survey.size = probe.size;
    }
    return survey;
}
