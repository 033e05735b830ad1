// Shows the export's progress on standard error: a bar redrawn in place on a terminal, a line at
// every tenth otherwise.
#pragma once

#include <wx/string.h>

#include <cstdio>

class ProgressReport {
public:
    ProgressReport(std::FILE* stream, bool terminal, const wxString& target);

    void Update(int percent);
    // Ends the bar's line, if one was drawn.
    void Finish();

private:
    std::FILE* m_stream;
    bool m_terminal;
    wxString m_target;
    int m_shown = -1;
};
