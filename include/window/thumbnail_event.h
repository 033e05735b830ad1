// The notifications the thumbnail strip sends to its owner about clicks, keys and selection
// changes, with their event-table macros.
#pragma once

#include <wx/event.h>

// Keyboard state at the time of a click or key, as carried by the notifications.
enum {
    THUMBSTRIP_MOD_SHIFT = 1,
    THUMBSTRIP_MOD_CTRL = 2,
    THUMBSTRIP_MOD_ALT = 4,
};

class wxThumbnailEvent : public wxNotifyEvent {
public:
    wxThumbnailEvent(wxEventType type = wxEVT_NULL, int id = 0) : wxNotifyEvent(type, id) {}

    wxEvent* Clone() const override { return new wxThumbnailEvent(*this); }

    // The entry the notification is about; -1 for none.
    int GetItemIndex() const { return m_itemIndex; }
    void SetItemIndex(int index) { m_itemIndex = index; }

    // THUMBSTRIP_MOD_... bits.
    int GetModifiers() const { return m_modifiers; }
    void SetModifiers(int modifiers) { m_modifiers = modifiers; }

private:
    int m_itemIndex = -1;
    int m_modifiers = 0;

    wxDECLARE_DYNAMIC_CLASS(wxThumbnailEvent);
};

wxDECLARE_EVENT(wxEVT_THUMBSTRIP_ITEM_SELECTED, wxThumbnailEvent);
wxDECLARE_EVENT(wxEVT_THUMBSTRIP_ITEM_DESELECTED, wxThumbnailEvent);
wxDECLARE_EVENT(wxEVT_THUMBSTRIP_LEFT_CLICK, wxThumbnailEvent);
wxDECLARE_EVENT(wxEVT_THUMBSTRIP_RIGHT_CLICK, wxThumbnailEvent);
wxDECLARE_EVENT(wxEVT_THUMBSTRIP_MIDDLE_CLICK, wxThumbnailEvent);
wxDECLARE_EVENT(wxEVT_THUMBSTRIP_LEFT_DCLICK, wxThumbnailEvent);
wxDECLARE_EVENT(wxEVT_THUMBSTRIP_RETURN, wxThumbnailEvent);
// A drag of the selected entries ended over the gap before the entry the event names (the
// entry count for the end).
wxDECLARE_EVENT(wxEVT_THUMBSTRIP_MOVE_SELECTION, wxThumbnailEvent);
// Keys on the strip: a navigation key made the entry the current one; the Menu key or
// Shift+F10 asks for the entry's popup menu; Delete asks to delete the selected entries.
wxDECLARE_EVENT(wxEVT_THUMBSTRIP_FOCUS_MOVED, wxThumbnailEvent);
wxDECLARE_EVENT(wxEVT_THUMBSTRIP_CONTEXT_MENU, wxThumbnailEvent);
wxDECLARE_EVENT(wxEVT_THUMBSTRIP_DELETE, wxThumbnailEvent);

typedef void (wxEvtHandler::*wxThumbnailEventFunction)(wxThumbnailEvent&);

#define wxThumbnailEventHandler(func) wxEVENT_HANDLER_CAST(wxThumbnailEventFunction, func)

#define EVT_THUMBSTRIP_ITEM_SELECTED(id, fn)                                                       \
    wx__DECLARE_EVT1(wxEVT_THUMBSTRIP_ITEM_SELECTED, id, wxThumbnailEventHandler(fn))
#define EVT_THUMBSTRIP_ITEM_DESELECTED(id, fn)                                                     \
    wx__DECLARE_EVT1(wxEVT_THUMBSTRIP_ITEM_DESELECTED, id, wxThumbnailEventHandler(fn))
#define EVT_THUMBSTRIP_LEFT_CLICK(id, fn)                                                          \
    wx__DECLARE_EVT1(wxEVT_THUMBSTRIP_LEFT_CLICK, id, wxThumbnailEventHandler(fn))
#define EVT_THUMBSTRIP_RIGHT_CLICK(id, fn)                                                         \
    wx__DECLARE_EVT1(wxEVT_THUMBSTRIP_RIGHT_CLICK, id, wxThumbnailEventHandler(fn))
#define EVT_THUMBSTRIP_MIDDLE_CLICK(id, fn)                                                        \
    wx__DECLARE_EVT1(wxEVT_THUMBSTRIP_MIDDLE_CLICK, id, wxThumbnailEventHandler(fn))
#define EVT_THUMBSTRIP_LEFT_DCLICK(id, fn)                                                         \
    wx__DECLARE_EVT1(wxEVT_THUMBSTRIP_LEFT_DCLICK, id, wxThumbnailEventHandler(fn))
#define EVT_THUMBSTRIP_RETURN(id, fn)                                                              \
    wx__DECLARE_EVT1(wxEVT_THUMBSTRIP_RETURN, id, wxThumbnailEventHandler(fn))
