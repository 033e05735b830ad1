#include "import/background_project_writer.h"

#include <wx/filefn.h>
#include <wx/intl.h>
#include <wx/log.h>

#include <chrono>
#include <new>
#include <system_error>

BackgroundProjectWriter::BackgroundProjectWriter(const wxString& path) : m_path(path.Clone()) {
    try {
        m_thread = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
    }
}

BackgroundProjectWriter::~BackgroundProjectWriter() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_ending = true;
        m_waiting.reset();
    }
    m_changed.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void BackgroundProjectWriter::Write(ProjectContents contents) {
    if (!m_thread.joinable()) {
        CarryOut(std::move(contents));
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_waiting.emplace(std::move(contents));
    }
    m_changed.notify_all();
}

void BackgroundProjectWriter::Remove() {
    if (!m_thread.joinable()) {
        CarryOut(std::nullopt);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_waiting.emplace(std::nullopt);
    }
    m_changed.notify_all();
}

void BackgroundProjectWriter::Flush() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_waiting && !m_busy; });
}

bool BackgroundProjectWriter::WaitFor(int milliseconds) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(milliseconds),
                              [this] { return !m_waiting && !m_busy; });
}

bool BackgroundProjectWriter::Succeeded(wxString* error) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_written && error) {
        *error = m_error;
    }
    return m_written;
}

void BackgroundProjectWriter::Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_waiting || m_ending; });
        if (!m_waiting) {
            return;
        }
        std::optional<ProjectContents> request = std::move(*m_waiting);
        m_waiting.reset();
        m_busy = true;
        lock.unlock();
        CarryOut(request);
        lock.lock();
        m_busy = false;
        m_changed.notify_all();
    }
}

void BackgroundProjectWriter::CarryOut(const std::optional<ProjectContents>& request) {
    // Nobody reads the toolkit's log here: a failed write is told by Succeeded, and the next
    // request tries again.
    wxLogNull quiet;
    if (!request) {
        if (wxFileExists(m_path)) {
            wxRemoveFile(m_path);
        }
        return;
    }
    m_percent = 0;
    wxString error;
    bool written = false;
    try {
        written = WriteProjectFile(m_path, *request, &error, &m_percent);
    } catch (const std::bad_alloc&) {
        error = wxString::Format(
            _("Cannot save \"%s\": there is not enough memory; the file was left as it was."),
            m_path);
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_written = written;
    m_error = error;
}
