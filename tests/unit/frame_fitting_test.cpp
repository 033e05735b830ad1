// Frames fitted into the canvas, checked pixel by pixel.
#include "export/frame_fitting.h"

#include <gtest/gtest.h>
#include <wx/colour.h>

namespace {

const wxColour kBlack(0, 0, 0);

// A colour that tells apart every block of `block` x `block` pixels.
wxColour BlockColour(int x, int y, int block) {
    return wxColour(static_cast<unsigned char>(x / block), static_cast<unsigned char>(y / block),
                    static_cast<unsigned char>(1 + (x / block + y / block) % 200));
}

wxImage BlockImage(int width, int height, int block) {
    wxImage image(width, height, false);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const wxColour c = BlockColour(x, y, block);
            image.SetRGB(x, y, c.Red(), c.Green(), c.Blue());
        }
    }
    return image;
}

wxColour Pixel(const wxImage& image, int x, int y) {
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

// Counts the pixels that differ from a frame of `block`-sized blocks (at block size 1 after
// shrinking) placed at (left, top) with the size frameWidth x frameHeight, black elsewhere.
int WrongPixels(const wxImage& image, int left, int top, int frameWidth, int frameHeight) {
    int wrong = 0;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            const bool inside =
                x >= left && x < left + frameWidth && y >= top && y < top + frameHeight;
            const wxColour expected = inside ? BlockColour(x - left, y - top, 1) : kBlack;
            wrong += Pixel(image, x, y) != expected;
        }
    }
    return wrong;
}

} // namespace

TEST(FrameFitting, FramesAreCentredUnscaledOrShrunkKeepingProportions) {
    FitPath path;
    wxImage fitted = PrepareFrame(BlockImage(100, 50, 1), 200, 200, &path);
    EXPECT_EQ(path, FitPath::Centred);
    ASSERT_EQ(fitted.GetSize(), wxSize(200, 200));
    EXPECT_EQ(WrongPixels(fitted, 50, 75, 100, 50), 0);

    // Blocks of 2 x 2 pixels shrink to single pixels of the same colour.
    fitted = PrepareFrame(BlockImage(400, 200, 2), 200, 200, &path);
    EXPECT_EQ(path, FitPath::ShrunkAndCentred);
    ASSERT_EQ(fitted.GetSize(), wxSize(200, 200));
    EXPECT_EQ(WrongPixels(fitted, 0, 50, 200, 100), 0);

    fitted = PrepareFrame(BlockImage(400, 400, 2), 200, 200, &path);
    EXPECT_EQ(path, FitPath::Shrunk);
    ASSERT_EQ(fitted.GetSize(), wxSize(200, 200));
    EXPECT_EQ(WrongPixels(fitted, 0, 0, 200, 200), 0);

    // Offsets are truncated: one spare column or row stays on the right or bottom.
    fitted = PrepareFrame(BlockImage(3, 2, 1), 4, 5, &path);
    EXPECT_EQ(WrongPixels(fitted, 0, 1, 3, 2), 0);

    // A frame too thin to keep a row when shrunk still leaves one.
    fitted = PrepareFrame(BlockImage(1000, 1, 100), 10, 10, &path);
    EXPECT_EQ(path, FitPath::ShrunkAndCentred);
    EXPECT_EQ(WrongPixels(fitted, 0, 4, 10, 1), 0);

    EXPECT_FALSE(PrepareFrame(BlockImage(4, 4, 1), 0, 10).IsOk());
    EXPECT_FALSE(PrepareFrame(BlockImage(4, 4, 1), 10, 0).IsOk());
    EXPECT_FALSE(PrepareFrame(wxImage(), 10, 10).IsOk());
}

TEST(FrameFitting, TransparentPartsAreComposedOverBlackOnEveryPath) {
    // One row of opacities 0, 128 and 255 over the colour (200, 100, 50), each column doubled so
    // that shrinking by half keeps it.
    wxImage translucent(6, 2, false);
    translucent.InitAlpha();
    const unsigned char opacity[3] = {0, 128, 255};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 6; ++x) {
            translucent.SetRGB(x, y, 200, 100, 50);
            translucent.SetAlpha(x, y, opacity[x / 2]);
        }
    }
    const wxColour expected[3] = {kBlack, wxColour(100, 50, 25), wxColour(200, 100, 50)};

    wxImage fitted = PrepareFrame(translucent, 8, 4);
    EXPECT_FALSE(fitted.HasAlpha());
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(Pixel(fitted, 1 + x, 1), expected[x / 2]) << x;
    }
    fitted = PrepareFrame(translucent, 3, 1);
    ASSERT_EQ(fitted.GetSize(), wxSize(3, 1));
    EXPECT_FALSE(fitted.HasAlpha());
    for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(Pixel(fitted, x, 0), expected[x]) << x;
    }
    fitted = PrepareFrame(translucent, 3, 3);
    for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(Pixel(fitted, x, 1), expected[x]) << x;
    }

    // Pixels of the mask colour stay black.
    wxImage masked = BlockImage(4, 4, 1);
    masked.SetRGB(1, 1, 9, 8, 7);
    masked.SetMaskColour(9, 8, 7);
    fitted = PrepareFrame(masked, 4, 4);
    EXPECT_FALSE(fitted.HasMask());
    EXPECT_EQ(Pixel(fitted, 1, 1), kBlack);
    EXPECT_EQ(Pixel(fitted, 2, 1), BlockColour(2, 1, 1));
}
