#include "gif_test_file.h"
#include "import/image_source.h"

#include <gtest/gtest.h>
#include <wx/ffile.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/gifdecod.h>
#include <wx/wfstream.h>

namespace {
const testgif::Rgb kRed{200, 0, 0};
const testgif::Rgb kGreen{0, 180, 0};
const testgif::Rgb kBlue{0, 0, 220};
const testgif::Rgb kWhite{255, 255, 255};
enum : unsigned char { kRedIndex, kGreenIndex, kBlueIndex, kWhiteIndex };

struct GifComposition : ::testing::Test {
    wxString folder;
    void SetUp() override {
        folder = wxFileName::CreateTempFileName("reelmont");
        wxRemoveFile(folder);
        wxMkdir(folder);
    }
    void TearDown() override { wxFileName::Rmdir(folder, wxPATH_RMDIR_RECURSIVE); }

    // A 4 x 4 screen whose first frame paints all of it red, followed by the given frames.
    wxString WriteOnRed(const std::vector<testgif::Frame>& later,
                        testgif::Disposal first = testgif::kKeep) {
        testgif::File file{4, 4, {kRed, kGreen, kBlue, kWhite}, {}};
        file.frames.push_back(testgif::Patch(0, 0, 4, 4, kRedIndex, first));
        file.frames.insert(file.frames.end(), later.begin(), later.end());
        return Write(file);
    }
    wxString Write(const testgif::File& file, const wxString& name = "anim.gif") {
        const wxString path = folder + "/" + name;
        EXPECT_TRUE(testgif::Write(path, file));
        return path;
    }
};

std::vector<SourcePicture> DecodeAll(const wxString& path, const StopRequest& stop = {}) {
    std::vector<SourcePicture> pictures;
    DecodeImageSource(
        path, [&](SourcePicture picture) { pictures.push_back(std::move(picture)); }, stop);
    return pictures;
}

testgif::Rgb ColourAt(const wxImage& image, int x, int y) {
    return {image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)};
}

bool Clear(const wxImage& image, int x, int y) {
    return image.HasAlpha() && image.GetAlpha(x, y) == 0;
}

// Checks a 4 x 4 picture against rows of letters: r, g, b, w for opaque colours, '.' for
// pixels nothing has been painted on.
void ExpectPixels(const wxImage& image, const std::vector<std::string>& rows) {
    ASSERT_EQ(image.GetWidth(), 4);
    ASSERT_EQ(image.GetHeight(), 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            const char want = rows[y][x];
            SCOPED_TRACE(testing::Message() << "pixel " << x << "," << y);
            if (want == '.') {
                EXPECT_TRUE(Clear(image, x, y));
                continue;
            }
            EXPECT_FALSE(Clear(image, x, y));
            const testgif::Rgb colour = want == 'r'   ? kRed
                                        : want == 'g' ? kGreen
                                        : want == 'b' ? kBlue
                                                      : kWhite;
            EXPECT_EQ(ColourAt(image, x, y), colour);
        }
    }
}
} // namespace

TEST_F(GifComposition, FullScreenFramesGiveTheToolkitDecodersPictures) {
    testgif::File file{3, 2, {kRed, kGreen, kBlue, kWhite}, {}};
    testgif::Frame first = testgif::Patch(0, 0, 3, 2, kRedIndex);
    first.indexes = {0, 1, 2, 3, 2, 1};
    testgif::Frame second = testgif::Patch(0, 0, 3, 2, kWhiteIndex, testgif::kToBackground);
    second.indexes[4] = kGreenIndex;
    file.frames = {first, second};
    const wxString path = Write(file);

    const std::vector<SourcePicture> pictures = DecodeAll(path);
    ASSERT_EQ(pictures.size(), 2u);
    wxFileInputStream stream(path);
    wxGIFDecoder decoder;
    ASSERT_EQ(decoder.LoadGIF(stream), wxGIF_OK);
    for (unsigned int f = 0; f < 2; ++f) {
        wxImage expected;
        ASSERT_TRUE(decoder.ConvertToImage(f, &expected));
        const wxImage& got = *pictures[f].image;
        EXPECT_FALSE(got.HasAlpha());
        ASSERT_EQ(got.GetSize(), expected.GetSize());
        EXPECT_EQ(0, memcmp(got.GetData(), expected.GetData(), 3 * 3 * 2)) << "frame " << f;
        EXPECT_EQ(pictures[f].frameIndex, static_cast<int>(f));
        EXPECT_EQ(pictures[f].sourcePath, path);
        EXPECT_EQ(pictures[f].isLast, f == 1);
    }
}

