// Small files that tests write into a folder of their own, read back, and pixels compared.
#pragma once

#include "support/gif_bytes.h"
#include "support/temp_folder.h"

#include <wx/colour.h>
#include <wx/dir.h>
#include <wx/ffile.h>
#include <wx/image.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>

inline wxImage FilledImage(int width, int height, unsigned char r, unsigned char g,
                           unsigned char b) {
    wxImage image(width, height);
    image.SetRGB(wxRect(0, 0, width, height), r, g, b);
    return image;
}

// A picture of many colours, different for each seed.
inline wxImage NoiseImage(int width, int height, unsigned seed) {
    wxImage image(width, height, false);
    for (int p = 0; p < width * height * 3; ++p) {
        seed = seed * 1103515245u + 12345u;
        image.GetData()[p] = seed >> 24;
    }
    return image;
}

inline wxString WritePng(const wxString& path, int width, int height, unsigned char r = 200,
                         unsigned char g = 40, unsigned char b = 40) {
    FilledImage(width, height, r, g, b).SaveFile(path, wxBITMAP_TYPE_PNG);
    return path;
}

inline wxString WriteBytes(const wxString& path, const std::string& bytes) {
    wxFFile(path, "wb").Write(bytes.data(), bytes.size());
    return path;
}

inline std::string ReadBytes(const wxString& path) {
    std::ifstream file(path.fn_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// What a shell command printed; "failed: " before it when the command failed.
inline std::string CommandOutput(const wxString& command) {
    std::string output;
    FILE* pipe = popen(command.utf8_str(), "r");
    for (int c; pipe && (c = fgetc(pipe)) != EOF;) {
        output += static_cast<char>(c);
    }
    return pipe && pclose(pipe) == 0 ? output : "failed: " + output;
}

// The files in a folder, hidden ones too, sorted and joined by spaces.
inline std::string FilesIn(const wxString& folder) {
    wxArrayString files;
    wxDir::GetAllFiles(folder, &files, wxEmptyString, wxDIR_FILES | wxDIR_HIDDEN);
    files.Sort();
    return wxJoin(files, ' ').ToStdString();
}

inline wxColour PixelAt(const wxImage& image, int x, int y) {
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

// Files written while it lives cannot grow beyond `bytes` (0: as before), as on a full disk.
struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit limit{bytes ? bytes : old.rlim_cur, old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
        signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old); }
    rlimit old{};
};
