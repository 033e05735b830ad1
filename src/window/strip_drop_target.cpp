#include "window/strip_drop_target.h"

#include "window/thumbnailctrl.h"

StripDropTarget::StripDropTarget(wxThumbnailCtrl& strip, Handler handler)
    : m_strip(strip), m_handler(std::move(handler)) {}

wxDragResult StripDropTarget::OnDragOver(wxCoord x, wxCoord y, wxDragResult) {
    m_strip.ShowDropMarker(wxPoint(x, y));
    return wxDragCopy;
}

void StripDropTarget::OnLeave() {
    m_strip.HideDropMarker();
}

bool StripDropTarget::OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& files) {
    m_strip.HideDropMarker();
    return m_handler(m_strip.DropGapAt(wxPoint(x, y)), files);
}
