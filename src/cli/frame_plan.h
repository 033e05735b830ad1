// The frames reelmont-export writes when frame tools are asked for: the input frames in the
// order and with the delays that merging repeated frames, a new speed and ping-pong give, and
// their pictures taken from the inputs read once from start to end.
#pragma once

#include "cli/frame_stream.h"
#include "edit/repeated_frames.h"

#include <wx/image.h>
#include <wx/string.h>

#include <map>
#include <string>
#include <vector>

// Runs of repeated frames among the pictures of `sources`, compared within `crop` (empty: the
// whole picture), each colour within `tolerance` percent. The sources are read once.
std::vector<FrameRun> FindRepeatedFrames(const std::vector<wxString>& sources,
                                         const std::vector<int>& delays, const wxRect& crop,
                                         int tolerance);

struct FramePlan {
    // Input frame numbers, in the order written; a frame may come more than once.
    std::vector<int> frames;
    std::vector<int> delays;
};

// The input frames with `delays`: each run kept as its first frame for the run's time (no runs:
// every frame), played at `speed` percent, then back when `pingPong`.
FramePlan PlanFrames(const std::vector<int>& delays, const std::vector<FrameRun>& runs, int speed,
                     bool pingPong);

// The pictures of a plan, asked for in its order: the inputs are read once, and a picture that
// comes again later is kept meanwhile, compressed as PNG, so memory stays near a few frames
// for the way back of a ping-pong too.
class PlannedFrames {
public:
    // With PictureParts::OfHugeScreens, for a plan that takes every input frame once in order,
    // GIF frames may come as their changed parts. `counts` as FrameStream takes it.
    PlannedFrames(std::vector<wxString> sources, std::vector<int> frames,
                  PictureParts parts = PictureParts::Whole, std::vector<int> counts = {});

    // The picture of the plan's next frame; `part` (may be null) as FrameStream::Next gives it.
    wxImage Next(wxRect* part = nullptr);
    // The plan's frames before place `place` are not wanted: Next gives that one. A plan that
    // takes every input frame once in order passes over them without decoding still pictures.
    void SkipTo(int place);

    // FrameStream::FailedSource of the inputs.
    wxString FailedSource(SourceProblem* problem) { return m_stream.FailedSource(problem); }

private:
    void Keep(int frame, const wxImage& picture);
    wxImage Kept(int frame);

    FrameStream m_stream;
    std::vector<int> m_frames;
    // The last place of the plan each input frame is written at.
    std::vector<int> m_lastUse;
    bool m_inOrder = true;
    int m_place = 0;
    int m_streamed = 0; // input frames taken from the stream so far
    std::map<int, std::string> m_kept;
};
