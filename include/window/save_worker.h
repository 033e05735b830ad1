// The save worker: writes the animation's frames as one GIF file off the GUI thread.
//
// It works on its own copy of the animation, which costs only references: frame pictures never
// change, so the worker decodes them itself without asking the GUI thread. It reports to the
// main window with queued wxEVT_WORKER_UPDATE events with the id ID_SAVE_WORKER: GetInt() is
// the share of frames done in percent, and the last event, always sent, carries 100 and in
// GetString() the reason when the file could not be written (empty on success). What the
// export did (its size, what a size limit chose) is in `result` by then.
#pragma once

#include "document/animation.h"
#include "export/gif_export.h"

#include <memory>

#include <wx/thread.h>

#include <atomic>
#include <memory>

class wxEvtHandler;

class WorkSaveAsGifThread : public wxThread {
public:
    // Writes `animation` at its output size with its export choices.
    WorkSaveAsGifThread(Animation animation, wxEvtHandler* target, const wxString& path,
                        std::shared_ptr<GifExportResult> result);
    ~WorkSaveAsGifThread() override;

    // Stops before the next frame once `cancelled` is set, leaving the target as it was; the
    // last event then names the stop.
    void CancelWhen(std::shared_ptr<std::atomic<bool>> cancelled);

protected:
    ExitCode Entry() override;

private:
    void PostProgress(int percent, const wxString& failure);

    Animation m_animation;
    wxEvtHandler* m_target;
    wxString m_path;
    std::shared_ptr<GifExportResult> m_result;
    std::shared_ptr<std::atomic<bool>> m_cancelled;
};
