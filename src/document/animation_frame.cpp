#include "document/animation_frame.h"

#include "image/thumbnail_fit.h"

AnimationFrame MakeAnimationFrame(const wxImage& picture, const wxString& source, int delay) {
    AnimationFrame frame;
    frame.pixels = FramePixels::Compress(picture);
    if (frame.pixels == nullptr) {
        return frame;
    }
    const wxImage small = ShrinkToFit(picture, wxSize(kThumbnailBox, kThumbnailBox));
    if (small.IsOk()) {
        frame.thumbnail = std::make_shared<const wxImage>(small);
    }
    frame.source = source;
    frame.delay = delay;
    return frame;
}
