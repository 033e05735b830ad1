// What the user chose about the GIF of an animation beyond its frames and size: the export
// options, the passes the preview plays, and whether the file plays as many. One value, so
// that a change of any of them is one step to undo.
#pragma once

#include "export/export_options.h"

struct ExportChoices {
    // Every option but `passes`, which the two below give.
    ExportOptions options;
    // Passes the preview plays: 0 without end.
    int loopCount = 0;
    // The file plays as many passes; otherwise it loops without end.
    bool loopInFile = false;

    // The options a file is written with.
    ExportOptions FileOptions() const {
        ExportOptions file = options;
        file.passes = loopInFile ? loopCount : 0;
        return file;
    }

    bool operator==(const ExportChoices& other) const {
        return FileOptions() == other.FileOptions() && loopCount == other.loopCount &&
               loopInFile == other.loopInFile;
    }
    bool operator!=(const ExportChoices& other) const { return !(*this == other); }
};
