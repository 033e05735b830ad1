// What the window places where: the preview in its panel and the strip's cell texts in their
// lines, measured here at 7 pixels a character.
#include "window/window_layout.h"

#include <gtest/gtest.h>

namespace {
int SevenEach(const wxString& text) {
    return 7 * int(text.length());
}
} // namespace

TEST(WindowLayout, PreviewCentresAndCellTextsFitTheirLines) {
    const struct {
        wxSize frame, panel;
        wxRect placed;
    } previews[] = {
        {{1000, 200}, {500, 400}, {0, 150, 500, 100}},  // shrunk to the width
        {{200, 100}, {500, 400}, {150, 150, 200, 100}}, // never enlarged
        {{400, 300}, {780, 240}, {230, 0, 320, 240}},   // shrunk to the height, fully visible
    };
    for (const auto& row : previews) {
        EXPECT_EQ(PreviewPlacement(row.frame, row.panel), row.placed);
    }

    const struct {
        int number;
        float seconds;
        int width;
        const char* label;
    } labels[] = {
        {3, 0.2f, 86, "#3  0.20sec"},    // the full label where it fits
        {12, 2.2f, 80, "#12 2.20s"},     // shorter, every digit kept
        {289, 28.8f, 80, "#289 28.80s"}, // a long number
        {1000, 99.9f, 80, "#1000 99.9s"},
        {12345, 12344.f, 80, "#12345"}, // the frame number stays whatever else goes
    };
    for (const auto& row : labels) {
        wxString label = FitFrameLabel(row.number, row.seconds, row.width, SevenEach);
        label.Replace(",", "."); // the decimal point of the language shown
        EXPECT_EQ(label, row.label);
    }

    const std::pair<const char*, const char*> names[] = {
        {"walk.gif_12", "walk.gif_12"},
        {"long_walking_cycle.gif_105", "l\u2026e.gif_105"}, // the frame number stays visible
        {"a_very_long_picture_name.png", "a_v\u2026ame.png"},
        {"a_very_long_picture_name", "a_ver\u2026_name"},
        {"frame_12.png", "fra\u2026_12.png"}, // names of a sequence stay apart
    };
    for (const auto& [name, shown] : names) {
        EXPECT_EQ(FitEntryName(name, 80, SevenEach), wxString::FromUTF8(shown)) << name;
    }
}
