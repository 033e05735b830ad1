// The animation document without a display: frame pictures kept compressed and given back
// exactly, the bounded cache of decoded frames, and the edits with their undo and redo.
#include "document/animation.h"
#include "document/decoded_frames.h"
#include "edit/delay_pacing.h"
#include "edit/frame_edits.h"
#include "image/picture_likeness.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

// A picture whose pixels differ everywhere, with alpha or a mask colour when asked.
wxImage Picture(int width, int height, unsigned seed, bool alpha = false, bool mask = false) {
    wxImage picture(width, height, false);
    unsigned char* rgb = picture.GetData();
    for (int p = 0; p < 3 * width * height; ++p) {
        seed = seed * 1103515245u + 12345u;
        rgb[p] = static_cast<unsigned char>(seed >> 16);
    }
    if (alpha) {
        picture.InitAlpha();
        for (int p = 0; p < width * height; ++p) {
            picture.GetAlpha()[p] = static_cast<unsigned char>(p * 7);
        }
    }
    if (mask) {
        picture.SetMaskColour(1, 2, 3);
    }
    return picture;
}

bool SamePicture(const wxImage& a, const wxImage& b) {
    const size_t area = static_cast<size_t>(a.GetWidth()) * a.GetHeight();
    return a.IsOk() && b.IsOk() && a.GetSize() == b.GetSize() && a.HasAlpha() == b.HasAlpha() &&
           a.HasMask() == b.HasMask() &&
           (!a.HasMask() ||
            (a.GetMaskRed() == b.GetMaskRed() && a.GetMaskGreen() == b.GetMaskGreen() &&
             a.GetMaskBlue() == b.GetMaskBlue())) &&
           std::memcmp(a.GetData(), b.GetData(), 3 * area) == 0 &&
           (!a.HasAlpha() || std::memcmp(a.GetAlpha(), b.GetAlpha(), area) == 0);
}

// The document alone as the edits change it.
class DocumentTarget : public EditTarget {
public:
    explicit DocumentTarget(Animation& animation) : m_animation(animation) {}
    int FrameCount() const override { return m_animation.FrameCount(); }
    AnimationFrame TakeFrame(int n) override { return m_animation.Take(n); }
    void PutFrame(AnimationFrame frame, int n) override { m_animation.Insert(n, frame); }
    int FrameDelay(int n) const override { return m_animation.Frame(n).delay; }
    void SetFrameDelay(int n, int delay) override { m_animation.SetDelay(n, delay); }
    void Reorder(const std::vector<int>& order) override { m_animation.Reorder(order); }
    void SetSelection(const std::vector<int>&) override {}
    AnimationSettings Settings() const override { return settings; }
    void ApplySettings(const AnimationSettings& applied) override { settings = applied; }
    void FramesChanged() override {}
    ExportChoices Choices() const override { return choices; }
    void ApplyChoices(const ExportChoices& applied) override { choices = applied; }

    AnimationSettings settings{10, 8, 6, {}};
    ExportChoices choices;

private:
    Animation& m_animation;
};

// Each frame's picture (by identity) and delay, in order.
std::vector<std::pair<const FramePixels*, int>> Contents(const Animation& animation) {
    std::vector<std::pair<const FramePixels*, int>> contents;
    for (const AnimationFrame& frame : animation.Frames()) {
        contents.emplace_back(frame.pixels.get(), frame.delay);
    }
    return contents;
}

} // namespace

TEST(FramePixels, PicturesComeBackExactlyAndScreensShrink) {
    const struct {
        wxImage picture;
    } cases[] = {
        {Picture(37, 11, 1)},
        {Picture(1, 9, 2)}, // one pixel wide: nothing on the left to take differences from
        {Picture(16, 16, 3, true)},
        {Picture(5, 4, 4, false, true)},
        {Picture(300, 200, 5, true, true)}, // larger than zstd's blocks
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.picture.GetWidth());
        const SharedPixels pixels = FramePixels::Compress(c.picture);
        ASSERT_NE(pixels, nullptr);
        EXPECT_EQ(pixels->Width(), c.picture.GetWidth());
        EXPECT_TRUE(SamePicture(pixels->Decode(), c.picture));
    }
    EXPECT_EQ(FramePixels::Compress(wxImage()), nullptr);

    // A flat screen with a little text takes a small share of its size.
    wxImage screen(640, 480, true);
    for (int x = 100; x < 300; ++x) {
        screen.SetRGB(x, 50 + x % 7, 255, 255, 255);
    }
    const SharedPixels small = FramePixels::Compress(screen);
    ASSERT_NE(small, nullptr);
    EXPECT_LT(small->CompressedBytes(), 640u * 480 * 3 / 50);
    EXPECT_TRUE(SamePicture(small->Decode(), screen));
}

TEST(DecodedFrames, KeepsOnlyTheLastFewAndGivesTheKeptPictureAgain) {
    const SharedPixels a = FramePixels::Compress(Picture(8, 8, 1));
    const SharedPixels b = FramePixels::Compress(Picture(8, 8, 2));
    const SharedPixels c = FramePixels::Compress(Picture(8, 8, 3));
    DecodedFrames cache(2);
    const unsigned char* first = cache.Get(a).GetData();
    cache.Get(b);
    EXPECT_EQ(cache.Get(a).GetData(), first) << "kept, not decoded again";
    cache.Get(c); // b was used longest ago and goes
    EXPECT_EQ(cache.Size(), 2u);
    EXPECT_EQ(cache.Get(a).GetData(), first);
    EXPECT_TRUE(SamePicture(cache.Get(b), Picture(8, 8, 2)));
    EXPECT_FALSE(cache.Get(nullptr).IsOk());
}

