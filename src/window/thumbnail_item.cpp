// The base strip entry: its cell drawing (fill, border, name line, frame label, focus box),
// which does not depend on the picture.
#include "window/thumbnail_item.h"

#include "app/shown_text.h"
#include "window/thumbnailctrl.h"
#include "window/window_layout.h"

#include <wx/arrimpl.cpp>
#include <wx/filefn.h>
#include <wx/filename.h>

#include <algorithm>

WX_DEFINE_OBJARRAY(wxThumbnailItemArray);

wxIMPLEMENT_CLASS(wxThumbnailItem, wxObject);

namespace {
// Draws text clipped to a box, which only a font too large for any shortened form still needs.
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
    const wxPen lowerRight(ToColour(selected ? palette.edgeLight : palette.edgeShadow));
    const wxPen upperLeft(ToColour(selected ? palette.edgeShadow : palette.edgeLight));
    const int right = r.x + r.width - 1;
    const int bottom = r.y + r.height - 1;
    dc.SetPen(lowerRight);
    dc.DrawLine(right, r.y, right, bottom);
    dc.DrawLine(r.x, bottom, r.x + r.width, bottom);
    dc.SetPen(upperLeft);
    dc.DrawLine(r.x, r.y, right, r.y);
    dc.DrawLine(r.x, r.y, r.x, bottom);

    const TextWidth measure = [&dc](const wxString& text) { return dc.GetTextExtent(text).x; };
    const wxString name = EscapedText(wxFileNameFromPath(m_path));
    if (!name.empty() && ctrl.HasFlag(wxTHUMBSTRIP_SHOW_NAME)) {
        SetTextLook(dc, ctrl, ToColour(selected ? palette.selectedText : palette.name));
        const wxRect box(r.x + m, r.y + m, r.width - 2 * m,
                         (r.height - imageRect.height) / 2 - 2 * m);
        const wxString shown = FitEntryName(name, box.width, measure);
        const int textWidth = measure(shown);
        DrawClippedText(dc, shown, box, box.x + std::max(0, (box.width - textWidth) / 2));
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
        DrawClippedText(dc, FitFrameLabel(index + 1, start, box.width, measure), box, box.x);
    }

    if ((state & THUMBSTRIP_STATE_FOCUS_ITEM) != 0) {
        DrawFocusFrame(
            dc, wxRect(imageRect.x - 1, imageRect.y - 1, imageRect.width + 2, imageRect.height + 2),
            ToColour(palette.focusBox));
    }
    return true;
}