TEST_F(GifComposition, PatchesAreDrawnAtTheirPlaceThroughTheirTransparency) {
    testgif::Frame patch = testgif::Patch(1, 2, 3, 2, kGreenIndex, testgif::kKeep);
    patch.transparentIndex = kWhiteIndex;
    patch.indexes[1] = kWhiteIndex;
    testgif::Frame corner = testgif::Patch(0, 0, 1, 1, kBlueIndex);
    const std::vector<SourcePicture> pictures = DecodeAll(WriteOnRed({patch, corner}));
    ASSERT_EQ(pictures.size(), 3u);
    ExpectPixels(*pictures[0].image, {"rrrr", "rrrr", "rrrr", "rrrr"});
    ExpectPixels(*pictures[1].image, {"rrrr", "rrrr", "rgrg", "rggg"});
    // Neither keeping nor an unspecified disposal removes anything.
    ExpectPixels(*pictures[2].image, {"brrr", "rrrr", "rgrg", "rggg"});
    EXPECT_FALSE(pictures[2].image->HasAlpha());
}

TEST_F(GifComposition, RestoreToBackgroundClearsTheFrameToTransparent) {
    const std::vector<SourcePicture> pictures =
        DecodeAll(WriteOnRed({testgif::Patch(1, 1, 2, 2, kBlueIndex, testgif::kToBackground),
                              testgif::Patch(3, 3, 1, 1, kGreenIndex)}));
    ASSERT_EQ(pictures.size(), 3u);
    ExpectPixels(*pictures[1].image, {"rrrr", "rbbr", "rbbr", "rrrr"});
    ExpectPixels(*pictures[2].image, {"rrrr", "r..r", "r..r", "rrrg"});
}

TEST_F(GifComposition, RestoreToPreviousBringsBackWhatWasUnderTheFrame) {
    const std::vector<SourcePicture> pictures =
        DecodeAll(WriteOnRed({testgif::Patch(0, 0, 2, 2, kGreenIndex, testgif::kKeep),
                              testgif::Patch(1, 1, 2, 2, kBlueIndex, testgif::kToPrevious),
                              testgif::Patch(3, 0, 1, 1, kWhiteIndex, testgif::kToPrevious),
                              testgif::Patch(3, 3, 1, 1, kWhiteIndex)}));
    ASSERT_EQ(pictures.size(), 5u);
    ExpectPixels(*pictures[2].image, {"ggrr", "gbbr", "rbbr", "rrrr"});
    ExpectPixels(*pictures[3].image, {"ggrw", "ggrr", "rrrr", "rrrr"});
    ExpectPixels(*pictures[4].image, {"ggrr", "ggrr", "rrrr", "rrrw"});

    // Nothing was there before the first frame: the screen is empty again.
    const std::vector<SourcePicture> fromEmpty =
        DecodeAll(WriteOnRed({testgif::Patch(1, 1, 1, 1, kBlueIndex)}, testgif::kToPrevious));
    ASSERT_EQ(fromEmpty.size(), 2u);
    ExpectPixels(*fromEmpty[1].image, {"....", ".b..", "....", "...."});
}

TEST_F(GifComposition, UnpaintedPixelsStayTransparent) {
    // A first frame that covers only part of the screen and has a transparent hole; disposed
    // to the background, so the next frame starts from an empty screen.
    testgif::Frame first = testgif::Patch(0, 0, 3, 3, kBlueIndex, testgif::kToBackground);
    first.transparentIndex = kWhiteIndex;
    first.indexes[4] = kWhiteIndex;
    testgif::File file{4, 4, {kRed, kGreen, kBlue, kWhite}, {first}};
    file.frames.push_back(testgif::Patch(2, 2, 2, 2, kGreenIndex));
    const std::vector<SourcePicture> pictures = DecodeAll(Write(file));
    ASSERT_EQ(pictures.size(), 2u);
    ExpectPixels(*pictures[0].image, {"bbb.", "b.b.", "bbb.", "...."});
    ExpectPixels(*pictures[1].image, {"....", "....", "..gg", "..gg"});
}

TEST_F(GifComposition, FrameReferenceGivesOnlyTheComposedFrame) {
    const wxString path = WriteOnRed({testgif::Patch(0, 0, 2, 2, kGreenIndex, testgif::kKeep),
                                      testgif::Patch(2, 2, 2, 2, kBlueIndex)});
    const std::vector<SourcePicture> pictures = DecodeAll(path + "_2");
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].frameIndex, 2);
    EXPECT_EQ(pictures[0].sourcePath, path);
    EXPECT_TRUE(pictures[0].isLast);
    ExpectPixels(*pictures[0].image, {"ggrr", "ggrr", "rrbb", "rrbb"});

    EXPECT_TRUE(DecodeAll(path + "_3").empty());
    EXPECT_FALSE(DecodeImageSource(path + "_3", [](SourcePicture) {}, {}));
}

