#include "window/crop_area.h"

#include <wx/dcbuffer.h>
#include <wx/settings.h>

#include <algorithm>
#include <cmath>

namespace {

// Half the side of a handle, and how near a press must come to a side to take it.
const int kHandle = 4;
const int kReach = 6;
// Blank space around the picture, so that the handles on its edges show whole.
const int kMargin = kHandle + 2;

wxStockCursor CursorFor(CropGrip grip) {
    switch (grip) {
    case CropGrip::Move:
        return wxCURSOR_SIZING;
    case CropGrip::Left:
    case CropGrip::Right:
        return wxCURSOR_SIZEWE;
    case CropGrip::Top:
    case CropGrip::Bottom:
        return wxCURSOR_SIZENS;
    case CropGrip::TopLeft:
    case CropGrip::BottomRight:
        return wxCURSOR_SIZENWSE;
    case CropGrip::TopRight:
    case CropGrip::BottomLeft:
        return wxCURSOR_SIZENESW;
    case CropGrip::New:
        break;
    }
    return wxCURSOR_CROSS;
}

} // namespace

CropArea::CropArea(wxWindow* parent, const wxImage& picture, const wxRect& crop)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxFULL_REPAINT_ON_RESIZE),
      m_picture(picture), m_crop(crop) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CropArea::OnPaint, this);
    Bind(wxEVT_SIZE, &CropArea::OnSize, this);
    Bind(wxEVT_LEFT_DOWN, &CropArea::OnPress, this);
    Bind(wxEVT_MOTION, &CropArea::OnMotion, this);
    Bind(wxEVT_LEFT_UP, &CropArea::OnRelease, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CropArea::OnCaptureLost, this);
    Scale();
}

wxSize CropArea::DoGetBestClientSize() const {
    // The picture at its own size where the screen has room, so that pixels can be hit.
    const wxSize picture = m_picture.IsOk() ? m_picture.GetSize() : wxSize(320, 240);
    return wxSize(std::clamp(picture.x, 320, 960), std::clamp(picture.y, 240, 600)) +
           wxSize(2 * kMargin, 2 * kMargin);
}

void CropArea::SetCrop(const wxRect& crop) {
    m_crop = crop;
    Refresh();
}

wxPoint CropArea::ToWindow(const wxPoint& pixel) const {
    return wxPoint(m_offset.x + static_cast<int>(std::lround(pixel.x * m_scale)),
                   m_offset.y + static_cast<int>(std::lround(pixel.y * m_scale)));
}

wxPoint CropArea::ToPicture(const wxPoint& point) const {
    return wxPoint(static_cast<int>(std::floor((point.x - m_offset.x) / m_scale)),
                   static_cast<int>(std::floor((point.y - m_offset.y) / m_scale)));
}

wxRect CropArea::OnWindow(const wxRect& crop) const {
    const wxPoint topLeft = ToWindow(crop.GetTopLeft());
    const wxPoint bottomRight = ToWindow(wxPoint(crop.GetRight() + 1, crop.GetBottom() + 1));
    return wxRect(topLeft, wxSize(std::max(1, bottomRight.x - topLeft.x),
                                  std::max(1, bottomRight.y - topLeft.y)));
}

void CropArea::Scale() {
    const wxSize room = GetClientSize() - wxSize(2 * kMargin, 2 * kMargin);
    if (!m_picture.IsOk() || room.x <= 0 || room.y <= 0) {
        return;
    }
    // Never enlarged, like the preview: a pixel of the picture is at most a pixel here.
    m_scale = std::min(
        {1.0, double(room.x) / m_picture.GetWidth(), double(room.y) / m_picture.GetHeight()});
    const int width = std::max(1, static_cast<int>(m_picture.GetWidth() * m_scale));
    const int height = std::max(1, static_cast<int>(m_picture.GetHeight() * m_scale));
    const wxImage shown =
        m_scale < 1 ? m_picture.Scale(width, height, wxIMAGE_QUALITY_HIGH) : m_picture;
    m_bright = wxBitmap(shown);
    m_dim = wxBitmap(shown.ChangeLightness(45));
    m_offset = wxPoint((GetClientSize().x - width) / 2, (GetClientSize().y - height) / 2);
}

void CropArea::OnSize(wxSizeEvent& event) {
    Scale();
    Refresh();
    event.Skip();
}

void CropArea::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_APPWORKSPACE)));
    dc.Clear();
    if (!m_bright.IsOk()) {
        return;
    }
    dc.DrawBitmap(m_dim, m_offset);
    const wxRect shown = OnWindow(m_crop).Intersect(wxRect(m_offset, m_bright.GetSize()));
    if (shown.IsEmpty()) {
        return;
    }
    dc.DrawBitmap(m_bright.GetSubBitmap(wxRect(shown.GetTopLeft() - m_offset, shown.GetSize())),
                  shown.GetTopLeft());
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.SetPen(wxPen(*wxBLACK, 3));
    dc.DrawRectangle(shown);
    dc.SetPen(wxPen(*wxWHITE, 1));
    dc.DrawRectangle(shown);
    dc.SetBrush(*wxWHITE_BRUSH);
    dc.SetPen(*wxBLACK_PEN);
    const int xs[] = {shown.GetLeft(), shown.GetLeft() + shown.width / 2, shown.GetRight()};
    const int ys[] = {shown.GetTop(), shown.GetTop() + shown.height / 2, shown.GetBottom()};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            if (i != 1 || j != 1) {
                dc.DrawRectangle(xs[i] - kHandle, ys[j] - kHandle, 2 * kHandle + 1,
                                 2 * kHandle + 1);
            }
        }
    }
}

void CropArea::OnPress(wxMouseEvent& event) {
    SetFocus();
    m_pressedWindowAt = event.GetPosition();
    m_pressedAt = ToPicture(event.GetPosition());
    m_cropAtPress = m_crop;
    m_grip = GripAt(m_crop, m_pressedAt, std::max(1, static_cast<int>(kReach / m_scale)));
    // Nothing cropped yet: a press inside draws the first rectangle, as there is no room to
    // move the whole picture.
    if (m_grip == CropGrip::Move && m_crop == wxRect(m_picture.GetSize())) {
        m_grip = CropGrip::New;
    }
    m_dragging = true;
    m_moved = false;
    CaptureMouse();
}

void CropArea::OnMotion(wxMouseEvent& event) {
    if (!m_dragging) {
        SetCursor(wxCursor(CursorFor(GripAt(m_crop, ToPicture(event.GetPosition()),
                                            std::max(1, static_cast<int>(kReach / m_scale))))));
        return;
    }
    // A click without moving leaves the rectangle as it is.
    const wxPoint travel = event.GetPosition() - m_pressedWindowAt;
    if (!m_moved && std::abs(travel.x) < 3 && std::abs(travel.y) < 3) {
        return;
    }
    m_moved = true;
    m_crop = DraggedCrop(m_cropAtPress, m_grip, m_pressedAt, ToPicture(event.GetPosition()),
                         m_picture.GetSize());
    Refresh();
    if (m_told) {
        m_told(m_crop);
    }
}

void CropArea::OnRelease(wxMouseEvent& event) {
    if (m_dragging) {
        OnMotion(event);
        m_dragging = false;
        if (HasCapture()) {
            ReleaseMouse();
        }
    }
}

void CropArea::OnCaptureLost(wxMouseCaptureLostEvent&) {
    m_dragging = false;
}
