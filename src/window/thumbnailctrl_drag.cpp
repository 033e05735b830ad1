// Reordering by drag: a press on a selected entry and a move beyond the drag threshold start a
// drag of the selection; a marker shows the gap it will go into, the strip scrolls near its top
// and bottom edges, and the release tells the owner the gap.
#include "window/thumbnailctrl.h"

#include <wx/dc.h>
#include <wx/settings.h>
#include <wx/utils.h>

#include <algorithm>
#include <cstdlib>

namespace {
// Pointer distance from the top or bottom edge that scrolls while dragging, and the scroll
// per timer tick in scroll units.
constexpr int kScrollZone = 24;
constexpr int kScrollStep = 2;
constexpr int kScrollTickMs = 50;
} // namespace

bool wxThumbnailCtrl::DropPlaceAt(const wxPoint& pt, int& entry, bool& after) const {
    const int count = GetCount();
    if (count == 0) {
        return false;
    }
    const int pitchX = m_itemWidth + m_spacing;
    const int pitchY = m_itemHeight + m_spacing;
    const int columns = ColumnCount(GetClientSize().x);
    int ppuX = 0;
    int ppuY = 0;
    GetScrollPixelsPerUnit(&ppuX, &ppuY);
    const int y = GetViewStart().y * ppuY + pt.y;
    const int row = std::max(0, y / pitchY);
    const int col = std::clamp(pt.x / pitchX, 0, columns - 1);
    const int n = row * columns + col;
    if (n >= count) {
        entry = count - 1;
        after = true;
        return true;
    }
    wxRect rect;
    GetItemRect(rect, n, true);
    entry = n;
    after = pt.x >= rect.x + rect.width / 2;
    return true;
}

int wxThumbnailCtrl::DropGapAt(const wxPoint& pt) const {
    int entry = 0;
    bool after = false;
    if (!DropPlaceAt(pt, entry, after)) {
        return 0;
    }
    return after ? entry + 1 : entry;
}

wxRect wxThumbnailCtrl::GetDropMarkerRect() const {
    wxRect cell;
    if (m_markerEntry < 0 || !GetItemRect(cell, m_markerEntry, true)) {
        return wxRect();
    }
    // A bar filling the gap beside the cell and reaching a little over the cell's borders.
    const int gapX = m_markerAfter ? cell.GetRight() + 1 : cell.x - m_spacing;
    return wxRect(gapX - 1, cell.y - 2, m_spacing + 2, cell.height + 4);
}

void wxThumbnailCtrl::ShowDropMarker(const wxPoint& pt) {
    int entry = -1;
    bool after = false;
    DropPlaceAt(pt, entry, after);
    if (entry == m_markerEntry && after == m_markerAfter) {
        return;
    }
    HideDropMarker();
    m_markerEntry = entry;
    m_markerAfter = after;
    RefreshRect(GetDropMarkerRect());
}

void wxThumbnailCtrl::HideDropMarker() {
    const wxRect old = GetDropMarkerRect();
    m_markerEntry = -1;
    if (!old.IsEmpty()) {
        // The cells under the bar's ends repaint too.
        RefreshRect(old.Inflate(2, 0));
    }
}

void wxThumbnailCtrl::PaintDropMarker(wxDC& dc) {
    wxRect cell;
    if (m_markerEntry < 0 || !GetItemRect(cell, m_markerEntry, false)) {
        return;
    }
    const int gapX = m_markerAfter ? cell.GetRight() + 1 : cell.x - m_spacing;
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(ToColour(m_palette.dropMarker)));
    dc.DrawRectangle(gapX - 1, cell.y - 2, m_spacing + 2, cell.height + 4);
}

void wxThumbnailCtrl::OnMotion(wxMouseEvent& event) {
    if (m_dragging) {
        ShowDropMarker(event.GetPosition());
        return;
    }
    if (m_pressedItem < 0 || !event.LeftIsDown()) {
        return;
    }
    const wxPoint moved = event.GetPosition() - m_pressPoint;
    const int thresholdX = std::max(3, wxSystemSettings::GetMetric(wxSYS_DRAG_X, this));
    const int thresholdY = std::max(3, wxSystemSettings::GetMetric(wxSYS_DRAG_Y, this));
    if (std::abs(moved.x) < thresholdX && std::abs(moved.y) < thresholdY) {
        return;
    }
    m_dragging = true;
    m_deferredSelect = false;
    CaptureMouse();
    m_dragScrollTimer.Start(kScrollTickMs);
    ShowDropMarker(event.GetPosition());
}

void wxThumbnailCtrl::OnLeftUp(wxMouseEvent& event) {
    if (m_dragging) {
        ShowDropMarker(event.GetPosition());
        EndDrag(true);
        return;
    }
    if (m_deferredSelect && IsValidIndex(m_pressedItem)) {
        SelectWithModifiers(m_pressedItem, 0);
    }
    m_deferredSelect = false;
    m_pressedItem = -1;
}

void wxThumbnailCtrl::OnCaptureLost(wxMouseCaptureLostEvent&) {
    EndDrag(false);
}

void wxThumbnailCtrl::EndDrag(bool drop) {
    if (!m_dragging) {
        return;
    }
    const int gap = m_markerEntry < 0 ? -1 : m_markerEntry + (m_markerAfter ? 1 : 0);
    m_dragging = false;
    m_pressedItem = -1;
    m_dragScrollTimer.Stop();
    HideDropMarker();
    if (HasCapture()) {
        ReleaseMouse();
    }
    if (drop && gap >= 0) {
        Notify(wxEVT_THUMBSTRIP_MOVE_SELECTION, gap, 0);
    }
}

void wxThumbnailCtrl::OnDragScrollTimer(wxTimerEvent&) {
    if (!m_dragging) {
        return;
    }
    const wxPoint pt = ScreenToClient(wxGetMousePosition());
    const int height = GetClientSize().y;
    int step = 0;
    if (pt.y < kScrollZone) {
        step = -kScrollStep;
    } else if (pt.y > height - kScrollZone) {
        step = kScrollStep;
    }
    if (step == 0) {
        return;
    }
    const int before = GetViewStart().y;
    Scroll(-1, std::max(0, before + step));
    if (GetViewStart().y != before) {
        // The marker stays with the pointer, not with the cell it was beside.
        m_markerEntry = -1;
        ShowDropMarker(pt);
        Refresh();
    }
}
