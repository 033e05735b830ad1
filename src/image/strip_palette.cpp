#include "image/strip_palette.h"

#include <algorithm>
#include <cmath>

namespace {
double Linear(unsigned char channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

Rgb Mix(Rgb from, Rgb to, double amount) {
    const auto channel = [amount](unsigned char a, unsigned char b) {
        return static_cast<unsigned char>(std::lround(a + (b - a) * amount));
    };
    return {channel(from.r, to.r), channel(from.g, to.g), channel(from.b, to.b)};
}

const Rgb kBlack{0, 0, 0};
const Rgb kWhite{255, 255, 255};
// The strip's look on a light desktop.
const Rgb kLightStrip{176, 223, 227};
const Rgb kLabelBlue{0, 0, 200};
const Rgb kFocusBox{100, 80, 80};
const Rgb kDropMarker{20, 40, 160};
// Light and dark frames alike stand out on it.
const Rgb kLightPreview{224, 224, 224};
} // namespace

double RelativeLuminance(Rgb colour) {
    return 0.2126 * Linear(colour.r) + 0.7152 * Linear(colour.g) + 0.0722 * Linear(colour.b);
}

double ContrastRatio(Rgb a, Rgb b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb Separated(Rgb moving, Rgb fixed, double contrast) {
    if (ContrastRatio(moving, fixed) >= contrast) {
        return moving;
    }
    const Rgb end = ContrastRatio(kBlack, fixed) >= ContrastRatio(kWhite, fixed) ? kBlack : kWhite;
    // Small steps keep as much of the wanted hue as the contrast allows.
    for (int step = 1; step <= 64; ++step) {
        const Rgb mixed = Mix(moving, end, step / 64.0);
        if (ContrastRatio(mixed, fixed) >= contrast) {
            return mixed;
        }
    }
    return end;
}

StripPalette MakeStripPalette(const ThemeColours& theme) {
    const bool dark = RelativeLuminance(theme.window) < 0.5;
    StripPalette palette;
    palette.background = dark ? theme.window : kLightStrip;
    palette.cell = theme.face;
    palette.name = Separated(theme.faceText, palette.cell);
    palette.label = Separated(kLabelBlue, palette.cell);
    // The selection keeps the theme's text colour; its fill darkens or lightens to carry it.
    palette.selectedText = theme.highlightText;
    palette.selectedFocused = Separated(theme.highlight, palette.selectedText);
    palette.selectedUnfocused =
        Separated(Mix(theme.highlight, palette.cell, 0.4), palette.selectedText);
    palette.focusBox = Separated(kFocusBox, palette.cell, 3.0);
    palette.dropMarker = Separated(kDropMarker, palette.background, 3.0);
    // Pure white and black edges glare on dark cells; there they are the cell a little lighter
    // and much darker.
    palette.edgeLight = dark ? Mix(palette.cell, kWhite, 0.25) : kWhite;
    palette.edgeShadow = dark ? Mix(palette.cell, kBlack, 0.6) : kBlack;
    palette.preview = dark ? Mix(theme.window, kBlack, 0.3) : kLightPreview;
    palette.previewFocus = Separated(kBlack, palette.preview, 3.0);
    return palette;
}
