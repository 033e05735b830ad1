// One frame of the animation: where it came from, its picture and how long it is shown.
#pragma once

#include "document/frame_pixels.h"

#include <wx/image.h>
#include <wx/string.h>

#include <memory>

// The side of the box thumbnails are shrunk into.
constexpr int kThumbnailBox = 80;

// The delay frames take when nothing else gives one, in hundredths of a second.
constexpr int kDefaultDelay = 10;

struct AnimationFrame {
    // The pictures are shared, never changed: copying a frame copies two references.
    SharedPixels pixels;
    // The picture shrunk into kThumbnailBox x kThumbnailBox, made once with the frame.
    std::shared_ptr<const wxImage> thumbnail;
    // The file the frame came from; a GIF file's frames carry their frame reference ("x.gif_N").
    wxString source;
    // How long the frame is shown, in hundredths of a second.
    int delay = kDefaultDelay;

    bool IsOk() const { return pixels != nullptr; }
};

// The frame of a picture: compressed, with its thumbnail. Not IsOk() when memory ran out.
AnimationFrame MakeAnimationFrame(const wxImage& picture, const wxString& source, int delay);
