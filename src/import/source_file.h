// What may be wrong with a file the program is asked to read, found by its type before it is
// opened: a named pipe or a terminal would block the reader for ever, a device may never end.
// The window's import and the command-line exporter both ask here, so they name a fault alike.
#pragma once

#include <wx/string.h>

enum class SourceFault {
    None,
    Missing,    // no file at the path
    Folder,     // the path names a folder
    NotRegular, // a named pipe, a device or a socket
    Unreadable, // the system refused it; the error number says why
    TooLarge,   // a picture with more pixels than the program takes
    NoMemory,   // its frames would pass the memory budget
    Damaged,    // cut short or corrupt; what could be read of it was delivered
    NoPicture,  // readable, but not a picture the program knows
    NoVideo,    // a container of sound or text only: no picture in it
};

struct SourceProblem {
    SourceFault fault = SourceFault::None;
    // The system's error number for Unreadable.
    int error = 0;
    // The picture's size for TooLarge.
    unsigned long long width = 0;
    unsigned long long height = 0;
    // For a Damaged video, the seconds from its start where reading stopped; -1 for others.
    double stoppedAt = -1;

    explicit operator bool() const { return fault != SourceFault::None; }
};

// The fault of the file at `path` (a plain path, no frame reference) found without opening
// it: missing, a folder, not a regular file or not readable; no fault for a readable file.
SourceProblem CheckSourceFile(const wxString& path);

// What the problem means, for a message after the file's name: "no such file", "it is a
// folder", ...
wxString DescribeSourceProblem(const SourceProblem& problem);
