// The canvas rules shared by the window and the command-line exporter.
#pragma once

#include <vector>

// The largest width or height a GIF file can hold (its header stores 16-bit sides).
constexpr int kLargestSide = 65535;

struct FrameSize {
    int width = 0;
    int height = 0;
};

// The canvas taken from the frames, in frame order: the pair is replaced as a whole whenever a
// frame is wider or taller than the pair so far, so 100x50 then 60x80 gives 60x80. A canvas
// larger than a GIF can hold is shrunk to fit, keeping its proportions. 0 x 0 without frames.
FrameSize CanvasOfFrames(const std::vector<FrameSize>& frames);

// The output size when one side is typed in: the other side follows the canvas proportions.
// When it would exceed kLargestSide, both sides shrink to fit; no side is below 1. The
// canvas needs both sides above 0.
FrameSize SizeForWidth(int width, const FrameSize& canvas);
FrameSize SizeForHeight(int height, const FrameSize& canvas);
