#include "cli/export_arguments.h"

#include <wx/intl.h>

namespace {

// A number of decimal digits only, from `least` to the largest a GIF holds.
bool ReadNumber(const wxString& text, int* value, int least = 1) {
    if (text.empty() || text.length() > 5) {
        return false;
    }
    long number = 0;
    for (wxUniChar c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        number = number * 10 + (c - '0');
    }
    if (number < least || number > kLargestExportNumber) {
        return false;
    }
    *value = static_cast<int>(number);
    return true;
}

} // namespace

bool ParseExportArguments(const std::vector<wxString>& arguments, ExportArguments* parsed,
                          wxString* error) {
    *parsed = ExportArguments();
    bool optionsEnded = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const wxString& argument = arguments[i];
        if (optionsEnded || !argument.StartsWith("-") || argument == "-") {
            parsed->inputs.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help") {
            parsed->help = true;
            continue;
        }
        if (argument == "--version") {
            parsed->version = true;
            continue;
        }
        if (argument == "-O" || argument == "--optimize") {
            parsed->options.optimize = true;
            continue;
        }
        // A long option's value follows "=" or comes in the next argument.
        const wxString name = argument.BeforeFirst('=');
        const bool longOption = name == "--quality" || name == "--loop";
        const wxString option = longOption ? name : argument.Left(2);
        if (!longOption && option != "-d" && option != "-W" && option != "-H" && option != "-o" &&
            option != "-q") {
            *error = wxString::Format(_("unknown option \"%s\""), argument);
            return false;
        }
        wxString value = longOption ? argument.Mid(name.length() + 1) : argument.Mid(2);
        if (value.empty()) {
            if (i + 1 == arguments.size()) {
                *error = wxString::Format(_("%s needs a value"), option);
                return false;
            }
            value = arguments[++i];
        }
        if (option == "-o") {
            parsed->output = value;
            continue;
        }
        if (option == "-q" || option == "--quality") {
            if (value != "standard" && value != "best") {
                *error = wxString::Format(_("%s needs \"standard\" or \"best\", not \"%s\""),
                                          option, value);
                return false;
            }
            parsed->options.palette = value == "best" ? PaletteMode::Best : PaletteMode::Standard;
            continue;
        }
        if (option == "--loop") {
            if (!ReadNumber(value, &parsed->options.passes, 0)) {
                *error = wxString::Format(_("%s needs a whole number from 0 to %d, not \"%s\""),
                                          option, kLargestExportNumber, value);
                return false;
            }
            continue;
        }
        int* target = option == "-d"   ? &parsed->delay
                      : option == "-W" ? &parsed->width
                                       : &parsed->height;
        if (!ReadNumber(value, target)) {
            *error = wxString::Format(_("%s needs a whole number from 1 to %d, not \"%s\""), option,
                                      kLargestExportNumber, value);
            return false;
        }
    }
    if (parsed->help || parsed->version) {
        return true;
    }
    if (parsed->output.empty()) {
        *error = _("no output file given (-o OUT.gif)");
        return false;
    }
    if (parsed->inputs.empty()) {
        *error = _("no INPUT given");
        return false;
    }
    if (parsed->inputs.size() > 1) {
        for (const wxString& input : parsed->inputs) {
            if (input.Lower().EndsWith(".xml")) {
                *error =
                    wxString::Format(_("the project file \"%s\" must be the only INPUT"), input);
                return false;
            }
        }
    }
    return true;
}

wxString ExportUsage() {
    return _("Usage: reelmont-export [-d DELAY] [-W WIDTH] [-H HEIGHT] [-q standard|best] [-O]\n"
             "                       [--loop N] -o OUT.gif INPUT...\n"
             "Writes pictures as one animated GIF. INPUT is image files\n"
             "(PNG, JPEG, BMP, GIF; a GIF file gives every frame, \"x.gif_N\" its frame N)\n"
             "or one project file (.xml) whose frames are used.\n"
             "\n"
             "  -d DELAY    delay of every frame in hundredths of a second, 1 to 65535\n"
             "              (default: the project's delay, else 10)\n"
             "  -W WIDTH    width of the GIF; alone, the height keeps the proportions\n"
             "  -H HEIGHT   height of the GIF; alone, the width keeps the proportions\n"
             "              (default: the size of the frames, as the main window takes it)\n"
             "  -q, --quality standard|best\n"
             "              colours of each frame: the fast standard palette (default) or the\n"
             "              closest colours, dithered (slower)\n"
             "  -O, --optimize\n"
             "              store only what changed from frame to frame: a smaller file that\n"
             "              shows the same frames\n"
             "  --loop N    play the animation N times; 0 (default) loops forever\n"
             "  -o OUT.gif  the file to write; it is replaced only once the GIF is complete\n"
             "  --help      show this text\n"
             "  --version   show the version\n");
}
