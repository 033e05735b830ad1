// Selection and focus rules of the strip, for clicks and navigation keys, and the selection
// notifications they send.
#include "window/thumbnailctrl.h"

#include <algorithm>

void wxThumbnailCtrl::RefreshItem(int n) {
    wxRect rect;
    if (GetItemRect(rect, n, true)) {
        RefreshRect(rect);
    }
}

void wxThumbnailCtrl::RefreshFocusLeaving(int n) {
    if (IsValidIndex(n)) {
        RefreshItem(n);
    } else {
        Refresh(); // the frame along the strip's edge, drawn while no entry had the focus
    }
}

void wxThumbnailCtrl::Notify(wxEventType type, int index, int modifiers) {
    wxThumbnailEvent event(type, GetId());
    event.SetEventObject(this);
    event.SetItemIndex(index);
    event.SetModifiers(modifiers);
    GetEventHandler()->ProcessEvent(event);
}

void wxThumbnailCtrl::Select(int n, bool select) {
    wxCHECK_RET(n < GetCount(), wxS("invalid index in wxThumbnailCtrl::Select"));
    if (n < 0) {
        return;
    }
    const bool selected = IsSelected(n);
    if (select && !selected) {
        m_selections.Add(n);
    } else if (!select && selected) {
        m_selections.Remove(n);
    }
    const int oldFocus = m_focusItem;
    m_anchorItem = n;
    m_lastSelected = n;
    m_focusItem = n;
    if (m_freezeCount == 0) {
        RefreshItem(n);
        RefreshFocusLeaving(oldFocus);
    }
}

void wxThumbnailCtrl::SetFocusItem(int item) {
    wxCHECK_RET(item < GetCount(), wxS("invalid index in wxThumbnailCtrl::SetFocusItem"));
    if (item < -1) {
        return;
    }
    const int oldFocus = m_focusItem;
    m_focusItem = item;
    if (m_freezeCount == 0) {
        RefreshFocusLeaving(oldFocus);
        if (item != -1) {
            RefreshItem(item);
        }
    }
}

void wxThumbnailCtrl::SelectAll() {
    BeginUpdate();
    for (int i = 0; i < GetCount(); ++i) {
        Select(i, true);
    }
    m_focusItem = GetCount() - 1;
    EndUpdate();
}

void wxThumbnailCtrl::SetSelection(const std::vector<int>& indices) {
    BeginUpdate();
    m_selections.Clear();
    for (int n : indices) {
        if (IsValidIndex(n)) {
            Select(n, true);
        }
    }
    EndUpdate();
}

void wxThumbnailCtrl::SelectWithModifiers(int n, int modifiers) {
    wxArrayInt changed;
    const auto report = [&changed](int index) {
        if (changed.Index(index) == wxNOT_FOUND) {
            changed.Add(index);
        }
    };
    const bool multiple = HasFlag(wxTHUMBSTRIP_MULTIPLE);
    if (multiple && (modifiers & THUMBSTRIP_MOD_CTRL) != 0) {
        Select(n, !IsSelected(n));
        changed.Add(n);
    } else if (multiple && (modifiers & THUMBSTRIP_MOD_SHIFT) != 0) {
        const int anchor = m_anchorItem;
        const wxArrayInt old = m_selections;
        m_selections.Clear();
        bool rangeApplied = false;
        if (anchor != -1 && anchor < GetCount() && anchor != n) {
            const int step = n > anchor ? 1 : -1;
            for (int c = anchor; c != n; c += step) {
                if (!IsSelected(c)) {
                    m_selections.Add(c);
                    changed.Add(c);
                    RefreshItem(c);
                }
            }
            rangeApplied = true;
        }
        for (int index : old) {
            if (!IsSelected(index)) {
                RefreshItem(index);
            }
        }
        Select(n, true);
        report(n);
        if (rangeApplied) {
            // Further Shift clicks extend from the same end.
            m_anchorItem = anchor;
        }
    } else {
        for (int index : m_selections) {
            RefreshItem(index);
            changed.Add(index);
        }
        m_selections.Clear();
        Select(n, true);
        report(n);
    }
    for (int index : changed) {
        Notify(IsSelected(index) ? wxEVT_THUMBSTRIP_ITEM_SELECTED
                                 : wxEVT_THUMBSTRIP_ITEM_DESELECTED,
               index, 0);
    }
}

bool wxThumbnailCtrl::NavigateByKey(int keyCode, int modifiers) {
    if (GetCount() == 0) {
        return false;
    }
    const wxSize client = GetClientSize();
    const int columns = ColumnCount(client.x);
    const int rowsPerPage = std::max(1, client.y / (m_itemHeight + m_spacing));
    const int current = m_focusItem != -1 ? m_focusItem : m_lastSelected;
    if (current == -1 || current >= GetCount()) {
        m_lastSelected = 0;
        SelectWithModifiers(0, modifiers);
        ScrollIntoViewForKey(keyCode, 0);
        Notify(wxEVT_THUMBSTRIP_FOCUS_MOVED, 0, modifiers);
        return true;
    }
    const int last = GetCount() - 1;
    const int page = rowsPerPage * columns;
    int target = -1;
    switch (keyCode) {
    case WXK_RIGHT:
        target = current + 1;
        break;
    case WXK_LEFT:
        target = current - 1;
        break;
    case WXK_DOWN:
        target = current + columns;
        break;
    case WXK_UP:
        target = current - columns;
        break;
    case WXK_PAGEDOWN:
        target = std::min(current + page, last);
        break;
    case WXK_PAGEUP:
        target = std::max(current - page, 0);
        break;
    case WXK_HOME:
        target = 0;
        break;
    case WXK_END:
        target = last;
        break;
    default:
        break;
    }
    if (target >= 0 && target <= last) {
        SelectWithModifiers(target, modifiers);
        ScrollIntoViewForKey(keyCode, target);
        Notify(wxEVT_THUMBSTRIP_FOCUS_MOVED, target, modifiers);
    }
    return true;
}
