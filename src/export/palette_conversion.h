// Reduces a frame to at most 256 colours: a frame that has no more keeps its colours exactly;
// any other is quantised by the toolkit's quantiser, as its 8-bit BMP writer does, or in the
// best mode by libimagequant.
#pragma once

#include "export/export_options.h"

#include <wx/image.h>

// A new image whose pixels use only the colours of its attached palette, as the GIF encoder
// needs; transparent parts become black first. A frame of at most 256 colours gets a palette of
// exactly its colours, in order of first appearance. Otherwise the pixels and the palette
// entries they use are those an 8-bit BMP written and read back by the toolkit would give, in a
// 256-entry palette whose unused entries are black. Invalid when the conversion fails. Leaves
// `image` untouched and shares no data with it.
wxImage ConvertToPalettedImage(const wxImage& image);
// The same in the given mode: the best mode reduces frames of more than 256 colours with
// libimagequant (best_palette.h). `exact`, when given, tells whether the frame kept its colours.
wxImage ConvertToPalettedImage(const wxImage& image, PaletteMode mode, bool* exact = nullptr);
// The same with the options' mode, quality number and colour count (the last two in the best
// mode only, where a frame of more colours than the count is quantised to that many).
wxImage ConvertToPalettedImage(const wxImage& image, const ExportOptions& options,
                               bool* exact = nullptr);
