// What the edit commands change: the animation's frames in their order, the selection, the
// delay, the output size and the view of the frames (crop, turn, flip). The main window provides
// it; tests provide a plain list.
#pragma once

#include "image/view_transform.h"

#include <vector>

class wxObject;

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
    // Takes the frame at n out of the animation and hands it to the caller; null for a bad n.
    virtual wxObject* TakeFrame(int n) = 0;
    // Puts a frame taken out earlier back before position n.
    virtual void PutFrame(wxObject* frame, int n) = 0;
    // New position i receives the frame at old position order[i]; the selection moves along.
    virtual void Reorder(const std::vector<int>& order) = 0;
    virtual void SetSelection(const std::vector<int>& indices) = 0;

    virtual AnimationSettings Settings() const = 0;
    virtual void ApplySettings(const AnimationSettings& settings) = 0;
    // Brings what depends on the frames (canvas size, enabled commands) up to date.
    virtual void FramesChanged() = 0;
};
