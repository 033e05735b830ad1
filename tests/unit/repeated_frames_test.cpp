// Repeated frames merged into runs that keep the animation's time, with pictures compared
// exactly or within a tolerance.
#include "edit/repeated_frames.h"
#include "image/picture_likeness.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

// A grey picture with one pixel of another brightness.
wxImage Grey(int level, int spot = 100) {
    wxImage image(4, 3, false);
    image.SetRGB(wxRect(0, 0, 4, 3), 100, 100, 100);
    image.SetRGB(1, 1, spot, level, spot);
    return image;
}

} // namespace

TEST(RepeatedFrames, RunsKeepTheirFirstFrameAndTheirTime) {
    const wxImage a = Grey(100), b = Grey(0), nearA = Grey(104), farA = Grey(110);
    wxImage translucentA = Grey(100);
    translucentA.InitAlpha();
    translucentA.GetAlpha()[5] = 128;
    const struct {
        std::vector<wxImage> frames;
        std::vector<int> delays;
        int tolerance;
        std::vector<FrameRun> runs;
    } cases[] = {
        {{a, a, a}, {10, 20, 30}, 0, {{0, 3, 60}}},
        {{a, b, b, a, a}, {1, 2, 3, 4, 5}, 0, {{0, 1, 1}, {1, 2, 5}, {3, 2, 9}}},
        {{a, nearA}, {10, 10}, 0, {{0, 1, 10}, {1, 1, 10}}},
        {{a, nearA}, {10, 10}, 2, {{0, 2, 20}}},
        {{a, farA}, {10, 10}, 2, {{0, 1, 10}, {1, 1, 10}}},
        {{a, nearA, Grey(108)}, {10, 10, 10}, 2, {{0, 2, 20}, {2, 1, 10}}}, // no creeping
        {{a, translucentA}, {10, 10}, 0, {{0, 1, 10}, {1, 1, 10}}},
        {{a, translucentA}, {10, 10}, 50, {{0, 2, 20}}},
        {{a, a.Scale(8, 6)}, {10, 10}, 100, {{0, 1, 10}, {1, 1, 10}}},
        // A run stops short of what one GIF frame can hold.
        {{a, a, a}, {40000, 20000, 10000}, 0, {{0, 2, 60000}, {2, 1, 10000}}},
        {{}, {}, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        const auto runs = RepeatedFrameRuns(c.delays, [&](int first, int frame) {
            return PicturesAlike(c.frames[first], c.frames[frame], c.tolerance);
        });
        EXPECT_EQ(runs, c.runs);
        int total = 0;
        for (const FrameRun& run : runs) {
            total += run.delay;
        }
        EXPECT_EQ(total, std::accumulate(c.delays.begin(), c.delays.end(), 0));
    }
}
