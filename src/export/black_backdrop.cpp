#include "export/black_backdrop.h"

#include "export/new_image.h"
#include <algorithm>

namespace {

// Alpha below this is a pixel left clear where transparency is kept.
const unsigned kHalfOpaque = 128;

void Paste(const wxImage& image, wxImage& canvas, int x, int y, bool keepClear) {
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    const int canvasWidth = canvas.GetWidth();
    const int left = std::max(0, -x);
    const int right = std::min(width, canvasWidth - x);
    const int top = std::max(0, -y);
    const int bottom = std::min(height, canvas.GetHeight() - y);
    if (left >= right || top >= bottom) {
        return;
    }
    const unsigned char* alpha = image.HasAlpha() ? image.GetAlpha() : nullptr;
    const bool masked = image.HasMask();
    const unsigned char maskRed = masked ? image.GetMaskRed() : 0;
    const unsigned char maskGreen = masked ? image.GetMaskGreen() : 0;
    const unsigned char maskBlue = masked ? image.GetMaskBlue() : 0;
    for (int row = top; row < bottom; ++row) {
        const size_t from = static_cast<size_t>(row) * width + left;
        const unsigned char* src = image.GetData() + 3 * from;
        const unsigned char* opacity = alpha ? alpha + from : nullptr;
        const size_t to = static_cast<size_t>(row + y) * canvasWidth + left + x;
        unsigned char* dst = canvas.GetData() + 3 * to;
        unsigned char* shown = keepClear ? canvas.GetAlpha() + to : nullptr;
        const int count = right - left;
        if (!alpha && !masked) {
            std::copy(src, src + 3 * count, dst);
            continue;
        }
        for (int i = 0; i < count; ++i, src += 3, dst += 3) {
            const bool clear =
                (masked && src[0] == maskRed && src[1] == maskGreen && src[2] == maskBlue) ||
                (keepClear && opacity && opacity[i] < kHalfOpaque);
            if (shown) {
                shown[i] = clear ? wxIMAGE_ALPHA_TRANSPARENT : wxIMAGE_ALPHA_OPAQUE;
            }
            if (clear) {
                dst[0] = dst[1] = dst[2] = 0;
            } else if (opacity && !keepClear) {
                const unsigned a = opacity[i];
                dst[0] = static_cast<unsigned char>((src[0] * a + 127) / 255);
                dst[1] = static_cast<unsigned char>((src[1] * a + 127) / 255);
                dst[2] = static_cast<unsigned char>((src[2] * a + 127) / 255);
            } else {
                dst[0] = src[0];
                dst[1] = src[1];
                dst[2] = src[2];
            }
        }
    }
}

} // namespace

void PasteOverBlack(const wxImage& image, wxImage& canvas, int x, int y) {
    Paste(image, canvas, x, y, false);
}

void PasteKeepingClear(const wxImage& image, wxImage& canvas, int x, int y) {
    Paste(image, canvas, x, y, true);
}

wxImage OpaqueOverBlack(const wxImage& image, bool keepClear) {
    if (!image.IsOk() || (!image.HasAlpha() && !image.HasMask())) {
        return image;
    }
    wxImage opaque = NewImage(image.GetWidth(), image.GetHeight(), false);
    if (keepClear) {
        opaque.InitAlpha();
    }
    Paste(image, opaque, 0, 0, keepClear);
    return opaque;
}
