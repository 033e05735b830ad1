// Mapping a picture's pixels to a palette: each pixel to the entry nearest in red, green and
// blue, optionally with Floyd-Steinberg error diffusion.
#pragma once

#include "gif/paletted_frame.h"

#include <cstddef>
#include <vector>

// Finds the nearest entry of a palette of at most 256 colours. The colour cube is cut into
// cells; each cell lists, the first time a pixel falls into it, the few entries that can be
// nearest to any colour inside it, so that a pixel is compared with those alone.
class NearestColour {
public:
    explicit NearestColour(std::vector<GifColour> palette);

    // The index of the entry nearest to (r, g, b), each 0 to 255; of equally near entries the
    // first. Neighbouring pixels often ask for the same colour again: that is answered here, in
    // the caller's loop.
    int Find(int r, int g, int b) {
        const unsigned colour = (static_cast<unsigned>(r) << 16) | (g << 8) | b;
        const unsigned slot = (colour * 2654435761u) >> (32 - kRememberedBits);
        return m_remembered[slot] == (colour | kRememberedFlag) ? m_rememberedIndex[slot]
                                                                : Search(r, g, b, colour, slot);
    }

    const std::vector<GifColour>& Palette() const { return m_palette; }

private:
    // Cells of 2^cellBits values a side; where each cell's entries start in m_candidates, and
    // how many: -1 while not yet listed.
    struct Cells {
        explicit Cells(int bits);
        int Of(int r, int g, int b) const;

        int cellBits;
        std::vector<int> start;
        std::vector<unsigned short> count;
    };
    // Fine cells list their entries from those of the coarse cell around them.
    static const int kCoarseBits = 4;
    static const int kFineBits = 3;
    // Colours found lately, by a hash of the colour: the colour with kRememberedFlag set (so
    // that 0 marks a free slot) and its entry.
    static const int kRememberedBits = 14;
    static const unsigned kRememberedFlag = 1u << 24;

    // Find for a colour not remembered at `slot`, which then remembers it.
    int Search(int r, int g, int b, unsigned colour, unsigned slot);
    // Lists the entries of `from` that can be nearest to a colour of `cell`.
    void List(Cells& cells, int cell, const unsigned char* from, int fromCount);

    std::vector<GifColour> m_palette;
    // The entries' channels, doubled, for listing candidates; and every entry's index.
    std::vector<int> m_red, m_green, m_blue;
    std::vector<unsigned char> m_all;
    Cells m_coarse, m_fine;
    std::vector<unsigned char> m_candidates;
    std::vector<unsigned> m_remembered;
    std::vector<unsigned char> m_rememberedIndex;
};

// `rgb` (width x height pixels, 3 bytes each) mapped to `nearest`'s palette into `indices`
// (width x height). `dithering` 0 maps every pixel to its nearest entry; up to 1, that share of
// each pixel's error is carried to the pixels not yet mapped, rows taken in alternating
// directions so that the error leaves no streaks.
void MapToPalette(const unsigned char* rgb, int width, int height, float dithering,
                  NearestColour& nearest, unsigned char* indices);

// Each entry of `palette` moved to the mean colour of the pixels mapped to it, which brings the
// picture closer to its source for the same indices; entries no pixel uses stay as they are.
void MoveToMeans(const unsigned char* rgb, const unsigned char* indices, size_t pixels,
                 std::vector<GifColour>* palette);
