#include "edit/repeated_frames.h"

std::vector<FrameRun> RepeatedFrameRuns(const std::vector<int>& delays,
                                        const std::function<bool(int first, int frame)>& alike,
                                        int longest) {
    std::vector<FrameRun> runs;
    for (int frame = 0; frame < int(delays.size()); ++frame) {
        if (!runs.empty()) {
            FrameRun& run = runs.back();
            if (alike(run.first, frame) && run.delay + delays[frame] <= longest) {
                ++run.count;
                run.delay += delays[frame];
                continue;
            }
        }
        runs.push_back({frame, 1, delays[frame]});
    }
    return runs;
}
