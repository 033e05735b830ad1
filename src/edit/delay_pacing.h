// Whole-hundredth GIF delays for frames meant to end at given times, without drift: each delay
// is the end rounded down minus the start rounded down, so the delays always add up to the
// last end time (to within one hundredth), however many frames there are.
#pragma once

#include <cstddef>
#include <vector>

// The most hundredths a GIF frame's delay can hold.
constexpr int kLongestDelay = 65535;

// Delays for frames ending at `ends` (seconds from the first frame's start, ascending). A
// delay below `minimum` is raised to it and the frames after it give the time back, so the
// total drifts only where every frame is already at the minimum.
std::vector<int> PaceDelays(const std::vector<double>& ends, int minimum = 1);

// `count` frames shown at `fps` frames a second: 30 gives 3, 3, 4, 3, 3, 4, ...
std::vector<int> DelaysForRate(std::size_t count, double fps);

// The same frames played at `percent` of their speed (200: twice as fast), each delay at
// least `minimum` and at most kLongestDelay; the total follows the new speed without drift.
std::vector<int> ScaleDelays(const std::vector<int>& delays, double percent, int minimum = 2);
