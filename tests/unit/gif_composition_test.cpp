// GIF frames composed as a browser shows them: placement, transparency, each disposal method,
// frame references and damaged files.
#include "import/image_source.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <wx/filefn.h>

#include <algorithm>

namespace {
using testgif::Patch;
const testgif::Rgb kRed{200, 0, 0};
const testgif::Rgb kGreen{0, 180, 0};
const testgif::Rgb kBlue{0, 0, 220};
const testgif::Rgb kWhite{255, 255, 255};
enum : unsigned char { kRedIndex, kGreenIndex, kBlueIndex, kWhiteIndex };

struct GifComposition : ::testing::Test {
    TempFolder folder;

    // A 4 x 4 screen whose first frame paints all of it red, followed by the given frames.
    wxString WriteOnRed(const std::vector<testgif::Frame>& later) {
        std::vector<testgif::Frame> frames = {Patch(0, 0, 4, 4, kRedIndex, testgif::kKeep)};
        frames.insert(frames.end(), later.begin(), later.end());
        return Write({4, 4, {kRed, kGreen, kBlue, kWhite}, frames});
    }
    wxString Write(const testgif::File& file, const wxString& name = "anim.gif") {
        const wxString path = folder.File(name);
        EXPECT_TRUE(testgif::Write(path, file));
        return path;
    }
};

// A frame whose pixel `at` is the transparent index.
testgif::Frame WithHole(testgif::Frame frame, int at) {
    frame.transparentIndex = kWhiteIndex;
    frame.indexes[at] = kWhiteIndex;
    return frame;
}

std::vector<SourcePicture> DecodeAll(const wxString& path, const StopRequest& stop = {}) {
    std::vector<SourcePicture> pictures;
    DecodeImageSource(
        path, [&](SourcePicture picture) { pictures.push_back(std::move(picture)); }, stop);
    return pictures;
}

testgif::Rgb ColourAt(const wxImage& image, int x, int y) {
    return {image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)};
}

// A pixel as a letter: r, g, b, w for opaque colours, '.' for a pixel nothing has been painted
// on, '?' for any other.
char LetterAt(const wxImage& image, int x, int y) {
    const std::pair<testgif::Rgb, char> letters[] = {
        {kRed, 'r'}, {kGreen, 'g'}, {kBlue, 'b'}, {kWhite, 'w'}};
    char letter = image.HasAlpha() && image.GetAlpha(x, y) == 0 ? '.' : '?';
    for (const auto& [colour, name] : letters) {
        letter = letter == '?' && ColourAt(image, x, y) == colour ? name : letter;
    }
    return letter;
}

// The top left pixels of the pictures of a huge screen, as its parts show them: each painted
// over the picture before. Parts after the first picture must lie near there.
std::vector<std::vector<std::string>> ShownByParts(const wxString& path) {
    std::vector<std::vector<std::string>> shown;
    DecodeImageSource(
        path,
        [&](SourcePicture picture) {
            const wxRect part = picture.part.IsEmpty() ? wxRect(0, 0, 4, 4) : picture.part;
            EXPECT_EQ(picture.part.IsEmpty(), shown.empty());
            EXPECT_TRUE(wxRect(0, 0, 8, 8).Contains(part)) << part.x << "," << part.y;
            shown.push_back(shown.empty() ? std::vector<std::string>(4, "????") : shown.back());
            for (int y = part.y; y < part.GetBottom() + 1 && y < 4; ++y) {
                for (int x = part.x; x < part.GetRight() + 1 && x < 4; ++x) {
                    shown.back()[y][x] = LetterAt(*picture.image, x - part.x, y - part.y);
                }
            }
        },
        {}, nullptr, PictureParts::OfHugeScreens);
    return shown;
}

