// Writing a project file: the frame sources in strip order, the canvas size, the delay and the
// name of the GIF last written, as the project reader reads them back.
#pragma once

#include "document/export_choices.h"
#include "image/view_transform.h"
#include "import/project_reader.h"

#include <wx/arrstr.h>
#include <wx/string.h>

#include <atomic>
#include <vector>

struct ProjectContents {
    wxString name; // the GIF last written, without folder; may be empty
    int width = 0;
    int height = 0;
    int delay = 0;
    wxArrayString frames; // each frame's source: an image file or a GIF frame reference
    // Each frame's own delay, in the order of `frames`; written as the "delay" attribute of its
    // "path" where it differs from `delay`. May be empty: every frame takes `delay`.
    std::vector<int> frameDelays;
    // Written as attributes of "animation" after "images", with the view where it changes the
    // frames: the preview's passes and the export choices.
    ViewTransform view;
    ExportChoices choices;
    // Sources the opened project listed that were found nowhere, written back at their places
    // (`before` counts frames), so that restoring the files restores the frames.
    std::vector<MissingSource> missing;
    // In a recovery project only: the project file the unsaved work belongs to ("project" of
    // "animation"), so that restoring it gives back that project unsaved.
    wxString projectPath;
};

// Writes the project as XML with a 2-space indent: one "path" per frame, and after the last
// frame of each run taken from one GIF file that file's own path, which readers skip. Each
// "path" carries the source's location relative to the project file in "relative"; a name
// XML cannot carry is stored escaped ("escaped"), and the file is refused unless the reader
// would take it back. Goes
// through a file that replaces `path` only once complete, so a failed save
// leaves an older file as it was. False with `error` naming the file and the cause. With
// `percent`, tells there how far the work is, 0 to 100, for a thread showing it.
bool WriteProjectFile(const wxString& path, const ProjectContents& contents, wxString* error,
                      std::atomic<int>* percent = nullptr);
