#include "cli/standard_streams.h"

#include "cli/interruption.h"

#include <wx/filename.h>
#include <wx/intl.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const size_t kChunk = 1 << 16;

wxString Cause(int code) {
    return wxString(std::strerror(code), *wxConvCurrent);
}

// The name the import recognises a file by, from its first bytes; empty for none of them.
wxString NameFor(const std::string& start) {
    const auto begins = [&start](const char* magic, size_t length) {
        return start.compare(0, length, magic, length) == 0;
    };
    if (begins("GIF87a", 6) || begins("GIF89a", 6)) {
        return "standard-input.gif";
    }
    if (begins("\x89PNG\r\n\x1a\n", 8)) {
        return "standard-input.png";
    }
    if (begins("\xff\xd8\xff", 3)) {
        return "standard-input.jpg";
    }
    if (begins("BM", 2)) {
        return "standard-input.bmp";
    }
    // A project is XML: after a byte-order mark and blanks, its first mark-up.
    size_t first = begins("\xef\xbb\xbf", 3) ? 3 : 0;
    first = start.find_first_not_of(" \t\r\n", first);
    if (first != std::string::npos && start[first] == '<') {
        return "standard-input.xml";
    }
    return wxString();
}

} // namespace

ScratchFolder::~ScratchFolder() {
    if (!m_path.empty()) {
        SetInterruptedScratch(wxString());
        wxFileName::Rmdir(m_path, wxPATH_RMDIR_RECURSIVE);
    }
}

bool ScratchFolder::Create(wxString* error) {
    if (!m_path.empty()) {
        return true;
    }
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/reelmont-export-XXXXXX";
    if (!mkdtemp(&pattern[0])) {
        *error = wxString::Format(_("cannot make a scratch folder in \"%s\": %s"),
                                  wxString(base && *base ? base : "/tmp", *wxConvFileName),
                                  Cause(errno));
        return false;
    }
    m_path = wxString(pattern.c_str(), *wxConvFileName);
    SetInterruptedScratch(m_path);
    return true;
}

bool SpoolInput(std::FILE* in, ScratchFolder& folder, wxString* path, wxString* error) {
    std::string bytes(kChunk, '\0');
    size_t length = std::fread(&bytes[0], 1, kChunk, in);
    if (std::ferror(in)) {
        *error = wxString::Format(_("cannot read standard input: %s"), Cause(errno));
        return false;
    }
    if (length == 0) {
        *error = _("standard input is empty");
        return false;
    }
    bytes.resize(length);
    const wxString name = NameFor(bytes);
    if (name.empty()) {
        *error = _("standard input holds no GIF, PNG, JPEG or BMP picture and no project file");
        return false;
    }
    if (!folder.Create(error)) {
        return false;
    }
    *path = folder.File(name);
    std::FILE* file = std::fopen(path->fn_str(), "wb");
    if (!file) {
        *error =
            wxString::Format(_("cannot keep standard input in \"%s\": %s"), *path, Cause(errno));
        return false;
    }
    bool written = true;
    while (length > 0 && written) {
        written = std::fwrite(bytes.data(), 1, length, file) == length;
        bytes.resize(kChunk);
        length = std::fread(&bytes[0], 1, kChunk, in);
    }
    const int readCode = std::ferror(in) ? errno : 0;
    written = std::fclose(file) == 0 && written;
    if (readCode) {
        *error = wxString::Format(_("cannot read standard input: %s"), Cause(readCode));
        return false;
    }
    if (!written) {
        *error =
            wxString::Format(_("cannot keep standard input in \"%s\": %s"), *path, Cause(errno));
        return false;
    }
    return true;
}

bool CopyFileTo(const wxString& path, std::FILE* out, wxString* error) {
    std::FILE* file = std::fopen(path.fn_str(), "rb");
    if (!file) {
        *error = wxString::Format(_("cannot read \"%s\": %s"), path, Cause(errno));
        return false;
    }
    std::string bytes(kChunk, '\0');
    bool written = true;
    size_t length;
    while (written && (length = std::fread(&bytes[0], 1, kChunk, file)) > 0) {
        written = std::fwrite(bytes.data(), 1, length, out) == length;
    }
    const bool read = !std::ferror(file);
    written = written && std::fflush(out) == 0;
    const int code = errno;
    std::fclose(file);
    if (!read) {
        *error = wxString::Format(_("cannot read \"%s\": %s"), path, Cause(code));
        return false;
    }
    if (!written) {
        *error = wxString::Format(_("cannot write to standard output: %s"), Cause(code));
        return false;
    }
    return true;
}
