// New frame orders for the reordering commands. An order lists, for each new position, the old
// position of the frame that goes there; the selection is a set of old positions.
#pragma once

#include <vector>

using FrameOrder = std::vector<int>;

// The selected frames, kept in their order, put together into the gap before old position
// `gap` (0 .. count; count is the end).
FrameOrder MoveToGap(int count, const std::vector<int>& selection, int gap);

// Every run of selected frames one place left (step -1) or right (+1), past the frame beside
// it; empty when a selected frame is already at that end.
FrameOrder MoveByOne(int count, const std::vector<int>& selection, int step);

// The selected frames reversed in their own places when two or more are selected, otherwise
// the whole animation reversed.
FrameOrder Reversed(int count, const std::vector<int>& selection);

// The animation played forward and back: the frames followed by the frames between the last and
// the first in reverse, so neither end is shown twice in a row. Frames appear twice here.
FrameOrder PingPong(int count);

// The selected frames followed, after the last of them, by copies of themselves in their order.
// Frames appear twice here.
FrameOrder Duplicated(int count, const std::vector<int>& selection);

// Whether the order leaves every frame where it was.
bool KeepsEveryFrame(const FrameOrder& order);

// The order that puts every frame back.
FrameOrder Inverse(const FrameOrder& order);
