// A project file written on a thread of its own, so that the window keeps drawing and shows how
// far the save is while a project of a hundred thousand frames is written.
#pragma once

#include "import/project_writer.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

class ProjectWriteTask {
public:
    // Starts writing `contents` to `path` through WriteProjectFile. When no thread can be
    // started, the task is finished at once and has failed.
    ProjectWriteTask(const wxString& path, ProjectContents contents);
    // Waits for the write to end: a file is never left half replaced.
    ~ProjectWriteTask();
    ProjectWriteTask(const ProjectWriteTask&) = delete;
    ProjectWriteTask& operator=(const ProjectWriteTask&) = delete;

    // Waits at most `milliseconds` for the write to end; true once it has.
    bool WaitFor(int milliseconds);
    // How far the write is, 0 to 100.
    int Percent() const { return m_percent.load(); }
    // Once finished: whether the file was written, and otherwise why not (naming the file).
    bool Succeeded(wxString* error) const;

private:
    const wxString m_path;
    const ProjectContents m_contents;
    std::atomic<int> m_percent{0};
    std::mutex m_mutex;
    std::condition_variable m_ended;
    bool m_finished = false;
    bool m_written = false;
    wxString m_error;
    std::thread m_thread;
};
