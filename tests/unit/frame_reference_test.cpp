#include "import/frame_reference.h"

#include <gtest/gtest.h>

TEST(FrameReference, OnlyAGifNameWithTrailingDigitsIsAReference) {
    const std::pair<const char*, int> references[] = {{"D:/a/walk.gif_0", 0},
                                                      {"D:/a/walk.gif_1234", 1234},
                                                      {"D:/a/walk.gif_99999", 99999},
                                                      {"D:/old.gif_files/b.gif_4", 4}};
    for (const auto& [path, frame] : references) {
        EXPECT_EQ(ParseFrameIndex(path), frame) << path;
        EXPECT_EQ(StripFrameSuffix(path), wxString(path).BeforeLast('_')) << path;
        EXPECT_FALSE(IsGifSource(path) || IsGifSourceUtf8(path)) << path;
        EXPECT_EQ(StripFrameSuffixUtf8(path), wxString(path).BeforeLast('_').utf8_string());
        EXPECT_EQ(FrameSourceName(StripFrameSuffix(path), frame), path);
    }
    // "old.gif_files" is a folder whose name only looks like a reference; only the lower-case
    // extension makes a GIF source.
    const std::string source = "D:/a/walk.gif";
    for (const char* path : {"D:/old.gif_files/a.png", "D:/old.gif_files/7", "D:/x.GIF_3",
                             "D:/x.gif_", "D:/x.gif_12a", "D:/x.png_3", ".gif_3", "D:/xgif_3", "",
                             "D:/a/walk.GIF", "D:/a/walk.gifs", source.c_str()}) {
        EXPECT_EQ(ParseFrameIndex(path), -1) << path;
        EXPECT_EQ(StripFrameSuffix(path), path) << path;
        EXPECT_EQ(StripFrameSuffixUtf8(path), path) << path;
        EXPECT_EQ(IsGifSource(path), path == source) << path;
        EXPECT_EQ(IsGifSourceUtf8(path), path == source) << path;
        EXPECT_EQ(FrameSourceName(path, 3), wxString(path == source ? source + "_3" : path))
            << path;
    }
}
