#include "import/background_project_writer.h"

#include <wx/filefn.h>
#include <wx/log.h>

BackgroundProjectWriter::BackgroundProjectWriter(const wxString& path)
    : m_path(path.Clone()), m_thread([this] { Run(); }) {}

BackgroundProjectWriter::~BackgroundProjectWriter() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_ending = true;
        m_waiting.reset();
    }
    m_changed.notify_all();
    m_thread.join();
}

void BackgroundProjectWriter::Write(ProjectContents contents) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_waiting.emplace(std::move(contents));
    }
    m_changed.notify_all();
}

void BackgroundProjectWriter::Remove() {
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
        {
            // Nobody reads the toolkit's log here; a failed write is tried again by the next.
            wxLogNull quiet;
            wxString error;
            if (request) {
                WriteProjectFile(m_path, *request, &error);
            } else if (wxFileExists(m_path)) {
                wxRemoveFile(m_path);
            }
        }
        lock.lock();
        m_busy = false;
        m_changed.notify_all();
    }
}
