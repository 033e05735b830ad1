#include "import/image_source.h"

#include "import/frame_reference.h"
#include "import/gif_frames.h"

#include <wx/ffile.h>
#include <wx/filefn.h>
#include <wx/log.h>

#include <cstring>

namespace {
bool Stopped(const StopRequest& stopRequested) {
    return stopRequested && stopRequested();
}

bool DecodeStill(const wxString& path, int frameIndex, const PictureSink& deliver,
                 const StopRequest& stopRequested) {
    // A still picture has only its first frame.
    if (frameIndex > 0 || Stopped(stopRequested)) {
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

bool DecodeImageSource(const wxString& path, const PictureSink& deliver,
                       const StopRequest& stopRequested) {
    wxLogNull quiet;
    const int frameIndex = ParseFrameIndex(path);
    const wxString source = StripFrameSuffix(path);
    if (!wxFileExists(source)) {
        return false;
    }
    if (IsGifContent(source)) {
        return DecodeGifFrames(
            source, frameIndex,
            [&deliver](SourcePicture picture) {
                picture.fromGif = true;
                deliver(std::move(picture));
            },
            stopRequested);
    }
    // The toolkit's handlers also choose by content.
    return DecodeStill(source, frameIndex, deliver, stopRequested);
}

bool IsGifContent(const wxString& path) {
    wxFFile file(path, "rb");
    char start[6] = {};
    return file.IsOpened() && file.Read(start, sizeof start) == sizeof start &&
           (std::memcmp(start, "GIF87a", 6) == 0 || std::memcmp(start, "GIF89a", 6) == 0);
}

SourceSurvey SurveyImageSource(const wxString& path) {
    const wxString source = StripFrameSuffix(path);
    wxLogNull quiet;
    if (wxFileExists(source) && IsGifContent(source)) {
        return SurveyGifFrames(source, ParseFrameIndex(path));
    }
    SourceSurvey survey;
    DecodeImageSource(
        path,
        [&survey](SourcePicture picture) {
            survey.pictures = 1;
            survey.size = picture.image->GetSize();
        },
        StopRequest());
    return survey;
}

wxString SourcePicture::EntryPath() const {
    // A picture under a GIF name is named as a frame of it, whatever its content.
    return fromGif || IsGifSource(sourcePath) ? FrameReference(sourcePath, frameIndex) : sourcePath;
}
