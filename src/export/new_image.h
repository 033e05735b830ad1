// A picture of a given size whose pixels could be allocated, or std::bad_alloc: the toolkit
// answers a failed allocation with an image without data, which the pixel loops would write to.
// The export and the import catch it at their edges and say there was not enough memory.
#pragma once

#include <wx/image.h>

#include <new>

inline wxImage NewImage(int width, int height, bool clear) {
    wxImage image(width, height, clear);
    if (!image.IsOk() || image.GetData() == nullptr) {
        throw std::bad_alloc();
    }
    return image;
}
