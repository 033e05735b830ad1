// Keeps one project file up to date from a thread of its own, so that the window never waits
// for the disk: each request replaces the one still waiting, so that the last request (a write
// or a removal) is the one that holds in the end.
#pragma once

#include "import/project_writer.h"

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

class BackgroundProjectWriter {
public:
    explicit BackgroundProjectWriter(const wxString& path);
    // Lets a write under way end and drops the request still waiting.
    ~BackgroundProjectWriter();
    BackgroundProjectWriter(const BackgroundProjectWriter&) = delete;
    BackgroundProjectWriter& operator=(const BackgroundProjectWriter&) = delete;

    // Writes `contents` through the project writer, in place of any write not yet begun.
    void Write(ProjectContents contents);
    // Removes the file, once a write under way has ended.
    void Remove();
    // Waits until every request has been carried out.
    void Flush();

private:
    void Run();

    wxString m_path;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    // The request waiting: contents to write, or none to remove the file.
    std::optional<std::optional<ProjectContents>> m_waiting;
    bool m_busy = false;
    bool m_ending = false;
    std::thread m_thread;
};
