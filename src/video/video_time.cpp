#include "video/video_time.h"

#include <wx/arrstr.h>
#include <wx/tokenzr.h>

#include <algorithm>
#include <cmath>

wxString FormatVideoTime(double seconds) {
    const long long hundredths = std::llround(std::max(seconds, 0.0) * 100.0);
    const long long minutes = hundredths / 6000;
    const long long rest = hundredths % 6000;
    if (minutes >= 60) {
        return wxString::Format("%lld:%02lld:%02lld.%02lld", minutes / 60, minutes % 60, rest / 100,
                                rest % 100);
    }
    return wxString::Format("%lld:%02lld.%02lld", minutes, rest / 100, rest % 100);
}

bool ParseVideoTime(const wxString& text, double* seconds) {
    wxString written = text.Strip(wxString::both);
    written.Replace(",", ".");
    const wxArrayString parts = wxStringTokenize(written, ":", wxTOKEN_RET_EMPTY_ALL);
    if (parts.empty() || parts.size() > 3) {
        return false;
    }
    double total = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        const bool first = i == 0;
        const bool last = i + 1 == parts.size();
        // Hours and minutes are whole; only the seconds have a fraction. Below the first part,
        // minutes and seconds stay under 60.
        double value = 0;
        if (parts[i].empty() ||
            parts[i].find_first_not_of(last ? "0123456789." : "0123456789") != wxString::npos ||
            !parts[i].ToCDouble(&value) || (!first && value >= 60)) {
            return false;
        }
        total = total * 60 + value;
    }
    *seconds = total;
    return true;
}
