// The commonest PNG pictures, 8-bit RGB without transparency and not interlaced, decoded in one
// pass over the file's bytes: several times faster than the toolkit's reader on the small
// frames of screen recordings, with the very same pixels. Any other file, and any file with the
// least fault, is left to the toolkit, so that damaged files fare as they always did.
#pragma once

#include <wx/image.h>

#include <cstddef>

// Decodes the PNG file `data` (all `size` bytes of it) into `picture`; false, with `picture`
// left to be filled otherwise, when the file is not such a picture or not a flawless one.
bool DecodePlainPng(const unsigned char* data, size_t size, wxImage* picture);