TEST_F(GifComposition, FramesReachingPastTheScreenAreCut) {
    const std::vector<SourcePicture> pictures =
        DecodeAll(WriteOnRed({testgif::Patch(2, 3, 3, 2, kBlueIndex)}));
    ASSERT_EQ(pictures.size(), 2u);
    ExpectPixels(*pictures[1].image, {"rrrr", "rrrr", "rrrr", "rrbb"});
}

TEST_F(GifComposition, StopRequestEndsBeforeTheNextFrame) {
    const wxString path = WriteOnRed(
        {testgif::Patch(0, 0, 1, 1, kBlueIndex), testgif::Patch(0, 0, 1, 1, kGreenIndex)});
    int asked = 0;
    const std::vector<SourcePicture> pictures = DecodeAll(path, [&] { return ++asked > 2; });
    EXPECT_EQ(pictures.size(), 2u);
}

TEST_F(GifComposition, OtherFilesGiveOnePictureAndBadFilesNone) {
    wxImage still(5, 3);
    still.SetRGB(wxRect(0, 0, 5, 3), 10, 20, 30);
    const wxString png = folder + "/still.png";
    ASSERT_TRUE(still.SaveFile(png, wxBITMAP_TYPE_PNG));
    std::vector<SourcePicture> pictures = DecodeAll(png);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].image->GetSize(), wxSize(5, 3));
    EXPECT_EQ(pictures[0].frameIndex, 0);
    EXPECT_TRUE(pictures[0].isLast);

    // An upper-case extension is no GIF source: only the first frame, as the handler gives it.
    const wxString upper = WriteOnRed({testgif::Patch(0, 0, 1, 1, kBlueIndex)});
    ASSERT_TRUE(wxRenameFile(upper, folder + "/y.GIF"));
    pictures = DecodeAll(folder + "/y.GIF");
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(ColourAt(*pictures[0].image, 0, 0), kRed);

    // A screen far too large to hold is refused, not allocated.
    testgif::File huge{65535, 65535, {kRed, kGreen}, {testgif::Patch(0, 0, 1, 1, kRedIndex)}};
    EXPECT_TRUE(DecodeAll(Write(huge, "huge.gif")).empty());

    wxFFile(folder + "/broken.gif", "wb").Write("GIF89a\x04", 7);
    wxFFile(folder + "/broken.png", "wb").Write("not a picture", 13);
    EXPECT_TRUE(DecodeAll(folder + "/broken.gif").empty());
    EXPECT_TRUE(DecodeAll(folder + "/broken.png").empty());
    EXPECT_TRUE(DecodeAll(folder + "/missing.png").empty());
}

TEST_F(GifComposition, FilesAsOptimisersWriteThem) {
    // An LZW table that fills up without a clear code, a local palette and interlaced rows.
    testgif::File file{80, 60, {kRed, kGreen, kBlue, kWhite}, {}};
    file.fillTable = true;
    testgif::Frame first = testgif::Patch(0, 0, 80, 60, kRedIndex);
    for (size_t i = 0; i < first.indexes.size(); ++i) {
        first.indexes[i] = static_cast<unsigned char>(i * 7 % 4);
    }
    testgif::Frame second = testgif::Patch(10, 5, 8, 11, 0);
    second.localPalette = {kWhite, kBlue};
    second.interlaced = true;
    for (int row = 0; row < 11; ++row) {
        second.indexes[row * 8] = row % 2;
    }
    file.frames = {first, second};
    const std::vector<SourcePicture> pictures = DecodeAll(Write(file));
    ASSERT_EQ(pictures.size(), 2u);
    const testgif::Rgb palette[] = {kRed, kGreen, kBlue, kWhite};
    for (int i = 0; i < 80 * 60; i += 7) {
        ASSERT_EQ(ColourAt(*pictures[0].image, i % 80, i / 80), palette[i * 7 % 4]) << i;
    }
    for (int row = 0; row < 11; ++row) {
        EXPECT_EQ(ColourAt(*pictures[1].image, 10, 5 + row), row % 2 ? kBlue : kWhite) << row;
        EXPECT_EQ(ColourAt(*pictures[1].image, 11, 5 + row), kWhite) << row;
    }
    EXPECT_EQ(ColourAt(*pictures[1].image, 18, 5), palette[(5 * 80 + 18) * 7 % 4]);
}

