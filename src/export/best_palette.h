// The best colours for one frame: libimagequant's palette and its dithering.
#pragma once

#include <wx/image.h>

// Colours a frame may use in the best mode: one table entry is kept free, so that an optimised
// file can always mark the pixels that stay as they were.
const int kBestModeColours = 255;

// `opaque` (no alpha, no mask) reduced by libimagequant to at most kBestModeColours colours,
// dithered, with that palette attached. Invalid when the library fails. The same picture always
// gives the same result, on any thread.
wxImage QuantiseBest(const wxImage& opaque);
