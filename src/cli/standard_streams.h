// Standard input as an INPUT ("-") and standard output as the target ("-o -"): both pass
// through a private scratch folder, so that the pictures are decoded and the GIF is written
// exactly as for files, and standard output receives nothing unless the whole GIF was written.
#pragma once

#include <wx/string.h>

#include <cstdio>

// A folder of the command's own under TMPDIR (else /tmp), removed with everything in it when
// the command ends.
class ScratchFolder {
public:
    ScratchFolder() = default;
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Creates the folder once; false with `error` saying why it could not be made.
    bool Create(wxString* error);
    // The path of a file called `name` in the folder.
    wxString File(const wxString& name) const { return m_path + "/" + name; }
    const wxString& Path() const { return m_path; }

private:
    wxString m_path;
};

// Copies all of `in` into a file of `folder` whose name ends as the import expects of what it
// holds, told by its first bytes: a GIF, PNG, JPEG or BMP picture, or a project file. False
// when the stream cannot be read, is empty or holds none of these, with `error` saying which.
bool SpoolInput(std::FILE* in, ScratchFolder& folder, wxString* path, wxString* error);

// Copies the file at `path` to `out`; false with `error` when it cannot be read or written.
bool CopyFileTo(const wxString& path, std::FILE* out, wxString* error);
