#include "import/image_source.h"

#include "gif/gif_frames.h"
#include "import/frame_reference.h"

#include <wx/filefn.h>
#include <wx/log.h>

namespace {
const char* const kDelayOption = "ReelmontFrameDelay";

bool Stopped(const StopRequest& stopRequested) {
    return stopRequested && stopRequested();
}

bool DecodeStill(const wxString& path, const PictureSink& deliver,
                 const StopRequest& stopRequested) {
    if (Stopped(stopRequested)) {
        return false;
    }
    auto picture = std::make_unique<wxImage>();
    if (!picture->LoadFile(path, wxBITMAP_TYPE_ANY) || !picture->IsOk()) {
        return false;
    }
    deliver(SourcePicture{std::move(picture), 0, path, true});
    return true;
}
} // namespace

void SetPictureDelay(wxImage& picture, int delay) {
    picture.SetOption(kDelayOption, delay);
}

int PictureDelay(const wxImage& picture, int fallback) {
    return picture.HasOption(kDelayOption) ? picture.GetOptionInt(kDelayOption) : fallback;
}

bool DecodeImageSource(const wxString& path, const PictureSink& deliver,
                       const StopRequest& stopRequested) {
    wxLogNull quiet;
    const int frameIndex = ParseFrameIndex(path);
    const wxString source = StripFrameSuffix(path);
    if (!wxFileExists(source)) {
        return false;
    }
    if (IsGifSource(source)) {
        return DecodeGifFrames(source, frameIndex, deliver, stopRequested);
    }
    return DecodeStill(source, deliver, stopRequested);
}

SourceSurvey SurveyImageSource(const wxString& path) {
    if (IsGifSource(StripFrameSuffix(path))) {
        wxLogNull quiet;
        return wxFileExists(StripFrameSuffix(path))
                   ? SurveyGifFrames(StripFrameSuffix(path), ParseFrameIndex(path))
                   : SourceSurvey();
    }
    SourceSurvey survey;
    DecodeImageSource(
        path,
        [&survey](SourcePicture picture) {
            survey.pictures = 1;
            survey.size = picture.image->GetSize();
            survey.delays = {-1};
        },
        StopRequest());
    return survey;
}
