// The frames that reelmont-export writes: decoded from its inputs as the import does.
#pragma once

#include "app/canvas_size.h"

#include <wx/image.h>
#include <wx/string.h>

#include <memory>
#include <vector>

struct InputFrames {
    // Every frame in order, full size.
    std::vector<std::unique_ptr<wxImage>> frames;
    // The project's delay in hundredths of a second, brought into the delay control's range;
    // 0 when the input was no project or its delay could not be read.
    int projectDelay = 0;
    // The project's canvas size, written unless the command line asks for another; 0 x 0 when
    // the input was no project or a side is not above 0.
    FrameSize projectSize;
    // Sources of a project that held no picture the program can read; the window skips them too.
    std::vector<wxString> skipped;
};

// Decodes image files (every frame of a GIF file) or, when the one input ends with ".xml", the
// sources a project file lists. False when an input is missing, cannot be read or gives no
// frame, with `error` naming it.
bool ReadInputFrames(const std::vector<wxString>& inputs, InputFrames* read, wxString* error);
