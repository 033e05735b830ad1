#include "window/save_worker.h"

#include "app/platform.h"
#include "app/worker_event.h"
#include "export/gif_export.h"
#include "window/thumbnailctrl.h"

#include <wx/app.h>

WorkSaveAsGifThread::WorkSaveAsGifThread(int width, int height, wxEvtHandler* target,
                                         wxThumbnailCtrl* strip, const wxString& path,
                                         const int* delay, const ExportOptions& options,
                                         const ViewTransform& view)
    : wxThread(wxTHREAD_DETACHED), m_target(target), m_thumbnailCtrl(strip), m_canvasWidth(width),
      m_canvasHeight(height), m_path(path), m_delay(*delay), m_options(options), m_view(view) {}

WorkSaveAsGifThread::~WorkSaveAsGifThread() = default;

wxThread::ExitCode WorkSaveAsGifThread::Entry() {
    TraceLine("thread:");
    m_frameCount = m_thumbnailCtrl->GetCount();
    GifExportJob job;
    job.frameCount = m_frameCount;
    job.frameSource = [this](int index) { return ApplyTransform(FetchFrame(index), m_view); };
    job.canvasWidth = m_canvasWidth;
    job.canvasHeight = m_canvasHeight;
    job.delay = m_delay;
    job.path = m_path;
    job.options = m_options;
    job.traceLines = true;
    // The last report is sent once the file is in place (or known to have failed).
    job.progress = [this](int percent) {
        if (percent < 100) {
            PostProgress(percent, wxEmptyString);
        }
    };
    job.stopRequested = [this] { return TestDestroy(); };
    const GifExportResult result = ExportGif(job);
    PostProgress(100, result.ok ? wxString() : result.message);
    return 0;
}

wxImage WorkSaveAsGifThread::FetchFrame(int index) {
    wxMutexLocker lock(m_fetchLock);
    m_fetchDone = false;
    wxTheApp->CallAfter([this, index] {
        auto* item = wxDynamicCast(m_thumbnailCtrl->GetItem(index), wxImageThumbnailItem);
        wxMutexLocker guiLock(m_fetchLock);
        m_fetchedImage = item != nullptr && item->GetBitmap().IsOk()
                             ? item->GetBitmap().ConvertToImage()
                             : wxImage();
        m_fetchDone = true;
        m_fetched.Signal();
    });
    while (!m_fetchDone) {
        m_fetched.Wait();
    }
    // The hand-over happens under the lock, so the image's reference count is never touched
    // by both threads at once.
    wxImage frame = m_fetchedImage;
    m_fetchedImage = wxImage();
    return frame;
}

void WorkSaveAsGifThread::PostProgress(int percent, const wxString& failure) {
    auto* event = new wxCommandEvent(wxEVT_WORKER_UPDATE, ID_SAVE_WORKER);
    event->SetInt(percent);
    event->SetString(failure.Clone());
    wxQueueEvent(m_target, event);
}
