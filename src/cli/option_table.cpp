#include "cli/option_table.h"

#include "export/size_fitting.h"
#include "video/video_time.h"

#include <wx/intl.h>

namespace {
bool ReadTime(const wxString& value, const wxString& name, double* seconds, wxString* error) {
    if (!ParseVideoTime(value, seconds)) {
        *error =
            wxString::Format(_("%s needs a time such as 2.5 or 1:02.5, not \"%s\""), name, value);
        return false;
    }
    return true;
}
} // namespace

// To add an option: give it a row below (its names as reserved for it, its value, its help
// lines and a handler that stores it in ExportArguments), list it in the manual page
// (install/man/reelmont-export.1.scd, which a test compares with --help), and translate its
// texts in every catalog.
std::vector<OptionRow> ExportOptionRows() {
    return {
        {"delay", 'd', OptionValue::Required, "DELAY",
         _("delay of every frame in hundredths of a second, 1 to 65535\n"
           "(default: the project's delay, else 10)"),
         [](const wxString& value, const wxString& name, ExportArguments* parsed, wxString* error) {
             return ReadWholeNumber(value, name, 1, kLargestExportNumber, &parsed->delay, error);
         }},
        {"width", 'W', OptionValue::Required, "WIDTH",
         _("width of the GIF; alone, the height keeps the proportions"),
         [](const wxString& value, const wxString& name, ExportArguments* parsed, wxString* error) {
             return ReadWholeNumber(value, name, 1, kLargestExportNumber, &parsed->width, error);
         }},
        {"height", 'H', OptionValue::Required, "HEIGHT",
         _("height of the GIF; alone, the width keeps the proportions\n"
           "(default: the size of the frames, as the main window takes it)"),
         [](const wxString& value, const wxString& name, ExportArguments* parsed, wxString* error) {
             return ReadWholeNumber(value, name, 1, kLargestExportNumber, &parsed->height, error);
         }},
        {"fps", 0, OptionValue::Required, "N",
         _("frames a second instead of -d: delays in whole hundredths that keep\n"
           "the pace without drift (12 gives 8, 8, 9, 8, 8, 9, ...), above 0 up to 100"),
         [](const wxString& value, const wxString& name, ExportArguments* parsed, wxString* error) {
             double fps = 0;
             if (!value.ToCDouble(&fps) || !(fps > 0 && fps <= 100)) {
                 *error = wxString::Format(
                     _("%s needs a number of frames a second above 0 up to 100, not \"%s\""), name,
                     value);
                 return false;
             }
             parsed->fps = fps;
             return true;
         }},
        {"start", 0, OptionValue::Required, "TIME",
         _("where the part taken from each video INPUT starts: seconds (2.5)\n"
           "or minutes and seconds (1:02.5); default its beginning"),
         [](const wxString& value, const wxString& name, ExportArguments* parsed, wxString* error) {
             return ReadTime(value, name, &parsed->start, error);
         }},
        {"end", 0, OptionValue::Required, "TIME",
         _("where that part ends, not included; default the video's end"),
         [](const wxString& value, const wxString& name, ExportArguments* parsed, wxString* error) {
             return ReadTime(value, name, &parsed->end, error);
         }},
        {"quality", 'q', OptionValue::Required, "standard|best",
         _("colours of each frame: the fast standard palette (default) or the\n"
           "closest colours, dithered (slower)"),
         [](const wxString& value, const wxString& name, ExportArguments* parsed, wxString* error) {
             if (value != "standard" && value != "best") {
                 *error = wxString::Format(_("%s needs \"standard\" or \"best\", not \"%s\""), name,
                                           value);
                 return false;
             }
             parsed->options.palette = value == "best" ? PaletteMode::Best : PaletteMode::Standard;
             return true;
         }},
        {"quality-level", 'Q', OptionValue::Required, "N",
         _("the best colours at quality N, 1 to 100 (default 100): lower\n"
           "numbers write smaller files with fewer colours, less dithering and\n"
           "lossy codes"),
         [](const wxString& value, const wxString& name, ExportArguments* parsed, wxString* error) {
             parsed->options.palette = PaletteMode::Best;
             return ReadWholeNumber(value, name, kLowestQuality, kHighestQuality,
                                    &parsed->options.quality, error);
         }},
        {"colours", 0, OptionValue::Required, "N",
         _("the best colours with at most N colours a frame, 2 to 256\n"
           "(default 256)"),
         [](const wxString& value, const wxString& name, ExportArguments* parsed, wxString* error) {
             parsed->options.palette = PaletteMode::Best;
             return ReadWholeNumber(value, name, kFewestColours, kMostColours,
                                    &parsed->options.colours, error);
         }},
        {"lossy", 0, OptionValue::Required, "N",
         _("let a pixel take a colour at most N off in red, green and blue,\n"
           "1 to 255, where that codes shorter; areas keep their colour"),
         [](const wxString& value, const wxString& name, ExportArguments* parsed, wxString* error) {
             return ReadWholeNumber(value, name, 0, kHighestLossy, &parsed->options.lossy, error);
         }},
        {"max-size", 0, OptionValue::Required, "SIZE",
         _("write the best file of at most SIZE (800K, 2M, 10MB; K and M count\n"
           "in thousands): the quality, lossy level and colours are chosen"),
         [](const wxString& value, const wxString& name, ExportArguments* parsed, wxString* error) {
             if (!ParseByteSize(value, &parsed->options.maxBytes)) {
                 *error = wxString::Format(
                     _("%s needs a size of at least %lld bytes such as 800K or 2M, not \"%s\""),
                     name, kSmallestGifBytes, value);
                 return false;
             }
             return true;
         }},
        {"optimize", 'O', OptionValue::None, "",
         _("store only what changed from frame to frame: a smaller file that\n"
           "shows the same frames"),
         [](const wxString&, const wxString&, ExportArguments* parsed, wxString*) {
             parsed->options.optimize = true;
             return true;
         }},
        {"keep-transparency", 0, OptionValue::None, "",
         _("keep transparent pixels (alpha below half, a GIF's transparent\n"
           "colour) transparent instead of black"),
         [](const wxString&, const wxString&, ExportArguments* parsed, wxString*) {
             parsed->options.keepTransparency = true;
             return true;
         }},
        {"loop", 0, OptionValue::Required, "N",
         _("play the animation N times; 0 (default) loops forever"),
         [](const wxString& value, const wxString& name, ExportArguments* parsed, wxString* error) {
             return ReadWholeNumber(value, name, 0, kLargestExportNumber, &parsed->options.passes,
                                    error);
         }},
        {"crop", 0, OptionValue::Required, "WxH+X+Y",
         _("keep only W x H pixels of every picture, from X, Y on (taken\n"
           "before the turn and the flip)"),
         [](const wxString& value, const wxString& name, ExportArguments* parsed, wxString* error) {
             if (!ParseCropGeometry(value, &parsed->crop)) {
                 *error = wxString::Format(_("%s needs WIDTHxHEIGHT+X+Y, not \"%s\""), name, value);
                 return false;
             }
             return true;
         }},
        {"rotate", 0, OptionValue::Required, "90|180|270",
         _("turn every frame clockwise by so many degrees"),
         [](const wxString& value, const wxString& name, ExportArguments* parsed, wxString* error) {
             if (value != "90" && value != "180" && value != "270") {
                 *error = wxString::Format(_("%s needs 90, 180 or 270, not \"%s\""), name, value);
                 return false;
             }
             parsed->quarterTurns = value == "90" ? 1 : value == "180" ? 2 : 3;
             return true;
         }},
        {"flip", 0, OptionValue::Required, "h|v",
         _("flip every frame after the turn: h left to right, v top to\n"
           "bottom (both may be given)"),
         [](const wxString& value, const wxString& name, ExportArguments* parsed, wxString* error) {
             if (value != "h" && value != "v") {
                 *error = wxString::Format(_("%s needs h or v, not \"%s\""), name, value);
                 return false;
             }
             (value == "h" ? parsed->flipLeftRight : parsed->flipTopBottom) = true;
             return true;
         }},
        {"speed", 0, OptionValue::Required, "PERCENT",
         _("play at 25 to 400 percent of the speed: 200 halves every delay,\n"
           "50 doubles it (in whole hundredths adding up, at least 2)"),
         [](const wxString& value, const wxString& name, ExportArguments* parsed, wxString* error) {
             return ReadWholeNumber(value, name, 25, 400, &parsed->speed, error);
         }},
        {"pingpong", 0, OptionValue::None, "",
         _("play forward, then back: the frames again in reverse order,\n"
           "without showing the last and the first twice"),
         [](const wxString&, const wxString&, ExportArguments* parsed, wxString*) {
             parsed->pingPong = true;
             return true;
         }},
        {"drop-duplicates", 0, OptionValue::Optional, "TOLERANCE",
         _("merge each run of repeated frames into its first, shown as long\n"
           "as the whole run; TOLERANCE (0 to 100, default 0) is how far in\n"
           "percent a colour may differ"),
         [](const wxString& value, const wxString& name, ExportArguments* parsed, wxString* error) {
             if (value.empty()) {
                 parsed->duplicateTolerance = 0;
                 return true;
             }
             return ReadWholeNumber(value, name, 0, 100, &parsed->duplicateTolerance, error);
         }},
        {"output", 'o', OptionValue::Required, "OUT.gif",
         _("the file to write; it is replaced only once the GIF is complete;\n"
           "\"-\" writes to standard output"),
         SetText<&ExportArguments::output>},
        {"files-from", 0, OptionValue::Required, "FILE",
         _("also take the INPUTs FILE names, one a line (\"-\": standard input)"),
         SetText<&ExportArguments::filesFrom>},
        {"keep-going", 0, OptionValue::None, "",
         _("write the frames read before the damage of a damaged input, instead\n"
           "of ending without writing"),
         [](const wxString&, const wxString&, ExportArguments* parsed, wxString*) {
             parsed->keepGoing = true;
             return true;
         }},
        {"quiet", 0, OptionValue::None, "",
         _("print only errors: no progress, no notes on skipped or damaged\n"
           "inputs, no summary"),
         SetFlag<&ExportArguments::quiet>},
        {"help", 'h', OptionValue::None, "", _("show this text"), SetFlag<&ExportArguments::help>},
        {"version", 0, OptionValue::None, "", _("show the version"),
         SetFlag<&ExportArguments::version>},
    };
}

bool ReadWholeNumber(const wxString& value, const wxString& name, int least, int most, int* number,
                     wxString* error) {
    long read = 0;
    bool digits = !value.empty() && value.length() <= 9;
    for (wxUniChar c : value) {
        digits = digits && c >= '0' && c <= '9';
        read = digits ? read * 10 + (c - '0') : read;
    }
    if (!digits || read < least || read > most) {
        *error = wxString::Format(_("%s needs a whole number from %d to %d, not \"%s\""), name,
                                  least, most, value);
        return false;
    }
    *number = static_cast<int>(read);
    return true;
}
