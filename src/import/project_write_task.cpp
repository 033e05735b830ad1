#include "import/project_write_task.h"

#include <wx/intl.h>

#include <chrono>
#include <new>
#include <system_error>

ProjectWriteTask::ProjectWriteTask(const wxString& path, ProjectContents contents)
    : m_path(path), m_contents(std::move(contents)) {
    try {
        m_thread = std::thread([this] {
            wxString error;
            bool written = false;
            try {
                written = WriteProjectFile(m_path, m_contents, &error, &m_percent);
            } catch (const std::bad_alloc&) {
                error = wxString::Format(_("Cannot save \"%s\": there is not enough memory; the "
                                           "file was left as it was."),
                                         m_path);
            }
            std::lock_guard<std::mutex> lock(m_mutex);
            m_written = written;
            m_error = error;
            m_finished = true;
            m_ended.notify_all();
        });
    } catch (const std::system_error&) {
        m_error =
            wxString::Format(_("\"%s\" was not saved: no worker thread could be started."), m_path);
        m_finished = true;
    }
}

ProjectWriteTask::~ProjectWriteTask() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

bool ProjectWriteTask::WaitFor(int milliseconds) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_ended.wait_for(lock, std::chrono::milliseconds(milliseconds),
                            [this] { return m_finished; });
}

bool ProjectWriteTask::Succeeded(wxString* error) const {
    if (!m_written && error) {
        *error = m_error;
    }
    return m_written;
}
