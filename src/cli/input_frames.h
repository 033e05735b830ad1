// The frames that reelmont-export writes, from its inputs as the import takes them: surveyed
// first for their number and sizes, without keeping any picture, and decoded again one after
// the other during the export (FrameStream).
#pragma once

#include "app/canvas_size.h"
#include "export/export_options.h"
#include "image/view_transform.h"
#include "import/project_reader.h"
#include "import/source_file.h"

#include <wx/string.h>

#include <string>
#include <vector>

struct InputFrames {
    // The sources that give pictures, in order.
    std::vector<wxString> sources;
    // How many pictures each of them gives.
    std::vector<int> counts;
    // The size of every frame the sources give, in order.
    std::vector<FrameSize> sizes;
    // Every frame's own delay in hundredths of a second (a GIF or video frame's), or -1 for a
    // still picture, which takes the delay the command line or project gives.
    std::vector<int> delays;
    // The project's delay in hundredths of a second, brought into the delay control's range;
    // 0 when the input was no project or its delay could not be read.
    int projectDelay = 0;
    // The project's canvas size, written unless the command line asks for another; 0 x 0 when
    // the input was no project or a side is not above 0.
    FrameSize projectSize;
    // The project's view of its frames: crop, turn, flip.
    ViewTransform projectView;
    // The project's export choices, the defaults where it says nothing of them or the input
    // was no project.
    ExportOptions projectOptions;
    // Why sources were left out or only partly read, one message each: missing sources of a
    // project (the window skips them too) and, with --keep-going, damaged ones.
    std::vector<wxString> skipped;
    // Sources of a project found neither where it says nor beside the project file, as the
    // project lists them (UTF-8 bytes: a project may list a million of them); the window keeps
    // them in the project and leaves them out of the GIF.
    std::vector<MissingSource> missing;
};

// Surveys image files (every frame of a GIF file) or, when the one input ends with ".xml" (in
// any case), the sources a project file lists. False when an input is missing, not a regular file,
// too large, gives no frame or is damaged (unless `keepGoing`: then the frames read before the
// damage are taken), with `error` naming it and why. Without `keepGoing`, damage inside a still
// picture whose header and end are sound is found only as the export decodes it.
bool ReadInputFrames(const std::vector<wxString>& inputs, bool keepGoing, InputFrames* read,
                     wxString* error);

// "cannot read "PATH": why", as the exporter says it.
wxString CannotRead(const wxString& path, const SourceProblem& problem);
