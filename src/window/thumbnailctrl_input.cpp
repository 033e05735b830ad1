// Mouse, keyboard and select-all handling of the strip: turns presses and keys into selection
// changes and click notifications.
#include "window/thumbnailctrl.h"

namespace {
int ModifiersOf(const wxKeyboardState& state) {
    int modifiers = 0;
    if (state.ShiftDown()) {
        modifiers |= THUMBSTRIP_MOD_SHIFT;
    }
    if (state.ControlDown()) {
        modifiers |= THUMBSTRIP_MOD_CTRL;
    }
    if (state.AltDown()) {
        modifiers |= THUMBSTRIP_MOD_ALT;
    }
    return modifiers;
}

bool IsNavigationKey(int keyCode) {
    switch (keyCode) {
    case WXK_LEFT:
    case WXK_RIGHT:
    case WXK_UP:
    case WXK_DOWN:
    case WXK_HOME:
    case WXK_END:
    case WXK_PAGEUP:
    case WXK_PAGEDOWN:
        return true;
    default:
        return false;
    }
}
} // namespace

void wxThumbnailCtrl::OnLeftDown(wxMouseEvent& event) {
    SetFocus();
    int n = -1;
    if (!HitTestItem(event.GetPosition(), n)) {
        return;
    }
    const int modifiers = ModifiersOf(event);
    ScrollIntoView(n);
    m_deferredSelect = modifiers == 0 && IsSelected(n) && m_selections.size() > 1;
    if (m_deferredSelect) {
        SetFocusItem(n);
    } else {
        SelectWithModifiers(n, modifiers);
    }
    m_pressedItem = IsSelected(n) ? n : -1;
    m_pressPoint = event.GetPosition();
    Notify(wxEVT_THUMBSTRIP_LEFT_CLICK, n, modifiers);
}

void wxThumbnailCtrl::OnRightDown(wxMouseEvent& event) {
    SetFocus();
    int n = -1;
    if (!HitTestItem(event.GetPosition(), n)) {
        return;
    }
    if (n != m_focusItem) {
        SetFocusItem(n);
    }
    Notify(wxEVT_THUMBSTRIP_RIGHT_CLICK, n, ModifiersOf(event));
}

void wxThumbnailCtrl::OnMiddleDown(wxMouseEvent& event) {
    int n = -1;
    if (HitTestItem(event.GetPosition(), n)) {
        Notify(wxEVT_THUMBSTRIP_MIDDLE_CLICK, n, ModifiersOf(event));
    }
}

void wxThumbnailCtrl::OnLeftDClick(wxMouseEvent& event) {
    int n = -1;
    if (HitTestItem(event.GetPosition(), n)) {
        Notify(wxEVT_THUMBSTRIP_LEFT_DCLICK, n, ModifiersOf(event));
    }
}

void wxThumbnailCtrl::OnChar(wxKeyEvent& event) {
    const int keyCode = event.GetKeyCode();
    if (keyCode == WXK_ESCAPE && m_dragging) {
        EndDrag(false);
    } else if (IsNavigationKey(keyCode)) {
        NavigateByKey(keyCode, ModifiersOf(event));
    } else if (keyCode == WXK_RETURN) {
        Notify(wxEVT_THUMBSTRIP_RETURN, -1, ModifiersOf(event));
    } else if (keyCode == WXK_DELETE && event.GetModifiers() == wxMOD_NONE) {
        Notify(wxEVT_THUMBSTRIP_DELETE, m_focusItem, 0);
    } else if (keyCode == WXK_MENU || (keyCode == WXK_F10 && event.GetModifiers() == wxMOD_SHIFT)) {
        const int current = IsValidIndex(m_focusItem)                 ? m_focusItem
                            : m_selections.empty() || GetCount() == 0 ? -1
                                                                      : m_selections[0];
        Notify(wxEVT_THUMBSTRIP_CONTEXT_MENU, current, 0);
    } else {
        event.Skip();
    }
}

void wxThumbnailCtrl::OnSelectAll(wxCommandEvent& WXUNUSED(event)) {
    SelectAll();
}

void wxThumbnailCtrl::OnUpdateSelectAll(wxUpdateUIEvent& event) {
    event.Enable(GetCount() > 0);
}
