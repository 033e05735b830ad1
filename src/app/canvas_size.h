// The canvas rules shared by the window and the command-line exporter.
#pragma once

#include <vector>

struct FrameSize {
    int width = 0;
    int height = 0;
};

// The canvas taken from the frames, in frame order: the pair is replaced as a whole whenever a
// frame is wider or taller than the pair so far, so 100x50 then 60x80 gives 60x80.
FrameSize CanvasOfFrames(const std::vector<FrameSize>& frames);

// The other side of the output size when one side is typed in, keeping the canvas proportions.
// Both need a canvas side above 0.
int HeightForWidth(int width, const FrameSize& canvas);
int WidthForHeight(int height, const FrameSize& canvas);
