// The save worker: writes the strip's frames as one GIF file off the GUI thread.
//
// Bitmaps belong to the GUI thread, so the worker asks the GUI thread for each frame's pixels
// in turn and waits for them; only the frame being prepared is copied at a time. It reports to
// the main window with queued wxEVT_WORKER_UPDATE events with the id ID_SAVE_WORKER: GetInt()
// is the share of frames done in percent, and the last event, always sent, carries 100 and in
// GetString() the reason when the file could not be written (empty on success).
#pragma once

#include "export/export_options.h"
#include "image/view_transform.h"

#include <wx/image.h>
#include <wx/thread.h>

class wxThumbnailCtrl;
class wxEvtHandler;

class WorkSaveAsGifThread : public wxThread {
public:
    WorkSaveAsGifThread(int width, int height, wxEvtHandler* target, wxThumbnailCtrl* strip,
                        const wxString& path, const int* delay,
                        const ExportOptions& options = ExportOptions(),
                        const ViewTransform& view = ViewTransform());
    ~WorkSaveAsGifThread() override;

protected:
    ExitCode Entry() override;

private:
    // Runs on the worker: asks the GUI thread for frame i's full-size pixels and waits.
    wxImage FetchFrame(int index);
    void PostProgress(int percent, const wxString& failure);

    wxEvtHandler* m_target;
    int m_frameCount = 0;
    wxThumbnailCtrl* m_thumbnailCtrl;
    int m_canvasWidth;
    int m_canvasHeight;
    wxString m_path;
    int m_delay;
    ExportOptions m_options;
    // Crop, turn and flip, applied to each frame on the worker.
    ViewTransform m_view;

    wxMutex m_fetchLock;
    wxCondition m_fetched{m_fetchLock};
    wxImage m_fetchedImage;
    bool m_fetchDone = false;
};
