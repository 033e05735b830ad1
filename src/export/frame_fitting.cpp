#include "export/frame_fitting.h"

#include "export/black_backdrop.h"
#include "export/new_image.h"

#include <algorithm>

namespace {

wxImage CentreOnBlack(const wxImage& frame, int canvasWidth, int canvasHeight, bool keepClear) {
    wxImage canvas = NewImage(canvasWidth, canvasHeight, true);
    const int x = (canvasWidth - frame.GetWidth()) / 2;
    const int y = (canvasHeight - frame.GetHeight()) / 2;
    if (keepClear && (frame.HasAlpha() || frame.HasMask())) {
        canvas.InitAlpha();
        PasteKeepingClear(frame, canvas, x, y);
    } else {
        PasteOverBlack(frame, canvas, x, y);
    }
    return canvas;
}

} // namespace

wxImage PrepareFrame(const wxImage& frame, int canvasWidth, int canvasHeight, FitPath* path,
                     bool keepClear) {
    if (!frame.IsOk() || canvasWidth <= 0 || canvasHeight <= 0) {
        return wxImage();
    }
    const int width = frame.GetWidth();
    const int height = frame.GetHeight();
    const double scaleX = static_cast<double>(canvasWidth) / width;
    const double scaleY = static_cast<double>(canvasHeight) / height;
    if (scaleX >= 1 && scaleY >= 1) {
        if (path) {
            *path = FitPath::Centred;
        }
        return CentreOnBlack(frame, canvasWidth, canvasHeight, keepClear);
    }

    // A very thin frame would shrink to no pixels at all; it keeps one row or column.
    const double scale = std::min(scaleX, scaleY);
    const int scaledWidth = std::max(1, static_cast<int>(width * scale));
    const int scaledHeight = std::max(1, static_cast<int>(height * scale));
    wxImage scaled = frame.Scale(scaledWidth, scaledHeight, wxIMAGE_QUALITY_NORMAL);
    if (scaledWidth < canvasWidth || scaledHeight < canvasHeight) {
        if (path) {
            *path = FitPath::ShrunkAndCentred;
        }
        return CentreOnBlack(scaled, canvasWidth, canvasHeight, keepClear);
    }
    if (path) {
        *path = FitPath::Shrunk;
    }
    return OpaqueOverBlack(scaled, keepClear);
}
