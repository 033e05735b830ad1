// The import worker: decodes a list of image files into animation frames off the GUI thread and
// reports each frame to the main window's event handler.
//
// Events: queued wxEVT_WORKER_UPDATE command events with the id ID_IMPORT_WORKER, in the order
// of the list and, within a GIF file, in frame order:
// - GetString(): the strip entry's path: the frame reference of a GIF file's frame (any name,
//   as files are told apart by content), otherwise the file's path;
// - GetInt(): the progress in percent, 0 to 100;
// - GetExtraLong(): the 0-based frame number inside a GIF file, 0 for any other file;
// - GetClientData(): an AnimationFrame* made with new, which the receiver takes over; or null.
//   The frame comes compressed with its thumbnail; its source is the frame reference of a GIF
//   file's frame, its delay -1 when the file gives none.
// The worker always ends with an event carrying 100, a cancelled one too, which completes the
// import. Usually that is the event of the last picture; when the last path yields nothing, or the
// list yields nothing at all (an empty list included), it is an extra event with null client data,
// which adds no frame. Files that cannot be read are skipped without any event.
//
// The worker touches no window, bitmap or device context; it uses only its own members, the
// files and the image decoders. It compresses each picture itself, so the receiver only puts
// the frame into its strip.
#pragma once

#include "app/memory_budget.h"
#include "document/animation_frame.h"

#include <wx/arrstr.h>
#include <wx/event.h>
#include <wx/image.h>
#include <wx/thread.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

// A picture left out for having more pixels than the program takes, and its size.
struct OverCapPicture {
    wxString path;
    unsigned long long width = 0;
    unsigned long long height = 0;
};

// The files an import left out because their frames would not fit into the memory budget (the
// first of them and every file after it), the ones that were damaged (their pictures read
// before the damage were delivered) and the pictures too large to take.
struct RefusedFiles {
    std::mutex mutex;
    wxArrayString paths;
    wxArrayString damaged;
    std::vector<OverCapPicture> overCap;
    // What the first file left out would have taken, and what the budget had left for it.
    unsigned long long needed = 0;
    unsigned long long spare = 0;
};

class ImageLoadThread : public wxThread {
public:
    // `target` receives the events (the main window passes its GetEventHandler()) and must
    // outlive the worker; it is not owned. The list is copied.
    ImageLoadThread(wxEvtHandler* target, const wxArrayString& files);
    ~ImageLoadThread() override;

    // Keeps the pictures waiting in the receiver's queue under `limit` bytes (PictureMemory of
    // their decoded size each; one picture may always wait): the receiver lowers `backlog` by every
    // picture's bytes once it has taken it, and the worker waits while it is at the limit. Without
    // it the worker decodes as fast as it can and the queue holds the rest.
    void LimitBacklog(std::shared_ptr<std::atomic<unsigned long long>> backlog,
                      unsigned long long limit);

    // Charges the frames of every file to `budget` before decoding it (FramesMemory); at the
    // first file that does not fit the import stops, and that file and the rest are added to
    // `refused`. Each picture's charge is given back once it is compressed; its frame charges
    // its compressed bytes itself. Damaged files are added to `refused` too. The receiver reads
    // `refused` once the import is complete.
    void LimitMemory(MemoryBudget& budget, std::shared_ptr<RefusedFiles> refused);

    // Stops before the next picture once `cancelled` is set (by the receiver, on any thread);
    // the pictures of the files not reached are neither decoded nor posted.
    void CancelWhen(std::shared_ptr<std::atomic<bool>> cancelled);

protected:
    ExitCode Entry() override;

private:
    bool Stopped();
    // The budget given to LimitMemory, or one without limit.
    MemoryBudget& Budget();
    // Hands m_frame (may be null) and the payload to the target's queue.
    void Post(const wxString& entryPath, int progress, int frameIndex);

    wxEvtHandler* m_target;
    wxArrayString m_files;
    // The frame being handed over; the event that carries it takes it.
    AnimationFrame* m_frame = nullptr;
    // The progress of the last event posted; -1 before the first.
    int m_lastProgress = -1;
    std::shared_ptr<std::atomic<unsigned long long>> m_backlog;
    unsigned long long m_backlogLimit = 0;
    MemoryBudget* m_budget = nullptr;
    std::shared_ptr<RefusedFiles> m_refused;
    std::shared_ptr<std::atomic<bool>> m_cancelled;
};
