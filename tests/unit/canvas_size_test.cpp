#include "app/canvas_size.h"

#include <gtest/gtest.h>

TEST(CanvasSize, LastFrameWiderOrTallerWinsAsAWhole) {
    EXPECT_EQ(CanvasOfFrames({{100, 50}, {60, 80}}).width, 60);
    EXPECT_EQ(CanvasOfFrames({{100, 50}, {60, 80}}).height, 80);
    EXPECT_EQ(CanvasOfFrames({{60, 80}, {100, 50}}).width, 100);
    EXPECT_EQ(CanvasOfFrames({{60, 80}, {100, 50}}).height, 50);
    EXPECT_EQ(CanvasOfFrames({{400, 300}, {400, 300}, {20, 10}}).width, 400);
    EXPECT_EQ(CanvasOfFrames({}).width, 0);
}

TEST(CanvasSize, ProportionsUseTruncatingIntegerArithmetic) {
    const FrameSize canvas{400, 300};
    EXPECT_EQ(HeightForWidth(200, canvas), 150);
    EXPECT_EQ(WidthForHeight(100, canvas), 133);
    EXPECT_EQ(HeightForWidth(1, canvas), 0);
    EXPECT_EQ(WidthForHeight(299, {3, 7}), 128);
}
