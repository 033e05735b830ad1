// Geometry of the strip: the wrapping grid of cells, hit testing and vertical scrolling. No
// layout is stored; everything follows from the current client width.
#include "window/thumbnailctrl.h"

#include <algorithm>

namespace {
constexpr int kPixelsPerScrollUnit = 10;

// Scroll units that cover a length whole: rounding down would leave up to a unit of the last
// row, its frame labels, out of reach.
int UnitsCovering(int pixels, int unit) {
    return (pixels + unit - 1) / unit;
}
} // namespace

int wxThumbnailCtrl::ColumnCount(int clientWidth) const {
    return std::max(1, clientWidth / (m_itemWidth + m_spacing));
}

bool wxThumbnailCtrl::GetRowCol(int item, const wxSize& clientSize, int& row, int& col) const {
    wxCHECK_MSG(item < GetCount(), false, wxS("invalid index in wxThumbnailCtrl::GetRowCol"));
    if (item < 0) {
        return false;
    }
    const int columns = ColumnCount(clientSize.x);
    row = item / columns;
    col = item % columns;
    return true;
}

bool wxThumbnailCtrl::GetItemRect(wxRect& rect, int n, bool transform) const {
    wxCHECK_MSG(n < GetCount(), false, wxS("invalid index in wxThumbnailCtrl::GetItemRect"));
    int row = 0;
    int col = 0;
    if (!GetRowCol(n, GetClientSize(), row, col)) {
        return false;
    }
    int x = m_spacing + col * (m_itemWidth + m_spacing);
    int y = m_spacing + row * (m_itemHeight + m_spacing);
    if (transform) {
        int startX = 0;
        int startY = 0;
        int unitX = 0;
        int unitY = 0;
        GetViewStart(&startX, &startY);
        GetScrollPixelsPerUnit(&unitX, &unitY);
        x -= startX * unitX;
        y -= startY * unitY;
    }
    rect = wxRect(x, y, m_itemWidth, m_itemHeight);
    return true;
}

bool wxThumbnailCtrl::GetItemRectImage(wxRect& rect, int n, bool transform) const {
    wxCHECK_MSG(n < GetCount(), false, wxS("invalid index in wxThumbnailCtrl::GetItemRectImage"));
    wxRect cell;
    if (!GetItemRect(cell, n, transform)) {
        return false;
    }
    int x = cell.x + (cell.width - m_thumbWidth) / 2;
    int y = cell.y + (cell.height - m_thumbHeight) / 2;
    if (!HasFlag(wxTHUMBSTRIP_SHOW_LABEL)) {
        // The single text line sits below the image.
        y -= m_textHeight / 2;
    }
    rect = wxRect(x, y, m_thumbWidth, m_thumbHeight);
    return true;
}

bool wxThumbnailCtrl::HitTestItem(const wxPoint& pt, int& n) const {
    const int pitchX = m_itemWidth + m_spacing;
    const int pitchY = m_itemHeight + m_spacing;
    const int columns = ColumnCount(GetClientSize().x);
    int startY = 0;
    int unitY = 0;
    GetViewStart(nullptr, &startY);
    GetScrollPixelsPerUnit(nullptr, &unitY);
    const int y = startY * unitY + pt.y;
    if (pt.x < 0 || y < 0) {
        return false;
    }
    // The gap in front of a cell belongs to it; the leftover space right of the last column
    // belongs to no cell.
    const int col = pt.x / pitchX;
    if (col >= columns) {
        return false;
    }
    const int candidate = col + columns * (y / pitchY);
    if (candidate >= GetCount()) {
        return false;
    }
    n = candidate;
    return true;
}

void wxThumbnailCtrl::RecalcScrollbars() {
    if (m_freezeCount != 0) {
        return;
    }
    if (GetCount() == 0) {
        SetScrollbars(0, 0, 0, 0, 0, 0);
        return;
    }
    const wxSize client = GetClientSize();
    int row = 0;
    int col = 0;
    GetRowCol(GetCount() - 1, client, row, col);
    const int total = (row + 1) * (m_itemHeight + m_spacing) + m_spacing;
    const int units = UnitsCovering(total, kPixelsPerScrollUnit);
    const int lastUseful = UnitsCovering(std::max(0, total - client.y), kPixelsPerScrollUnit);
    int startY = 0;
    GetViewStart(nullptr, &startY);
    SetScrollbars(0, kPixelsPerScrollUnit, 0, units, 0, std::min(startY, lastUseful));
}

void wxThumbnailCtrl::ScrollToShow(int n, bool belowFirst) {
    wxRect cell;
    if (!GetItemRect(cell, n, false)) {
        return;
    }
    int unitX = 0;
    int unitY = 0;
    GetScrollPixelsPerUnit(&unitX, &unitY);
    if (unitY == 0) {
        return;
    }
    int startY = 0;
    GetViewStart(nullptr, &startY);
    const int top = startY * unitY;
    const int clientHeight = GetClientSize().y;
    const bool below = cell.y + cell.height > top + clientHeight;
    const bool above = cell.y < top;
    int position = 0;
    if (below && (belowFirst || !above)) {
        position = UnitsCovering(cell.y + m_itemHeight + m_spacing - clientHeight, unitY);
    } else if (above) {
        position = cell.y / unitY;
    } else {
        return;
    }
    SetScrollbars(unitX, unitY, 0, GetVirtualSize().y / unitY, 0, position);
}

void wxThumbnailCtrl::ScrollIntoView(int n) {
    ScrollToShow(n, true);
}

void wxThumbnailCtrl::ScrollIntoViewForKey(int keyCode, int n) {
    switch (keyCode) {
    case WXK_DOWN:
    case WXK_RIGHT:
    case WXK_END:
    case WXK_PAGEDOWN:
        ScrollToShow(n, true);
        break;
    case WXK_UP:
    case WXK_LEFT:
    case WXK_HOME:
    case WXK_PAGEUP:
        ScrollToShow(n, false);
        break;
    default:
        break;
    }
}
