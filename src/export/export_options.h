// What the user chooses about the file an export writes, beyond its frames, size and delay.
#pragma once

enum class PaletteMode {
    // The toolkit's quantiser, as the program always wrote: fast.
    Standard,
    // libimagequant with its dithering: the closest colours, slower.
    Best,
};

struct ExportOptions {
    PaletteMode palette = PaletteMode::Standard;
    // From the second frame on, only the rectangle that changed is stored, unchanged pixels
    // transparent; the frames shown stay the same.
    bool optimize = false;
    // How often players show the animation: 0 without end, otherwise that many passes.
    int passes = 0;

    bool operator==(const ExportOptions& other) const {
        return palette == other.palette && optimize == other.optimize && passes == other.passes;
    }
    bool operator!=(const ExportOptions& other) const { return !(*this == other); }
};
