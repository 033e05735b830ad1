// Generated frames that the export benchmarks write as GIF files.
#pragma once

#include <wx/image.h>

#include <algorithm>
#include <cmath>

inline unsigned char Clamp(double value) {
    return static_cast<unsigned char>(value < 0 ? 0 : value > 255 ? 255 : value);
}

// Camera-like content: smooth moving colour fields, a soft moving disc and sensor noise.
inline wxImage PhotoFrame(int t, int width, int height) {
    wxImage image(width, height, false);
    unsigned char* p = image.GetData();
    unsigned seed = 977u * t + 1;
    const double discX = width * (0.2 + 0.6 * t / 100.0);
    const double discY = height * (0.5 + 0.3 * std::sin(t * 0.1));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            const double noise = static_cast<int>((seed >> 16) % 25) - 12;
            const double d = std::hypot(x - discX, y - discY);
            const double disc = d < 60 ? 1 : d < 90 ? (90 - d) / 30 : 0;
            const double r = 128 + 90 * std::sin((x + 3 * t) * 0.013 + std::sin(y * 0.021));
            const double g = 128 + 90 * std::sin(y * 0.017 - t * 0.05 + std::cos(x * 0.011));
            const double b = 128 + 80 * std::sin((x + y) * 0.009 + t * 0.03);
            *p++ = Clamp(r * (1 - disc) + 250 * disc + noise);
            *p++ = Clamp(g * (1 - disc) + 210 * disc + noise);
            *p++ = Clamp(b * (1 - disc) + 120 * disc + noise);
        }
    }
    return image;
}

inline void Fill(wxImage& image, int left, int top, int width, int height, unsigned char r,
                 unsigned char g, unsigned char b) {
    image.SetRGB(wxRect(left, top, width, height).Intersect(wxRect(image.GetSize())), r, g, b);
}

// A word of text on white: with `soft` edges its outer pixels blend into the white, as
// anti-aliased text does (half at the sides, a quarter at the corners).
inline void Word(wxImage& image, int left, int top, int width, int height, unsigned char r,
                 unsigned char g, unsigned char b, bool soft) {
    if (!soft || width < 3) {
        Fill(image, left, top, width, height, r, g, b);
        return;
    }
    const auto blend = [](unsigned char c, int share) {
        return static_cast<unsigned char>(255 - (255 - c) * share / 4);
    };
    Fill(image, left, top, width, height, blend(r, 2), blend(g, 2), blend(b, 2));
    Fill(image, left + 1, top + 1, width - 2, height - 2, r, g, b);
    for (int x : {left, left + width - 1}) {
        for (int y : {top, top + height - 1}) {
            Fill(image, x, y, 1, 1, blend(r, 1), blend(g, 1), blend(b, 1));
        }
    }
}

// Screen-recording-like content: a window with a title bar, buttons, scrolling lines of text,
// a growing progress bar and a moving pointer, in a dozen flat colours; with `soft` text the
// words are anti-aliased, which makes about 18 colours.
inline wxImage ScreenFrameOf(int t, int width, int height, bool soft) {
    wxImage image(width, height, false);
    Fill(image, 0, 0, width, height, 236, 236, 236);
    Fill(image, 0, 0, width, 18, 40, 80, 160);
    Fill(image, width - 16, 3, 12, 12, 200, 60, 50);
    for (int i = 0; i < 4; ++i) {
        Fill(image, 6 + i * 40, 24, 34, 14, 210, 210, 215);
        Fill(image, 8 + i * 40, 28, 10, 6, 60 + 40 * i, 120, 200 - 40 * i);
    }
    Fill(image, 6, 44, width - 12, height - 70, 255, 255, 255);
    for (int line = 0; line < 40; ++line) {
        const int y = 48 + line * 9 - (t % 90);
        if (y < 46 || y > height - 34) {
            continue;
        }
        unsigned seed = 31u * (line + t / 90 * 40) + 7;
        for (int x = 10; x < width - 20;) {
            seed = seed * 1103515245u + 12345u;
            const int word = 6 + (seed >> 16) % 30;
            Word(image, x, y, std::min(word, width - 20 - x), 5, line % 7 == 0 ? 30 : 70,
                 line % 7 == 0 ? 90 : 70, line % 7 == 0 ? 170 : 70, soft);
            x += word + 5;
        }
    }
    Fill(image, 6, height - 20, (width - 12) * (t % 300) / 300, 10, 60, 170, 80);
    const int px = 20 + (t * 3) % (width - 40);
    const int py = 60 + (t * 2) % (height - 100);
    for (int row = 0; row < 12; ++row) {
        Fill(image, px, py + row, row / 2 + 1, 1, 0, 0, 0);
        Fill(image, px + 1, py + row, row / 2 - 1, 1, 255, 255, 255);
    }
    return image;
}

inline wxImage ScreenFrame(int t, int width, int height) {
    return ScreenFrameOf(t, width, height, false);
}
inline wxImage AntialiasedScreenFrame(int t, int width, int height) {
    return ScreenFrameOf(t, width, height, true);
}

// A smooth gradient without noise, drifting slowly: any banding shows at once.
inline wxImage GradientFrame(int t, int width, int height) {
    wxImage image(width, height, false);
    unsigned char* p = image.GetData();
    const double pi = 3.14159265358979;
    for (int y = 0; y < height; ++y) {
        const double fy = static_cast<double>(y) / height;
        for (int x = 0; x < width; ++x) {
            const double fx = static_cast<double>(x) / width;
            *p++ = Clamp(0.5 + 255 * (0.5 + 0.5 * std::sin(2 * pi * (0.7 * fx + 0.01 * t))));
            *p++ = Clamp(0.5 + 40 + 200 * fy);
            *p++ = Clamp(0.5 + 255 * (1 - fx) * (0.6 + 0.4 * std::cos(0.05 * t)) * (1 - 0.5 * fy));
        }
    }
    return image;
}
