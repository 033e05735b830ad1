#include "import/image_load_thread.h"

#include "app/worker_event.h"
#include "import/frame_reference.h"
#include "import/image_source.h"
#include "import/import_memory.h"

#include <wx/utils.h>

ImageLoadThread::ImageLoadThread(wxEvtHandler* target, const wxArrayString& files)
    : wxThread(wxTHREAD_DETACHED), m_target(target), m_files(files) {}

ImageLoadThread::~ImageLoadThread() {
    delete m_image;
}

void ImageLoadThread::LimitBacklog(std::shared_ptr<std::atomic<int>> backlog, int limit) {
    m_backlog = std::move(backlog);
    m_backlogLimit = limit;
}

void ImageLoadThread::LimitMemory(unsigned long long bytes, std::shared_ptr<RefusedFiles> refused) {
    m_memoryLeft = bytes;
    m_refused = std::move(refused);
}

bool ImageLoadThread::Admit(const wxString& path) {
    if (!m_refused) {
        return true;
    }
    const unsigned long long need = GifFramesMemory(path);
    if (need > m_memoryLeft) {
        std::lock_guard<std::mutex> lock(m_refused->mutex);
        m_refused->paths.push_back(path);
        return false;
    }
    m_memoryLeft -= need;
    return true;
}

wxThread::ExitCode ImageLoadThread::Entry() {
    wxCHECK_MSG(m_target, 0, "need an object to queue event for");
    const size_t count = m_files.size();
    const StopRequest stopRequested = [this] { return TestDestroy(); };
    for (size_t i = 0; i < count && !TestDestroy(); ++i) {
        const bool lastPath = i + 1 == count;
        // The frames of a whole GIF file report the progress before it, except the very last
        // picture of the list; a single picture reports the progress after it.
        const bool wholeFile = ParseFrameIndex(m_files[i]) < 0;
        if (!Admit(m_files[i])) {
            continue;
        }
        DecodeImageSource(
            m_files[i],
            [&](SourcePicture picture) {
                const bool lastPicture = lastPath && picture.isLast;
                const size_t done = wholeFile && picture.fromGif && !lastPicture ? i : i + 1;
                while (m_backlog && *m_backlog >= m_backlogLimit && !TestDestroy()) {
                    wxMilliSleep(1);
                }
                m_image = picture.image.release();
                if (m_backlog) {
                    ++*m_backlog;
                }
                Post(picture.EntryPath(), static_cast<int>(done * 100 / count), picture.frameIndex);
            },
            stopRequested);
    }
    if (m_lastProgress != 100) {
        Post(wxString(), 100, 0);
    }
    return 0;
}

void ImageLoadThread::Post(const wxString& entryPath, int progress, int frameIndex) {
    auto* event = new wxCommandEvent(wxEVT_WORKER_UPDATE, ID_IMPORT_WORKER);
    // Through UTF-8 and back, so the event shares no string data with this thread.
    event->SetString(wxString::FromUTF8(entryPath.utf8_str()));
    event->SetInt(progress);
    event->SetExtraLong(frameIndex);
    event->SetClientData(m_image);
    m_image = nullptr;
    m_lastProgress = progress;
    wxQueueEvent(m_target, event);
}
