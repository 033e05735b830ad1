// Reduces a frame to at most 256 colours: a frame that has no more keeps its colours exactly;
// any other is quantised by the toolkit's quantiser, as its 8-bit BMP writer does, or in the
// best mode by libimagequant.
#pragma once

#include "export/best_palette.h"
#include "export/export_options.h"
#include "gif/paletted_frame.h"

#include <wx/image.h>

// The frame as table indices and colours, as the GIF encoder takes it; transparent parts become
// black first, or with the options' keepTransparency pixels of alpha below half and of the mask
// colour take a transparent entry of their own (the last, in the standard mode entry 255). A frame
// of at most 256 colours gets a table of exactly its colours, in order of first appearance.
// Otherwise, in the standard mode, the table is the one an 8-bit BMP written by the toolkit would
// carry, with 256 entries of which those the pixels do not use are black; in the best mode
// libimagequant's (best_palette.h), with the options' quality number and at most their colour
// count. Each pixel takes the first entry of its colour. Invalid when the conversion fails.
// `exact`, when given, tells whether the frame kept its colours. With `runs` (made for the
// same options), an opaque frame quantised in the best mode is frame `index` of
// those runs; the caller settles the frame there whatever becomes of it.
PalettedFrame ConvertToPalettedFrame(const wxImage& image,
                                     const ExportOptions& options = ExportOptions(),
                                     bool* exact = nullptr, PaletteRuns* runs = nullptr,
                                     int index = 0);

// Makes each pixel take the first entry of `frame.colours` whose colour is `shown[i]`, where i
// is its index now; `shown` holds an entry for every index the pixels use, each a colour of the
// table. The transparent entry keeps its pixels and takes no others.
void IndexByFirstEntry(PalettedFrame& frame, const std::vector<GifColour>& shown);
