// Who the program is: the names and version shown in captions, the title and the update check.
#pragma once

#include <wx/string.h>

wxString GetVendorName();
// The display name; stored with "+" between its words, returned with blanks.
wxString GetProductName();
wxString GetProductVersion();
