// How the animation's frames are shown and written without changing their sources: a crop
// rectangle taken from each picture, then a turn by quarter turns and a left-right mirror.
#pragma once

#include <wx/gdicmn.h>
#include <wx/image.h>
#include <wx/string.h>

// Clockwise quarter turns (0 to 3), then, when `mirrored`, left and right swapped. Every
// combination of turns and flips comes down to one of these eight.
struct Orientation {
    int quarterTurns = 0;
    bool mirrored = false;
    bool operator==(const Orientation& other) const {
        return quarterTurns == other.quarterTurns && mirrored == other.mirrored;
    }
    bool operator!=(const Orientation& other) const { return !(*this == other); }
};

// `orientation` followed by `quarterTurns` clockwise turns (negative: counter-clockwise).
Orientation Turned(const Orientation& orientation, int quarterTurns);
// `orientation` followed by a flip: left-right, or top-bottom when `vertically`.
Orientation Flipped(const Orientation& orientation, bool vertically);
// The orientation that puts an oriented picture back.
Orientation Inverse(const Orientation& orientation);

// The size of a picture of `size` once oriented.
wxSize OrientedSize(const wxSize& size, const Orientation& orientation);
// Where the pixels of `rect`, inside a picture of `size`, are once the picture is oriented.
wxRect OrientedRect(const wxRect& rect, const wxSize& size, const Orientation& orientation);

struct ViewTransform {
    // In source pixels; empty for the whole picture.
    wxRect crop;
    Orientation orientation;
    bool operator==(const ViewTransform& other) const {
        return crop == other.crop && orientation == other.orientation;
    }
    bool operator!=(const ViewTransform& other) const { return !(*this == other); }
    bool IsIdentity() const { return crop.IsEmpty() && orientation == Orientation(); }
};

// The part of a picture of `size` the crop keeps: the rectangle clipped to the picture, or the
// whole picture when the crop is empty or lies outside it.
wxRect CropWithin(const wxRect& crop, const wxSize& size);
// The size a picture of `size` is shown and written at.
wxSize TransformedSize(const wxSize& size, const ViewTransform& transform);
// The picture as shown and written; the source is not changed. Invalid stays invalid.
wxImage ApplyTransform(const wxImage& image, const ViewTransform& transform);
// The crop, in source pixels, of a rectangle drawn on the oriented, uncropped picture of a
// source of `size`.
wxRect CropFromShown(const wxRect& shown, const wxSize& size, const Orientation& orientation);

// Crop rectangles written "WxH+X+Y", as image tools take them.
wxString FormatCropGeometry(const wxRect& crop);
// False unless the text is "WxH+X+Y" with W and H above 0 and X and Y 0 or more.
bool ParseCropGeometry(const wxString& text, wxRect* crop);
