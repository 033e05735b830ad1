// The frame entry: a reference to one frame's picture and its thumbnail, with its source path
// and frame number.
#include "window/thumbnail_item.h"

#include "app/platform.h"
#include "image/thumbnail_fit.h"
#include "import/frame_reference.h"
#include "import/image_source.h"
#include "window/thumbnailctrl.h"

#include <wx/filefn.h>
#include <wx/log.h>

#include <algorithm>

wxIMPLEMENT_CLASS(wxImageThumbnailItem, wxThumbnailItem);

wxBitmap ScaleToThumbnail(const wxImage& image, int boxWidth, int boxHeight) {
    const wxImage thumbnail = ShrinkToFit(image, wxSize(boxWidth, boxHeight));
    if (!thumbnail.IsOk()) {
        return wxBitmap();
    }
    return wxBitmap(thumbnail, -1);
}

wxImageThumbnailItem::wxImageThumbnailItem(const AnimationFrame& frame)
    : wxThumbnailItem(frame.source), m_frameIndex(std::max(ParseFrameIndex(frame.source), 0)),
      m_frame(frame) {}

wxImageThumbnailItem::wxImageThumbnailItem(wxImage* image, int frameIndex, const wxString& path)
    : wxThumbnailItem(path), m_image(image), m_frameIndex(frameIndex) {}

void wxImageThumbnailItem::SetSource(const wxString& source) {
    m_path = source;
    m_frame.source = source;
    m_frameIndex = std::max(ParseFrameIndex(source), 0);
}

wxImageThumbnailItem::~wxImageThumbnailItem() {
    delete m_image;
}

bool wxImageThumbnailItem::PrepareThumbnail(wxThumbnailCtrl& ctrl, bool force) {
    TraceLine(wxS("wxImageThumbnailItem"));
    if (m_thumbnail.IsOk() && !force) {
        return true;
    }
    const wxSize box(ctrl.GetThumbnailWidth(), ctrl.GetThumbnailHeight());
    wxLogNull quiet;
    if (m_frame.IsOk()) {
        // The frame's own thumbnail serves the usual box; another box needs the picture.
        if (m_frame.thumbnail && box == wxSize(kThumbnailBox, kThumbnailBox)) {
            m_thumbnail = wxBitmap(*m_frame.thumbnail, -1);
        } else {
            m_thumbnail = ScaleToThumbnail(m_frame.pixels->Decode(), box.x, box.y);
        }
        return true;
    }
    if (m_image == nullptr || !wxFileExists(SourceFileOf(m_path))) {
        return false;
    }
    m_path = FrameSourceName(m_path, m_frameIndex);
    m_frame = MakeAnimationFrame(*m_image, m_path, kDefaultDelay);
    m_thumbnail = m_frame.thumbnail && box == wxSize(kThumbnailBox, kThumbnailBox)
                      ? wxBitmap(*m_frame.thumbnail, -1)
                      : ScaleToThumbnail(*m_image, box.x, box.y);
    if (m_thumbnail.IsOk() && m_frame.IsOk()) {
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
