// Reduces a frame to at most 256 colours with the toolkit's 8-bit BMP writer.
#pragma once

#include <wx/image.h>

// A new image whose pixels use only the colours of its attached palette, as the GIF encoder
// needs; transparent parts become black first. Invalid when the conversion fails. Leaves
// `image` untouched and shares no data with it.
wxImage ConvertToPalettedImage(const wxImage& image);
