// Shows the export's progress on standard error, only where someone watches it: on a terminal,
// as one line redrawn in place and wiped at the end, so that only the summary stays. Elsewhere
// (a log, a pipe) it shows nothing.
#pragma once

#include <wx/string.h>

#include <cstdio>

class ProgressReport {
public:
    // Shows nothing unless `shown`.
    ProgressReport(std::FILE* stream, bool shown, const wxString& target);

    void Update(int percent);
    // Wipes the line, if one was drawn.
    void Finish();

private:
    std::FILE* m_stream;
    bool m_shown;
    wxString m_text;
    int m_percent = -1;
};
