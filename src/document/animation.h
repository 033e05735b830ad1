// The animation being authored: its frames in order, each with its own delay, and what makes
// the GIF of them (output size, loop count, export choices). Views (the strip, the preview)
// show it; edits change it; the export reads a copy of it on its own thread, which costs only
// references since frame pictures never change.
#pragma once

#include "app/canvas_size.h"
#include "document/animation_frame.h"
#include "export/export_options.h"
#include "image/view_transform.h"

#include <vector>

class Animation {
public:
    int FrameCount() const { return static_cast<int>(m_frames.size()); }
    const AnimationFrame& Frame(int n) const { return m_frames[n]; }
    const std::vector<AnimationFrame>& Frames() const { return m_frames; }

    // Puts `frame` before position n (0 to FrameCount()).
    void Insert(int n, AnimationFrame frame);
    // Takes frame n out and hands it over.
    AnimationFrame Take(int n);
    void Clear() { m_frames.clear(); }
    // New position i receives the frame at old position order[i].
    void Reorder(const std::vector<int>& order);
    void SetDelay(int n, int delay) { m_frames[n].delay = delay; }
    // Frame n's picture is now found at `source`.
    void SetSource(int n, const wxString& source) { m_frames[n].source = source; }

    // When frame n starts, in hundredths of a second: the sum of the delays before it.
    long long StartTime(int n) const;
    // Every frame's delay, in order.
    std::vector<int> Delays() const;
    // What the frames' pictures take in memory, compressed.
    size_t CompressedBytes() const;

    // The size the GIF is written at.
    FrameSize output;
    // Passes the preview plays: 0 without end (the file's own count is in the options).
    int loopCount = 0;
    ExportOptions options;
    // The crop, turn and flip every frame is shown and written with.
    ViewTransform view;

private:
    std::vector<AnimationFrame> m_frames;
};
