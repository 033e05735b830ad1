#include "image/picture_likeness.h"

#include <cstdlib>
#include <cstring>

namespace {

bool ChannelsAlike(const unsigned char* a, const unsigned char* b, size_t count, int largest) {
    if (largest == 0) {
        return std::memcmp(a, b, count) == 0;
    }
    for (size_t i = 0; i < count; ++i) {
        if (std::abs(int(a[i]) - int(b[i])) > largest) {
            return false;
        }
    }
    return true;
}

// Opacity of every pixel: a picture without an alpha channel is opaque everywhere.
bool OpacityAlike(const wxImage& a, const wxImage& b, size_t pixels, int largest) {
    if (!a.HasAlpha() && !b.HasAlpha()) {
        return true;
    }
    const unsigned char* alphaA = a.HasAlpha() ? a.GetAlpha() : nullptr;
    const unsigned char* alphaB = b.HasAlpha() ? b.GetAlpha() : nullptr;
    for (size_t i = 0; i < pixels; ++i) {
        const int opacityA = alphaA ? alphaA[i] : 255;
        const int opacityB = alphaB ? alphaB[i] : 255;
        if (std::abs(opacityA - opacityB) > largest) {
            return false;
        }
    }
    return true;
}

} // namespace

bool PicturesAlike(const wxImage& a, const wxImage& b, int tolerance) {
    if (!a.IsOk() || !b.IsOk() || a.GetSize() != b.GetSize()) {
        return false;
    }
    // Masked pixels show the colour behind them, so pictures masked differently differ.
    if (a.HasMask() != b.HasMask() ||
        (a.HasMask() && (a.GetMaskRed() != b.GetMaskRed() || a.GetMaskGreen() != b.GetMaskGreen() ||
                         a.GetMaskBlue() != b.GetMaskBlue()))) {
        return false;
    }
    const int largest = tolerance <= 0 ? 0 : tolerance >= 100 ? 255 : tolerance * 255 / 100;
    const size_t pixels = size_t(a.GetWidth()) * size_t(a.GetHeight());
    return ChannelsAlike(a.GetData(), b.GetData(), pixels * 3, largest) &&
           OpacityAlike(a, b, pixels, largest);
}
