// Fits one frame into the canvas of the animation: never enlarged, shrunk to fit keeping its
// proportions, centred on black, transparent parts black.
#pragma once

#include <wx/image.h>

// The way a frame was brought to the canvas size.
enum class FitPath {
    Centred,          // the frame fits and is centred unscaled
    ShrunkAndCentred, // the frame was shrunk and is narrower or lower than the canvas
    Shrunk,           // the frame was shrunk to exactly the canvas size
};

// The frame fitted into a canvas of canvasWidth x canvasHeight, as an opaque image of exactly
// that size. Invalid when the frame is invalid or the canvas has no pixels. Never returns an
// image sharing data with `frame`, so the result may go to another thread.
wxImage PrepareFrame(const wxImage& frame, int canvasWidth, int canvasHeight,
                     FitPath* path = nullptr);
