#include "cli/progress_report.h"

#include <wx/filename.h>
#include <wx/intl.h>

namespace {
const int kBarWidth = 30;
// Back to the start of the line, and the line cleared.
const char* const kWipe = "\r\033[K";
} // namespace

ProgressReport::ProgressReport(std::FILE* stream, bool shown, const wxString& target)
    : m_stream(stream), m_shown(shown),
      // The file name alone keeps the line within the terminal's width.
      m_text(wxString::Format(_("writing \"%s\""), wxFileName(target).GetFullName())) {}

void ProgressReport::Update(int percent) {
    if (!m_shown || percent == m_percent) {
        return;
    }
    const int filled = percent * kBarWidth / 100;
    const wxString bar = wxString('#', filled) + wxString(' ', kBarWidth - filled);
    std::fprintf(m_stream, "%s%s [%s] %3d%%", kWipe, static_cast<const char*>(m_text.utf8_str()),
                 static_cast<const char*>(bar.utf8_str()), percent);
    std::fflush(m_stream);
    m_percent = percent;
}

void ProgressReport::Finish() {
    if (m_percent >= 0) {
        std::fputs(kWipe, m_stream);
        std::fflush(m_stream);
    }
}
