// Frames reduced to a palette that holds every colour of their pixels.
#include "export/black_backdrop.h"
#include "export/palette_conversion.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <wx/mstream.h>
#include <wx/palette.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

namespace {

// The colours the pixels use, as 0xRRGGBB.
std::set<unsigned long> UsedColours(const wxImage& image) {
    std::set<unsigned long> colours;
    const unsigned char* rgb = image.GetData();
    for (int p = 0; p < image.GetWidth() * image.GetHeight(); ++p, rgb += 3) {
        colours.insert((rgb[0] << 16) | (rgb[1] << 8) | rgb[2]);
    }
    return colours;
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

} // namespace

TEST(PaletteConversion, FewColoursStayExactAndMoreMatchTheBmpRoundTrip) {
    // A frame of at most 256 colours is not quantised: screen-like frames keep their colours,
    // and a transparent pixel turns black.
    wxImage flat(20, 10, false);
    for (int quarter = 0; quarter < 4; ++quarter) {
        const int shade = quarter % 2 ? 220 : 30, x = quarter % 2 * 10, y = quarter / 2 * 5;
        flat.SetRGB(wxRect(x, y, 10, 5), shade, y ? 160 : 90, 255 - shade);
    }
    wxImage transparent = flat.Copy(), blackened = flat.Copy();
    transparent.InitAlpha();
    transparent.SetAlpha(3, 3, 0);
    blackened.SetRGB(3, 3, 0, 0, 0);
    wxImage noise(53, 37, false);
    unsigned seed = 7;
    for (int p = 0; p < 53 * 37 * 3; ++p) {
        seed = seed * 1103515245u + 12345u;
        noise.GetData()[p] = (seed >> 16) & 0xFF;
    }
    // Just past the exact-palette limit: 257 colours.
    wxImage ramp(257, 3, false);
    for (int x = 0; x < 257; ++x) {
        ramp.SetRGB(wxRect(x, 0, 1, 3), x % 256, x / 256 * 100, 40);
    }
    struct Case {
        wxImage image, expected;
        int entries;
    };
    const Case cases[] = {{flat, flat, 4},
                          {transparent, blackened, 5},
                          {noise, BmpRoundTrip(noise), 256},
                          {ramp, BmpRoundTrip(ramp), 256}};

    for (const Case& c : cases) {
        SCOPED_TRACE(c.entries);
        const wxImage paletted = ConvertToPalettedImage(c.image);
        ASSERT_TRUE(paletted.IsOk());
        EXPECT_FALSE(paletted.HasAlpha());
        EXPECT_FALSE(c.image.HasOption(wxIMAGE_OPTION_BMP_FORMAT));
        ASSERT_EQ(paletted.GetPalette().GetColoursCount(), c.entries);
        EXPECT_EQ(0, memcmp(paletted.GetData(), c.expected.GetData(),
                            3 * c.image.GetWidth() * c.image.GetHeight()));

        // Every colour the pixels use has an entry, when quantised the same first entry as in
        // the BMP's colour map; every other entry is black.
        const std::map<unsigned long, int> ours = FirstEntries(paletted.GetPalette());
        const std::map<unsigned long, int> theirs = FirstEntries(c.expected.GetPalette());
        std::set<int> usedEntries;
        for (unsigned long colour : UsedColours(paletted)) {
            ASSERT_TRUE(ours.count(colour));
            if (c.entries == 256) {
                EXPECT_EQ(ours.at(colour), theirs.at(colour));
            }
            usedEntries.insert(ours.at(colour));
        }
        for (int i = 0; i < c.entries; ++i) {
            unsigned char r, g, b;
            paletted.GetPalette().GetRGB(i, &r, &g, &b);
            if (!usedEntries.count(i)) {
                EXPECT_EQ(r | g | b, 0) << i;
            }
        }
    }
    EXPECT_FALSE(ConvertToPalettedImage(wxImage()).IsOk());
}

TEST(PaletteConversion, BestModeKeepsFewColoursAndDithersManyIntoAtMost255) {
    wxImage one = FilledImage(9, 4, 12, 34, 56), two = one.Copy();
    two.SetRGB(wxRect(0, 0, 3, 4), 255, 255, 255);
    // A gradient of thousands of colours, and the same half transparent.
    wxImage gradient(64, 48, false);
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) {
            gradient.SetRGB(x, y, x * 4, y * 5, (x + y) * 2);
        }
    }
    wxImage alpha = gradient.Copy();
    alpha.InitAlpha();
    std::memset(alpha.GetAlpha(), 128, 64 * 48);
    struct Case {
        wxImage image;
        size_t colours; // the exact colours kept, 0 when quantised
        int worst;      // the largest error of a channel allowed
    };
    const Case cases[] = {{one, 1, 0}, {two, 2, 0}, {gradient, 0, 24}, {alpha, 0, 24}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.colours);
        const wxImage paletted = ConvertToPalettedImage(c.image, PaletteMode::Best);
        ASSERT_TRUE(paletted.IsOk());
        const std::set<unsigned long> used = UsedColours(paletted);
        const std::map<unsigned long, int> entries = FirstEntries(paletted.GetPalette());
        EXPECT_LE(paletted.GetPalette().GetColoursCount(), 255);
        for (unsigned long colour : used) {
            EXPECT_TRUE(entries.count(colour));
        }
        if (c.colours) {
            EXPECT_EQ(used.size(), c.colours);
        }
        // The same picture always gives the same result; transparent parts as over black.
        const wxImage opaque = OpaqueOverBlack(c.image);
        const wxImage again = ConvertToPalettedImage(opaque, PaletteMode::Best);
        EXPECT_EQ(0, memcmp(paletted.GetData(), again.GetData(),
                            3 * c.image.GetWidth() * c.image.GetHeight()));
        int worst = 0;
        for (int b = 0; b < 3 * c.image.GetWidth() * c.image.GetHeight(); ++b) {
            worst = std::max(worst, std::abs(paletted.GetData()[b] - opaque.GetData()[b]));
        }
        EXPECT_LE(worst, c.worst);
    }
}
