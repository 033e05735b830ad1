// Frames fitted into the canvas, checked pixel by pixel.
#include "export/frame_fitting.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const wxColour kBlack(0, 0, 0);

// A picture whose every block of `block` x `block` pixels has a colour of its own.
wxImage BlockImage(int width, int height, int block) {
    wxImage image(width, height, false);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.SetRGB(x, y, x / block, y / block, 1 + (x / block + y / block) % 200);
        }
    }
    return image;
}

} // namespace

TEST(FrameFitting, FramesAreCentredUnscaledOrShrunkKeepingProportions) {
    struct Case {
        int width, height, block, canvasWidth, canvasHeight;
        FitPath path;
        wxRect frame; // where the frame lands, at one pixel per block, on black
    };
    const Case cases[] = {
        {100, 50, 1, 200, 200, FitPath::Centred, wxRect(50, 75, 100, 50)},
        // A side that fits exactly needs no scaling.
        {200, 50, 1, 200, 100, FitPath::Centred, wxRect(0, 25, 200, 50)},
        // Blocks of 2 x 2 pixels shrink to single pixels of the same colour.
        {400, 200, 2, 200, 200, FitPath::ShrunkAndCentred, wxRect(0, 50, 200, 100)},
        {400, 400, 2, 200, 200, FitPath::Shrunk, wxRect(0, 0, 200, 200)},
        // Offsets are truncated: one spare column or row stays on the right or bottom.
        {3, 2, 1, 4, 5, FitPath::Centred, wxRect(0, 1, 3, 2)},
        // A frame too thin to keep a row when shrunk still leaves one.
        {1000, 1, 100, 10, 10, FitPath::ShrunkAndCentred, wxRect(0, 4, 10, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        FitPath path;
        const wxImage fitted = PrepareFrame(BlockImage(c.width, c.height, c.block), c.canvasWidth,
                                            c.canvasHeight, &path);
        EXPECT_EQ(path, c.path);
        ASSERT_EQ(fitted.GetSize(), wxSize(c.canvasWidth, c.canvasHeight));
        wxImage expected(c.canvasWidth, c.canvasHeight, true);
        expected.Paste(BlockImage(c.frame.width, c.frame.height, 1), c.frame.x, c.frame.y);
        EXPECT_EQ(0, memcmp(fitted.GetData(), expected.GetData(),
                            expected.GetWidth() * expected.GetHeight() * 3));
    }

    EXPECT_FALSE(PrepareFrame(BlockImage(4, 4, 1), 0, 10).IsOk());
    EXPECT_FALSE(PrepareFrame(BlockImage(4, 4, 1), 10, 0).IsOk());
    EXPECT_FALSE(PrepareFrame(wxImage(), 10, 10).IsOk());
}

TEST(FrameFitting, TransparentPartsAreComposedOverBlackOnEveryPath) {
    // One row of opacities 0, 128 and 255 over the colour (200, 100, 50), each column doubled so
    // that shrinking by half keeps it.
    wxImage translucent(6, 2, false);
    translucent.SetRGB(wxRect(0, 0, 6, 2), 200, 100, 50);
    translucent.InitAlpha();
    for (int p = 0; p < 12; ++p) {
        translucent.GetAlpha()[p] = p % 6 < 2 ? 0 : p % 6 < 4 ? 128 : 255;
    }
    const wxColour expected[3] = {kBlack, wxColour(100, 50, 25), wxColour(200, 100, 50)};
    struct Case {
        int canvasWidth, canvasHeight, left, top, columnsPerOpacity;
    };
    // Centred unscaled, shrunk, shrunk and centred.
    for (const Case& c : {Case{8, 4, 1, 1, 2}, Case{3, 1, 0, 0, 1}, Case{3, 3, 0, 1, 1}}) {
        SCOPED_TRACE(c.canvasHeight);
        const wxImage fitted = PrepareFrame(translucent, c.canvasWidth, c.canvasHeight);
        ASSERT_EQ(fitted.GetSize(), wxSize(c.canvasWidth, c.canvasHeight));
        EXPECT_FALSE(fitted.HasAlpha());
        for (int x = 0; x < 3 * c.columnsPerOpacity; ++x) {
            EXPECT_EQ(PixelAt(fitted, c.left + x, c.top), expected[x / c.columnsPerOpacity]) << x;
        }
    }

    // Pixels of the mask colour become black.
    wxImage masked = BlockImage(4, 4, 1);
    masked.SetRGB(1, 1, 9, 8, 7);
    masked.SetMaskColour(9, 8, 7);
    const wxImage fitted = PrepareFrame(masked, 4, 4);
    EXPECT_FALSE(fitted.HasMask());
    EXPECT_EQ(PixelAt(fitted, 1, 1), kBlack);
    EXPECT_EQ(PixelAt(fitted, 2, 1), PixelAt(masked, 2, 1));
}
