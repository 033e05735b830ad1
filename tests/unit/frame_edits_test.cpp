// New frame orders, and undo and redo of mixed edits on a plain list of frames.
#include "edit/frame_edits.h"

#include <gtest/gtest.h>

#include <memory>

TEST(FrameOrder, MovesAndReversalsOfSingleAndSeveralFrames) {
    enum Op { Gap, Left, Right, Reverse };
    const struct {
        int count;
        std::vector<int> selection;
        Op op;
        int gap;
        FrameOrder expected;
    } cases[] = {
        {5, {0}, Gap, 5, {1, 2, 3, 4, 0}},        // first to the end
        {5, {4}, Gap, 0, {4, 0, 1, 2, 3}},        // last to the start
        {5, {1, 3}, Gap, 0, {1, 3, 0, 2, 4}},     // two apart to the start, in their order
        {5, {3, 1}, Gap, 5, {0, 2, 4, 1, 3}},     // order of selecting does not matter
        {5, {0, 1}, Gap, 3, {2, 0, 1, 3, 4}},     // a run into the middle
        {5, {2}, Gap, 2, {0, 1, 2, 3, 4}},        // its own gap
        {5, {2}, Gap, 3, {0, 1, 2, 3, 4}},        // the gap right after it
        {5, {}, Gap, 1, {0, 1, 2, 3, 4}},         // nothing selected
        {5, {4}, Left, 0, {0, 1, 2, 4, 3}},       // one place left
        {5, {1, 2, 4}, Left, 0, {1, 2, 0, 4, 3}}, // each run past its neighbour
        {5, {0, 2}, Left, 0, {}},                 // already at the start
        {5, {0, 2}, Right, 0, {1, 0, 3, 2, 4}},
        {5, {3, 4}, Right, 0, {}}, // already at the end
        {3, {}, Right, 0, {}},
        {4, {}, Reverse, 0, {3, 2, 1, 0}},           // all frames
        {4, {2}, Reverse, 0, {3, 2, 1, 0}},          // one selected: still all
        {5, {0, 2, 3}, Reverse, 0, {3, 1, 2, 0, 4}}, // only the selected, in their places
    };
    for (const auto& c : cases) {
        FrameOrder order;
        switch (c.op) {
        case Gap:
            order = MoveToGap(c.count, c.selection, c.gap);
            break;
        case Left:
            order = MoveByOne(c.count, c.selection, -1);
            break;
        case Right:
            order = MoveByOne(c.count, c.selection, 1);
            break;
        case Reverse:
            order = Reversed(c.count, c.selection);
            break;
        }
        EXPECT_EQ(order, c.expected) << "op " << c.op << " gap " << c.gap;
        if (!order.empty()) {
            EXPECT_EQ(Inverse(Inverse(order)), order);
            EXPECT_EQ(KeepsEveryFrame(order), order == MoveToGap(c.count, {}, 0));
        }
    }
}

namespace {
// Frames as a plain list of objects; the selection follows reordered frames as in the strip.
struct ListTarget : EditTarget {
    std::vector<std::unique_ptr<wxObject>> frames;
    std::vector<int> selection;
    AnimationSettings settings{10, 40, 30};
    int changes = 0;

    int FrameCount() const override { return int(frames.size()); }
    wxObject* TakeFrame(int n) override {
        wxObject* frame = frames[n].release();
        frames.erase(frames.begin() + n);
        return frame;
    }
    void PutFrame(wxObject* frame, int n) override { frames.emplace(frames.begin() + n, frame); }
    void Reorder(const std::vector<int>& order) override {
        std::vector<std::unique_ptr<wxObject>> moved;
        for (int old : order) {
            moved.push_back(std::move(frames[old]));
        }
        frames = std::move(moved);
        for (int& s : selection) {
            s = int(std::find(order.begin(), order.end(), s) - order.begin());
        }
    }
    void SetSelection(const std::vector<int>& indices) override { selection = indices; }
    AnimationSettings Settings() const override { return settings; }
    void ApplySettings(const AnimationSettings& s) override { settings = s; }
    // The canvas follows the frame count, as a real canvas follows the frames.
    void FramesChanged() override {
        ++changes;
        settings.width = settings.height = FrameCount();
    }

    std::vector<const wxObject*> Order() const {
        std::vector<const wxObject*> order;
        for (const auto& frame : frames) {
            order.push_back(frame.get());
        }
        return order;
    }
};
} // namespace

TEST(FrameEdits, UndoAndRedoOfMixedEditsReturnTheVeryFrames) {
    ListTarget list;
    for (int i = 0; i < 4; ++i) {
        list.frames.emplace_back(new wxObject);
    }
    const auto original = list.Order();
    const AnimationSettings start = list.settings;
    wxCommandProcessor history;

    // Two frames arrived at the end (already there when the edit is kept).
    list.frames.emplace_back(new wxObject);
    list.frames.emplace_back(new wxObject);
    const auto added = list.Order();
    history.Store(new InsertedFrames(list, EditKind::AddImage, 4, 2, start, {10, 6, 6}));
    list.settings = {10, 6, 6};

    list.selection = {0};
    ASSERT_TRUE(history.Submit(new ReorderedFrames(list, EditKind::Move, MoveToGap(6, {0}, 6))));
    EXPECT_EQ(list.selection, std::vector<int>{5});
    EXPECT_EQ(list.settings, (AnimationSettings{10, 6, 6})); // a move keeps the size
    history.Store(new SettingsEdit(list, EditKind::Delay, list.settings, {25, 6, 6}));
    list.settings.delay = 25;
    ASSERT_TRUE(history.Submit(new RemovedFrames(list, EditKind::Delete, {5, 1, 2})));
    ASSERT_EQ(list.FrameCount(), 3);
    EXPECT_EQ(list.settings, (AnimationSettings{25, 3, 3}));
    ASSERT_TRUE(history.Submit(new RemovedFrames(list, EditKind::ClearAll, {0, 1, 2})));
    EXPECT_EQ(list.FrameCount(), 0);
    const auto cleared = list.Order();

    // Undo the delete: the same three objects at their places, selected.
    history.Undo();
    history.Undo();
    EXPECT_EQ(list.selection, (std::vector<int>{1, 2, 5}));
    EXPECT_EQ(list.settings, (AnimationSettings{25, 6, 6}));
    while (history.CanUndo()) {
        history.Undo();
    }
    EXPECT_EQ(list.Order(), original);
    EXPECT_EQ(list.settings, start);

    history.Redo();
    EXPECT_EQ(list.Order(), added);
    while (history.CanRedo()) {
        history.Redo();
    }
    EXPECT_EQ(list.Order(), cleared);
    EXPECT_EQ(list.settings, (AnimationSettings{25, 0, 0}));

    // A list changed behind the history's back is refused rather than broken.
    history.Undo();
    list.frames.clear();
    EXPECT_FALSE(history.Undo());
    EXPECT_EQ(list.FrameCount(), 0);
}
