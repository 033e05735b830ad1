// New frame orders for the reordering commands; the window's edit tests undo and redo them.
#include "edit/frame_order.h"

#include <gtest/gtest.h>

TEST(FrameOrder, MovesReversalsAndRepeatsOfSingleAndSeveralFrames) {
    const struct {
        FrameOrder order, expected;
    } cases[] = {
        {MoveToGap(5, {0}, 5), {1, 2, 3, 4, 0}},        // first to the end
        {MoveToGap(5, {4}, 0), {4, 0, 1, 2, 3}},        // last to the start
        {MoveToGap(5, {1, 3}, 0), {1, 3, 0, 2, 4}},     // two apart to the start, in their order
        {MoveToGap(5, {3, 1}, 5), {0, 2, 4, 1, 3}},     // order of selecting does not matter
        {MoveToGap(5, {0, 1}, 3), {2, 0, 1, 3, 4}},     // a run into the middle
        {MoveToGap(5, {2}, 2), {0, 1, 2, 3, 4}},        // its own gap
        {MoveToGap(5, {2}, 3), {0, 1, 2, 3, 4}},        // the gap right after it
        {MoveToGap(5, {}, 1), {0, 1, 2, 3, 4}},         // nothing selected
        {MoveByOne(5, {4}, -1), {0, 1, 2, 4, 3}},       // one place left
        {MoveByOne(5, {1, 2, 4}, -1), {1, 2, 0, 4, 3}}, // each run past its neighbour
        {MoveByOne(5, {0, 2}, -1), {}},                 // already at the start
        {MoveByOne(5, {0, 2}, 1), {1, 0, 3, 2, 4}},
        {MoveByOne(5, {3, 4}, 1), {}}, // already at the end
        {MoveByOne(3, {}, 1), {}},
        {Reversed(4, {}), {3, 2, 1, 0}},           // all frames
        {Reversed(4, {2}), {3, 2, 1, 0}},          // one selected: still all
        {Reversed(5, {0, 2, 3}), {3, 1, 2, 0, 4}}, // only the selected, in their places
        {PingPong(4), {0, 1, 2, 3, 2, 1}},         // the ends are not shown twice
        {PingPong(2), {0, 1}},
        {PingPong(1), {0}},
        {Duplicated(4, {1}), {0, 1, 1, 2, 3}},
        {Duplicated(5, {3, 0, 1}), {0, 1, 2, 3, 0, 1, 3, 4}}, // after the last, in order
        {Duplicated(3, {2}), {0, 1, 2, 2}},
        {Duplicated(3, {}), {0, 1, 2}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.order, c.expected) << &c - cases;
    }
}
