// Small stand-ins for the few operating-system services the program needs: the user's
// documents folder, folder creation, text-to-number conversion, the running program's path,
// showing a folder in the desktop's file manager and huge memory pages.
#pragma once

#include <wx/string.h>

#include <cstddef>

// Reads an int the way the classic C runtime's wide-text conversion does: leading blanks and
// one optional sign, then decimal digits up to the first other character; 0 when there are no
// digits. Values beyond the int range saturate.
int StringToInt(const wxString& text);

// Creates one folder level; an existing folder or any failure is silently accepted.
void MakeFolder(const wxString& path);

// The user's documents folder (the XDG documents folder), or an empty string when the desktop
// cannot name one.
wxString GetDocumentsFolder();

// The resolved path of the running executable, so that a start through a symlink or PATH still
// finds the installation beside it.
wxString GetProgramPath();

// Opens a folder in the desktop's default file manager; failures are not reported.
void ExploreFolder(const wxString& path);

// Writes one fixed trace line to standard output.
void TraceLine(const wxString& text);

// Asks for the whole 2 MiB pages within `bytes` from `data` to be huge pages, where the system
// gives them on request: a list of a million entries filled into fresh memory otherwise takes a
// page fault every 4 KiB. Nothing happens where it does not.
void PreferHugePages(void* data, size_t bytes);
