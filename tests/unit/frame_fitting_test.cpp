// Frames fitted into the canvas, checked pixel by pixel.
#include "export/frame_fitting.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

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

TEST(FrameFitting, FramesAreCentredUnscaledOrShrunkKeepingProportionsOverBlack) {
    // One row of opacities 0, 128 and 255 over the colour (200, 100, 50), each column doubled so
    // that shrinking by half keeps it; over black, one and two pixels per opacity.
    wxImage translucent(6, 2, false);
    translucent.SetRGB(wxRect(0, 0, 6, 2), 200, 100, 50);
    translucent.InitAlpha();
    for (int p = 0; p < 12; ++p) {
        translucent.GetAlpha()[p] = p % 6 < 2 ? 0 : p % 6 < 4 ? 128 : 255;
    }
    // Pixels of the mask colour become black.
    wxImage masked = BlockImage(4, 4, 1), unmasked = BlockImage(4, 4, 1);
    masked.SetRGB(1, 1, 9, 8, 7);
    masked.SetMaskColour(9, 8, 7);
    unmasked.SetRGB(1, 1, 0, 0, 0);
    wxImage composed(3, 1, true);
    composed.SetRGB(1, 0, 100, 50, 25);
    composed.SetRGB(2, 0, 200, 100, 50);
    struct Case {
        wxImage image;
        int canvasWidth, canvasHeight;
        FitPath path;
        wxRect frame;       // where the frame lands, on black
        wxImage shown = {}; // what lands there; by default the blocks at one pixel each
    };
    const Case cases[] = {
        {BlockImage(100, 50, 1), 200, 200, FitPath::Centred, {50, 75, 100, 50}},
        // A side that fits exactly needs no scaling.
        {BlockImage(200, 50, 1), 200, 100, FitPath::Centred, {0, 25, 200, 50}},
        // Blocks of 2 x 2 pixels shrink to single pixels of the same colour.
        {BlockImage(400, 200, 2), 200, 200, FitPath::ShrunkAndCentred, {0, 50, 200, 100}},
        {BlockImage(400, 400, 2), 200, 200, FitPath::Shrunk, {0, 0, 200, 200}},
        // Offsets are truncated: one spare column or row stays on the right or bottom.
        {BlockImage(3, 2, 1), 4, 5, FitPath::Centred, {0, 1, 3, 2}},
        // A frame too thin to keep a row when shrunk still leaves one.
        {BlockImage(1000, 1, 100), 10, 10, FitPath::ShrunkAndCentred, {0, 4, 10, 1}},
        // Transparent parts are composed over black on every path; so are masked ones.
        {translucent, 8, 4, FitPath::Centred, {1, 1, 6, 2}, composed.Scale(6, 2)},
        {translucent, 3, 1, FitPath::Shrunk, {0, 0, 3, 1}, composed},
        {translucent, 3, 3, FitPath::ShrunkAndCentred, {0, 1, 3, 1}, composed},
        {masked, 4, 4, FitPath::Centred, {0, 0, 4, 4}, unmasked},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        FitPath path;
        const wxImage fitted = PrepareFrame(c.image, c.canvasWidth, c.canvasHeight, &path);
        EXPECT_EQ(path, c.path);
        EXPECT_FALSE(fitted.HasAlpha() || fitted.HasMask());
        ASSERT_EQ(fitted.GetSize(), wxSize(c.canvasWidth, c.canvasHeight));
        wxImage expected(c.canvasWidth, c.canvasHeight, true);
        expected.Paste(c.shown.IsOk() ? c.shown : BlockImage(c.frame.width, c.frame.height, 1),
                       c.frame.x, c.frame.y);
        EXPECT_EQ(0, memcmp(fitted.GetData(), expected.GetData(),
                            expected.GetWidth() * expected.GetHeight() * 3));
    }

    EXPECT_FALSE(PrepareFrame(BlockImage(4, 4, 1), 0, 10).IsOk());
    EXPECT_FALSE(PrepareFrame(BlockImage(4, 4, 1), 10, 0).IsOk());
    EXPECT_FALSE(PrepareFrame(wxImage(), 10, 10).IsOk());
}
