#include "export/replacing_file.h"

#include <wx/intl.h>
#include <wx/log.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <signal.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Distinguishes the names this process gives its files while it moves them into place.
std::atomic<unsigned> s_serial{0};

// The names of this process's unfinished files, and whether the process is ending; a file is
// moved into place under the same lock, so that an ending process never leaves half a move.
struct Replacements {
    std::mutex lock;
    std::set<std::string> named;
    bool abandoned = false;
    bool replaced = false;
};

Replacements& ProcessReplacements() {
    static Replacements* replacements = new Replacements;
    return *replacements;
}

// More links than this in a row are taken for a loop, as the system does.
const int kMostLinks = 40;

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Whether a link may be followed where the system would follow it for this process: in a
// folder everyone may write to and only owners may delete from (/tmp), a link planted by
// another user could lead a write onto any file of ours.
bool MayFollow(const std::string& link, const struct stat& status) {
    struct stat folder;
    if (stat(FolderOf(link).c_str(), &folder) != 0) {
        return false;
    }
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return !shared || status.st_uid == geteuid() || status.st_uid == folder.st_uid;
}

// The file a chain of symbolic links leads to; a link to nothing leads to the file it names,
// which is then created. Sets errno to ELOOP and returns an empty path for a loop; sets
// `refused` and returns an empty path for a link the system would not follow.
std::string FollowLinks(std::string path, bool* refused) {
    for (int hop = 0; hop < kMostLinks; ++hop) {
        struct stat status;
        if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            return path;
        }
        if (!MayFollow(path, status)) {
            *refused = true;
            return std::string();
        }
        char link[PATH_MAX];
        const ssize_t length = readlink(path.c_str(), link, sizeof link);
        if (length <= 0 || length == static_cast<ssize_t>(sizeof link)) {
            return path;
        }
        std::string next(link, static_cast<size_t>(length));
        path = next[0] == '/' ? next : FolderOf(path) + "/" + next;
    }
    errno = ELOOP;
    return std::string();
}

// What the hidden names of this machine's writers begin with: the host's name tells a writer on
// another machine, whose process cannot be seen, on a shared folder.
std::string HiddenPrefix() {
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    return ".reelmont-" + std::string(host) + "-";
}

// The hidden name of an unfinished file, or of a finished one for the moment between linking it
// in and moving it over the target: the prefix, the writer's process number and a serial.
std::string PassingName(const std::string& folder) {
    return folder + "/" + HiddenPrefix() + std::to_string(getpid()) + "-" +
           std::to_string(s_serial++) + ".tmp";
}

// The process number of a hidden name of this machine's writers, or 0 when it is none.
pid_t WriterOf(const char* name, const std::string& prefix) {
    if (std::strncmp(name, prefix.c_str(), prefix.size()) != 0) {
        return 0;
    }
    unsigned long pid = 0;
    unsigned long serial = 0;
    int end = 0;
    const char* rest = name + prefix.size();
    if (!std::isdigit(static_cast<unsigned char>(rest[0])) ||
        std::sscanf(rest, "%lu-%lu.tmp%n", &pid, &serial, &end) != 2 || rest[end] != '\0' ||
        end == 0 || pid > INT_MAX) {
        return 0;
    }
    return static_cast<pid_t>(pid);
}

// Removes the hidden files that writers killed on the way left in the folder: those of this
// machine's processes that are gone.
void RemoveLeftovers(const std::string& folder) {
    DIR* entries = opendir(folder.c_str());
    if (entries == nullptr) {
        return;
    }
    const std::string prefix = HiddenPrefix();
    while (const dirent* entry = readdir(entries)) {
        const pid_t writer = WriterOf(entry->d_name, prefix);
        if (writer > 0 && kill(writer, 0) != 0 && errno == ESRCH) {
            unlinkat(dirfd(entries), entry->d_name, 0);
        }
    }
    closedir(entries);
}

void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

} // namespace

ReplacingFile::ReplacingFile(const wxString& target) : m_target(target) {}

ReplacingFile::~ReplacingFile() {
    Discard();
}

bool ReplacingFile::Fail(int code) {
    m_error = wxSysErrorMsgStr(static_cast<unsigned long>(code));
    return false;
}

