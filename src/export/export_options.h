// What the user chooses about the file an export writes, beyond its frames, size and delay.
#pragma once

enum class PaletteMode {
    // The toolkit's quantiser, as the program always wrote: fast.
    Standard,
    // libimagequant with its dithering: the closest colours, slower.
    Best,
};

// The quality number's range; the highest writes the closest colours without loss.
const int kLowestQuality = 1;
const int kHighestQuality = 100;
// The lossy level's range: how far red, green or blue of a pixel may move.
const int kHighestLossy = 255;
// The lossy level that follows the quality number.
const int kLossyOfQuality = -1;
// The fewest and most colours a frame may be reduced to.
const int kFewestColours = 2;
const int kMostColours = 256;
// Size limits beyond this (a petabyte) are taken for mistakes.
const long long kLargestByteLimit = 1000000000000000LL;

struct ExportOptions {
    PaletteMode palette = PaletteMode::Standard;
    // From the second frame on, only the rectangle that changed is stored, unchanged pixels
    // transparent; the frames shown stay the same.
    bool optimize = false;
    // How often players show the animation: 0 without end, otherwise that many passes.
    int passes = 0;
    // The best mode's trade of fidelity for size: fewer colours, less dithering and lossy codes
    // as it falls from kHighestQuality.
    int quality = kHighestQuality;
    // LZW codes that let a pixel take a colour at most this far off in red, green and blue
    // where that continues a longer string; 0 codes every pixel as it is. kLossyOfQuality
    // takes the level the quality number gives.
    int lossy = kLossyOfQuality;
    // The most colours a frame may keep; frames of more are reduced to this many.
    int colours = 256;
    // The largest file wanted, in bytes; 0 for no limit. The export then chooses the quality
    // number, lossy level and colour count.
    long long maxBytes = 0;
    // Pixels the frames leave transparent (alpha below half, a GIF's transparent colour) stay
    // transparent in the file instead of turning black.
    bool keepTransparency = false;

    bool operator==(const ExportOptions& other) const {
        return palette == other.palette && optimize == other.optimize && passes == other.passes &&
               quality == other.quality && lossy == other.lossy && colours == other.colours &&
               maxBytes == other.maxBytes && keepTransparency == other.keepTransparency;
    }
    bool operator!=(const ExportOptions& other) const { return !(*this == other); }
};

// The lossy level the options code with; the quality number's level only where the picture is
// grainy (`smoothness` 0, up to 1 for smooth): breaking the long runs of smooth pictures' bands
// into dither, lossy codes would make them larger and worse.
int LossyLevel(const ExportOptions& options, double smoothness = 0);

// The quality, 1 to 100, that the best mode asks of libimagequant's palettes for a picture of
// that `smoothness` (as for LossyLevel): below it the library may use fewer colours. A lossy
// level asked for lowers it in smooth pictures.
int PaletteQuality(const ExportOptions& options, double smoothness = 0);

// How much of its full dithering a smooth picture takes, 0 to 1: less at lower quality numbers,
// and less as a lossy level asked for grows.
double DitheringShare(const ExportOptions& options);

// The options with each number outside its range back at its default: files from elsewhere
// may hold anything.
ExportOptions WithinRanges(ExportOptions options);
