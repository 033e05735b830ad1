#include "cli/export_arguments.h"

#include "cli/option_table.h"

#include <wx/intl.h>

#include <getopt.h>

#include <algorithm>
#include <string>

namespace {

// getopt_long gives a long name the row's number from here on, so that "-d" and "--delay"
// are told apart in messages.
const int kLongCode = 256;

// The option as the user wrote it, for a message about it: getopt_long has just moved past
// the argument of a long option, while a short one may sit inside a bundle.
wxString WrittenOption(const std::vector<OptionRow>& rows, char** argv) {
    if (optopt >= kLongCode) {
        return wxString("--") + rows[optopt - kLongCode].longName;
    }
    if (optopt > 0) {
        return wxString::Format("-%c", optopt);
    }
    return wxString(argv[optind - 1], *wxConvFileName).BeforeFirst('=');
}

// The message for an argument getopt_long did not take, `code` being what it returned.
wxString Mistake(const std::vector<OptionRow>& rows, char** argv, int code) {
    const wxString written = WrittenOption(rows, argv);
    if (code == ':') {
        return wxString::Format(_("%s needs a value"), written);
    }
    if (optopt >= kLongCode) {
        return wxString::Format(_("%s takes no value"), written);
    }
    if (optopt == 0) {
        int matches = 0;
        for (const OptionRow& row : rows) {
            matches += wxString("--" + wxString(row.longName)).StartsWith(written);
        }
        if (matches > 1) {
            return wxString::Format(_("%s is short for more than one option"), written);
        }
    }
    return wxString::Format(_("unknown option \"%s\""), written);
}

// What must hold once every option is read.
bool Complete(const ExportArguments& parsed, wxString* error) {
    if (parsed.help || parsed.version) {
        return true;
    }
    if (parsed.output.empty()) {
        *error = _("no output file given (-o OUT.gif)");
        return false;
    }
    if (parsed.inputs.empty() && parsed.filesFrom.empty()) {
        *error = _("no INPUT given");
        return false;
    }
    if (parsed.delay && parsed.fps > 0) {
        *error = _("-d and --fps both set the delay of every frame: give one of them");
        return false;
    }
    if (parsed.start >= 0 && parsed.end >= 0 && parsed.end <= parsed.start) {
        *error = _("--end must come after --start");
        return false;
    }
    if (parsed.filesFrom == "-" && !parsed.inputs.empty() && parsed.inputs[0] == "-") {
        *error = _("standard input can give the INPUT or the list of --files-from, not both");
        return false;
    }
    return CheckInputs(parsed.inputs, error);
}

} // namespace

ViewTransform ExportArguments::View(const ViewTransform& project) const {
    Orientation orientation = Turned(project.orientation, quarterTurns);
    if (flipLeftRight) {
        orientation = Flipped(orientation, false);
    }
    if (flipTopBottom) {
        orientation = Flipped(orientation, true);
    }
    return {crop.IsEmpty() ? project.crop : crop, orientation};
}

bool ExportArguments::Gave(const std::string& longName) const {
    return std::find(given.begin(), given.end(), longName) != given.end();
}

bool ParseExportArguments(const std::vector<wxString>& arguments, ExportArguments* parsed,
                          wxString* error, const ExportOptions& base) {
    *parsed = ExportArguments();
    parsed->options = base;
    const std::vector<OptionRow> rows = ExportOptionRows();
    // "-": every input comes back in its place, whatever POSIXLY_CORRECT says; ":": a missing
    // value is told apart from an unknown option.
    std::string shortNames = "-:";
    std::vector<option> longNames;
    for (size_t i = 0; i < rows.size(); ++i) {
        const OptionRow& row = rows[i];
        if (row.shortName) {
            shortNames += row.shortName;
            shortNames += row.value == OptionValue::Required   ? ":"
                          : row.value == OptionValue::Optional ? "::"
                                                               : "";
        }
        longNames.push_back(
            {row.longName, static_cast<int>(row.value), nullptr, kLongCode + static_cast<int>(i)});
    }
    longNames.push_back({nullptr, 0, nullptr, 0});

    std::vector<std::string> texts = {"reelmont-export"};
    for (const wxString& argument : arguments) {
        texts.push_back(std::string(argument.fn_str()));
    }
    std::vector<char*> argv;
    for (std::string& text : texts) {
        argv.push_back(&text[0]);
    }
    argv.push_back(nullptr);

    // getopt_long keeps its place in globals: 0 starts it afresh, as every call must.
    optind = 0;
    opterr = 0;
    const int argc = static_cast<int>(texts.size());
    int code;
    while ((code = getopt_long(argc, argv.data(), shortNames.c_str(), longNames.data(), nullptr)) !=
           -1) {
        if (code == 1) {
            parsed->inputs.push_back(wxString(optarg, *wxConvFileName));
            continue;
        }
        if (code == '?' || code == ':') {
            *error = Mistake(rows, argv.data(), code);
            return false;
        }
        size_t index = code >= kLongCode ? code - kLongCode : 0;
        while (code < kLongCode && rows[index].shortName != code) {
            ++index;
        }
        const wxString name = code >= kLongCode ? wxString("--") + rows[index].longName
                                                : wxString::Format("-%c", code);
        const wxString value = optarg ? wxString(optarg, *wxConvFileName) : wxString();
        if (!rows[index].apply(value, name, parsed, error)) {
            return false;
        }
        parsed->given.push_back(rows[index].longName);
    }
    for (int i = optind; i < argc; ++i) {
        parsed->inputs.push_back(wxString(argv[i], *wxConvFileName));
    }
    return Complete(*parsed, error);
}

bool CheckInputs(const std::vector<wxString>& inputs, wxString* error) {
    if (inputs.size() < 2) {
        return true;
    }
    for (const wxString& input : inputs) {
        if (input == "-") {
            *error = _("standard input (\"-\") must be the only INPUT");
            return false;
        }
        if (input.Lower().EndsWith(".xml")) {
            *error = wxString::Format(_("the project file \"%s\" must be the only INPUT"), input);
            return false;
        }
    }
    return true;
}

wxString ExportUsage() {
    // The description column, as wide as the longest usual option.
    const size_t column = 26;
    wxString text =
        _("Usage: reelmont-export [OPTION]... -o OUT.gif INPUT...\n"
          "Writes pictures as one animated GIF. INPUT is image files\n"
          "(PNG, JPEG, BMP, GIF; a GIF file gives every frame, \"x.gif_N\" its frame N)\n"
          "or one project file (.xml) whose frames are used. \"-\" as the only INPUT reads\n"
          "one of them from standard input; \"-o -\" writes the GIF to standard output.\n") +
        "\n";
    for (const OptionRow& row : ExportOptionRows()) {
        wxString names = row.shortName ? wxString::Format("  -%c, ", row.shortName) : "      ";
        names += wxString("--") + row.longName;
        if (row.value == OptionValue::Required) {
            names += "=" + row.valueName;
        } else if (row.value == OptionValue::Optional) {
            names += "[=" + row.valueName + "]";
        }
        text += names.length() + 2 <= column ? names + wxString(' ', column - names.length())
                                             : names + "\n" + wxString(' ', column);
        wxString help = row.help;
        help.Replace("\n", "\n" + wxString(' ', column));
        text += help + "\n";
    }
    return text + "\n" +
           _("Short options may be bundled (-Od5); a long option's value follows \"=\" or\n"
             "comes as the next argument; \"--\" ends the options.\n");
}
