// Shrinking pictures to thumbnail size; the strip's tests cover the common sizes.
#include "image/thumbnail_fit.h"

#include <gtest/gtest.h>

TEST(ThumbnailFit, ShrinksByTheSmallerRatioAndNeverEnlarges) {
    // Tall, an exact fit, one side barely too big (sides are truncated), and a thin picture,
    // which keeps at least one pixel.
    const std::pair<wxSize, wxSize> fits[] = {
        {{200, 400}, {40, 80}}, {{80, 80}, {80, 80}}, {{81, 10}, {80, 9}}, {{1000, 5}, {80, 1}}};
    for (const auto& [size, fitted] : fits) {
        EXPECT_EQ(FitThumbnailSize(size, wxSize(80, 80)), fitted) << size.x << "x" << size.y;
    }

    EXPECT_FALSE(ShrinkToFit(wxImage(), wxSize(80, 80)).IsOk());
}
