// Runs of repeated frames, as Remove Duplicate Frames merges them: each run is shown as its
// first frame for as long as all of its frames were, so the animation keeps its timing.
#pragma once

#include "edit/delay_pacing.h"

#include <functional>
#include <vector>

struct FrameRun {
    int first = 0; // the frame kept
    int count = 1; // it and the frames after it that repeat it
    int delay = 0; // the sum of their delays
    bool operator==(const FrameRun& other) const {
        return first == other.first && count == other.count && delay == other.delay;
    }
};

// The frames of `delays` in runs: a frame joins the run before it when `alike(first, frame)`
// says it repeats the run's first frame (compared with that one, so slow changes never add up
// within a run), unless the run's delay would exceed `longest`, the most a GIF frame can hold.
// `alike` is asked about every frame after the first, in order, so it may read the frames as a
// stream.
std::vector<FrameRun> RepeatedFrameRuns(const std::vector<int>& delays,
                                        const std::function<bool(int first, int frame)>& alike,
                                        int longest = kLongestDelay);
