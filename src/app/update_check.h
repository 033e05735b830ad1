// The update check: asks the vendor's update address which version is the latest, on a worker
// thread, and hands the answer to the window as an UPDATE_RESULT_EVENT.
#pragma once

#include <wx/event.h>
#include <wx/string.h>

// Checks the update address of the options file; one that is empty or not an http or https
// address starts nothing and nothing is shown. A check asked for while one runs is dropped.
void CheckForUpdate(wxEvtHandler* window);

// Downloads and reads the update document on a worker thread, then queues the result to the
// window: the latest version, or an empty text when none could be had. False, and nothing
// started, while an earlier check still runs.
bool FetchLatestVersion(const wxString& address, wxEvtHandler* window);

// A window going away ends a check still running for it and waits for its worker, which stops
// at once rather than when the server answers.
void EndUpdateCheck(wxEvtHandler* window);
