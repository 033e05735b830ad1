#include "app/recovery_store.h"

#include "app/paths.h"

#include <wx/dir.h>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string Bytes(const wxString& path) {
    return std::string(path.fn_str());
}

// Opens and locks the file at `path` without waiting; -1 when another process (or another open
// file of this one) holds it, or it cannot be made. The lock must be on the file the name still
// names: an owner removes its lock file while others may be opening it.
int LockName(const wxString& path) {
    const std::string bytes = Bytes(path);
    const int fd = open(bytes.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return -1;
    }
    struct stat opened {};
    struct stat named {};
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || fstat(fd, &opened) != 0 ||
        lstat(bytes.c_str(), &named) != 0 || opened.st_dev != named.st_dev ||
        opened.st_ino != named.st_ino) {
        close(fd);
        return -1;
    }
    return fd;
}

bool Exists(const wxString& path) {
    struct stat status {};
    return lstat(Bytes(path).c_str(), &status) == 0;
}

// The names in `folder` ending in `extension`, without it.
std::vector<wxString> NamesIn(const wxString& folder, const wxString& extension) {
    std::vector<wxString> names;
    wxDir dir;
    if (!wxDir::Exists(folder) || !dir.Open(folder)) {
        return names;
    }
    wxString name;
    for (bool more = dir.GetFirst(&name, "*" + extension, wxDIR_FILES); more;
         more = dir.GetNext(&name)) {
        names.push_back(name.Left(name.length() - extension.length()));
    }
    return names;
}
} // namespace

RecoverySlot::RecoverySlot(const wxString& folder) {
    mkdir(Bytes(folder).c_str(), 0700);
    // A name whose project is still there belongs to an ended process whose number this one
    // now has: that work waits to be offered.
    for (int attempt = 0; attempt < 100 && m_lock < 0; ++attempt) {
        wxString name = wxString::Format("%s/%ld", folder, long(getpid()));
        if (attempt > 0) {
            name += wxString::Format("-%d", attempt);
        }
        const int lock = LockName(name + ".lock");
        if (lock >= 0 && Exists(name + ".xml")) {
            close(lock);
            continue;
        }
        if (lock >= 0) {
            m_lock = lock;
            m_path = name + ".xml";
            m_lockPath = name + ".lock";
        }
    }
}

RecoverySlot::~RecoverySlot() {
    if (m_lock < 0) {
        return;
    }
    // Removed while still locked, so that nobody takes the name in between.
    unlink(Bytes(m_path).c_str());
    unlink(Bytes(m_lockPath).c_str());
    close(m_lock);
}

LeftRecovery::LeftRecovery(wxString path, wxString lockPath, int lock, time_t written)
    : m_path(std::move(path)), m_lockPath(std::move(lockPath)), m_lock(lock), m_written(written) {}

LeftRecovery::~LeftRecovery() {
    Release();
}

LeftRecovery::LeftRecovery(LeftRecovery&& other) noexcept
    : m_path(std::move(other.m_path)), m_lockPath(std::move(other.m_lockPath)),
      m_lock(other.m_lock), m_written(other.m_written) {
    other.m_lock = -1;
}

LeftRecovery& LeftRecovery::operator=(LeftRecovery&& other) noexcept {
    if (this != &other) {
        Release();
        m_path = std::move(other.m_path);
        m_lockPath = std::move(other.m_lockPath);
        m_lock = other.m_lock;
        m_written = other.m_written;
        other.m_lock = -1;
    }
    return *this;
}

void LeftRecovery::Release() {
    if (m_lock >= 0) {
        close(m_lock);
        m_lock = -1;
    }
}

void LeftRecovery::Discard() {
    if (m_lock < 0) {
        return;
    }
    unlink(Bytes(m_path).c_str());
    unlink(Bytes(m_lockPath).c_str());
    Release();
}

bool LeftRecovery::MoveTo(const RecoverySlot& slot) {
    if (m_lock < 0 || slot.Path().empty() ||
        rename(Bytes(m_path).c_str(), Bytes(slot.Path()).c_str()) != 0) {
        return false;
    }
    unlink(Bytes(m_lockPath).c_str());
    Release();
    return true;
}

std::vector<LeftRecovery> FindLeftRecoveries(const wxString& folder) {
    std::vector<LeftRecovery> left;
    for (const wxString& name : NamesIn(folder, ".xml")) {
        const wxString path = folder + "/" + name + ".xml";
        const wxString lockPath = folder + "/" + name + ".lock";
        const int lock = LockName(lockPath);
        if (lock < 0) {
            continue;
        }
        struct stat status {};
        if (lstat(Bytes(path).c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
            unlink(Bytes(lockPath).c_str());
            close(lock);
            continue;
        }
        left.emplace_back(path, lockPath, lock, status.st_mtime);
    }
    for (const wxString& name : NamesIn(folder, ".lock")) {
        const wxString lockPath = folder + "/" + name + ".lock";
        if (Exists(folder + "/" + name + ".xml")) {
            continue;
        }
        const int lock = LockName(lockPath);
        if (lock >= 0) {
            unlink(Bytes(lockPath).c_str());
            close(lock);
        }
    }
    std::stable_sort(left.begin(), left.end(), [](const LeftRecovery& a, const LeftRecovery& b) {
        return a.Written() > b.Written();
    });
    return left;
}

wxString GetRecoveryFolder() {
    return GetDataDirectory() + "/recovery";
}
