// The command line of reelmont-export.
#pragma once

#include "export/export_options.h"
#include "image/view_transform.h"

#include <wx/string.h>

#include <string>
#include <vector>

struct ExportArguments {
    bool help = false;
    bool version = false;
    // Only errors are printed.
    bool quiet = false;
    // Damaged inputs give the frames read before the damage instead of ending the export.
    bool keepGoing = false;
    // 0 where the option was not given.
    int delay = 0;
    int width = 0;
    int height = 0;
    // Frames a second; 0 where not given.
    double fps = 0;
    // The part of every video INPUT, in seconds from its start; -1 where not given.
    double start = -1;
    double end = -1;
    // "-" writes the GIF to standard output.
    wxString output;
    // A list of further INPUTs, one a line ("-": standard input); empty where not given.
    wxString filesFrom;
    std::vector<wxString> inputs;
    ExportOptions options;
    // The view of every frame: the crop taken from the pictures, then the turn, then the flips.
    wxRect crop;
    int quarterTurns = 0;
    bool flipLeftRight = false;
    bool flipTopBottom = false;
    // Percent of the frames' own speed.
    int speed = 100;
    bool pingPong = false;
    // Repeated frames are merged when 0 or more: how far a colour may differ, in percent.
    int duplicateTolerance = -1;
    // The long names of the options given.
    std::vector<std::string> given;

    // The view `project` gives, the crop given here in its place, then the turn and flips
    // given here.
    ViewTransform View(const ViewTransform& project = ViewTransform()) const;
    bool ChangesView() const { return View() != ViewTransform(); }
    bool Gave(const std::string& longName) const;
};

// The largest delay, width and height a GIF can hold.
const int kLargestExportNumber = 65535;

// Reads the arguments that follow the program name with getopt_long, as GNU tools do: options
// before, between or after the inputs; short ones bundled ("-Od5"); a value attached, after
// "=" for a long name, or in the next argument; long names shortened while unambiguous; "--"
// ends the options. The options start from `base` (a project's choices), each option given
// changing what it sets. False on a mistake, with `error` saying which.
bool ParseExportArguments(const std::vector<wxString>& arguments, ExportArguments* parsed,
                          wxString* error, const ExportOptions& base = ExportOptions());

// Whether the INPUTs go together: a project file or standard input ("-") only alone. False
// with `error` saying why not.
bool CheckInputs(const std::vector<wxString>& inputs, wxString* error);

// The text that --help shows.
wxString ExportUsage();
