// The update check: asks the vendor's update address which version is the latest and hands the
// answer to the main window as an UPDATE_RESULT_EVENT, after the current command has returned.
#pragma once

#include <wx/string.h>

// Checks the update address of the options file; one that is empty or not an http or https
// address starts nothing and nothing is shown.
void CheckForUpdate();

// Downloads and reads the update document, then queues the result to the main window: the
// latest version, or an empty text when none could be had. The window waits meanwhile.
void FetchLatestVersion(const wxString& address);
