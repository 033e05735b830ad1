// The strip's colours, chosen from the desktop theme's colours so that every text reads against
// what it is drawn on, with the contrast ratio of relative luminances that decides it.
#pragma once

struct Rgb {
    unsigned char r = 0;
    unsigned char g = 0;
    unsigned char b = 0;
    bool operator==(const Rgb& other) const { return r == other.r && g == other.g && b == other.b; }
};

// The least contrast a text needs against what it is drawn on.
constexpr double kReadableContrast = 4.5;

// The relative luminance of an sRGB colour, 0 (black) to 1 (white).
double RelativeLuminance(Rgb colour);

// The contrast ratio of two colours, 1 (same luminance) to 21 (black and white).
double ContrastRatio(Rgb a, Rgb b);

// The colour nearest to `moving`, mixed towards black or white (whichever stands further from
// `fixed`), that reaches the contrast against `fixed`; `moving` itself when it already does.
Rgb Separated(Rgb moving, Rgb fixed, double contrast = kReadableContrast);

// The theme's colours the strip starts from.
struct ThemeColours {
    Rgb window;        // a list's background
    Rgb face;          // a button's face
    Rgb faceText;      // a button's text
    Rgb highlight;     // a selection's background
    Rgb highlightText; // a selection's text
};

struct StripPalette {
    Rgb background;
    Rgb cell;
    Rgb name;
    Rgb label;
    Rgb selectedFocused;
    Rgb selectedUnfocused;
    Rgb selectedText;
    Rgb focusBox;
    Rgb dropMarker;
    // A cell's raised edges: lit from the upper left, shaded at the lower right.
    Rgb edgeLight;
    Rgb edgeShadow;
    // The preview panel behind the frame shown, and its focus frame.
    Rgb preview;
    Rgb previewFocus;
};

// A light theme keeps the strip's own light cyan, white and black edges and the preview's light
// grey; a dark one takes the theme's background and shades of its cells.
StripPalette MakeStripPalette(const ThemeColours& theme);
