// Transparent pixels are written as black: these compose a picture over a black background.
#pragma once

#include <wx/image.h>

// Draws `image` into the opaque `canvas` with its top-left corner at (x, y), clipped to the
// canvas: each pixel alpha-blended over black, pixels of the mask colour left black.
void PasteOverBlack(const wxImage& image, wxImage& canvas, int x, int y);

// `image` as an opaque picture over black. An image without alpha and mask is returned as it is
// (sharing its data); any other gets a new image.
wxImage OpaqueOverBlack(const wxImage& image);
