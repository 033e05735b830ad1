// File names are bytes, and not every name is valid in the user's encoding: a name such as
// "bad\xFF.png" is read, written and kept as it is. Inside the program such bytes travel as the
// private characters U+100000 + byte (the toolkit's UTF-8 conversion that maps what it cannot
// decode there), and every conversion of a name to bytes gives them back.
#pragma once

#include <wx/string.h>

#include <string>
#include <string_view>

// Makes the toolkit's file-name conversion keep such bytes, where names are UTF-8; to be called
// before any name is converted (the command line included).
void KeepFileNameBytes();

// The name's bytes on disk, and a name from them, whatever the locale.
std::string FileNameBytes(const wxString& name);
wxString FileNameFromBytes(std::string_view bytes);
