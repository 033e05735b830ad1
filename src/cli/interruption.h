// Ctrl+C (SIGINT) and SIGTERM end reelmont-export at once, whatever it is doing: the target
// keeps its old content, no unfinished file or scratch folder is left behind, a short message
// says so, and the exit status is 128 plus the signal's number (130, 143).
#pragma once

#include <wx/string.h>

// Keeps both signals from every thread started after this call (so it comes first in main) and
// waits for them on a thread of its own. A signal ignored when the command started (a
// background job of a shell without job control) stays ignored.
void WatchInterruptions();

// The file the message names as left as it was; empty for none (standard output).
void SetInterruptedTarget(const wxString& target);

// The scratch folder removed, with everything in it, when a signal ends the command; empty for
// none.
void SetInterruptedScratch(const wxString& folder);
