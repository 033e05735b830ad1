// A frame as a GIF file stores it: one colour table index for each pixel and the table.
#pragma once

#include <cstddef>
#include <vector>

// One colour table entry as it is written to the file.
struct GifColour {
    unsigned char red;
    unsigned char green;
    unsigned char blue;
};

inline bool operator==(const GifColour& a, const GifColour& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

struct PalettedFrame {
    int width = 0;
    int height = 0;
    // Row by row, top row first; each below colours.size().
    std::vector<unsigned char> indices;
    // At most 256 entries.
    std::vector<GifColour> colours;
    // The entry whose pixels show what lies beneath; -1 for none.
    int transparent = -1;

    size_t Pixels() const { return static_cast<size_t>(width) * height; }
    bool IsOk() const {
        return width > 0 && height > 0 && indices.size() == Pixels() && !colours.empty() &&
               colours.size() <= 256 && transparent < static_cast<int>(colours.size());
    }
};
