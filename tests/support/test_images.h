// Small picture files that window tests write into a folder of their own.
#pragma once

#include <wx/anidecod.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/imaggif.h>
#include <wx/palette.h>
#include <wx/wfstream.h>

#include <vector>

struct TempFolder {
    wxString path;
    TempFolder() {
        path = wxFileName::CreateTempFileName("reelmont-test");
        wxRemoveFile(path);
        wxMkdir(path);
    }
    ~TempFolder() { wxFileName::Rmdir(path, wxPATH_RMDIR_RECURSIVE); }
    wxString operator/(const wxString& name) const { return path + "/" + name; }
};

inline wxImage FilledImage(int width, int height, unsigned char r, unsigned char g,
                           unsigned char b) {
    wxImage image(width, height);
    image.SetRGB(wxRect(0, 0, width, height), r, g, b);
    return image;
}

inline wxString WritePng(const wxString& path, int width, int height, unsigned char r = 200,
                         unsigned char g = 40, unsigned char b = 40) {
    FilledImage(width, height, r, g, b).SaveFile(path, wxBITMAP_TYPE_PNG);
    return path;
}

// A GIF whose frames all cover the whole picture, each in its own colour.
inline wxString WriteGif(const wxString& path, int frames, int width, int height) {
    wxImageArray images;
    for (int i = 0; i < frames; ++i) {
        wxImage frame = FilledImage(width, height, 40 * i, 255 - 40 * i, 90);
        unsigned char red[2] = {static_cast<unsigned char>(40 * i), 0};
        unsigned char green[2] = {static_cast<unsigned char>(255 - 40 * i), 0};
        unsigned char blue[2] = {90, 0};
        frame.SetPalette(wxPalette(2, red, green, blue));
        images.Add(frame);
    }
    wxFileOutputStream out(path);
    wxGIFHandler().SaveAnimation(images, &out, false, 10);
    return path;
}
