// Painting of the strip through its persistent off-screen buffer, and the window events that
// only repaint or re-lay the cells (erase, size, focus).
#include "window/thumbnailctrl.h"

#include <wx/dcbuffer.h>
#include <wx/graphics.h>
#include <wx/settings.h>

#include <algorithm>

bool wxThumbnailCtrl::PaintItemCell(int n, wxDC& dc, const wxRect& rect, const wxRect& imageRect,
                                    int state) {
    wxThumbnailItem* item = GetItem(n);
    return item != nullptr && item->PaintCell(dc, *this, rect, imageRect, state, n);
}

bool wxThumbnailCtrl::PaintItemThumbnail(int n, wxDC& dc, const wxRect& imageRect, int state) {
    wxThumbnailItem* item = GetItem(n);
    return item != nullptr && item->PaintThumbnail(dc, *this, imageRect, state);
}

bool wxThumbnailCtrl::EnsurePaintBuffer(const wxSize& size) {
    const wxSize wanted = size == wxDefaultSize ? GetClientSize() : size;
    if (wanted.x < 1 || wanted.y < 1) {
        return false;
    }
    if (m_paintBuffer.IsOk() && m_paintBuffer.GetWidth() >= wanted.x &&
        m_paintBuffer.GetHeight() >= wanted.y) {
        return true;
    }
    // Keep what one direction has reached when the other grows, so the buffer always covers
    // every client size seen.
    const int width =
        m_paintBuffer.IsOk() ? std::max(wanted.x, m_paintBuffer.GetWidth()) : wanted.x;
    const int height =
        m_paintBuffer.IsOk() ? std::max(wanted.y, m_paintBuffer.GetHeight()) : wanted.y;
    m_paintBuffer = wxBitmap(width, height, -1);
    return m_paintBuffer.IsOk();
}

namespace {
Rgb ThemeRgb(wxSystemColour which) {
    const wxColour colour = wxSystemSettings::GetColour(which);
    return {colour.Red(), colour.Green(), colour.Blue()};
}
} // namespace

wxColour ToColour(Rgb colour) {
    return wxColour(colour.r, colour.g, colour.b);
}

void DrawFocusFrame(wxDC& dc, const wxRect& rect, const wxColour& colour) {
    // Smoothing would blend the ends of the dots with what is below.
    wxGraphicsContext* context = dc.GetGraphicsContext();
    const wxAntialiasMode smoothing =
        context != nullptr ? context->GetAntialiasMode() : wxANTIALIAS_NONE;
    if (context != nullptr) {
        context->SetAntialiasMode(wxANTIALIAS_NONE);
    }
    dc.SetPen(wxPen(colour, 1, wxPENSTYLE_DOT));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(rect);
    if (context != nullptr) {
        context->SetAntialiasMode(smoothing);
    }
}

void wxThumbnailCtrl::ApplyThemeColours() {
    m_palette = MakeStripPalette({ThemeRgb(wxSYS_COLOUR_WINDOW), ThemeRgb(wxSYS_COLOUR_BTNFACE),
                                  ThemeRgb(wxSYS_COLOUR_BTNTEXT), ThemeRgb(wxSYS_COLOUR_HIGHLIGHT),
                                  ThemeRgb(wxSYS_COLOUR_HIGHLIGHTTEXT)});
    SetBackgroundColour(ToColour(m_palette.background));
    Refresh();
}

void wxThumbnailCtrl::OnThemeChanged(wxSysColourChangedEvent& event) {
    ApplyThemeColours();
    event.Skip();
}

void wxThumbnailCtrl::PaintBackground(wxDC& dc) {
    const wxColour colour = GetBackgroundColour();
    dc.SetBrush(wxBrush(colour));
    dc.SetPen(*wxTRANSPARENT_PEN);
    const wxSize client = GetClientSize();
    dc.DrawRectangle(
        wxRect(CalcUnscrolledPosition(wxPoint(-2, -2)), wxSize(client.x + 4, client.y + 4)));
}

void wxThumbnailCtrl::PaintContents(wxDC& dc, const wxRegion& updateRegion, bool hasFocus) {
    PaintBackground(dc);
    if (FramesWholeStrip(hasFocus)) {
        DrawFocusFrame(dc,
                       wxRect(CalcUnscrolledPosition(wxPoint(0, 0)), GetClientSize()).Deflate(1),
                       ToColour(m_palette.focusBox));
    }
    if (GetCount() == 0) {
        return;
    }
    // Only the rows that meet the update region can need painting, so a repaint costs the
    // visible cells and not the whole strip.
    const wxRect bounds = updateRegion.GetBox();
    const int pitchY = m_itemHeight + m_spacing;
    const int top = CalcUnscrolledPosition(bounds.GetTopLeft()).y;
    const int columns = ColumnCount(GetClientSize().x);
    const int firstRow = std::max(0, (top - m_spacing) / pitchY);
    const int lastRow = std::max(0, (top + bounds.height) / pitchY);
    const int first = std::min(GetCount(), firstRow * columns);
    const int end = std::min(GetCount(), (lastRow + 1) * columns);
    for (int n = first; n < end; ++n) {
        wxRect client;
        GetItemRect(client, n, true);
        if (updateRegion.Contains(client) == wxOutRegion) {
            continue;
        }
        int state = IsSelected(n) ? THUMBSTRIP_STATE_SELECTED : 0;
        if (hasFocus) {
            state |= THUMBSTRIP_STATE_CTRL_FOCUSED;
            if (n == m_focusItem) {
                state |= THUMBSTRIP_STATE_FOCUS_ITEM;
            }
        }
        wxRect cell;
        wxRect image;
        GetItemRect(cell, n, false);
        GetItemRectImage(image, n, false);
        PaintItemCell(n, dc, cell, image, state);
        PaintItemThumbnail(n, dc, image, state);
    }
    PaintDropMarker(dc);
}

void wxThumbnailCtrl::OnPaint(wxPaintEvent& WXUNUSED(event)) {
    wxBufferedPaintDC dc(this, m_paintBuffer, wxBUFFER_CLIENT_AREA);
    PrepareDC(dc);
    if (m_freezeCount > 0) {
        return;
    }
    PaintContents(dc, GetUpdateRegion(), wxWindow::FindFocus() == this);
}

void wxThumbnailCtrl::OnEraseBackground(wxEraseEvent& WXUNUSED(event)) {
    // The buffered paint covers the whole client area.
}

void wxThumbnailCtrl::OnSize(wxSizeEvent& event) {
    RecalcScrollbars();
    EnsurePaintBuffer(wxDefaultSize);
    event.Skip();
}

void wxThumbnailCtrl::OnFocusChange(wxFocusEvent& event) {
    Refresh();
    event.Skip();
}

void wxThumbnailCtrl::ScrollWindow(int dx, int dy, const wxRect* rect) {
    wxScrolledWindow::ScrollWindow(dx, dy, rect);
    if (FramesWholeStrip(FindFocus() == this)) {
        Refresh();
    }
}
