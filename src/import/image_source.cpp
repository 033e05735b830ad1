#include "import/image_source.h"

#include "import/frame_reference.h"
#include "import/gif_composer.h"

#include <wx/filefn.h>
#include <wx/gifdecod.h>
#include <wx/log.h>
#include <wx/wfstream.h>

namespace {
bool Stopped(const StopRequest& stopRequested) {
    return stopRequested && stopRequested();
}

// Every frame of the GIF file when `onlyFrame` is -1, otherwise only that one (the frames
// before it are still composed, since it may be drawn over them).
bool DecodeGif(const wxString& path, int onlyFrame, const PictureSink& deliver,
               const StopRequest& stopRequested) {
    wxFileInputStream stream(path);
    if (!stream.IsOk()) {
        return false;
    }
    wxGIFDecoder decoder;
    // A truncated file still gives the frames read before the damage.
    decoder.LoadGIF(stream);
    const int count = static_cast<int>(decoder.GetFrameCount());
    if (onlyFrame >= count) {
        return false;
    }
    const int lastFrame = onlyFrame >= 0 ? onlyFrame : count - 1;
    GifComposer composer(decoder);
    bool delivered = false;
    while (!Stopped(stopRequested) && composer.PaintNextFrame()) {
        const int frame = composer.GetFrameIndex();
        if (onlyFrame >= 0 && frame < onlyFrame) {
            continue;
        }
        std::unique_ptr<wxImage> picture = composer.MakePicture();
        if (picture && picture->IsOk()) {
            deliver(SourcePicture{std::move(picture), frame, path, frame == lastFrame});
            delivered = true;
        }
        if (frame == lastFrame) {
            break;
        }
    }
    return delivered;
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

bool DecodeImageSource(const wxString& path, const PictureSink& deliver,
                       const StopRequest& stopRequested) {
    wxLogNull quiet;
    const int frameIndex = ParseFrameIndex(path);
    const wxString source = StripFrameSuffix(path);
    if (!wxFileExists(source)) {
        return false;
    }
    if (IsGifSource(source)) {
        return DecodeGif(source, frameIndex, deliver, stopRequested);
    }
    return DecodeStill(source, deliver, stopRequested);
}
