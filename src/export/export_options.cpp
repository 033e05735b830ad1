#include "export/export_options.h"

#include "export/size_fitting.h"

#include <algorithm>

namespace {

// Lossy level for each quality point below the highest, down to kGentleQuality: at quality 30
// pixels may move by 21; beyond about that level lossy codes lose more fidelity for the bytes
// they save than a smaller palette would. Below it they grow fast, so that a size limit still
// reaches small files: at quality 1 pixels may move by 50.
const double kLossyPerQuality = 0.3;
const int kGentleQuality = 30;
const double kLossyPerLowQuality = 1.0;
// Levels below this make photographs larger than lossless codes do: the strings they bend are
// too few to pay for those the carried error breaks.
const int kFewestLossy = 16;

// Dithering doubles the size of a smooth picture or more, and moves each pixel further from its
// colour: it falls from full at the highest quality to none at this one, below which bands are
// the cheaper loss.
const int kUndithered = 50;

// The palette's quality falls a seventh slower than the quality number: with the dithering and
// lossy codes falling too, a palette of the number's own quality would drop colours faster than
// it saves bytes at the lower levels, where undithered smooth pictures gain most from each one.
const int kPaletteQualityShare = 7;

// Lossy levels asked for are what the user will spend on a smaller file. Dithering noise is what
// lossy codes fight, and in smooth pictures a palette of fewer colours spends it better still:
// its wider bands code as long strings, where the codes' own error would break them into dither.
// The dithering falls from the quality number's to none at this level...
const double kUnditheredLossy = 8;
// ... and the palette's quality falls by this much for each level, in smooth pictures, down to
// the quality number's lowest (about the level of 29).
const double kPaletteQualityPerLossy = 3;
const int kLowestPaletteQuality =
    kLowestQuality + (kHighestQuality - kLowestQuality) / kPaletteQualityShare;

// The lossy level asked for itself, 0 where the quality number gives it.
int AskedLossy(const ExportOptions& options) {
    return options.lossy == kLossyOfQuality ? 0 : options.lossy;
}

} // namespace

int LossyLevel(const ExportOptions& options, double smoothness) {
    if (options.lossy != kLossyOfQuality) {
        return options.lossy;
    }
    if (options.palette != PaletteMode::Best) {
        return 0;
    }
    const int gentle = std::max(options.quality, kGentleQuality);
    const double level = (kHighestQuality - gentle) * kLossyPerQuality +
                         (gentle - options.quality) * kLossyPerLowQuality;
    const int grainy =
        static_cast<int>(level * (1 - std::max(0.0, std::min(smoothness, 1.0))) + 0.5);
    return grainy < kFewestLossy ? 0 : grainy;
}

int PaletteQuality(const ExportOptions& options, double smoothness) {
    const int within = std::max(kLowestQuality, std::min(options.quality, kHighestQuality));
    const int ofQuality = within + (kHighestQuality - within) / kPaletteQualityShare;
    const double smooth = std::max(0.0, std::min(smoothness, 1.0));
    const int lowered =
        ofQuality - static_cast<int>(kPaletteQualityPerLossy * AskedLossy(options) * smooth + 0.5);
    return std::max(std::min(ofQuality, kLowestPaletteQuality), lowered);
}

double DitheringShare(const ExportOptions& options) {
    const double ofQuality = std::max(0, std::min(options.quality, kHighestQuality) - kUndithered) /
                             static_cast<double>(kHighestQuality - kUndithered);
    return ofQuality * std::max(0.0, 1.0 - AskedLossy(options) / kUnditheredLossy);
}

ExportOptions WithinRanges(ExportOptions options) {
    const ExportOptions defaults;
    if (options.quality < kLowestQuality || options.quality > kHighestQuality) {
        options.quality = defaults.quality;
    }
    if (options.lossy < kLossyOfQuality || options.lossy > kHighestLossy) {
        options.lossy = defaults.lossy;
    }
    if (options.colours < kFewestColours || options.colours > kMostColours) {
        options.colours = defaults.colours;
    }
    if (options.maxBytes != 0 &&
        (options.maxBytes < kSmallestGifBytes || options.maxBytes > kLargestByteLimit)) {
        options.maxBytes = defaults.maxBytes;
    }
    return options;
}
