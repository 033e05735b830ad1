// The strip's colours in the light and dark desktop themes: every text reads on its fill.
#include "image/strip_palette.h"

#include <gtest/gtest.h>

TEST(StripPalette, EveryTextReadsOnItsFillInLightAndDarkThemes) {
    // The ratio itself, on pairs whose values are known.
    EXPECT_NEAR(ContrastRatio({0, 0, 0}, {255, 255, 255}), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio({140, 140, 140}, {255, 255, 255}), 3.4, 0.05);
    EXPECT_NEAR(ContrastRatio({0, 0, 200}, {241, 240, 238}), 10.05, 0.01);

    // The colours GTK gives for Adwaita and Adwaita:dark: window, button face and text,
    // selection and its text.
    const struct {
        const char* theme;
        ThemeColours colours;
        Rgb background, name, label, edgeLight, preview;
    } themes[] = {
        // A light desktop keeps the strip's cyan, black names and blue labels.
        {"Adwaita",
         {{255, 255, 255}, {241, 240, 238}, {46, 52, 54}, {53, 132, 228}, {255, 255, 255}},
         {176, 223, 227},
         {46, 52, 54},
         {0, 0, 200},
         {255, 255, 255},
         {224, 224, 224}},
        // A dark one takes its background, shades of its cells for their edges and a darker
        // preview; the blue label is lightened until it reads.
        {"Adwaita:dark",
         {{45, 45, 45}, {51, 51, 51}, {238, 238, 236}, {21, 83, 158}, {255, 255, 255}},
         {45, 45, 45},
         {238, 238, 236},
         {},
         {102, 102, 102},
         {32, 32, 32}},
    };
    for (const auto& row : themes) {
        SCOPED_TRACE(row.theme);
        const StripPalette palette = MakeStripPalette(row.colours);
        EXPECT_EQ(palette.background, row.background);
        EXPECT_EQ(palette.name, row.name);
        EXPECT_EQ(palette.edgeLight, row.edgeLight);
        EXPECT_EQ(palette.preview, row.preview);
        if (!(row.label == Rgb{})) {
            EXPECT_EQ(palette.label, row.label);
        }
        const std::pair<Rgb, Rgb> texts[] = {
            {palette.name, palette.cell},
            {palette.label, palette.cell},
            {palette.selectedText, palette.selectedFocused},
            {palette.selectedText, palette.selectedUnfocused},
        };
        for (const auto& [text, fill] : texts) {
            EXPECT_GE(ContrastRatio(text, fill), kReadableContrast);
        }
        // The selection stays told apart from the cells, and its fills from each other.
        EXPECT_FALSE(palette.selectedFocused == palette.selectedUnfocused);
        EXPECT_GE(ContrastRatio(palette.focusBox, palette.cell), 3.0);
        EXPECT_GE(ContrastRatio(palette.focusBox, palette.background), 3.0);
        EXPECT_GE(ContrastRatio(palette.previewFocus, palette.preview), 3.0);
    }
}
