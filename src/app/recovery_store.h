// Where unsaved work is kept while the program runs, so that it survives a crash or a power
// cut: one recovery project per running process in a folder of the user's own, "<name>.xml",
// owned through a lock on "<name>.lock" that the system drops when the process ends, however it
// ends. A live process's file is therefore never offered, taken or removed by another.
#pragma once

#include <wx/string.h>

#include <ctime>
#include <vector>

// This process's recovery project.
class RecoverySlot {
public:
    // Claims a name of its own in `folder` (made, private to the user, when missing). Without
    // one (a folder that cannot be written), Path() is empty and nothing is kept.
    explicit RecoverySlot(const wxString& folder);
    // Removes the recovery project and its lock: the work is no longer at stake.
    ~RecoverySlot();
    RecoverySlot(const RecoverySlot&) = delete;
    RecoverySlot& operator=(const RecoverySlot&) = delete;

    const wxString& Path() const { return m_path; }

private:
    wxString m_path;
    wxString m_lockPath;
    int m_lock = -1;
};

// A recovery project that an ended process left behind. Held locked while the object lives, so
// that two programs starting at once do not both offer it; dropping the object leaves it for a
// later start.
class LeftRecovery {
public:
    LeftRecovery(wxString path, wxString lockPath, int lock, time_t written);
    ~LeftRecovery();
    LeftRecovery(LeftRecovery&& other) noexcept;
    LeftRecovery& operator=(LeftRecovery&& other) noexcept;
    LeftRecovery(const LeftRecovery&) = delete;
    LeftRecovery& operator=(const LeftRecovery&) = delete;

    const wxString& Path() const { return m_path; }
    time_t Written() const { return m_written; }
    // Removes the file and its lock.
    void Discard();
    // Moves the file into `slot`, whose process now keeps the work; false when it could not.
    bool MoveTo(const RecoverySlot& slot);

private:
    void Release();

    wxString m_path;
    wxString m_lockPath;
    int m_lock = -1;
    time_t m_written = 0;
};

// The recovery projects in `folder` of processes that have ended, newest first. Locks that lost
// their project are removed on the way.
std::vector<LeftRecovery> FindLeftRecoveries(const wxString& folder);

// The folder of the recovery projects in the per-user data folder.
wxString GetRecoveryFolder();
