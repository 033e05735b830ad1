// Writes a new version of a file beside it and puts it in the file's place only once it is
// complete, so that a failed or stopped write leaves the old file as it was.
#pragma once

#include <wx/file.h>
#include <wx/string.h>

class ReplacingFile {
public:
    explicit ReplacingFile(const wxString& target);
    // Removes the unfinished file unless Commit succeeded.
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Creates the new file in the target's folder.
    bool Open();
    // Appends bytes to the new file.
    bool Write(const void* data, size_t size);
    // Saves the new file to disk and moves it over the target.
    bool Commit();
    // Removes the new file; the target stays as it is.
    void Discard();

    // The system's description of the last failure.
    const wxString& Error() const { return m_error; }
    // The unfinished file's path, empty before Open.
    const wxString& TemporaryPath() const { return m_temporary; }

private:
    bool Fail(unsigned long code);

    wxString m_target;
    wxString m_temporary;
    wxFile m_file;
    wxString m_error;
    bool m_committed = false;
};
