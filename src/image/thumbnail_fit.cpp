#include "image/thumbnail_fit.h"

#include <algorithm>

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

wxImage ShrinkToFit(const wxImage& image, const wxSize& box) {
    if (!image.IsOk()) {
        return wxImage();
    }
    const wxSize size = FitThumbnailSize(image.GetSize(), box);
    if (size == image.GetSize()) {
        return image;
    }
    return image.Scale(size.x, size.y, wxIMAGE_QUALITY_NORMAL);
}
