#include "image/view_transform.h"

namespace {

int Quarter(int turns) {
    return ((turns % 4) + 4) % 4;
}

// Numbers of a crop geometry: at most seven digits, so a sum of two never overflows.
bool TakeNumber(const wxString& text, size_t* at, int* value) {
    size_t end = *at;
    long number = 0;
    while (end < text.length() && end - *at < 8 && text[end] >= '0' && text[end] <= '9') {
        number = number * 10 + (text[end] - '0');
        ++end;
    }
    if (end == *at || end - *at > 7) {
        return false;
    }
    *at = end;
    *value = static_cast<int>(number);
    return true;
}

bool TakeChar(const wxString& text, size_t* at, wxUniChar c) {
    if (*at >= text.length() || text[*at] != c) {
        return false;
    }
    ++*at;
    return true;
}

} // namespace

Orientation Turned(const Orientation& orientation, int quarterTurns) {
    // A turn after a mirror is the opposite turn before it.
    const int turns = orientation.mirrored ? -quarterTurns : quarterTurns;
    return {Quarter(orientation.quarterTurns + turns), orientation.mirrored};
}

Orientation Flipped(const Orientation& orientation, bool vertically) {
    // Top-bottom is left-right after half a turn, which commutes with the mirror.
    return {Quarter(orientation.quarterTurns + (vertically ? 2 : 0)), !orientation.mirrored};
}

Orientation Inverse(const Orientation& orientation) {
    if (orientation.mirrored) {
        return orientation; // a mirrored orientation is its own inverse
    }
    return {Quarter(-orientation.quarterTurns), false};
}

wxSize OrientedSize(const wxSize& size, const Orientation& orientation) {
    return orientation.quarterTurns % 2 ? wxSize(size.y, size.x) : size;
}

wxRect OrientedRect(const wxRect& rect, const wxSize& size, const Orientation& orientation) {
    wxRect r = rect;
    wxSize s = size;
    for (int k = 0; k < Quarter(orientation.quarterTurns); ++k) {
        // Clockwise: pixel (x, y) goes to (height - 1 - y, x).
        r = wxRect(s.y - r.y - r.height, r.x, r.height, r.width);
        s = wxSize(s.y, s.x);
    }
    if (orientation.mirrored) {
        r.x = s.x - r.x - r.width;
    }
    return r;
}

wxRect CropWithin(const wxRect& crop, const wxSize& size) {
    const wxRect whole(size);
    if (crop.IsEmpty()) {
        return whole;
    }
    const wxRect kept = crop.Intersect(whole);
    return kept.IsEmpty() ? whole : kept;
}

wxSize TransformedSize(const wxSize& size, const ViewTransform& transform) {
    return OrientedSize(CropWithin(transform.crop, size).GetSize(), transform.orientation);
}

wxImage ApplyTransform(const wxImage& image, const ViewTransform& transform) {
    if (!image.IsOk() || transform.IsIdentity()) {
        return image;
    }
    const wxRect kept = CropWithin(transform.crop, image.GetSize());
    wxImage shown = kept == wxRect(image.GetSize()) ? image : image.GetSubImage(kept);
    switch (transform.orientation.quarterTurns) {
    case 1:
        shown = shown.Rotate90(true);
        break;
    case 2:
        shown = shown.Rotate180();
        break;
    case 3:
        shown = shown.Rotate90(false);
        break;
    default:
        break;
    }
    return transform.orientation.mirrored ? shown.Mirror(true) : shown;
}

wxRect CropFromShown(const wxRect& shown, const wxSize& size, const Orientation& orientation) {
    const wxRect source =
        OrientedRect(shown, OrientedSize(size, orientation), Inverse(orientation));
    return source.Intersect(wxRect(size));
}

wxString FormatCropGeometry(const wxRect& crop) {
    return wxString::Format("%dx%d+%d+%d", crop.width, crop.height, crop.x, crop.y);
}

bool ParseCropGeometry(const wxString& text, wxRect* crop) {
    size_t at = 0;
    wxRect read;
    if (!TakeNumber(text, &at, &read.width) || !TakeChar(text, &at, 'x') ||
        !TakeNumber(text, &at, &read.height) || !TakeChar(text, &at, '+') ||
        !TakeNumber(text, &at, &read.x) || !TakeChar(text, &at, '+') ||
        !TakeNumber(text, &at, &read.y) || at != text.length() || read.IsEmpty()) {
        return false;
    }
    *crop = read;
    return true;
}
