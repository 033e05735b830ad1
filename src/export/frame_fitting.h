// Fits one frame into the canvas of the animation: never enlarged, shrunk to fit keeping its
// proportions, centred on black, transparent parts black unless they are kept.
#pragma once

#include <wx/image.h>

// The way a frame was brought to the canvas size.
enum class FitPath {
    Centred,          // the frame fits and is centred unscaled
    ShrunkAndCentred, // the frame was shrunk and is narrower or lower than the canvas
    Shrunk,           // the frame was shrunk to exactly the canvas size
};

// The frame fitted into a canvas of canvasWidth x canvasHeight, as an opaque image of exactly
// that size; with `keepClear`, a frame with transparent parts gives an image with alpha whose
// pixels are opaque or clear (PasteKeepingClear), the canvas around the frame staying black.
// Invalid when the frame is invalid or the canvas has no pixels. Never returns an image sharing
// data with `frame`, so the result may go to another thread.
wxImage PrepareFrame(const wxImage& frame, int canvasWidth, int canvasHeight,
                     FitPath* path = nullptr, bool keepClear = false);
