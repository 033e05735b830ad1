// What a decoded picture holds in memory, as the memory budget charges it.
#pragma once

#include <wx/image.h>

#include <cstddef>

// The bytes of a picture's pixels: red, green and blue each, and alpha where it has one; 0 for
// no picture.
size_t PictureBytes(const wxImage& image);
