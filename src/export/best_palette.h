// The best colours for one frame: libimagequant's palette, each pixel mapped to its nearest
// entry with some error diffusion where the picture is smooth.
#pragma once

#include "gif/paletted_frame.h"

#include <wx/image.h>

#include <vector>

// Colours a frame may use in the best mode: one table entry is kept free, so that an optimised
// file can always mark the pixels that stay as they were.
const int kBestModeColours = 255;

// `opaque` (no alpha, no mask) reduced by libimagequant to at most kBestModeColours colours (and
// at most `colours`), dithered, with that palette attached; below quality 100 (of 1 to 100) with
// fewer colours where they reach that quality, and less dithering; each pixel takes the first
// entry of its colour. The pixels marked in `clear` (when not empty) take a transparent entry,
// one of those colours. Invalid when the library fails. The same picture always gives the same
// result, on any thread.
PalettedFrame QuantiseBest(const wxImage& opaque, int quality = 100, int colours = 256,
                           const std::vector<unsigned char>& clear = {});
