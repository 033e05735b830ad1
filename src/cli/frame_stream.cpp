#include "cli/frame_stream.h"

#include "image/picture_bytes.h"

#include <wx/log.h>

#include <system_error>

namespace {

size_t PixelBytes(const SourcePicture& picture) {
    return PictureBytes(*picture.image);
}

} // namespace

FrameStream::FrameStream(std::vector<wxString> sources, PictureParts parts, std::vector<int> counts)
    : m_sources(std::move(sources)), m_parts(parts), m_counts(std::move(counts)) {
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

wxImage FrameStream::Next(wxRect* part) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_waiting.empty() || m_finished; });
    if (m_waiting.empty()) {
        return wxImage();
    }
    SourcePicture picture = std::move(m_waiting.front());
    m_waitingBytes -= PixelBytes(picture);
    m_waiting.pop_front();
    ++m_firstWaiting;
    m_wanted = std::max(m_wanted, m_firstWaiting);
    lock.unlock();
    m_changed.notify_all();
    if (part) {
        *part = picture.part;
    }
    // The picture's data passes whole to the copy returned, on this thread alone.
    return *picture.image;
}

void FrameStream::SkipTo(size_t picture) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_wanted = std::max(m_wanted, picture);
        for (; !m_waiting.empty() && m_firstWaiting < m_wanted; ++m_firstWaiting) {
            m_waitingBytes -= PixelBytes(m_waiting.front());
            m_waiting.pop_front();
        }
    }
    m_changed.notify_all();
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
        if (length == 1 && i < m_counts.size() && m_counts[i] == 1) {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_given < m_wanted) {
                ++m_given;
                m_firstWaiting = std::max(m_firstWaiting, m_given);
                ++i;
                continue;
            }
        }
        const std::vector<wxString> run(m_sources.begin() + static_cast<long>(i),
                                        m_sources.begin() + static_cast<long>(i + length));
        // A picture that finds no memory ends the stream: the export then names the frame.
        SourceProblem problem;
        const bool gave = DecodeFrameRun(
            run, [this](SourcePicture picture) { Push(std::move(picture)); }, abandoned, &problem,
            m_parts);
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
            SourcePicture nothing;
            nothing.image = std::make_unique<wxImage>();
            Push(std::move(nothing));
        }
        i += length;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_finished = true;
    }
    m_changed.notify_all();
}

void FrameStream::Push(SourcePicture picture) {
    const size_t bytes = PixelBytes(picture);
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this, bytes] {
        return m_abandoned || m_waiting.size() < kFewAhead ||
               (m_waiting.size() < kAhead && m_waitingBytes + bytes <= kAheadBytes);
    });
    if (m_given++ < m_wanted) {
        m_firstWaiting = std::max(m_firstWaiting, m_given);
    } else if (!m_abandoned) {
        m_waitingBytes += bytes;
        m_waiting.push_back(std::move(picture));
    }
    lock.unlock();
    m_changed.notify_all();
}
