// Optimised frames: from the second frame on only the rectangle that changed is stored, and in
// it the pixels that stay as they were are transparent. Every frame stays on the canvas for the
// next (disposal "do not dispose"), so players show exactly the frames that were given.
#pragma once

#include "export/colour_map.h"
#include "gif/gif_gifhandler.h"

#include <wx/gdicmn.h>
#include <wx/image.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

struct OptimisedFrame {
    // What the file stores: the changed rectangle with its table; its transparent entry, when
    // it has one, marks the pixels that stay.
    PalettedFrame frame;
    GifFrameLayout layout;
};

// A frame as the optimiser found it, before its ways of storing it are made: making them
// (`Ways`) takes longer than finding what changed, and may run on any thread while the
// optimiser goes on to the next frame.
class FrameChange {
public:
    FrameChange() = default;
    // Ways made already.
    explicit FrameChange(std::vector<OptimisedFrame> ways) : m_ways(std::move(ways)) {}

    // The ways of storing the frame, each showing the same: the changed rectangle with the
    // unchanged pixels transparent or not; whichever codes shortest is the one to write. None
    // when the frame cannot be stored. Takes them: a second call gives none.
    std::vector<OptimisedFrame> Ways();

private:
    friend class FrameOptimiser;
    // The rectangle as the file stores it: with `same` (a byte for each pixel of the
    // rectangle, 1 where it stays as shown, 2 where it stays clear), those pixels may be (with
    // 2: are) transparent, and for each of `clearTies`, in that order, a way in which those
    // that may go either way at no cost are, or are not; without `same`, one way with all of
    // them stored. None when its colours do not fit a table.
    std::vector<OptimisedFrame> Store(const unsigned char* same,
                                      std::initializer_list<bool> clearTies) const;
    // A run of pixels of the rectangle that go the same way: from `start` on, in one colour,
    // each of which may (`either`) or may not be stored as transparent. A stretch starts within
    // a canvas of at most 65535 x 65535 pixels.
    struct Stretch {
        uint32_t start;
        uint32_t colour : 24;
        uint32_t either : 1;
    };
    // The stretches of the rectangle, with `same` and `table` (clear not yet in it) as Store
    // has them; pixels that must be transparent take the colour `clear`. The pixels that stay
    // take their colour's entry in `indices`, where the table holds it.
    std::vector<Stretch> Stretches(const unsigned char* same, const ColourMap& table,
                                   const GifColour& clear, unsigned char* indices) const;
    // Decides which of the pixels that stay are transparent (the indices of `way`, its own
    // colours so far, then hold its transparent entry) and which keep their colour, marking
    // both in its layout's `unchanged`.
    static void ChooseUnchanged(const std::vector<Stretch>& stretches, unsigned clearColour,
                                bool clearTies, OptimisedFrame& way);

    std::vector<OptimisedFrame> m_ways;
    // Else what they are made of: the changed rectangle of the canvas and its pixels, four
    // bytes each (as FrameOptimiser holds them); for each of its pixels whether it stays as
    // shown (`same`), and where any stays clear, those alone (`staysClear`); the share of
    // pixels that stay; the file's global table; whether the frame is cleared once shown.
    wxRect m_rect;
    std::vector<unsigned char> m_pixels;
    std::vector<unsigned char> m_same;
    std::vector<unsigned char> m_staysClear;
    double m_share = 0;
    std::vector<GifColour> m_global;
    bool m_clearAfter = false;
};

class FrameOptimiser {
public:
    // Takes the frames in order, each a whole paletted frame of the canvas. With `source`, the
    // frame's picture before it was reduced to a palette, still areas (a few pixels or more in a
    // row whose source did not change since the previous frame) keep what is shown, so that
    // dithering does not make them shimmer; the changed pixels must then use at most 255
    // colours. A frame given without one
    // shows its own pixels, and the next frame's source is compared with nothing.
    // Pixels of the frame's transparent entry are clear, as is the source's alpha 0; the frame
    // may leave clear only pixels that the frame before showed clear, or `next` said so: with
    // `next`, the frame to come, the frame reaches over the pixels that it will leave clear and
    // is cleared once shown (GifFrameLayout::clearAfter).
    // Gives what changed, from which its ways of storing it are made (FrameChange::Ways); none
    // when the frame cannot be stored.
    FrameChange Next(const PalettedFrame& frame, const wxImage* source = nullptr,
                     const PalettedFrame* next = nullptr);

    // Before frame 0: a frame to come, whose colours the global table takes where it has room.
    void Foresee(const PalettedFrame& frame);

    // After frame 0: a frame stored as it is at (left, top), instead of through Next, drawn over
    // what is shown; the next frame's source is compared with nothing.
    void Shown(const PalettedFrame& frame, int left, int top);

private:
    // The same for a frame after the first, its pixels as four bytes each (kPixel), stored
    // at least over `toClear`.
    FrameChange NextShown(const std::vector<unsigned char>& pixels, const wxRect& toClear);
    OptimisedFrame First(const std::vector<unsigned char>& pixels);

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
