#include "export/export_options.h"

#include "export/size_fitting.h"

namespace {

// Lossy level for each quality point below the highest: at quality 30 pixels may move by 28.
const double kLossyPerQuality = 0.4;

} // namespace

int LossyLevel(const ExportOptions& options) {
    if (options.lossy != kLossyOfQuality) {
        return options.lossy;
    }
    if (options.palette != PaletteMode::Best) {
        return 0;
    }
    return static_cast<int>((kHighestQuality - options.quality) * kLossyPerQuality + 0.5);
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
