// reelmont-export as a function: reads the arguments, decodes the inputs, and writes the GIF
// with the same export as the main window's Save.
#pragma once

#include <wx/string.h>

#include <cstdio>
#include <vector>

// Exit statuses.
enum {
    kExportSucceeded = 0,
    kExportFailed = 1,  // an input, the frames or the target could not be used
    kExportMisused = 2, // the command line is wrong
};

// The streams the command reads and writes, and which of them are terminals.
struct CommandStreams {
    // "-" as an INPUT or a --files-from list.
    std::FILE* in = stdin;
    // The help and version texts, and the GIF for "-o -".
    std::FILE* out = stdout;
    // Messages and progress.
    std::FILE* err = stderr;
    bool inIsTerminal = false;
    bool outIsTerminal = false;
    bool errIsTerminal = false;
};

// Runs the command with the arguments that follow the program name.
int RunExportCommand(const std::vector<wxString>& arguments, const CommandStreams& streams);
