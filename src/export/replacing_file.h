// Writes a new version of a file and puts it in the file's place only once it is complete, so
// that a failed, stopped or killed write leaves the old file as it was and nothing beside it
// (where the file system has no unnamed files, a killed write leaves a hidden file, which the
// next write into that folder removes).
// A symbolic link keeps pointing where it did: the file it leads to is the one replaced, where
// the system itself would follow the link (in a folder such as /tmp, that everyone may write to
// and only owners delete from, only links of this user or of the folder's owner; others are
// refused). The new file keeps the old one's permissions, and its owner and group where the
// process may set them.
#pragma once

#include <wx/string.h>

#include <cstddef>

class ReplacingFile {
public:
    explicit ReplacingFile(const wxString& target);
    // Drops the unfinished file unless Commit succeeded.
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Starts the new file in the target's folder. Refuses a target that is a folder, a named
    // pipe, a device or a socket.
    bool Open();
    // Appends bytes to the new file.
    bool Write(const void* data, size_t size);
    // Saves the new file to disk and moves it over the target.
    bool Commit();
    // Drops the new file; the target stays as it is.
    void Discard();

    // Why the last step failed, for a message that names the file.
    const wxString& Error() const { return m_error; }

private:
    bool Fail(int code);
    bool OpenUnnamed();
    bool OpenNamed();

    wxString m_target;
    // The file actually replaced: the target, or the file its links lead to.
    wxString m_final;
    // The unfinished file's name; empty while it has none (unnamed until complete).
    wxString m_temporary;
    int m_fd = -1;
    wxString m_error;
};

// For a process about to end at once (on a signal): waits for a file being moved into place,
// removes every unfinished file that has a name, and keeps later ones from being made or moved
// in. True when some file had been moved into place already. Safe on any thread.
bool AbandonReplacements();

// Writes `size` bytes as the new content of `target` with a ReplacingFile; on failure `error`
// says why.
bool ReplaceFileWith(const wxString& target, const void* data, size_t size, wxString* error);
