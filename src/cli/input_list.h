// --files-from: the INPUTs named in a list, one path a line, as `ls` or `find` print them.
#pragma once

#include <wx/string.h>

#include <cstdio>
#include <vector>

// Appends the paths the list at `listPath` names ("-": read from `in`), one a line, in order;
// empty lines are passed over and a line may end in "\r\n". False when the list cannot be
// read, with `error` naming it and the cause.
bool ReadInputList(const wxString& listPath, std::FILE* in, std::vector<wxString>* inputs,
                   wxString* error);
