// Names for the frames and parts of videos where lists of sources hold names: the import's
// list, the entries of the strip and project files. One frame is the video's path, "#t=" and
// its time in seconds ("clip.mp4#t=2.1"); a part is "#t=START,END" with "&fps=RATE" when a
// rate is chosen ("clip.mp4#t=2,4&fps=10"). Such a name is no file, so programs that know
// nothing of video pass it by.
#pragma once

#include "video/video_reading.h"

#include <wx/string.h>

wxString VideoFrameName(const wxString& path, double time);
wxString VideoPartName(const wxString& path, const VideoRange& range);

struct VideoName {
    wxString path;
    // True for one frame at `time`; false for the part `range`.
    bool frame = false;
    double time = 0;
    VideoRange range;
};

// Takes a name apart; false when it is neither kind, or when a file of that very name exists.
bool ParseVideoName(const wxString& name, VideoName* parsed);

// Whether the file name ends with an extension that names a video container (".mp4", ".mkv",
// ".webm", ".mov", ".avi" and their kin), in any case.
bool HasVideoExtension(const wxString& path);

// The patterns for a file dialog's filter: "*.mp4;*.mkv;..."
wxString VideoFilePatterns();
