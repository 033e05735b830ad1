#include "app/canvas_size.h"

FrameSize CanvasOfFrames(const std::vector<FrameSize>& frames) {
    FrameSize canvas;
    for (const FrameSize& frame : frames) {
        if (canvas.width < frame.width || canvas.height < frame.height) {
            canvas = frame;
        }
    }
    return canvas;
}

int HeightForWidth(int width, const FrameSize& canvas) {
    return width * canvas.height / canvas.width;
}

int WidthForHeight(int height, const FrameSize& canvas) {
    return static_cast<int>(double(height * canvas.width) / canvas.height);
}
