// The thumbnail strip: a vertically scrolling grid of equal cells, one per animation frame, that
// both shows and owns the frame entries, with selection, focus, mouse and keyboard handling.
#pragma once

#include "document/animation.h"
#include "image/strip_palette.h"
#include "window/thumbnail_event.h"
#include "window/thumbnail_item.h"

#include <wx/bitmap.h>
#include <wx/colour.h>
#include <wx/dynarray.h>
#include <wx/region.h>
#include <wx/scrolwin.h>
#include <wx/timer.h>

#include <vector>

// The strip's window id; the main window routes the click notifications by it.
enum { ID_THUMBNAIL_CTRL = 3 };

// Style bits of the strip.
enum {
    // Ctrl and Shift clicks extend the selection.
    wxTHUMBSTRIP_MULTIPLE = 0x10,
    // Each cell shows the entry's file name above the image.
    wxTHUMBSTRIP_SHOW_NAME = 0x20,
    // Each cell shows the frame label below the image.
    wxTHUMBSTRIP_SHOW_LABEL = 0x80,
};

// A palette colour as the toolkit takes it.
wxColour ToColour(Rgb colour);

// The dotted frame that marks the keyboard focus, unblended so that its dots stay sharp.
void DrawFocusFrame(wxDC& dc, const wxRect& rect, const wxColour& colour);

class wxThumbnailCtrl : public wxScrolledWindow {
public:
    wxThumbnailCtrl(wxWindow* parent, const wxPoint& pos = wxDefaultPosition,
                    const wxSize& size = wxDefaultSize);
    ~wxThumbnailCtrl() override;

    // Painting hooks, called for every cell that needs painting, cell first. Coordinates are
    // those of `dc`. False when there is no entry at n.
    virtual bool PaintItemThumbnail(int n, wxDC& dc, const wxRect& imageRect, int state);
    virtual bool PaintItemCell(int n, wxDC& dc, const wxRect& rect, const wxRect& imageRect,
                               int state);

    // Adds at the end and sets the delay; returns the new index, or -1 when the entry could not
    // be prepared (the entry then stays with the caller and nothing changes).
    virtual int Append(wxThumbnailItem* item, int delay);
    // Inserts before pos (0 .. GetCount()) and returns pos; the selection moves with its entries.
    virtual int Insert(wxThumbnailItem* item, int pos);
    virtual void Clear();
    virtual void Delete(int n);
    virtual int GetCount() const;
    // Takes the entry at n out of the strip as Delete does, but hands it to the caller instead
    // of deleting it; null for a bad n.
    wxThumbnailItem* Detach(int n);
    // Puts the entries into a new order: new position i receives the entry at old position
    // order[i]. The selection moves with its entries; the focus follows its entry.
    void Reorder(const std::vector<int>& order);
    // Moves the current entry for a navigation key; false only when the strip is empty.
    virtual bool NavigateByKey(int keyCode, int modifiers);

    wxThumbnailItem* GetItem(int n) const;

    // Batch bracket: while open, edits skip the scroll range and repaint work; the last
    // EndUpdate does it once.
    void BeginUpdate();
    void EndUpdate();

    int GetDelay() const { return m_delay; }
    void SetDelay(int centiseconds) { m_delay = centiseconds; }
    // The animation whose frames the entries show: the labels give each frame's start time from
    // its delays. Without one, every frame takes the strip's delay.
    void SetAnimation(const Animation* animation) { m_animation = animation; }
    // When frame n starts, in hundredths of a second.
    long long GetStartTime(int n) const {
        return m_animation != nullptr ? m_animation->StartTime(n) : 1LL * n * m_delay;
    }

    // Selected indices in the order they were added.
    const wxArrayInt& GetSelectedIndices() const { return m_selections; }
    bool IsSelected(int n) const { return m_selections.Index(n) != wxNOT_FOUND; }

    // Grows with every successful Append, Insert, Delete and Clear, so that callers can tell
    // whether the frames changed since they last looked.
    unsigned GetEditCount() const { return m_editCount; }

    // Geometry; each result tells whether the index was valid.
    bool GetRowCol(int item, const wxSize& clientSize, int& row, int& col) const;
    bool GetItemRect(wxRect& rect, int n, bool transform = true) const;
    bool GetItemRectImage(wxRect& rect, int n, bool transform = true) const;
    // The entry under a client point; no hit in the space right of the last column or past the
    // last entry.
    bool HitTestItem(const wxPoint& pt, int& n) const;

    // Scrolling moves what is painted; the focus frame along the edge has to stay put.
    void ScrollWindow(int dx, int dy, const wxRect* rect = nullptr) override;

    void RecalcItemMetrics();
    void RecalcScrollbars();
    void ScrollIntoView(int n);
    void ScrollIntoViewForKey(int keyCode, int n);

