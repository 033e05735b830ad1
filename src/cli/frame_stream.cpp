#include "cli/frame_stream.h"

#include "import/image_source.h"

#include <wx/log.h>

#include <system_error>

FrameStream::FrameStream(std::vector<wxString> sources) : m_sources(std::move(sources)) {
    try {
        m_thread = std::thread([this] { Decode(); });
    } catch (const std::system_error&) {
        // Without a thread there are no pictures: the export then says which frame is missing.
        m_finished = true;
    }
}

FrameStream::~FrameStream() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_abandoned = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

wxImage FrameStream::Next() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_waiting.empty() || m_finished; });
    if (m_waiting.empty()) {
        return wxImage();
    }
    std::unique_ptr<wxImage> picture = std::move(m_waiting.front());
    m_waiting.pop_front();
    lock.unlock();
    m_changed.notify_all();
    // The picture's data passes whole to the copy returned, on this thread alone.
    return *picture;
}

wxString FrameStream::FailedSource(SourceProblem* problem) {
    std::lock_guard<std::mutex> lock(m_mutex);
    *problem = m_failure;
    return m_failedSource;
}

void FrameStream::Decode() {
    wxLogNull quiet;
    const StopRequest abandoned = [this] {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_abandoned;
    };
    for (size_t i = 0; i < m_sources.size();) {
        const size_t length = FrameRunLength(m_sources, i);
        const std::vector<wxString> run(m_sources.begin() + static_cast<long>(i),
                                        m_sources.begin() + static_cast<long>(i + length));
        // A picture that finds no memory ends the stream: the export then names the frame.
        SourceProblem problem;
        const bool gave = DecodeFrameRun(
            run, [this](SourcePicture picture) { Push(std::move(picture.image)); }, abandoned,
            &problem);
        if (problem.fault == SourceFault::NoMemory) {
            break;
        }
        if (!gave && !abandoned()) {
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                if (m_failedSource.empty()) {
                    m_failedSource = run[0];
                    m_failure = problem;
                }
            }
            Push(std::make_unique<wxImage>());
        }
        i += length;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_finished = true;
    }
    m_changed.notify_all();
}

void FrameStream::Push(std::unique_ptr<wxImage> picture) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_abandoned || m_waiting.size() < kAhead; });
    if (!m_abandoned) {
        m_waiting.push_back(std::move(picture));
    }
    lock.unlock();
    m_changed.notify_all();
}
