#include "window/save_worker.h"

#include "app/platform.h"
#include "app/worker_event.h"
#include "export/animation_export.h"

WorkSaveAsGifThread::WorkSaveAsGifThread(Animation animation, wxEvtHandler* target,
                                         const wxString& path,
                                         std::shared_ptr<GifExportResult> result)
    : wxThread(wxTHREAD_DETACHED), m_animation(std::move(animation)), m_target(target),
      m_path(path.Clone()), m_result(std::move(result)) {}

WorkSaveAsGifThread::~WorkSaveAsGifThread() = default;

void WorkSaveAsGifThread::CancelWhen(std::shared_ptr<std::atomic<bool>> cancelled) {
    m_cancelled = std::move(cancelled);
}

wxThread::ExitCode WorkSaveAsGifThread::Entry() {
    TraceLine("thread:");
    GifExportJob job = AnimationExportJob(m_animation, m_path);
    job.traceLines = true;
    // The last report is sent once the file is in place (or known to have failed).
    job.progress = [this](int percent) {
        if (percent < 100) {
            PostProgress(percent, wxEmptyString);
        }
    };
    job.stopRequested = [this] { return TestDestroy() || (m_cancelled && *m_cancelled); };
    const GifExportResult result = ExportGif(job);
    // The window reads it once the last report arrives.
    *m_result = result;
    PostProgress(100, result.ok ? wxString() : result.message);
    return 0;
}

void WorkSaveAsGifThread::PostProgress(int percent, const wxString& failure) {
    auto* event = new wxCommandEvent(wxEVT_WORKER_UPDATE, ID_SAVE_WORKER);
    event->SetInt(percent);
    event->SetString(failure.Clone());
    wxQueueEvent(m_target, event);
}
