#include "import/source_lookup.h"

#include <wx/filefn.h>
#include <wx/log.h>
#include <wx/strconv.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Reading a folder's names pays once this many files in it were asked about. Each try reads at
// most twice as many names as look-ups so far and the next try waits for four times as many,
// so a folder far larger than the run costs a few names per look-up at most.
constexpr size_t kFirstListing = 64;

// The toolkit's file-name conversion writes "é" as its UTF-8 bytes when names are UTF-8.
bool FileNamesAreUtf8() {
    const wxCharBuffer name = wxConvFileName->cWC2MB(L"\u00e9");
    return name.length() == 2 && std::string_view(name.data(), 2) == "\xc3\xa9";
}

bool Ascii(std::string_view path) {
    for (const char c : path) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}
} // namespace

SourceLookup::SourceLookup() : m_namesAreUtf8(FileNamesAreUtf8()) {}

SourceLookup::~SourceLookup() {
    if (m_folderFd >= 0) {
        close(m_folderFd);
    }
}

void SourceLookup::OpenFolder(std::string_view folder) {
    if (m_folderKnown && folder == m_folder) {
        return;
    }
    if (m_folderFd >= 0) {
        close(m_folderFd);
    }
    m_folder.assign(folder);
    m_folderKnown = true;
    m_folderFd = open(m_folder.empty() ? "." : m_folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    m_lookups = 0;
    m_nextListing = kFirstListing;
    m_listed = false;
    m_names.clear();
}

bool SourceLookup::ListFolder(size_t mostNames) {
    const int fd = openat(m_folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* folder = fd < 0 ? nullptr : fdopendir(fd);
    if (folder == nullptr) {
        if (fd >= 0) {
            close(fd);
        }
        return false;
    }
    size_t count = 0;
    while (const dirent* entry = readdir(folder)) {
        if (++count > mostNames) {
            m_names.clear();
            break;
        }
        const unsigned char type = entry->d_type;
        if (type == DT_REG || type == DT_LNK || type == DT_UNKNOWN) {
            m_names.emplace(entry->d_name, type == DT_REG);
        }
    }
    closedir(folder);
    return count <= mostNames;
}

bool SourceLookup::ExistsInFolder() {
    if (!m_listed && ++m_lookups == m_nextListing) {
        m_listed = ListFolder(2 * m_lookups);
        m_nextListing = 4 * m_lookups;
    }
    if (m_listed) {
        const auto found = m_names.find(m_name);
        if (found == m_names.end()) {
            return false;
        }
        if (found->second) {
            return true;
        }
    }
    // Symbolic links, and names of a folder too large to read, are asked about one by one.
    struct stat status {};
    return fstatat(m_folderFd, m_name.c_str(), &status, 0) == 0 && S_ISREG(status.st_mode);
}

bool SourceLookup::Exists(std::string_view path) {
    // The toolkit's conversion reads "\ooo" as a byte in some file-name encodings.
    if (path.find('\\') != std::string_view::npos || (!m_namesAreUtf8 && !Ascii(path))) {
        wxLogNull quiet;
        return wxFileExists(wxString::FromUTF8(path.data(), path.size()));
    }
    if (path.empty() || path.find('\0') != std::string_view::npos) {
        return false;
    }
    const size_t slash = path.rfind('/');
    m_name.assign(slash == std::string_view::npos ? path : path.substr(slash + 1));
    if (m_name.empty()) {
        return false; // a folder
    }
    OpenFolder(slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1));
    return m_folderFd >= 0 && ExistsInFolder();
}
