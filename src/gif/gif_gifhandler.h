// The animated GIF encoder: writes paletted frames, one call per frame, as one GIF89a file.
#pragma once

#include "gif/paletted_frame.h"

#include <wx/stream.h>

#include <vector>

// How a frame sits in the file. The defaults write a whole frame with a table of its own, codes
// of 8 bits and, before frame 0, a looping block that repeats forever.
struct GifFrameLayout {
    int left = 0;
    int top = 0;
    // Disposal "do not dispose": the next frame is drawn over this one.
    bool keep = false;
    // Disposal "restore to background": once shown, the frame's rectangle is cleared, so that
    // the next frame may leave pixels there transparent. Overrides `keep`.
    bool clearAfter = false;
    // The frame's palette is the global table (frame 0's): no local table is written.
    bool globalTable = false;
    // LZW codes start as narrow as the table allows instead of at 8 bits.
    bool compactCodes = false;
    // How often players show the animation, written with frame 0: 0 without end, 1 once (no
    // looping block), n repeats it n - 1 times.
    int passes = 0;
    // How far red, green and blue of a pixel may move so that its codes run longer; 0 writes
    // every pixel as it is.
    int lossy = 0;
    // For each pixel, row by row, whether the canvas shows it already: such a pixel is written
    // as its colour or as the transparent index, the one named first unless the other codes
    // shorter. Empty: every pixel as it is.
    std::vector<unsigned char> unchanged;
    // With `lossy`: the picture the frame was reduced from, red, green and blue a pixel, which
    // the colours taken aim at. Empty: they aim at the pixels' own colours.
    std::vector<unsigned char> picture;
    // With `lossy`: the threads that may share the coding of a large frame (LzwLoss::threads).
    int threads = 2;
};

// The values of GifFrameLayout::unchanged.
enum : unsigned char { kChanged = 0, kUnchangedShown = 1, kUnchangedClear = 2 };

class MyGifHandler {
public:
    // Writes frame `index` (0-based) of `frameCount` to `out`, shown for `delay` hundredths of
    // a second and placed as `layout` says: the file header and looping block before frame 0,
    // the trailer after the last frame. False when anything failed; a frame that is not
    // PalettedFrame::IsOk, or has an index past its table, is refused before anything is
    // written.
    bool SaveFrame(wxOutputStream& out, const PalettedFrame& frame, int delay, int frameCount,
                   int index, const GifFrameLayout& layout = GifFrameLayout());

private:
    // Writes one image, with the file header before it when `first`.
    bool DoSaveFile(wxOutputStream& out, const PalettedFrame& frame, bool first, int delay);

    GifFrameLayout m_layout;
};
