#include "edit/delay_pacing.h"

#include <cmath>

namespace {

// Hundredths elapsed at `seconds`; the small allowance keeps exact multiples (0.3 s at 10 fps
// is 0.30000000000000004 or 0.29999999999999999) on their own hundredth.
long long Hundredths(double seconds) {
    return static_cast<long long>(std::floor(seconds * 100.0 + 1e-6));
}

} // namespace

std::vector<int> PaceDelays(const std::vector<double>& ends, int minimum) {
    std::vector<int> delays;
    delays.reserve(ends.size());
    long long shown = 0; // hundredths the delays so far add up to
    for (double end : ends) {
        long long delay = Hundredths(end) - shown;
        if (delay < minimum)
            delay = minimum;
        delays.push_back(static_cast<int>(delay));
        shown += delay;
    }
    return delays;
}

std::vector<int> DelaysForRate(std::size_t count, double fps) {
    std::vector<double> ends(count);
    for (std::size_t i = 0; i < count; ++i)
        ends[i] = static_cast<double>(i + 1) / fps;
    return PaceDelays(ends);
}

std::vector<int> ScaleDelays(const std::vector<int>& delays, double percent, int minimum) {
    std::vector<double> ends(delays.size());
    long long total = 0;
    for (std::size_t i = 0; i < delays.size(); ++i) {
        total += delays[i];
        ends[i] = static_cast<double>(total) / percent; // hundredths * 100 / percent / 100
    }
    std::vector<int> scaled = PaceDelays(ends, minimum);
    for (int& delay : scaled) {
        delay = delay > kLongestDelay ? kLongestDelay : delay;
    }
    return scaled;
}
