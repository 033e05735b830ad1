#include "image/picture_bytes.h"

size_t PictureBytes(const wxImage& image) {
    return image.IsOk() ? static_cast<size_t>(image.GetWidth()) * image.GetHeight() *
                              (image.HasAlpha() ? 4 : 3)
                        : 0;
}