// Checks a picture against rows of letters (LetterAt).
void ExpectPixels(const wxImage& image, const std::vector<std::string>& rows) {
    std::vector<std::string> shown(image.GetHeight());
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            shown[y] += LetterAt(image, x, y);
        }
    }
    EXPECT_EQ(shown, rows);
    // Fully painted pictures carry no alpha channel.
    EXPECT_EQ(image.HasAlpha(), std::any_of(rows.begin(), rows.end(), [](const std::string& row) {
                  return row.find('.') != std::string::npos;
              }));
}
} // namespace

TEST_F(GifComposition, EachDisposalMethodGivesTheFramesABrowserShows) {
    const std::vector<std::string> red = {"rrrr", "rrrr", "rrrr", "rrrr"};
    const testgif::Frame keptRed = Patch(0, 0, 4, 4, kRedIndex, testgif::kKeep);
    // A column of 1 x 4 at x = 1 in a palette of its own, its rows stored in interlaced order
    // (0, 2, 1, 3).
    testgif::Frame interlaced = Patch(1, 0, 1, 4, 0);
    interlaced.indexes = {2, 0, 1, 3};
    interlaced.localPalette = {kWhite, kBlue, kGreen, kRed};
    interlaced.interlaced = true;
    struct Case {
        const char* what;
        std::vector<testgif::Frame> frames;
        std::vector<std::vector<std::string>> pictures;
    };
    const Case cases[] = {
        {"patches at their place through their transparency; keep and unspecified remove nothing",
         {keptRed, WithHole(Patch(1, 2, 3, 2, kGreenIndex, testgif::kKeep), 1),
          Patch(0, 0, 1, 1, kBlueIndex)},
         {red, {"rrrr", "rrrr", "rgrg", "rggg"}, {"brrr", "rrrr", "rgrg", "rggg"}}},
        {"restore to background clears the frame to transparent",
         {keptRed, Patch(1, 1, 2, 2, kBlueIndex, testgif::kToBackground),
          Patch(3, 3, 1, 1, kGreenIndex)},
         {red, {"rrrr", "rbbr", "rbbr", "rrrr"}, {"rrrr", "r..r", "r..r", "rrrg"}}},
        {"restore to previous brings back what was under the frame",
         {keptRed, Patch(0, 0, 2, 2, kGreenIndex, testgif::kKeep),
          Patch(1, 1, 2, 2, kBlueIndex, testgif::kToPrevious),
          Patch(3, 0, 1, 1, kWhiteIndex, testgif::kToPrevious), Patch(3, 3, 1, 1, kWhiteIndex)},
         {red,
          {"ggrr", "ggrr", "rrrr", "rrrr"},
          {"ggrr", "gbbr", "rbbr", "rrrr"},
          {"ggrw", "ggrr", "rrrr", "rrrr"},
          {"ggrr", "ggrr", "rrrr", "rrrw"}}},
        {"restore to previous after the first frame: the screen is empty again",
         {Patch(0, 0, 4, 4, kRedIndex, testgif::kToPrevious), Patch(1, 1, 1, 1, kBlueIndex)},
         {red, {"....", ".b..", "....", "...."}}},
        {"a first frame with a hole, not covering the screen: unpainted pixels stay transparent",
         {WithHole(Patch(0, 0, 3, 3, kBlueIndex, testgif::kToBackground), 4),
          Patch(2, 2, 2, 2, kGreenIndex)},
         {{"bbb.", "b.b.", "bbb.", "...."}, {"....", "....", "..gg", "..gg"}}},
        {"frames reaching past the screen are cut, and so is what they restore",
         {keptRed, Patch(2, 3, 3, 2, kBlueIndex, testgif::kToPrevious),
          Patch(0, 0, 1, 1, kGreenIndex)},
         {red, {"rrrr", "rrrr", "rrrr", "rrbb"}, {"grrr", "rrrr", "rrrr", "rrrr"}}},
        {"a frame's own palette and interlaced rows",
         {keptRed, interlaced},
         {red, {"rgrr", "rbrr", "rwrr", "rrrr"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<SourcePicture> pictures =
            DecodeAll(Write({4, 4, {kRed, kGreen, kBlue, kWhite}, c.frames}));
        ASSERT_EQ(pictures.size(), c.pictures.size());
        for (size_t p = 0; p < pictures.size(); ++p) {
            SCOPED_TRACE(p);
            ExpectPixels(*pictures[p].image, c.pictures[p]);
            EXPECT_EQ(pictures[p].frameIndex, static_cast<int>(p));
            EXPECT_EQ(pictures[p].isLast, p + 1 == pictures.size());
        }
        // The same frames at the top left of a screen so large that later frames come as what
        // they change.
        testgif::File huge{4096, 4096, {kRed, kGreen, kBlue, kWhite}, c.frames};
        EXPECT_EQ(ShownByParts(Write(huge, "huge.gif")), c.pictures);
    }
}

TEST_F(GifComposition, FrameReferenceStopAndDamageGiveTheFramesUpToThem) {
    const wxString path =
        WriteOnRed({Patch(0, 0, 2, 2, kGreenIndex, testgif::kKeep), Patch(2, 2, 2, 2, kBlueIndex)});
    const std::vector<SourcePicture> pictures = DecodeAll(path + "_2");
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].frameIndex, 2);
    EXPECT_EQ(pictures[0].sourcePath, path);
    EXPECT_TRUE(pictures[0].isLast);
    ExpectPixels(*pictures[0].image, {"ggrr", "ggrr", "rrbb", "rrbb"});

    EXPECT_TRUE(DecodeAll(path + "_3").empty());

    // A stop request ends before the next frame.
    int asked = 0;
    EXPECT_EQ(DecodeAll(path, [&] { return ++asked > 2; }).size(), 2u);

    // A damaged file gives the frames before the damage.
    const wxString damaged =
        WriteOnRed({Patch(0, 0, 2, 2, kBlueIndex), Patch(0, 0, 4, 4, kGreenIndex)});
    const std::string bytes = ReadBytes(damaged);
    WriteBytes(damaged, bytes.substr(0, bytes.size() - 12));
    const std::vector<SourcePicture> cut = DecodeAll(damaged);
    ASSERT_EQ(cut.size(), 2u);
    ExpectPixels(*cut[1].image, {"bbrr", "bbrr", "rrrr", "rrrr"});

    // A survey, which composes nothing, counts the pictures decoding gives.
    for (const wxString& source : {path, path + "_2", path + "_3", damaged}) {
        const SourceSurvey survey = SurveyImageSource(source);
        EXPECT_EQ(survey.pictures, static_cast<int>(DecodeAll(source).size())) << source;
        EXPECT_EQ(survey.size, survey.pictures ? wxSize(4, 4) : wxSize()) << source;
    }
}

TEST_F(GifComposition, OtherFilesGiveOnePictureAndBadFilesNone) {
    EXPECT_EQ(SurveyImageSource(WritePng(folder.File("still.png"), 5, 3)).size, wxSize(5, 3));

    // A screen far too large to hold is refused, not allocated.
    testgif::File huge{65535, 65535, {kRed, kGreen}, {Patch(0, 0, 1, 1, kRedIndex)}};
    EXPECT_TRUE(DecodeAll(Write(huge, "huge.gif")).empty());
    EXPECT_EQ(SurveyImageSource(folder.File("huge.gif")).pictures, 0);

    // A file that names no screen is shown as its first frame, wherever that frame sits.
    testgif::File unnamed{0, 0, {kRed, kGreen}, {Patch(65535, 0, 1, 1, kGreenIndex)}};
    std::vector<SourcePicture> pictures = DecodeAll(Write(unnamed, "unnamed.gif"));
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].image->GetSize(), wxSize(1, 1));
    EXPECT_EQ(ColourAt(*pictures[0].image, 0, 0), kGreen);

    EXPECT_TRUE(DecodeAll(WriteBytes(folder.File("broken.gif"), "GIF89a\x04")).empty());
}
