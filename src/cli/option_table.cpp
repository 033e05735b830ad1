#include "cli/option_table.h"

#include <wx/intl.h>

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
        {"optimize", 'O', OptionValue::None, "",
         _("store only what changed from frame to frame: a smaller file that\n"
           "shows the same frames"),
         [](const wxString&, const wxString&, ExportArguments* parsed, wxString*) {
             parsed->options.optimize = true;
             return true;
         }},
        {"loop", 0, OptionValue::Required, "N",
         _("play the animation N times; 0 (default) loops forever"),
         [](const wxString& value, const wxString& name, ExportArguments* parsed, wxString* error) {
             return ReadWholeNumber(value, name, 0, kLargestExportNumber, &parsed->options.passes,
                                    error);
         }},
        {"output", 'o', OptionValue::Required, "OUT.gif",
         _("the file to write; it is replaced only once the GIF is complete"),
         [](const wxString& value, const wxString&, ExportArguments* parsed, wxString*) {
             parsed->output = value;
             return true;
         }},
        {"keep-going", 0, OptionValue::None, "",
         _("write the frames read before the damage of a damaged input, instead\n"
           "of ending without writing"),
         [](const wxString&, const wxString&, ExportArguments* parsed, wxString*) {
             parsed->keepGoing = true;
             return true;
         }},
        {"help", 'h', OptionValue::None, "", _("show this text"),
         [](const wxString&, const wxString&, ExportArguments* parsed, wxString*) {
             parsed->help = true;
             return true;
         }},
        {"version", 0, OptionValue::None, "", _("show the version"),
         [](const wxString&, const wxString&, ExportArguments* parsed, wxString*) {
             parsed->version = true;
             return true;
         }},
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
