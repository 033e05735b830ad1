// The command line of reelmont-export.
#pragma once

#include "export/export_options.h"

#include <wx/string.h>

#include <vector>

struct ExportArguments {
    bool help = false;
    bool version = false;
    // Damaged inputs give the frames read before the damage instead of ending the export.
    bool keepGoing = false;
    // 0 where the option was not given.
    int delay = 0;
    int width = 0;
    int height = 0;
    wxString output;
    std::vector<wxString> inputs;
    ExportOptions options;
};

// The largest delay, width and height a GIF can hold.
const int kLargestExportNumber = 65535;

// Reads the arguments that follow the program name with getopt_long, as GNU tools do: options
// before, between or after the inputs; short ones bundled ("-Od5"); a value attached, after
// "=" for a long name, or in the next argument; long names shortened while unambiguous; "--"
// ends the options. False on a mistake, with `error` saying which.
bool ParseExportArguments(const std::vector<wxString>& arguments, ExportArguments* parsed,
                          wxString* error);

// The text that --help shows.
wxString ExportUsage();
