// The options of reelmont-export, one row each: the command line is read with getopt_long from
// this table, and --help is written from it. A new option is one more row (see option_table.cpp).
#pragma once

#include "cli/export_arguments.h"

#include <wx/string.h>

#include <vector>

// Whether an option takes a value; the same numbers as getopt_long's has_arg.
enum class OptionValue {
    None = 0,
    Required = 1,
    // Only attached: "--name=VALUE"; "--name" alone gives an empty value.
    Optional = 2,
};

// What an option does to the arguments read so far. `value` is the option's value (empty
// without one); `name` is the option as the user wrote it ("-d" or "--delay"), for messages.
// False when the value is wrong, with `error` saying why.
using OptionHandler = bool (*)(const wxString& value, const wxString& name, ExportArguments* parsed,
                               wxString* error);

struct OptionRow {
    // Without the leading "--".
    const char* longName;
    // 0 for an option that has only its long name.
    char shortName;
    OptionValue value;
    // The value as --help and the manual name it ("DELAY"); empty without a value.
    wxString valueName;
    // The option's lines in --help, translated; "\n" separates them.
    wxString help;
    OptionHandler apply;
};

// Every option, in the order --help lists them. Built on each call, so that the help texts are
// in the language of the moment.
std::vector<OptionRow> ExportOptionRows();

// Readers for option values, with the message the command line shows for a wrong one.
// A whole number of decimal digits from `least` to `most`.
bool ReadWholeNumber(const wxString& value, const wxString& name, int least, int most, int* number,
                     wxString* error);

// Handlers for the plainest options: one that sets a flag, one that keeps its value as given.
template <bool ExportArguments::*flag>
bool SetFlag(const wxString&, const wxString&, ExportArguments* parsed, wxString*) {
    parsed->*flag = true;
    return true;
}
template <wxString ExportArguments::*text>
bool SetText(const wxString& value, const wxString&, ExportArguments* parsed, wxString*) {
    parsed->*text = value;
    return true;
}
