// Every web page the main window opens goes through this one seam, so that tests can see what
// would be opened without starting a browser.
#pragma once

#include <wx/string.h>

#include <functional>

using BrowserSeam = std::function<void(const wxString& address)>;

// Opens the address in the desktop's default browser. A browser that cannot be started is not
// reported, and an empty address (no options file) opens nothing.
void OpenInDesktopBrowser(const wxString& address);
