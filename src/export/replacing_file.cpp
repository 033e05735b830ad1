#include "export/replacing_file.h"

#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/utils.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

namespace {

// Distinguishes the unfinished files of one process.
std::atomic<unsigned> s_serial{0};

} // namespace

ReplacingFile::ReplacingFile(const wxString& target) : m_target(target) {}

ReplacingFile::~ReplacingFile() {
    Discard();
}

bool ReplacingFile::Fail(unsigned long code) {
    m_error = wxSysErrorMsgStr(code);
    return false;
}

bool ReplacingFile::Open() {
    wxString folder = wxFileName(m_target).GetPath();
    if (folder.empty()) {
        folder = ".";
    }
    // A hidden name of fixed length, so that even a target name at the length limit fits; made
    // with O_EXCL, so no other file is ever overwritten.
    wxLogNull quiet;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const wxString candidate =
            wxString::Format("%s/.reelmont-%lu-%u.tmp", folder, wxGetProcessId(), s_serial++);
        if (m_file.Create(candidate, false, wxS_DEFAULT)) {
            m_temporary = candidate;
            return true;
        }
        const unsigned long code = wxSysErrorCode();
        if (code != EEXIST) {
            return Fail(code);
        }
    }
    return Fail(EEXIST);
}

bool ReplacingFile::Write(const void* data, size_t size) {
    // A short write is continued, so that a full disk is reported with its own cause.
    wxLogNull quiet;
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        m_file.ClearLastError();
        const size_t written = m_file.Write(bytes, size);
        if (written == 0) {
            return Fail(m_file.GetLastError() ? m_file.GetLastError() : EIO);
        }
        bytes += written;
        size -= written;
    }
    return true;
}

bool ReplacingFile::Commit() {
    wxLogNull quiet;
    if (!m_file.Flush() || !m_file.Close()) {
        return Fail(m_file.GetLastError() ? m_file.GetLastError() : wxSysErrorCode());
    }
    if (std::rename(m_temporary.fn_str(), m_target.fn_str()) != 0) {
        return Fail(errno);
    }
    m_committed = true;
    return true;
}

void ReplacingFile::Discard() {
    if (m_committed || m_temporary.empty()) {
        return;
    }
    wxLogNull quiet;
    m_file.Close();
    wxRemoveFile(m_temporary);
    m_temporary.clear();
}
