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

// Runs the command with the arguments that follow the program name. The help and version
// texts go to `out`; messages and progress to `err`, progress as a bar when `errIsTerminal`.
int RunExportCommand(const std::vector<wxString>& arguments, std::FILE* out, std::FILE* err,
                     bool errIsTerminal);