TEST_F(GifComposition, DamagedFileGivesTheFramesBeforeTheDamage) {
    const wxString path = WriteOnRed(
        {testgif::Patch(0, 0, 2, 2, kBlueIndex), testgif::Patch(0, 0, 4, 4, kGreenIndex)});
    wxString bytes;
    wxFFile(path, "rb").ReadAll(&bytes, wxConvISO8859_1);
    wxFFile(path, "wb").Write(bytes.Left(bytes.length() - 12), wxConvISO8859_1);
    const std::vector<SourcePicture> pictures = DecodeAll(path);
    ASSERT_EQ(pictures.size(), 2u);
    ExpectPixels(*pictures[1].image, {"bbrr", "bbrr", "rrrr", "rrrr"});
}

namespace {
bool RunTool(const wxString& command) {
    return std::system((command + " >/dev/null 2>&1").utf8_str()) == 0;
}
} // namespace

TEST_F(GifComposition, FilesOptimisersWroteLookAsTheirFullFrames) {
    if (!wxFileExists("/usr/bin/gifsicle") || !wxFileExists("/usr/bin/convert")) {
        GTEST_SKIP() << "gifsicle and ImageMagick are needed (tools/install-deps.sh test)";
    }
    // Full frames of a sprite moving over a textured background.
    constexpr int kW = 48;
    constexpr int kH = 32;
    testgif::File full{kW, kH, {}, {}};
    for (int i = 0; i < 16; ++i) {
        full.palette.push_back({static_cast<unsigned char>(i * 16), 90, 200});
    }
    for (int f = 0; f < 6; ++f) {
        testgif::Frame frame = testgif::Patch(0, 0, kW, kH, 0, testgif::kKeep);
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                const bool sprite = x >= f * 7 && x < f * 7 + 9 && y >= 4 + f * 3 && y < 12 + f * 3;
                frame.indexes[y * kW + x] = sprite ? 15 : (x / 4 + y / 4) % 3;
            }
        }
        full.frames.push_back(frame);
    }
    const wxString fullPath = Write(full, "full.gif");
    const wxString q = "'" + folder;
    ASSERT_TRUE(RunTool("/usr/bin/gifsicle -O2 '" + fullPath + "' -o " + q + "/optimised.gif'"));

    // The optimised file stores patches with transparency; composed, they are the full frames.
    const std::vector<SourcePicture> fullFrames = DecodeAll(fullPath);
    const std::vector<SourcePicture> optimised = DecodeAll(folder + "/optimised.gif");
    ASSERT_EQ(optimised.size(), fullFrames.size());
    for (size_t f = 0; f < optimised.size(); ++f) {
        EXPECT_FALSE(optimised[f].image->HasAlpha()) << "frame " << f;
        EXPECT_EQ(
            0, memcmp(optimised[f].image->GetData(), fullFrames[f].image->GetData(), kW * kH * 3))
            << "frame " << f;
    }

    // The same patches with the other disposal methods, against ImageMagick's composition.
    // Restore-previous starts at frame 1: on the first frame ImageMagick keeps the frame, where
    // browsers (and this program) return to the empty screen.
    for (const char* options : {"'#0' --disposal=previous '#1-'", "--disposal=background"}) {
        SCOPED_TRACE(options);
        const wxString gif = folder + "/disposal.gif";
        const wxString raw = gif + ".rgba";
        ASSERT_TRUE(
            RunTool("/usr/bin/gifsicle " + q + "/optimised.gif' " + options + " -o '" + gif + "'"));
        ASSERT_TRUE(
            RunTool("/usr/bin/convert '" + gif + "' -coalesce -depth 8 'rgba:" + raw + "'"));
        wxFFile file(raw, "rb");
        std::vector<unsigned char> theirs(file.Length());
        ASSERT_EQ(file.Read(theirs.data(), theirs.size()), theirs.size());
        const std::vector<SourcePicture> ours = DecodeAll(gif);
        ASSERT_EQ(ours.size() * kW * kH * 4, theirs.size());
        for (size_t f = 0; f < ours.size(); ++f) {
            const wxImage& image = *ours[f].image;
            for (int i = 0; i < kW * kH; ++i) {
                const unsigned char* pixel = &theirs[(f * kW * kH + i) * 4];
                const int alpha = image.HasAlpha() ? image.GetAlpha()[i] : 255;
                ASSERT_EQ(alpha, pixel[3]) << "frame " << f << " pixel " << i;
                if (alpha != 0) {
                    ASSERT_EQ(0, memcmp(image.GetData() + i * 3, pixel, 3))
                        << "frame " << f << " pixel " << i;
                }
            }
        }
    }
}
