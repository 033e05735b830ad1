// Writes one project file from a thread of its own, so that the window never waits for the disk:
// each request replaces the one still waiting, so that the last request (a write or a removal)
// is the one that holds in the end. Save Project waits for its one write while the window keeps
// drawing and shows how far it is; the recovery project is kept up to date without waiting.
#pragma once

#include "import/project_writer.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

class BackgroundProjectWriter {
public:
    // Where no thread can be started, the requests are carried out at once by the caller.
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
    // The same for at most `milliseconds`; true once every request has been carried out.
    bool WaitFor(int milliseconds);
    // How far the write under way, or the last one, is: 0 to 100.
    int Percent() const { return m_percent.load(); }
    // Whether the last write carried out wrote the file, and otherwise why not (naming it).
    bool Succeeded(wxString* error);

private:
    void Run();
    void CarryOut(const std::optional<ProjectContents>& request);

    wxString m_path;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    // The request waiting: contents to write, or none to remove the file.
    std::optional<std::optional<ProjectContents>> m_waiting;
    bool m_busy = false;
    bool m_ending = false;
    std::atomic<int> m_percent{0};
    bool m_written = false;
    wxString m_error;
    std::thread m_thread;
};
