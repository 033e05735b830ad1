// Transparent pixels are written as black, or kept transparent where the user asks: these
// compose a picture over a black background.
#pragma once

#include <wx/image.h>

// Draws `image` into the opaque `canvas` with its top-left corner at (x, y), clipped to the
// canvas: each pixel alpha-blended over black, pixels of the mask colour left black.
void PasteOverBlack(const wxImage& image, wxImage& canvas, int x, int y);

// The same into a `canvas` with alpha, keeping transparency: pixels of alpha below half and of
// the mask colour become clear (alpha 0, black), every other pixel opaque in its own colour.
void PasteKeepingClear(const wxImage& image, wxImage& canvas, int x, int y);

// `image` as an opaque picture over black, or with `keepClear` each pixel opaque or clear as
// PasteKeepingClear makes it. An image without alpha and mask is returned as it is (sharing its
// data); any other gets a new image.
wxImage OpaqueOverBlack(const wxImage& image, bool keepClear = false);
