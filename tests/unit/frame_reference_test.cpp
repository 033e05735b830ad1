#include "import/frame_reference.h"

#include <gtest/gtest.h>

TEST(FrameReference, NumbersOfAnyLengthReadBack) {
    for (int frame : {0, 7, 12, 123, 1234, 99999}) {
        const wxString reference = wxString::Format("D:/a/walk.gif_%d", frame);
        EXPECT_EQ(ParseFrameIndex(reference), frame) << reference;
        EXPECT_EQ(StripFrameSuffix(reference), "D:/a/walk.gif") << reference;
    }
}

TEST(FrameReference, OnlyAGifNameWithTrailingDigitsIsAReference) {
    const char* const plainPaths[] = {
        "D:/old.gif_files/a.png", // a folder name that only looks like one
        "D:/old.gif_files/7",
        "D:/x.GIF_3",
        "D:/x.gif_",
        "D:/x.gif_12a",
        "D:/x.gif",
        "D:/x.png_3",
        ".gif_3",
        "D:/xgif_3",
        "",
    };
    for (const char* path : plainPaths) {
        EXPECT_EQ(ParseFrameIndex(path), -1) << path;
        EXPECT_EQ(StripFrameSuffix(path), path) << path;
    }
    EXPECT_EQ(StripFrameSuffix("D:/old.gif_files/b.gif_4"), "D:/old.gif_files/b.gif");
    EXPECT_EQ(ParseFrameIndex("D:/old.gif_files/b.gif_4"), 4);
}

TEST(FrameReference, OnlyTheLowerCaseExtensionMakesAGifSource) {
    EXPECT_TRUE(IsGifSource("D:/a/walk.gif"));
    EXPECT_FALSE(IsGifSource("D:/a/walk.GIF"));
    EXPECT_FALSE(IsGifSource("D:/a/walk.gif_3"));
    EXPECT_FALSE(IsGifSource("D:/a/walk.gifs"));
}
