// Times within a video as users read and write them: "1:05.50" (minutes, seconds and
// hundredths) or plain seconds ("65.5").
#pragma once

#include <wx/string.h>

// "m:ss.ss", with hours in front ("h:mm:ss.ss") from an hour on; negative times as 0.
wxString FormatVideoTime(double seconds);

// Reads "65.5", "1:05.5" or "1:01:05.5" (a point or a comma before the fraction). False for
// anything else, negative times included.
bool ParseVideoTime(const wxString& text, double* seconds);
