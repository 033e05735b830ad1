#include "cli/progress_report.h"

namespace {
const int kBarWidth = 30;
} // namespace

ProgressReport::ProgressReport(std::FILE* stream, bool terminal, const wxString& target)
    : m_stream(stream), m_terminal(terminal), m_target(target) {}

void ProgressReport::Update(int percent) {
    if (m_terminal) {
        if (percent == m_shown) {
            return;
        }
        const int filled = percent * kBarWidth / 100;
        const wxString bar = wxString('#', filled) + wxString(' ', kBarWidth - filled);
        std::fprintf(m_stream, "\rWriting %s [%s] %3d%%",
                     static_cast<const char*>(m_target.utf8_str()),
                     static_cast<const char*>(bar.utf8_str()), percent);
    } else {
        if (percent / 10 == m_shown / 10 && m_shown >= 0) {
            return;
        }
        std::fprintf(m_stream, "Writing %s: %d%%\n", static_cast<const char*>(m_target.utf8_str()),
                     percent / 10 * 10);
    }
    m_shown = percent;
    std::fflush(m_stream);
}

void ProgressReport::Finish() {
    if (m_terminal && m_shown >= 0) {
        std::fputc('\n', m_stream);
        std::fflush(m_stream);
    }
}
