// The frame entry: one animation frame as a full-size bitmap and a thumbnail, with its source
// path and frame number.
#include "window/thumbnail_item.h"

#include "app/platform.h"
#include "image/thumbnail_fit.h"
#include "import/frame_reference.h"
#include "window/thumbnailctrl.h"

#include <wx/filefn.h>
#include <wx/log.h>

wxIMPLEMENT_CLASS(wxImageThumbnailItem, wxThumbnailItem);

wxBitmap ScaleToThumbnail(const wxImage& image, int boxWidth, int boxHeight) {
    const wxImage thumbnail = ShrinkToFit(image, wxSize(boxWidth, boxHeight));
    if (!thumbnail.IsOk()) {
        return wxBitmap();
    }
    return wxBitmap(thumbnail, -1);
}

wxImageThumbnailItem::wxImageThumbnailItem(wxImage* image, int frameIndex, const wxString& path)
    : wxThumbnailItem(path), m_image(image), m_frameIndex(frameIndex) {}

wxImageThumbnailItem::~wxImageThumbnailItem() {
    delete m_image;
}

bool wxImageThumbnailItem::PrepareThumbnail(wxThumbnailCtrl& ctrl, bool force) {
    TraceLine(wxS("wxImageThumbnailItem"));
    if (m_thumbnail.IsOk() && !force) {
        return true;
    }
    if (m_image == nullptr || !wxFileExists(StripFrameSuffix(m_path))) {
        return false;
    }
    wxLogNull quiet;
    if (IsGifSource(m_path)) {
        m_path = FrameReference(m_path, m_frameIndex);
    }
    m_bitmap = m_image->IsOk() ? wxBitmap(*m_image, -1) : wxBitmap();
    m_thumbnail = ScaleToThumbnail(*m_image, ctrl.GetThumbnailWidth(), ctrl.GetThumbnailHeight());
    if (m_thumbnail.IsOk()) {
        delete m_image;
        m_image = nullptr;
    }
    return true;
}

bool wxImageThumbnailItem::PaintThumbnail(wxDC& dc, const wxThumbnailCtrl& WXUNUSED(ctrl),
                                          const wxRect& imageRect, int WXUNUSED(state)) {
    if (m_thumbnail.IsOk()) {
        dc.DrawBitmap(m_thumbnail, imageRect.x + (imageRect.width - m_thumbnail.GetWidth()) / 2,
                      imageRect.y + (imageRect.height - m_thumbnail.GetHeight()) / 2, false);
    }
    return true;
}
