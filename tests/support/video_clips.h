// Small video clips the tests make with FFmpeg's own encoder: frame k is one flat colour that
// tells its number, with a white square in the top left corner of the recorded picture, so
// that tests see which frame they got and which way up.
#pragma once

#include <wx/image.h>
#include <wx/string.h>

#include <vector>

struct VideoClip {
    int width = 64;
    int height = 48;
    // When each frame is shown, in seconds; the last one lasts as long as the one before it.
    std::vector<double> times;
    // Degrees the player turns the frames clockwise (a display matrix), as phones record.
    int rotation = 0;
    // The width of a pixel relative to its height, as num / den.
    int aspectNum = 1;
    int aspectDen = 1;
};

// `count` frames at `fps`, from time 0.
std::vector<double> SteadyTimes(int count, double fps);

// Writes the clip with the mpeg4 encoder into the container the file name's extension names
// (".mp4", ".mkv"). Returns the path; empty when it could not be written.
wxString WriteVideoClip(const wxString& path, const VideoClip& clip);

// The number of the clip's frame a picture shows (read at its centre); -1 when none.
int ClipFrameNumber(const wxImage& picture);
