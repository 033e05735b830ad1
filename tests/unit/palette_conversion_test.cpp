// Frames reduced to a palette that holds every colour of their pixels.
#include "export/palette_conversion.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <wx/mstream.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>

namespace {
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

TEST(PaletteConversion, FewColoursStayExactAndMoreAreQuantisedAsTheBmpWriterDoes) {
    // Screen-like quarters of four colours, and the same with one transparent pixel, which
    // turns black; noise, a 257-colour ramp and a gradient are quantised.
    const wxImage flat = NoiseImage(2, 2, 3).Scale(20, 10);
    wxImage transparent = flat.Copy(), blackened = flat.Copy();
    transparent.InitAlpha();
    transparent.SetAlpha(3, 3, 0);
    blackened.SetRGB(3, 3, 0, 0, 0);
    const wxImage noise = NoiseImage(53, 37, 7);
    wxImage ramp(257, 3, false), gradient(64, 48, false);
    for (int x = 0; x < 257; ++x) {
        ramp.SetRGB(wxRect(x, 0, 1, 3), x % 256, x / 256 * 100, 40);
    }
    for (int p = 0; p < 64 * 48; ++p) {
        gradient.SetRGB(p % 64, p / 64, p % 64 * 4, p / 64 * 5, (p % 64 + p / 64) * 2);
    }
    struct Case {
        PaletteMode mode;
        wxImage image, expected; // no expected pixels: near the image's, at most 255 entries
        int entries;
    };
    const Case cases[] = {
        {PaletteMode::Standard, flat, flat, 4},
        {PaletteMode::Standard, transparent, blackened, 5},
        {PaletteMode::Standard, noise, BmpRoundTrip(noise), 256},
        {PaletteMode::Standard, ramp, BmpRoundTrip(ramp), 256},
        {PaletteMode::Best, flat, flat, 4},
        {PaletteMode::Best, transparent, blackened, 5},
        {PaletteMode::Best, gradient, wxImage(), 255},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.image.GetWidth() << " " << int(c.mode));
        ExportOptions options;
        options.palette = c.mode;
        const PalettedFrame paletted = ConvertToPalettedFrame(c.image, options);
        ASSERT_TRUE(paletted.IsOk());
        EXPECT_EQ(paletted.transparent, -1);
        std::vector<unsigned char> shown;
        for (unsigned char index : paletted.indices) {
            const GifColour& entry = paletted.colours[index];
            shown.insert(shown.end(), {entry.red, entry.green, entry.blue});
        }
        if (c.expected.IsOk()) {
            EXPECT_EQ(static_cast<int>(paletted.colours.size()), c.entries);
            EXPECT_EQ(0, memcmp(shown.data(), c.expected.GetData(), shown.size()));
        } else {
            int worst = 0;
            for (size_t b = 0; b < shown.size(); ++b) {
                worst = std::max(worst, std::abs(shown[b] - c.image.GetData()[b]));
            }
            EXPECT_LE(worst, 24);
            EXPECT_LE(static_cast<int>(paletted.colours.size()), c.entries);
        }

        // Each pixel takes the first entry of its colour; in the standard mode every entry no
        // pixel takes is black, so that no stray bytes reach the file.
        std::set<int> used(paletted.indices.begin(), paletted.indices.end());
        for (size_t i = 0; i < paletted.colours.size(); ++i) {
            const GifColour& entry = paletted.colours[i];
            if (used.count(i)) {
                EXPECT_EQ(std::find(paletted.colours.begin(), paletted.colours.end(), entry) -
                              paletted.colours.begin(),
                          static_cast<long>(i));
            } else {
                EXPECT_TRUE(entry == (GifColour{0, 0, 0}) || c.mode == PaletteMode::Best) << i;
            }
        }
    }
    EXPECT_FALSE(ConvertToPalettedFrame(wxImage()).IsOk());
}
