// The undoable changes of the animation, for the toolkit's command processor. Frames taken
// out by a command stay with it by reference, so undoing brings back the very same frames and
// costs no copies of their pictures.
#pragma once

#include "edit/edit_target.h"
#include "edit/frame_order.h"
#include "edit/repeated_frames.h"

#include <wx/cmdproc.h>

#include <memory>
#include <vector>

// What an edit was; the window names it in the Undo and Redo labels.
enum class EditKind {
    AddImage,
    InsertImage,
    Drop,
    Delete,
    ClearAll,
    Move,
    MoveLeft,
    MoveRight,
    Reverse,
    Delay,
    FrameDelay,
    Width,
    Height,
    Crop,
    RotateRight,
    RotateLeft,
    Rotate180,
    FlipHorizontal,
    FlipVertical,
    Duplicate,
    PingPong,
    Speed,
    RemoveDuplicates,
    ExportOptions,
    BestColours,
    OptimiseFileSize,
    LoopCount,
};

class AnimationEdit : public wxCommand {
public:
    AnimationEdit(EditTarget& target, EditKind kind);
    // An edit already carried out, with the settings before and after it.
    AnimationEdit(EditTarget& target, EditKind kind, const AnimationSettings& before,
                  const AnimationSettings& after);

    bool Do() override;
    bool Undo() override;

    EditKind Kind() const { return m_kind; }
    // What the pictures of the frames the edit holds take, compressed.
    virtual size_t HeldBytes() const { return 0; }

protected:
    // The change of the frame list and its reversal; false when the list no longer fits.
    virtual bool Forward() = 0;
    virtual bool Backward() = 0;
    // Whether the edit leaves the delay and output size as they were.
    virtual bool KeepsSettings() const { return false; }
    // Whether the frame list changes at all.
    virtual bool ChangesFrames() const { return true; }

    EditTarget& m_target;
    AnimationSettings m_after;

private:
    EditKind m_kind;
    AnimationSettings m_before;
    bool m_settingsKnown = false;
};

// Frames that entered the animation as one run starting at `first`.
class InsertedFrames : public AnimationEdit {
public:
    InsertedFrames(EditTarget& target, EditKind kind, int first, int count,
                   const AnimationSettings& before, const AnimationSettings& after);

    size_t HeldBytes() const override;

protected:
    bool Forward() override;
    bool Backward() override;

private:
    int m_first;
    int m_count;
    std::vector<AnimationFrame> m_held;
};

// Frames taken out of the animation at the given positions.
class RemovedFrames : public AnimationEdit {
public:
    RemovedFrames(EditTarget& target, EditKind kind, std::vector<int> positions);

    size_t HeldBytes() const override;

protected:
    bool Forward() override;
    bool Backward() override;
    const std::vector<int>& Positions() const { return m_positions; }

private:
    std::vector<int> m_positions; // ascending
    std::vector<AnimationFrame> m_held;
};

// The frames put into a new order.
class ReorderedFrames : public AnimationEdit {
public:
    ReorderedFrames(EditTarget& target, EditKind kind, FrameOrder order);

protected:
    bool Forward() override;
    bool Backward() override;
    bool KeepsSettings() const override { return true; }

private:
    FrameOrder m_order;
};

// A change of the delay control, the output size or the view. The delay control sets every
// frame's delay: `frameDelays` are the frames' delays before it (empty for other settings).
// Further changes of the same setting made right after it join it, so that typing a number is
// undone at once.
class SettingsEdit : public AnimationEdit {
public:
    SettingsEdit(EditTarget& target, EditKind kind, const AnimationSettings& before,
                 const AnimationSettings& after, std::vector<int> frameDelays = {});

    void Extend(const AnimationSettings& after) { m_after = after; }

protected:
    bool Forward() override;
    bool Backward() override;
    bool ChangesFrames() const override { return false; }

private:
    std::vector<int> m_frameDelays;
};

// The delay of the frames at `positions` set to one value, or each to its own.
class FrameDelaysEdit : public AnimationEdit {
public:
    FrameDelaysEdit(EditTarget& target, std::vector<int> positions, int delay);
    FrameDelaysEdit(EditTarget& target, EditKind kind, std::vector<int> positions,
                    std::vector<int> delays);

protected:
    bool Forward() override;
    bool Backward() override;
    bool KeepsSettings() const override { return true; }
    bool ChangesFrames() const override { return false; }

private:
    std::vector<int> m_positions;
    std::vector<int> m_delays;
    std::vector<int> m_before;
};

// The export choices changed at once: by the options dialog, a check item or the loop count.
class ChoicesEdit : public AnimationEdit {
public:
    ChoicesEdit(EditTarget& target, EditKind kind, const ExportChoices& before,
                const ExportChoices& after);

protected:
    bool Forward() override;
    bool Backward() override;
    bool KeepsSettings() const override { return true; }
    bool ChangesFrames() const override { return false; }

private:
    ExportChoices m_choicesBefore;
    ExportChoices m_choicesAfter;
};

// Runs of repeated frames merged: each run's first frame stays, shown for the run's delay, and
// the frames after it in the run go.
class MergedFrames : public RemovedFrames {
public:
    MergedFrames(EditTarget& target, const std::vector<FrameRun>& runs);
    // How many frames go.
    int Removed() const { return static_cast<int>(Positions().size()); }

protected:
    bool Forward() override;
    bool Backward() override;
    bool KeepsSettings() const override { return true; }

private:
    std::vector<int> m_kept, m_delays, m_before; // first frames, their new and old delays
};

// The toolkit's history, also bounded by the memory its edits hold: beyond `budget` bytes the
// oldest steps are dropped, never the last one done.
class EditHistory : public wxCommandProcessor {
public:
    EditHistory(int maxCommands, size_t budget)
        : wxCommandProcessor(maxCommands), m_budget(budget) {}

    bool Submit(wxCommand* command, bool storeIt = true) override;
    void Store(wxCommand* command) override;
    size_t HeldBytes() const;

private:
    void Trim();

    size_t m_budget;
};
