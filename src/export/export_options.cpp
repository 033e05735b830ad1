#include "export/export_options.h"

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
