#include "app/platform.h"

#include <wx/filename.h>
#include <wx/stdpaths.h>
#include <wx/utils.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <sys/mman.h>
#include <sys/stat.h>

int StringToInt(const wxString& text) {
    auto it = text.begin();
    const auto end = text.end();
    while (it != end && (*it == ' ' || *it == '\t' || *it == '\n' || *it == '\r' || *it == '\v' ||
                         *it == '\f')) {
        ++it;
    }
    bool negative = false;
    if (it != end && (*it == '+' || *it == '-')) {
        negative = *it == '-';
        ++it;
    }
    long long value = 0;
    for (; it != end && *it >= '0' && *it <= '9'; ++it) {
        value = value * 10 + (static_cast<wxChar>(*it) - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return static_cast<int>(value);
}

void MakeFolder(const wxString& path) {
    ::mkdir(path.fn_str(), 0777);
}

wxString GetDocumentsFolder() {
    return wxStandardPaths::Get().GetDocumentsDir();
}

wxString GetProgramPath() {
    return wxStandardPaths::Get().GetExecutablePath();
}

void ExploreFolder(const wxString& path) {
    wxLaunchDefaultApplication(path);
}

void TraceLine(const wxString& text) {
    std::fputs(text.utf8_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void PreferHugePages(void* data, size_t bytes) {
    constexpr std::uintptr_t kHugePage = 2 * 1024 * 1024;
    const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t from = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t to = (start + bytes) & ~(kHugePage - 1);
    if (from < to) {
        madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
    }
}
