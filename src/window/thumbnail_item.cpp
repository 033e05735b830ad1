// The base strip entry: its cell drawing (fill, border, name line, frame label, focus box),
// which does not depend on the picture.
#include "window/thumbnail_item.h"

#include "app/shown_text.h"
#include "window/thumbnailctrl.h"

#include <wx/arrimpl.cpp>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/graphics.h>

#include <algorithm>

WX_DEFINE_OBJARRAY(wxThumbnailItemArray);

wxIMPLEMENT_CLASS(wxThumbnailItem, wxObject);

namespace {
// Draws text clipped to a box; long texts are cut by the clip rather than shortened.
void DrawClippedText(wxDC& dc, const wxString& text, const wxRect& box, int x) {
    dc.SetClippingRegion(box);
    dc.DrawText(text, x, box.y);
    dc.DestroyClippingRegion();
}

void SetTextLook(wxDC& dc, const wxThumbnailCtrl& ctrl, const wxColour& colour) {
    dc.SetFont(ctrl.GetFont());
    dc.SetTextForeground(colour);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
}
} // namespace

bool wxThumbnailItem::PaintThumbnail(wxDC& WXUNUSED(dc), const wxThumbnailCtrl& WXUNUSED(ctrl),
                                     const wxRect& WXUNUSED(imageRect), int WXUNUSED(state)) {
    return false;
}

bool wxThumbnailItem::PrepareThumbnail(wxThumbnailCtrl& WXUNUSED(ctrl), bool WXUNUSED(force)) {
    return false;
}

bool wxThumbnailItem::PaintCell(wxDC& dc, const wxThumbnailCtrl& ctrl, const wxRect& rect,
                                const wxRect& imageRect, int state, int index) {
    const int m = ctrl.GetMargin();
    const bool selected = (state & THUMBSTRIP_STATE_SELECTED) != 0;
    const wxRect& r = rect;

    const StripPalette& palette = ctrl.GetPalette();
    const wxColour fill =
        ToColour(!selected                                      ? palette.cell
                 : (state & THUMBSTRIP_STATE_CTRL_FOCUSED) != 0 ? palette.selectedFocused
                                                                : palette.selectedUnfocused);
    dc.SetBrush(wxBrush(fill));
    dc.SetPen(wxPen(fill, 1));
    dc.DrawRectangle(r);

    // Raised when unselected, sunken when selected.
    const wxPen& lowerRight = selected ? *wxWHITE_PEN : *wxBLACK_PEN;
    const wxPen& upperLeft = selected ? *wxBLACK_PEN : *wxWHITE_PEN;
    const int right = r.x + r.width - 1;
    const int bottom = r.y + r.height - 1;
    dc.SetPen(lowerRight);
    dc.DrawLine(right, r.y, right, bottom);
    dc.DrawLine(r.x, bottom, r.x + r.width, bottom);
    dc.SetPen(upperLeft);
    dc.DrawLine(r.x, r.y, right, r.y);
    dc.DrawLine(r.x, r.y, r.x, bottom);

    const wxString name = EscapedText(wxFileNameFromPath(m_path));
    if (!name.empty() && ctrl.HasFlag(wxTHUMBSTRIP_SHOW_NAME)) {
        SetTextLook(dc, ctrl, ToColour(selected ? palette.selectedText : palette.name));
        const wxRect box(r.x + m, r.y + m, r.width - 2 * m,
                         (r.height - imageRect.height) / 2 - 2 * m);
        const int textWidth = dc.GetTextExtent(name).x;
        DrawClippedText(dc, name, box, box.x + std::max(0, (box.width - textWidth) / 2));
    }

    wxString folder;
    wxString base;
    wxString extension;
    wxFileName::SplitPath(name, &folder, &base, &extension);
    if (!extension.empty() && ctrl.HasFlag(wxTHUMBSTRIP_SHOW_LABEL)) {
        SetTextLook(dc, ctrl, ToColour(selected ? palette.selectedText : palette.label));
        const int gap = (r.height - imageRect.height) / 2;
        const wxRect box(r.x + m, r.y + r.height - gap + m, r.width - 2 * m, gap - 2 * m);
        // The frame's start time: the delays of the frames before it.
        const float start = static_cast<float>(ctrl.GetStartTime(index)) / 100.0f;
        DrawClippedText(dc, wxString::Format(wxS("#%d  %.2fsec"), index + 1, start), box, box.x);
    }

    if ((state & THUMBSTRIP_STATE_FOCUS_ITEM) != 0) {
        // Smoothing would blend the ends of the dots with the fill.
        wxGraphicsContext* context = dc.GetGraphicsContext();
        const wxAntialiasMode smoothing =
            context != nullptr ? context->GetAntialiasMode() : wxANTIALIAS_NONE;
        if (context != nullptr) {
            context->SetAntialiasMode(wxANTIALIAS_NONE);
        }
        dc.SetPen(wxPen(ToColour(palette.focusBox), 1, wxPENSTYLE_DOT));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawRectangle(imageRect.x - 1, imageRect.y - 1, imageRect.width + 2,
                         imageRect.height + 2);
        if (context != nullptr) {
            context->SetAntialiasMode(smoothing);
        }
    }
    return true;
}
