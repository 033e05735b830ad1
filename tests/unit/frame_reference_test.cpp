#include "import/frame_reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

TEST(FrameReference, OnlyAPictureNameWithTrailingDigitsIsAReference) {
    // Any case of ".gif"; other picture names for GIF files named otherwise.
    const std::pair<const char*, int> references[] = {{"D:/a/walk.gif_0", 0},
                                                      {"D:/a/walk.gif_1234", 1234},
                                                      {"D:/a/walk.gif_99999", 99999},
                                                      {"D:/old.gif_files/b.gif_4", 4},
                                                      {"D:/x.GIF_3", 3},
                                                      {"D:/x.Gif_2", 2},
                                                      {"D:/x.png_3", 3},
                                                      {"D:/x.JPEG_1", 1}};
    for (const auto& [path, frame] : references) {
        EXPECT_EQ(ParseFrameIndex(path), frame) << path;
        EXPECT_EQ(StripFrameSuffix(path), wxString(path).BeforeLast('_')) << path;
        EXPECT_FALSE(IsGifSource(path) || IsGifSourceUtf8(path)) << path;
        EXPECT_EQ(StripFrameSuffixUtf8(path), wxString(path).BeforeLast('_').utf8_string());
        EXPECT_EQ(FrameReference(StripFrameSuffix(path), frame), path);
    }
    // "old.gif_files" is a folder whose name only looks like a reference.
    const std::string sources[] = {"D:/a/walk.gif", "D:/a/walk.GIF", "D:/a/walk.gIf"};
    for (const char* path :
         {"D:/old.gif_files/a.png", "D:/old.gif_files/7", "D:/x.gif_", "D:/x.gif_12a", "D:/x.txt_3",
          ".gif_3", "D:/xgif_3", "", "D:/a/walk.gifs", sources[0].c_str(), sources[1].c_str(),
          sources[2].c_str()}) {
        const bool source =
            std::find(std::begin(sources), std::end(sources), path) != std::end(sources);
        EXPECT_EQ(ParseFrameIndex(path), -1) << path;
        EXPECT_EQ(StripFrameSuffix(path), path) << path;
        EXPECT_EQ(StripFrameSuffixUtf8(path), path) << path;
        EXPECT_EQ(IsGifSource(path), source) << path;
        EXPECT_EQ(IsGifSourceUtf8(path), source) << path;
        EXPECT_EQ(IsLowerCaseGifSource(path), path == sources[0]) << path;
        EXPECT_EQ(FrameSourceName(path, 3), source ? wxString(path) + "_3" : wxString(path))
            << path;
    }
}
