// Reduces a frame to at most 256 colours with the toolkit's quantiser, as its 8-bit BMP writer
// does.
#pragma once

#include <wx/image.h>

// A new image whose pixels use only the colours of its attached 256-entry palette, as the GIF
// encoder needs; transparent parts become black first. The pixels and the palette entries they
// use are those an 8-bit BMP written and read back by the toolkit would give; entries no pixel
// uses are black. Invalid when the conversion fails. Leaves `image` untouched and shares no data
// with it.
wxImage ConvertToPalettedImage(const wxImage& image);
