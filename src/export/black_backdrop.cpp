#include "export/black_backdrop.h"

#include "export/new_image.h"
#include <algorithm>

void PasteOverBlack(const wxImage& image, wxImage& canvas, int x, int y) {
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
        unsigned char* dst =
            canvas.GetData() + 3 * (static_cast<size_t>(row + y) * canvasWidth + left + x);
        const int count = right - left;
        if (!alpha && !masked) {
            std::copy(src, src + 3 * count, dst);
            continue;
        }
        for (int i = 0; i < count; ++i, src += 3, dst += 3) {
            if (masked && src[0] == maskRed && src[1] == maskGreen && src[2] == maskBlue) {
                dst[0] = dst[1] = dst[2] = 0;
            } else if (opacity) {
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

wxImage OpaqueOverBlack(const wxImage& image) {
    if (!image.IsOk() || (!image.HasAlpha() && !image.HasMask())) {
        return image;
    }
    wxImage opaque = NewImage(image.GetWidth(), image.GetHeight(), false);
    PasteOverBlack(image, opaque, 0, 0);
    return opaque;
}
