#include "cli/export_arguments.h"

#include <wx/intl.h>

namespace {

// A number of decimal digits only, from 1 to the largest a GIF holds.
bool ReadNumber(const wxString& text, int* value) {
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
    if (number < 1 || number > kLargestExportNumber) {
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
        const wxString option = argument.Left(2);
        if (option != "-d" && option != "-W" && option != "-H" && option != "-o") {
            *error = wxString::Format(_("unknown option \"%s\""), argument);
            return false;
        }
        wxString value = argument.Mid(2);
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
            if (input.EndsWith(".xml")) {
                *error =
                    wxString::Format(_("the project file \"%s\" must be the only INPUT"), input);
                return false;
            }
        }
    }
    return true;
}

wxString ExportUsage() {
    return _("Usage: reelmont-export [-d DELAY] [-W WIDTH] [-H HEIGHT] -o OUT.gif INPUT...\n"
             "Writes pictures as one animated GIF that loops forever. INPUT is image files\n"
             "(PNG, JPEG, BMP, GIF; a GIF file gives every frame, \"x.gif_N\" its frame N)\n"
             "or one project file (.xml) whose frames are used.\n"
             "\n"
             "  -d DELAY    delay of every frame in hundredths of a second, 1 to 65535\n"
             "              (default: the project's delay, else 10)\n"
             "  -W WIDTH    width of the GIF; alone, the height keeps the proportions\n"
             "  -H HEIGHT   height of the GIF; alone, the width keeps the proportions\n"
             "              (default: the size of the frames, as the main window takes it)\n"
             "  -o OUT.gif  the file to write; it is replaced only once the GIF is complete\n"
             "  --help      show this text\n"
             "  --version   show the version\n");
}
