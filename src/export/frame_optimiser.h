// Optimised frames: from the second frame on only the rectangle that changed is stored, and in
// it the pixels that stay as they were are transparent. Every frame stays on the canvas for the
// next (disposal "do not dispose"), so players show exactly the frames that were given.
#pragma once

#include "export/colour_map.h"
#include "gif/gif_gifhandler.h"

#include <wx/gdicmn.h>
#include <wx/image.h>

#include <vector>

struct OptimisedFrame {
    // What the file stores: the changed rectangle with its table; its transparent entry, when
    // it has one, marks the pixels that stay.
    PalettedFrame frame;
    GifFrameLayout layout;
};

class FrameOptimiser {
public:
    // Takes the frames in order, each a whole paletted frame of the canvas. With `source`, the
    // frame's picture before it was reduced to a palette, pixels whose source did not change
    // since the previous frame keep what is shown, so that dithering does not make still areas
    // shimmer; the changed pixels must then use at most 255 colours. A frame given without one
    // shows its own pixels, and the next frame's source is compared with nothing.
    // Pixels of the frame's transparent entry are clear, as is the source's alpha 0; the frame
    // may leave clear only pixels that the frame before showed clear, or `next` said so: with
    // `next`, the frame to come, the frame reaches over the pixels that it will leave clear and
    // is cleared once shown (GifFrameLayout::clearAfter).
    // Gives the ways of storing the frame, each showing the same: the changed rectangle with
    // the unchanged pixels transparent or not; whichever codes shortest is the one to write.
    // None when the frame cannot be stored.
    std::vector<OptimisedFrame> Next(const PalettedFrame& frame, const wxImage* source = nullptr,
                                     const PalettedFrame* next = nullptr);

    // Before frame 0: a frame to come, whose colours the global table takes where it has room.
    void Foresee(const PalettedFrame& frame);

    // After frame 0: a frame stored as it is at (left, top), instead of through Next, drawn over
    // what is shown; the next frame's source is compared with nothing.
    void Shown(const PalettedFrame& frame, int left, int top);

private:
    // The same for a frame after the first, its pixels as four bytes each (kPixel), stored
    // at least over `toClear`.
    std::vector<OptimisedFrame> NextShown(const std::vector<unsigned char>& pixels,
                                          const wxRect& toClear);
    OptimisedFrame First(const std::vector<unsigned char>& pixels);
    // The rectangle of `pixels` (a whole frame) as the file stores it: with `same` (a byte for
    // each pixel of the rectangle, 1 where it stays as shown, 2 where it stays clear), those
    // pixels may be (with 2: are) transparent, and with `clearTies` those that may go either
    // way at no cost are; without `same`, all are stored. Invalid when its colours do not fit a
    // table.
    OptimisedFrame Store(const unsigned char* pixels, const wxRect& rect, const unsigned char* same,
                         bool clearTies = true) const;
    // Decides which of the pixels that stay are transparent (`rgb` then holds the colour
    // `clear`, the table's transparent entry) and which keep their colour, marking both in
    // `ways`.
    static void ChooseUnchanged(unsigned char* rgb, size_t count, const unsigned char* same,
                                const ColourMap& table, const GifColour& clear, bool clearTies,
                                std::vector<unsigned char>& ways);

    int m_width = 0;
    int m_height = 0;
    // The canvas as players show it after the frames so far, and the sources behind it, four
    // bytes a pixel; the rectangle the last frame clears once shown (empty for none).
    std::vector<unsigned char> m_shown;
    std::vector<unsigned char> m_source;
    wxRect m_cleared;
    // The file's global table: frame 0's colours, padded with colours it does not use.
    std::vector<GifColour> m_global;
    // The colours of the frames foreseen, in order of first appearance.
    std::vector<GifColour> m_foreseen;
};
