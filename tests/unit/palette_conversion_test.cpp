// Frames reduced to a palette that holds every colour of their pixels.
#include "export/palette_conversion.h"

#include <gtest/gtest.h>
#include <wx/colour.h>
#include <wx/mstream.h>
#include <wx/palette.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <vector>

namespace {

// Whether every pixel's colour is an entry of the image's palette.
bool PixelsUsePalette(const wxImage& image) {
    std::set<unsigned long> entries;
    const wxPalette& palette = image.GetPalette();
    for (int i = 0; i < palette.GetColoursCount(); ++i) {
        unsigned char r, g, b;
        palette.GetRGB(i, &r, &g, &b);
        entries.insert((r << 16) | (g << 8) | b);
    }
    const unsigned char* rgb = image.GetData();
    for (int p = 0; p < image.GetWidth() * image.GetHeight(); ++p, rgb += 3) {
        if (!entries.count((rgb[0] << 16) | (rgb[1] << 8) | rgb[2])) {
            return false;
        }
    }
    return true;
}

// The largest difference of one channel between two images of the same size.
int MaxDifference(const wxImage& a, const wxImage& b) {
    int largest = 0;
    for (int i = 0; i < a.GetWidth() * a.GetHeight() * 3; ++i) {
        largest = std::max(largest, std::abs(a.GetData()[i] - b.GetData()[i]));
    }
    return largest;
}

// The image as the toolkit's 8-bit BMP writer and reader give it back.
wxImage BmpRoundTrip(wxImage image) {
    image.SetOption(wxIMAGE_OPTION_BMP_FORMAT, 8);
    wxMemoryOutputStream out;
    image.SaveFile(out, wxBITMAP_TYPE_BMP);
    wxMemoryInputStream in(out);
    wxImage back;
    back.LoadFile(in, wxBITMAP_TYPE_BMP, -1);
    return back;
}

// Each colour of the palette with the lowest index holding it.
std::map<unsigned long, int> FirstEntries(const wxPalette& palette) {
    std::map<unsigned long, int> entries;
    for (int i = palette.GetColoursCount() - 1; i >= 0; --i) {
        unsigned char r, g, b;
        palette.GetRGB(i, &r, &g, &b);
        entries[(r << 16) | (g << 8) | b] = i;
    }
    return entries;
}

} // namespace

TEST(PaletteConversion, FewColoursStayExactAndTransparencyBecomesBlack) {
    // A frame of at most 256 colours is not quantised: screen-like frames keep their colours.
    wxImage flat(20, 10, false);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 20; ++x) {
            const unsigned char shade = x < 10 ? 30 : 220;
            flat.SetRGB(x, y, shade, y < 5 ? 90 : 160, 255 - shade);
        }
    }
    wxImage paletted = ConvertToPalettedImage(flat);
    ASSERT_TRUE(paletted.IsOk());
    EXPECT_TRUE(PixelsUsePalette(paletted));
    EXPECT_EQ(MaxDifference(paletted, flat), 0);
    EXPECT_EQ(paletted.GetPalette().GetColoursCount(), 4);

    flat.InitAlpha();
    flat.SetAlpha(3, 3, 0);
    paletted = ConvertToPalettedImage(flat);
    ASSERT_TRUE(paletted.IsOk());
    EXPECT_FALSE(paletted.HasAlpha());
    EXPECT_TRUE(PixelsUsePalette(paletted));
    wxImage black(1, 1, true);
    EXPECT_EQ(MaxDifference(paletted.GetSubImage(wxRect(3, 3, 1, 1)), black), 0);
    EXPECT_EQ(paletted.GetPalette().GetColoursCount(), 5);
    EXPECT_FALSE(flat.HasOption(wxIMAGE_OPTION_BMP_FORMAT));

    EXPECT_FALSE(ConvertToPalettedImage(wxImage()).IsOk());
}

TEST(PaletteConversion, MatchesTheBmpRoundTripAndLeavesUnusedEntriesBlack) {
    std::vector<wxImage> images;
    wxImage noise(53, 37, false);
    unsigned seed = 7;
    for (int p = 0; p < 53 * 37 * 3; ++p) {
        seed = seed * 1103515245u + 12345u;
        noise.GetData()[p] = (seed >> 16) & 0xFF;
    }
    images.push_back(noise);
    // Just past the exact-palette limit: 257 colours.
    wxImage ramp(257, 3, false);
    for (int x = 0; x < 257; ++x) {
        for (int y = 0; y < 3; ++y) {
            ramp.SetRGB(x, y, x % 256, x / 256 * 100, 40);
        }
    }
    images.push_back(ramp);

    for (const wxImage& image : images) {
        SCOPED_TRACE(image.GetWidth());
        const wxImage expected = BmpRoundTrip(image);
        const wxImage paletted = ConvertToPalettedImage(image);
        ASSERT_TRUE(paletted.IsOk());
        ASSERT_EQ(paletted.GetPalette().GetColoursCount(), 256);
        const size_t bytes = 3 * image.GetWidth() * image.GetHeight();
        EXPECT_EQ(0, memcmp(paletted.GetData(), expected.GetData(), bytes));

        // Every colour the pixels use sits at the same first entry as in the BMP's colour map;
        // every other entry is black.
        std::set<unsigned long> usedColours;
        for (size_t p = 0; p < bytes; p += 3) {
            const unsigned char* rgb = paletted.GetData() + p;
            usedColours.insert((rgb[0] << 16) | (rgb[1] << 8) | rgb[2]);
        }
        const std::map<unsigned long, int> ours = FirstEntries(paletted.GetPalette());
        const std::map<unsigned long, int> theirs = FirstEntries(expected.GetPalette());
        std::set<int> usedEntries;
        for (unsigned long colour : usedColours) {
            ASSERT_TRUE(ours.count(colour));
            EXPECT_EQ(ours.at(colour), theirs.at(colour));
            usedEntries.insert(ours.at(colour));
        }
        for (int i = 0; i < 256; ++i) {
            unsigned char r, g, b;
            paletted.GetPalette().GetRGB(i, &r, &g, &b);
            if (!usedEntries.count(i)) {
                EXPECT_EQ(r | g | b, 0) << i;
            }
        }
    }
}
