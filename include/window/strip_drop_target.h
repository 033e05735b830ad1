// Files dropped on the thumbnail strip from a file manager: the strip shows where they will go
// while they are dragged over it, and the handler receives them with that place.
#pragma once

#include <wx/dnd.h>

#include <functional>

class wxThumbnailCtrl;

class StripDropTarget : public wxFileDropTarget {
public:
    // Receives the gap the files were dropped into (0 .. entry count) and the files; true when
    // it takes them.
    using Handler = std::function<bool(int gap, const wxArrayString& files)>;

    StripDropTarget(wxThumbnailCtrl& strip, Handler handler);

    wxDragResult OnDragOver(wxCoord x, wxCoord y, wxDragResult suggested) override;
    void OnLeave() override;
    bool OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& files) override;

private:
    wxThumbnailCtrl& m_strip;
    Handler m_handler;
};
