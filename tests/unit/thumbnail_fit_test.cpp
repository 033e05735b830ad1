// Shrinking pictures to thumbnail size.
#include "image/thumbnail_fit.h"

#include <gtest/gtest.h>

TEST(ThumbnailFit, ShrinksByTheSmallerRatioAndNeverEnlarges) {
    const wxSize box(80, 80);
    EXPECT_EQ(FitThumbnailSize(wxSize(400, 200), box), wxSize(80, 40));
    EXPECT_EQ(FitThumbnailSize(wxSize(100, 80), box), wxSize(80, 64));
    EXPECT_EQ(FitThumbnailSize(wxSize(200, 400), box), wxSize(40, 80));
    EXPECT_EQ(FitThumbnailSize(wxSize(60, 50), box), wxSize(60, 50));
    EXPECT_EQ(FitThumbnailSize(wxSize(80, 80), box), wxSize(80, 80));
    // One side too big is enough; sides are truncated.
    EXPECT_EQ(FitThumbnailSize(wxSize(81, 10), box), wxSize(80, 9));
    EXPECT_EQ(FitThumbnailSize(wxSize(640, 480), box), wxSize(80, 60));
    // A thin picture keeps at least one pixel.
    EXPECT_EQ(FitThumbnailSize(wxSize(1000, 5), box), wxSize(80, 1));
}

TEST(ThumbnailFit, ScalesThePictureAndLeavesTheSource) {
    wxImage source(400, 200);
    source.SetRGB(wxRect(0, 0, 400, 200), 10, 120, 240);
    const wxImage thumbnail = ShrinkToFit(source, wxSize(80, 80));
    ASSERT_TRUE(thumbnail.IsOk());
    EXPECT_EQ(thumbnail.GetSize(), wxSize(80, 40));
    EXPECT_EQ(thumbnail.GetRed(40, 20), 10);
    EXPECT_EQ(thumbnail.GetBlue(40, 20), 240);
    EXPECT_EQ(source.GetSize(), wxSize(400, 200));

    const wxImage small(30, 20);
    EXPECT_EQ(ShrinkToFit(small, wxSize(80, 80)).GetSize(), wxSize(30, 20));
    EXPECT_FALSE(ShrinkToFit(wxImage(), wxSize(80, 80)).IsOk());
}
