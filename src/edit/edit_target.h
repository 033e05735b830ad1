// What the edit commands change: the animation's frames in their order with their delays, the
// selection, the delay control's value, the output size, the view of the frames (crop, turn,
// flip) and the export choices. The main window provides it over its document and strip; tests over
// the document alone.
#pragma once

#include "document/animation_frame.h"
#include "document/export_choices.h"
#include "image/view_transform.h"

#include <vector>

struct AnimationSettings {
    int delay = 0;
    int width = 0;
    int height = 0;
    // The crop, turn and flip every frame is shown and written with.
    ViewTransform view;
    bool operator==(const AnimationSettings& other) const {
        return delay == other.delay && width == other.width && height == other.height &&
               view == other.view;
    }
};

class EditTarget {
public:
    virtual ~EditTarget() = default;

    virtual int FrameCount() const = 0;
    // Takes the frame at n out of the animation and hands it to the caller.
    virtual AnimationFrame TakeFrame(int n) = 0;
    // Puts a frame taken out earlier back before position n.
    virtual void PutFrame(AnimationFrame frame, int n) = 0;
    virtual int FrameDelay(int n) const = 0;
    virtual void SetFrameDelay(int n, int delay) = 0;
    // New position i receives the frame at old position order[i]; the selection moves along.
    virtual void Reorder(const std::vector<int>& order) = 0;
    virtual void SetSelection(const std::vector<int>& indices) = 0;

    virtual AnimationSettings Settings() const = 0;
    virtual void ApplySettings(const AnimationSettings& settings) = 0;
    virtual ExportChoices Choices() const = 0;
    virtual void ApplyChoices(const ExportChoices& choices) = 0;
    // Brings what depends on the frames (canvas size, enabled commands) up to date.
    virtual void FramesChanged() = 0;
};