bool ReplacingFile::Open() {
    bool refused = false;
    const std::string final = FollowLinks(std::string(m_target.fn_str()), &refused);
    if (refused) {
        m_error = _("it is a link of another user in a shared folder, which could lead anywhere");
        return false;
    }
    if (final.empty()) {
        return Fail(errno);
    }
    m_final = wxString(final.c_str(), *wxConvFileName);
    struct stat old;
    const bool exists = stat(final.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) {
        return Fail(errno);
    }
    if (exists && S_ISDIR(old.st_mode)) {
        m_error = _("it is a folder");
        return false;
    }
    if (exists && !S_ISREG(old.st_mode)) {
        m_error = _("it is not a regular file");
        return false;
    }
    RemoveLeftovers(FolderOf(final));
    if (!OpenUnnamed() && !OpenNamed()) {
        return false;
    }
    if (exists) {
        // The owner may only be kept by a privileged process, the group by a member of it; the
        // permissions are set last because a change of owner clears the set-id bits.
        if (fchown(m_fd, old.st_uid, old.st_gid) != 0 && fchown(m_fd, -1, old.st_gid) != 0) {
            errno = 0;
        }
        if (fchmod(m_fd, old.st_mode & 07777) != 0) {
            return Fail(errno);
        }
    }
    return true;
}

bool ReplacingFile::OpenUnnamed() {
    // An unnamed file vanishes with the process; it is linked in only when complete, through
    // its /proc entry.
    if (access("/proc/self/fd", X_OK) != 0) {
        return false;
    }
    const std::string folder = FolderOf(std::string(m_final.fn_str()));
    m_fd = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    return m_fd >= 0;
}

bool ReplacingFile::OpenNamed() {
    // For file systems without unnamed files: a hidden name made with O_EXCL, so that no other
    // file is ever overwritten.
    const std::string folder = FolderOf(std::string(m_final.fn_str()));
    Replacements& process = ProcessReplacements();
    std::lock_guard<std::mutex> lock(process.lock);
    if (process.abandoned) {
        return Fail(ECANCELED);
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = PassingName(folder);
        m_fd = open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
        if (m_fd >= 0) {
            m_temporary = wxString(name.c_str(), *wxConvFileName);
            process.named.insert(name);
            return true;
        }
        if (errno != EEXIST) {
            return Fail(errno);
        }
    }
    return Fail(EEXIST);
}

bool ReplacingFile::Write(const void* data, size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = write(m_fd, bytes, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return Fail(written < 0 ? errno : EIO);
        }
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

bool ReplacingFile::Commit() {
    if (fsync(m_fd) != 0) {
        return Fail(errno);
    }
    const std::string final(m_final.fn_str());
    const std::string folder = FolderOf(final);
    Replacements& process = ProcessReplacements();
    std::lock_guard<std::mutex> lock(process.lock);
    if (process.abandoned) {
        return Fail(ECANCELED);
    }
    if (m_temporary.empty()) {
        // An existing name cannot be linked over: the file gets a passing name first.
        const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
        for (int attempt = 0; m_temporary.empty(); ++attempt) {
            const std::string name = PassingName(folder);
            if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                m_temporary = wxString(name.c_str(), *wxConvFileName);
                process.named.insert(name);
            } else if (errno != EEXIST || attempt == 100) {
                return Fail(errno);
            }
        }
    }
    const int closed = close(m_fd);
    m_fd = -1;
    if (closed != 0) {
        return Fail(errno);
    }
    SyncFolder(folder);
    if (std::rename(m_temporary.fn_str(), final.c_str()) != 0) {
        return Fail(errno);
    }
    process.named.erase(std::string(m_temporary.fn_str()));
    process.replaced = true;
    m_temporary.clear();
    SyncFolder(folder);
    return true;
}

void ReplacingFile::Discard() {
    if (m_fd >= 0) {
        close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.empty()) {
        Replacements& process = ProcessReplacements();
        std::lock_guard<std::mutex> lock(process.lock);
        const std::string name(m_temporary.fn_str());
        unlink(name.c_str());
        process.named.erase(name);
        m_temporary.clear();
    }
}

bool AbandonReplacements() {
    Replacements& process = ProcessReplacements();
    std::lock_guard<std::mutex> lock(process.lock);
    process.abandoned = true;
    for (const std::string& name : process.named) {
        unlink(name.c_str());
    }
    process.named.clear();
    return process.replaced;
}

bool ReplaceFileWith(const wxString& target, const void* data, size_t size, wxString* error) {
    ReplacingFile file(target);
    const bool written = file.Open() && file.Write(data, size) && file.Commit();
    if (!written) {
        *error = file.Error();
    }
    return written;
}