    // The off-screen bitmap of the paint; it only grows. wxDefaultSize means the client size.
    bool EnsurePaintBuffer(const wxSize& size);
    const wxBitmap& GetPaintBuffer() const { return m_paintBuffer; }

    // The body of the paint, on any DC prepared with PrepareDC: background, then every cell that
    // meets the update region (client coordinates).
    void PaintContents(wxDC& dc, const wxRegion& updateRegion, bool hasFocus);
    void PaintBackground(wxDC& dc);

    // Selection and focus; these are silent, only SelectWithModifiers sends notifications.
    void Select(int n, bool select = true);
    void SetFocusItem(int item);
    void SelectAll();
    // Selects exactly these entries; the last becomes focus and anchor.
    void SetSelection(const std::vector<int>& indices);
    void SelectWithModifiers(int n, int modifiers);

    // Dragging: the gap (0 .. entry count) that a drop at a client point goes into, and the
    // marker shown in that gap while something is dragged over the strip.
    int DropGapAt(const wxPoint& pt) const;
    void ShowDropMarker(const wxPoint& pt);
    void HideDropMarker();
    // The marker's rectangle in client coordinates; empty while none is shown.
    wxRect GetDropMarkerRect() const;
    bool IsDragging() const { return m_dragging; }

    int GetFocusItem() const { return m_focusItem; }
    int GetAnchorItem() const { return m_anchorItem; }
    int GetLastSelected() const { return m_lastSelected; }

    // What the entries read to draw themselves.
    int GetThumbnailWidth() const { return m_thumbWidth; }
    int GetThumbnailHeight() const { return m_thumbHeight; }
    int GetItemWidth() const { return m_itemWidth; }
    int GetItemHeight() const { return m_itemHeight; }
    int GetSpacing() const { return m_spacing; }
    int GetMargin() const { return m_margin; }
    int GetTextHeight() const { return m_textHeight; }
    // The colours come from the desktop theme and follow it when it changes.
    const StripPalette& GetPalette() const { return m_palette; }
    void ApplyThemeColours();

private:
    int ColumnCount(int clientWidth) const;
    bool IsValidIndex(int n) const { return n >= 0 && n < GetCount(); }
    // With the focus but no entry to mark (none, or none chosen yet), the whole strip is framed.
    bool FramesWholeStrip(bool hasFocus) const { return hasFocus && !IsValidIndex(m_focusItem); }
    void RefreshItem(int n);
    // Repaints where the focus mark was: entry n, or the whole strip when it had none.
    void RefreshFocusLeaving(int n);
    void Notify(wxEventType type, int index, int modifiers);
    void ScrollToShow(int n, bool belowFirst);

    void OnPaint(wxPaintEvent& event);
    void OnEraseBackground(wxEraseEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnFocusChange(wxFocusEvent& event);
    void OnThemeChanged(wxSysColourChangedEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnRightDown(wxMouseEvent& event);
    void OnMiddleDown(wxMouseEvent& event);
    void OnLeftDClick(wxMouseEvent& event);
    void OnChar(wxKeyEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void OnDragScrollTimer(wxTimerEvent& event);
    void EndDrag(bool drop);
    // The entry beside the gap a point falls into, and whether the gap is after it.
    bool DropPlaceAt(const wxPoint& pt, int& entry, bool& after) const;
    void PaintDropMarker(wxDC& dc);
    void OnSelectAll(wxCommandEvent& event);
    void OnUpdateSelectAll(wxUpdateUIEvent& event);

    wxThumbnailItemArray m_items;
    wxArrayInt m_selections;
    int m_delay = 0;
    const Animation* m_animation = nullptr;
    int m_thumbWidth = 80;
    int m_thumbHeight = 80;
    int m_itemWidth = -1;
    int m_itemHeight = -1;
    int m_spacing = 3;
    int m_margin = 3;
    int m_textHeight = 0;
    int m_freezeCount = 0;
    int m_anchorItem = -1;
    int m_lastSelected = -1;
    int m_focusItem = -1;
    StripPalette m_palette;
    wxBitmap m_paintBuffer;
    unsigned m_editCount = 0;
    // A plain press on one of several selected entries leaves them selected for a drag; the
    // release selects the entry alone when no drag followed.
    int m_pressedItem = -1;
    bool m_deferredSelect = false;
    wxPoint m_pressPoint;
    bool m_dragging = false;
    int m_markerEntry = -1;
    bool m_markerAfter = false;
    wxTimer m_dragScrollTimer;

    wxDECLARE_CLASS(wxThumbnailCtrl);
    wxDECLARE_NO_COPY_CLASS(wxThumbnailCtrl);
};
