#include "image/thumbnail_fit.h"

#include <algorithm>
#include <vector>

wxSize FitThumbnailSize(const wxSize& picture, const wxSize& box) {
    if (picture.x < 1 || picture.y < 1) {
        return picture;
    }
    const double ratioX = static_cast<double>(box.x) / picture.x;
    const double ratioY = static_cast<double>(box.y) / picture.y;
    if (ratioX >= 1.0 && ratioY >= 1.0) {
        return picture;
    }
    const double ratio = std::min(ratioX, ratioY);
    // A very thin picture must not collapse to nothing.
    return wxSize(std::max(1, static_cast<int>(picture.x * ratio)),
                  std::max(1, static_cast<int>(picture.y * ratio)));
}

namespace {
// Each pixel of the result is the mean of the source pixels whose centres fall in its box, so
// that text and fine noise average out instead of flickering from frame to frame as sampled
// pixels do. One pass over the source; opaque pictures only.
wxImage AverageDown(const wxImage& image, const wxSize& size) {
    const size_t width = static_cast<size_t>(image.GetWidth());
    const size_t height = static_cast<size_t>(image.GetHeight());
    const size_t outWidth = static_cast<size_t>(size.x);
    const size_t outHeight = static_cast<size_t>(size.y);
    wxImage result(size, false);
    std::vector<size_t> columnStart(outWidth + 1);
    for (size_t x = 0; x <= outWidth; ++x) {
        columnStart[x] = x * width / outWidth;
    }
    std::vector<unsigned long long> sums(3 * outWidth);
    const unsigned char* source = image.GetData();
    unsigned char* target = result.GetData();
    for (size_t y = 0; y < outHeight; ++y) {
        const size_t top = y * height / outHeight;
        const size_t bottom = (y + 1) * height / outHeight;
        std::fill(sums.begin(), sums.end(), 0);
        for (size_t row = top; row < bottom; ++row) {
            const unsigned char* pixel = source + row * width * 3;
            for (size_t x = 0; x < outWidth; ++x) {
                unsigned red = 0;
                unsigned green = 0;
                unsigned blue = 0;
                for (const unsigned char* end = source + (row * width + columnStart[x + 1]) * 3;
                     pixel < end; pixel += 3) {
                    red += pixel[0];
                    green += pixel[1];
                    blue += pixel[2];
                }
                sums[3 * x] += red;
                sums[3 * x + 1] += green;
                sums[3 * x + 2] += blue;
            }
        }
        for (size_t x = 0; x < outWidth; ++x) {
            const unsigned long long count = (bottom - top) * (columnStart[x + 1] - columnStart[x]);
            for (size_t c = 0; c < 3; ++c) {
                *target++ = static_cast<unsigned char>((sums[3 * x + c] + count / 2) / count);
            }
        }
    }
    return result;
}
} // namespace

wxImage ShrinkToFit(const wxImage& image, const wxSize& box) {
    if (!image.IsOk()) {
        return wxImage();
    }
    const wxSize size = FitThumbnailSize(image.GetSize(), box);
    if (size == image.GetSize()) {
        return image;
    }
    // A mask colour or alpha must not be mixed into its neighbours; those keep the toolkit's
    // sampling.
    if (image.HasMask() || image.HasAlpha()) {
        return image.Scale(size.x, size.y, wxIMAGE_QUALITY_NORMAL);
    }
    return AverageDown(image, size);
}
