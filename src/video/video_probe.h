// What a video file holds, found without decoding it: whether it has a video stream, its
// length, the size of its pictures as they are shown and its frame rate.
#pragma once

#include <wx/gdicmn.h>
#include <wx/string.h>

// GIF delays are whole hundredths: above 50 frames a second, frames would get 1 and 2
// hundredths in turn, which browsers slow down.
constexpr double kFastestVideoRate = 50;

struct VideoProbe {
    // False when the file cannot be read as a video; `error` (translated) names it and says why.
    bool readable = false;
    // True when the file is a container the libraries read but holds no video (sound only).
    bool noVideo = false;
    wxString error;
    // Seconds; 0 when the file does not say.
    double duration = 0;
    // The pictures' size as a player shows them: stretched to the display aspect and upright.
    wxSize size;
    // Degrees the recorded frames are turned clockwise to stand upright (phones record sideways).
    int rotation = 0;
    // The video's own frames a second; 0 when the file does not say.
    double frameRate = 0;
};

VideoProbe ProbeVideo(const wxString& path);

// The rate frames are taken at when none is chosen: the video's own, at most kFastestVideoRate.
double DefaultVideoRate(const VideoProbe& probe);
