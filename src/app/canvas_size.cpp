#include "app/canvas_size.h"

#include <algorithm>
#include <cstdint>

namespace {
// Products of two sides need 64 bits: 65535 x 40000 does not fit an int.
int Bounded(int64_t side) {
    return static_cast<int>(std::clamp<int64_t>(side, 1, kLargestSide));
}

int64_t HeightFor(int64_t width, const FrameSize& canvas) {
    return width * canvas.height / canvas.width;
}

// The height-to-width rule divides in double precision, as the width rule's twin always did.
int64_t WidthFor(int64_t height, const FrameSize& canvas) {
    return static_cast<int64_t>(static_cast<double>(height * canvas.width) / canvas.height);
}
} // namespace

FrameSize CanvasOfFrames(const std::vector<FrameSize>& frames) {
    FrameSize canvas;
    for (const FrameSize& frame : frames) {
        if (canvas.width < frame.width || canvas.height < frame.height) {
            canvas = frame;
        }
    }
    if (canvas.width <= kLargestSide && canvas.height <= kLargestSide) {
        return canvas;
    }
    return canvas.width >= canvas.height ? SizeForWidth(kLargestSide, canvas)
                                         : SizeForHeight(kLargestSide, canvas);
}

FrameSize SizeForWidth(int width, const FrameSize& canvas) {
    const int w = Bounded(width);
    const int64_t h = HeightFor(w, canvas);
    if (h > kLargestSide) {
        return {Bounded(WidthFor(kLargestSide, canvas)), kLargestSide};
    }
    return {w, Bounded(h)};
}

FrameSize SizeForHeight(int height, const FrameSize& canvas) {
    const int h = Bounded(height);
    const int64_t w = WidthFor(h, canvas);
    if (w > kLargestSide) {
        return {kLargestSide, Bounded(HeightFor(kLargestSide, canvas))};
    }
    return {Bounded(w), h};
}
