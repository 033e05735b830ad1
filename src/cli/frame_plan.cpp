#include "cli/frame_plan.h"

#include "edit/delay_pacing.h"
#include "edit/frame_order.h"
#include "image/picture_likeness.h"
#include "image/view_transform.h"

#include <wx/mstream.h>

#include <algorithm>

std::vector<FrameRun> FindRepeatedFrames(const std::vector<wxString>& sources,
                                         const std::vector<int>& delays, const wxRect& crop,
                                         int tolerance) {
    FrameStream stream(sources);
    const ViewTransform cropOnly{crop, Orientation()};
    // The first frame of the run being compared against, and the frame read last, which starts
    // the next run when it differs.
    int heldFirst = 0;
    wxImage held = ApplyTransform(stream.Next(), cropOnly);
    wxImage previous = held;
    return RepeatedFrameRuns(delays, [&](int first, int) {
        if (first != heldFirst) {
            held = previous;
            heldFirst = first;
        }
        const wxImage current = ApplyTransform(stream.Next(), cropOnly);
        const bool alike = PicturesAlike(held, current, tolerance);
        previous = current;
        return alike;
    });
}

FramePlan PlanFrames(const std::vector<int>& delays, const std::vector<FrameRun>& runs, int speed,
                     bool pingPong) {
    FramePlan plan;
    if (runs.empty()) {
        plan.delays = delays;
        for (int i = 0; i < int(delays.size()); ++i) {
            plan.frames.push_back(i);
        }
    }
    for (const FrameRun& run : runs) {
        plan.frames.push_back(run.first);
        plan.delays.push_back(run.delay);
    }
    if (speed != 100) {
        plan.delays = ScaleDelays(plan.delays, speed);
    }
    if (pingPong) {
        FramePlan there = plan;
        plan = FramePlan();
        for (int place : PingPong(int(there.frames.size()))) {
            plan.frames.push_back(there.frames[place]);
            plan.delays.push_back(there.delays[place]);
        }
    }
    return plan;
}

PlannedFrames::PlannedFrames(std::vector<wxString> sources, std::vector<int> frames,
                             PictureParts parts, std::vector<int> counts)
    : m_stream(std::move(sources), parts, std::move(counts)), m_frames(std::move(frames)) {
    for (int place = 0; place < int(m_frames.size()); ++place) {
        const int frame = m_frames[place];
        m_inOrder = m_inOrder && frame == place;
        if (frame >= int(m_lastUse.size())) {
            m_lastUse.resize(frame + 1, -1);
        }
        m_lastUse[frame] = place;
    }
}

wxImage PlannedFrames::Next(wxRect* part) {
    if (m_place >= int(m_frames.size())) {
        return wxImage();
    }
    const int place = m_place++;
    const int wanted = m_frames[place];
    if (wanted < m_streamed) {
        return Kept(wanted);
    }
    wxImage picture;
    while (m_streamed <= wanted) {
        picture = m_stream.Next(part);
        const int frame = m_streamed++;
        if (frame < int(m_lastUse.size()) && m_lastUse[frame] > place) {
            Keep(frame, picture);
        }
    }
    return picture;
}

void PlannedFrames::SkipTo(int place) {
    if (!m_inOrder) {
        while (m_place < place) {
            Next();
        }
        return;
    }
    if (place > m_place) {
        m_stream.SkipTo(static_cast<size_t>(place));
        m_place = m_streamed = place;
    }
}

void PlannedFrames::Keep(int frame, const wxImage& picture) {
    // The fastest compression: the frames are read back within the same export.
    wxImage copy = picture;
    copy.SetOption(wxIMAGE_OPTION_PNG_COMPRESSION_LEVEL, 1);
    wxMemoryOutputStream out;
    if (copy.IsOk() && copy.SaveFile(out, wxBITMAP_TYPE_PNG)) {
        std::string bytes(out.GetLength(), '\0');
        out.CopyTo(&bytes[0], bytes.size());
        m_kept[frame] = std::move(bytes);
    }
}

wxImage PlannedFrames::Kept(int frame) {
    const auto kept = m_kept.find(frame);
    if (kept == m_kept.end()) {
        return wxImage();
    }
    wxMemoryInputStream in(kept->second.data(), kept->second.size());
    wxImage picture(in, wxBITMAP_TYPE_PNG);
    if (m_lastUse[frame] < m_place) {
        m_kept.erase(kept);
    }
    return picture;
}
