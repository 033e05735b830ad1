// Frames reduced to a palette that holds every colour of their pixels, and pixels mapped to a
// palette.
#include "export/palette_conversion.h"
#include "export/palette_mapping.h"
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

// Each pixel finds its nearest entry, as a search of the whole palette would, for palettes of
// one entry, of twins and of many; dithering keeps an area's mean colour between two entries.
TEST(PaletteConversion, PixelsGoToTheirNearestEntryAndDitheringKeepsTheMean) {
    std::srand(5);
    const auto randomPalette = [](int count) {
        std::vector<GifColour> palette(count);
        for (GifColour& c : palette) {
            c = {static_cast<unsigned char>(std::rand() % 256),
                 static_cast<unsigned char>(std::rand() % 256),
                 static_cast<unsigned char>(std::rand() % 256)};
        }
        return palette;
    };
    std::vector<GifColour> twins = randomPalette(8);
    twins.insert(twins.end(), twins.begin(), twins.end());
    for (const std::vector<GifColour>& palette :
         {randomPalette(1), twins, randomPalette(40), randomPalette(256)}) {
        NearestColour nearest(palette);
        for (int i = 0; i < 20000; ++i) {
            // Colours near the entries as well as anywhere, asked for again and again.
            const GifColour& near = palette[std::rand() % palette.size()];
            const int r = i % 2 ? std::rand() % 256 : std::min(255, near.red + std::rand() % 5);
            const int g = i % 2 ? std::rand() % 256 : std::max(0, near.green - std::rand() % 5);
            const int b = i % 2 ? std::rand() % 256 : near.blue;
            int best = 0, bestDistance = 1 << 30;
            for (size_t k = 0; k < palette.size(); ++k) {
                const int distance = (palette[k].red - r) * (palette[k].red - r) +
                                     (palette[k].green - g) * (palette[k].green - g) +
                                     (palette[k].blue - b) * (palette[k].blue - b);
                if (distance < bestDistance) {
                    bestDistance = distance;
                    best = static_cast<int>(k);
                }
            }
            ASSERT_EQ(nearest.Find(r, g, b), best)
                << palette.size() << ": " << r << " " << g << " " << b;
        }
    }

    // A flat grey of 100 between entries 90 and 120: undithered all 90, dithered a mix with the
    // mean kept; moved to the means, the undithered entry becomes the grey itself.
    const int width = 64, height = 32;
    const std::vector<unsigned char> grey(3 * width * height, 100);
    std::vector<unsigned char> indices(width * height);
    for (float dithering : {0.f, 1.f}) {
        NearestColour nearest({{90, 90, 90}, {120, 120, 120}});
        MapToPalette(grey.data(), width, height, dithering, nearest, indices.data());
        double sum = 0;
        for (unsigned char index : indices) {
            sum += nearest.Palette()[index].red;
        }
        EXPECT_NEAR(sum / indices.size(), dithering > 0 ? 100 : 90, 0.5) << dithering;
    }
    std::vector<GifColour> moved = {{90, 90, 90}, {120, 120, 120}};
    std::fill(indices.begin(), indices.end(), 0);
    MoveToMeans(grey.data(), indices.data(), indices.size(), &moved);
    EXPECT_EQ(moved[0].green, 100);
    EXPECT_EQ(moved[1].green, 120);
}