TEST(AnimationEdits, UndoAndRedoGiveBackTheVeryFramesAndDelays) {
    Animation animation;
    for (int k = 0; k < 5; ++k) {
        animation.Insert(
            k, MakeAnimationFrame(Picture(6, 4, k), wxString::Format("%d.png", k), 10 * (k + 1)));
    }
    EXPECT_EQ(animation.StartTime(3), 10 + 20 + 30);
    DocumentTarget target(animation);
    const auto original = Contents(animation);
    wxCommandProcessor history;

    history.Submit(new RemovedFrames(target, EditKind::Delete, {3, 1}));
    EXPECT_EQ(animation.FrameCount(), 3);
    history.Submit(new ReorderedFrames(target, EditKind::Reverse, {2, 1, 0}));
    history.Submit(new FrameDelaysEdit(target, {0, 2}, 0));
    EXPECT_EQ(animation.Delays(), (std::vector<int>{0, 30, 0}));
    // The delay control: every frame, remembering what each had.
    target.settings.delay = 7;
    history.Submit(new SettingsEdit(target, EditKind::Delay, {10, 8, 6, {}}, {7, 8, 6, {}},
                                    animation.Delays()));
    EXPECT_EQ(animation.Delays(), (std::vector<int>{7, 7, 7}));
    const auto edited = Contents(animation);

    while (history.CanUndo()) {
        history.Undo();
    }
    EXPECT_EQ(Contents(animation), original);
    EXPECT_EQ(target.settings.delay, 10);
    while (history.CanRedo()) {
        history.Redo();
    }
    EXPECT_EQ(Contents(animation), edited);
}

TEST(AnimationEdits, HistoryHoldsFramesByReferenceAndDropsTheOldestBeyondItsBudget) {
    Animation animation;
    for (int k = 0; k < 4; ++k) {
        animation.Insert(k, MakeAnimationFrame(Picture(64, 64, k), "f.png", 10));
    }
    const size_t frameBytes = animation.Frame(0).pixels->CompressedBytes();
    DocumentTarget target(animation);
    // Room for about two frames' pictures.
    EditHistory history(100, 2 * frameBytes + frameBytes / 2);
    history.Submit(new RemovedFrames(target, EditKind::Delete, {0}));
    const auto* edit = dynamic_cast<const AnimationEdit*>(history.GetCurrentCommand());
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->HeldBytes(), frameBytes);
    history.Submit(new RemovedFrames(target, EditKind::Delete, {0}));
    EXPECT_EQ(history.GetCommands().GetCount(), 2u);
    const auto before = Contents(animation);
    history.Submit(new RemovedFrames(target, EditKind::Delete, {0, 1}));
    // Four frames held would pass the budget: the oldest steps went, the last one stays.
    EXPECT_EQ(history.GetCommands().GetCount(), 1u);
    EXPECT_LE(history.HeldBytes(), 2 * frameBytes);
    // What Undo brings back are the very pictures, not copies.
    history.Undo();
    EXPECT_EQ(Contents(animation), before);
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(animation.Frame(0).pixels.use_count(), 1);
}

TEST(AnimationEdits, FrameToolsChangeFramesAndDelaysAndUndoBringsThemBack) {
    // Frames 0 and 1 show the same, as do 2, 3 and 4: pictures of their own, alike in pixels.
    const int looks[] = {1, 1, 2, 2, 2, 3};
    using MakeEdit = std::function<AnimationEdit*(EditTarget&, const Animation&)>;
    const MakeEdit mergeRepeats = [](EditTarget& target, const Animation& animation) {
        return new MergedFrames(
            target, RepeatedFrameRuns(animation.Delays(), [&](int first, int frame) {
                return PicturesAlike(animation.Frame(first).pixels->Decode(),
                                     animation.Frame(frame).pixels->Decode(), 0);
            }));
    };
    const struct {
        const char* name;
        MakeEdit edit;
        std::vector<int> frames; // which of the original frames remain, in order
        std::vector<int> delays;
    } cases[] = {
        {"repeats merged", mergeRepeats, {0, 2, 5}, {30, 120, 60}},
        {"twice as fast",
         [](EditTarget& target, const Animation& animation) {
             return new FrameDelaysEdit(target, EditKind::Speed, {0, 1, 2, 3, 4, 5},
                                        ScaleDelays(animation.Delays(), 200));
         },
         {0, 1, 2, 3, 4, 5},
         {5, 10, 15, 20, 25, 30}},
        {"the selected at half speed",
         [](EditTarget& target, const Animation&) {
             return new FrameDelaysEdit(target, EditKind::Speed, {1, 3}, ScaleDelays({20, 40}, 50));
         },
         {0, 1, 2, 3, 4, 5},
         {10, 40, 30, 80, 50, 60}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Animation animation;
        for (int k = 0; k < 6; ++k) {
            animation.Insert(k, MakeAnimationFrame(Picture(6, 4, looks[k]), "f.png", 10 * (k + 1)));
        }
        const auto original = Contents(animation);
        DocumentTarget target(animation);
        wxCommandProcessor history;
        history.Submit(c.edit(target, animation));
        EXPECT_EQ(animation.Delays(), c.delays);
        ASSERT_EQ(animation.FrameCount(), int(c.frames.size()));
        for (size_t n = 0; n < c.frames.size(); ++n) {
            EXPECT_EQ(animation.Frame(n).pixels.get(), original[c.frames[n]].first) << n;
        }
        EXPECT_EQ(target.settings, (AnimationSettings{10, 8, 6, {}}));
        const auto edited = Contents(animation);
        history.Undo();
        EXPECT_EQ(Contents(animation), original);
        history.Redo();
        EXPECT_EQ(Contents(animation), edited);
    }
}
