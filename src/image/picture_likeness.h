// Whether two pictures show the same: the test behind removing repeated frames.
#pragma once

#include <wx/image.h>

// True when both pictures have the same size and no channel of any pixel (red, green, blue,
// opacity) differs by more than `tolerance` percent of its full range; 0 asks for identical
// pixels. Invalid pictures are like nothing.
bool PicturesAlike(const wxImage& a, const wxImage& b, int tolerance);
