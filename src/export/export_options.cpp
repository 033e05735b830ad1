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

} // namespace

int LossyLevel(const ExportOptions& options) {
    if (options.lossy != kLossyOfQuality) {
        return options.lossy;
    }
    if (options.palette != PaletteMode::Best) {
        return 0;
    }
    const int gentle = std::max(options.quality, kGentleQuality);
    return static_cast<int>((kHighestQuality - gentle) * kLossyPerQuality +
                            (gentle - options.quality) * kLossyPerLowQuality + 0.5);
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
