// Delays in whole hundredths that add up to the intended time, for frame rates, time stamps
// and speed changes.
#include "edit/delay_pacing.h"

#include <gtest/gtest.h>

#include <numeric>

TEST(DelayPacing, DelaysAddUpWithoutDrift) {
    const struct {
        std::vector<int> delays, expected;
    } cases[] = {
        {DelaysForRate(6, 30), {3, 3, 4, 3, 3, 4}},
        {DelaysForRate(4, 10), {10, 10, 10, 10}},
        {DelaysForRate(3, 50), {2, 2, 2}},
        {DelaysForRate(3, 12), {8, 8, 9}},
        {PaceDelays({0.1, 0.1, 0.35}), {10, 1, 24}}, // a repeated time stamp keeps a minimum
        {PaceDelays({0.5, 0.6, 2.6}), {50, 10, 200}},
        {ScaleDelays({10, 10, 10}, 200), {5, 5, 5}},
        {ScaleDelays({3, 3, 4}, 200), {2, 2, 2}}, // the minimum of 2 wins
        {ScaleDelays({3, 3, 3, 3}, 150), {2, 2, 2, 2}},
        {ScaleDelays({5, 5, 5, 5}, 150), {3, 3, 4, 3}},
        {ScaleDelays({10, 30, 200}, 50), {20, 60, 400}},
        {ScaleDelays({7, 7, 7}, 300), {2, 2, 3}},
        {ScaleDelays({30000, 30000}, 25), {65535, 65535}}, // what a GIF frame holds
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.delays, c.expected) << &c - cases;

    const auto tenSeconds = DelaysForRate(300, 30);
    EXPECT_EQ(std::accumulate(tenSeconds.begin(), tenSeconds.end(), 0), 1000);
}
