// Creation, destruction and the editing operations of the thumbnail strip.
#include "window/thumbnailctrl.h"

#include "app/platform.h"

#include <wx/dcclient.h>
#include <wx/settings.h>

#include <algorithm>

namespace {
// On GTK the vertical scrollbar is shown only when the window asks for it; the strip never
// scrolls sideways even though the horizontal bit is part of its style.
#ifdef __WXGTK__
constexpr long kScrollStyle = wxHSCROLL | wxVSCROLL;
#else
constexpr long kScrollStyle = wxHSCROLL;
#endif
constexpr long kStripStyle = kScrollStyle | wxBORDER_SUNKEN | wxTHUMBSTRIP_MULTIPLE |
                             wxTHUMBSTRIP_SHOW_NAME | wxTHUMBSTRIP_SHOW_LABEL;
} // namespace

wxIMPLEMENT_CLASS(wxThumbnailCtrl, wxScrolledWindow);

wxThumbnailCtrl::wxThumbnailCtrl(wxWindow* parent, const wxPoint& pos, const wxSize& size) {
    if (!Create(parent, ID_THUMBNAIL_CTRL, pos, size, kStripStyle, wxPanelNameStr)) {
        return;
    }
    if (!GetFont().IsOk()) {
        SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
    }
    RecalcItemMetrics();
    ApplyThemeColours();
    SetInitialSize(size);
    EnsurePaintBuffer(size);

    Bind(wxEVT_PAINT, &wxThumbnailCtrl::OnPaint, this);
    Bind(wxEVT_ERASE_BACKGROUND, &wxThumbnailCtrl::OnEraseBackground, this);
    Bind(wxEVT_SIZE, &wxThumbnailCtrl::OnSize, this);
    Bind(wxEVT_SET_FOCUS, &wxThumbnailCtrl::OnFocusChange, this);
    Bind(wxEVT_KILL_FOCUS, &wxThumbnailCtrl::OnFocusChange, this);
    Bind(wxEVT_SYS_COLOUR_CHANGED, &wxThumbnailCtrl::OnThemeChanged, this);
    Bind(wxEVT_LEFT_DOWN, &wxThumbnailCtrl::OnLeftDown, this);
    Bind(wxEVT_RIGHT_DOWN, &wxThumbnailCtrl::OnRightDown, this);
    Bind(wxEVT_MIDDLE_DOWN, &wxThumbnailCtrl::OnMiddleDown, this);
    Bind(wxEVT_LEFT_DCLICK, &wxThumbnailCtrl::OnLeftDClick, this);
    Bind(wxEVT_CHAR, &wxThumbnailCtrl::OnChar, this);
    Bind(wxEVT_MOTION, &wxThumbnailCtrl::OnMotion, this);
    Bind(wxEVT_LEFT_UP, &wxThumbnailCtrl::OnLeftUp, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &wxThumbnailCtrl::OnCaptureLost, this);
    m_dragScrollTimer.SetOwner(this);
    Bind(wxEVT_TIMER, &wxThumbnailCtrl::OnDragScrollTimer, this);
    Bind(wxEVT_MENU, &wxThumbnailCtrl::OnSelectAll, this, wxID_SELECTALL);
    Bind(wxEVT_UPDATE_UI, &wxThumbnailCtrl::OnUpdateSelectAll, this, wxID_SELECTALL);
}

wxThumbnailCtrl::~wxThumbnailCtrl() = default;

void wxThumbnailCtrl::RecalcItemMetrics() {
    wxClientDC dc(this);
    dc.SetFont(GetFont());
    wxCoord width = 0;
    wxCoord height = 0;
    dc.GetTextExtent(wxS("X"), &width, &height);
    m_textHeight = height;
    m_itemWidth = m_thumbWidth + 2 * m_margin;
    if (HasFlag(wxTHUMBSTRIP_SHOW_LABEL)) {
        m_itemHeight = m_thumbHeight + 4 * m_margin + 2 * m_textHeight;
    } else {
        m_itemHeight = m_thumbHeight + 3 * m_margin + m_textHeight;
    }
}

int wxThumbnailCtrl::GetCount() const {
    return static_cast<int>(m_items.GetCount());
}

wxThumbnailItem* wxThumbnailCtrl::GetItem(int n) const {
    wxCHECK_MSG(n < GetCount(), nullptr, wxS("invalid index in wxThumbnailCtrl::GetItem"));
    if (n < 0) {
        return nullptr;
    }
    return &m_items[n];
}

int wxThumbnailCtrl::Append(wxThumbnailItem* item, int delay) {
    wxCHECK_MSG(item != nullptr, -1, wxS("no entry given to wxThumbnailCtrl::Append"));
    TraceLine(wxS("Append"));
    m_delay = delay;
    if (!item->PrepareThumbnail(*this, false)) {
        return -1;
    }
    const int index = GetCount();
    m_items.Add(item);
    m_anchorItem = -1;
    m_lastSelected = -1;
    m_focusItem = -1;
    ++m_editCount;
    if (m_freezeCount == 0) {
        RecalcScrollbars();
        Refresh();
    }
    return index;
}

int wxThumbnailCtrl::Insert(wxThumbnailItem* item, int pos) {
    wxCHECK_MSG(item != nullptr, -1, wxS("no entry given to wxThumbnailCtrl::Insert"));
    wxCHECK_MSG(pos >= 0 && pos <= GetCount(), -1, wxS("bad position in wxThumbnailCtrl::Insert"));
    m_items.Insert(item, pos);
    m_anchorItem = -1;
    m_lastSelected = -1;
    m_focusItem = -1;
    for (int& selected : m_selections) {
        if (selected >= pos) {
            ++selected;
        }
    }
    // An entry whose thumbnail cannot be made stays and paints an empty box.
    item->PrepareThumbnail(*this, false);
    ++m_editCount;
    if (m_freezeCount == 0) {
        RecalcScrollbars();
        Refresh();
    }
    return pos;
}

void wxThumbnailCtrl::Delete(int n) {
    wxCHECK_RET(n >= 0 && n < GetCount(), wxS("bad index in wxThumbnailCtrl::Delete()"));
    delete Detach(n);
}

wxThumbnailItem* wxThumbnailCtrl::Detach(int n) {
    if (!IsValidIndex(n)) {
        return nullptr;
    }
    for (int* member : {&m_anchorItem, &m_lastSelected, &m_focusItem}) {
        if (*member == n) {
            *member = -1;
        }
    }
    if (IsSelected(n)) {
        m_selections.Remove(n);
    }
    wxThumbnailItem* item = m_items.Detach(n);
    for (int& selected : m_selections) {
        if (selected > n) {
            --selected;
        }
    }
    ++m_editCount;
    if (m_freezeCount == 0) {
        RecalcScrollbars();
        Refresh();
    }
    return item;
}

void wxThumbnailCtrl::Reorder(const std::vector<int>& order) {
    wxCHECK_RET(int(order.size()) == GetCount(), wxS("bad order in wxThumbnailCtrl::Reorder"));
    std::vector<int> newPlace(order.size(), -1);
    for (size_t i = 0; i < order.size(); ++i) {
        wxCHECK_RET(IsValidIndex(order[i]) && newPlace[order[i]] < 0,
                    wxS("bad order in wxThumbnailCtrl::Reorder"));
        newPlace[order[i]] = int(i);
    }
    std::vector<wxThumbnailItem*> entries;
    for (int i = GetCount() - 1; i >= 0; --i) {
        entries.push_back(m_items.Detach(i));
    }
    std::reverse(entries.begin(), entries.end());
    for (int old : order) {
        m_items.Add(entries[old]);
    }
    for (int& selected : m_selections) {
        selected = newPlace[selected];
    }
    for (int* member : {&m_anchorItem, &m_lastSelected, &m_focusItem}) {
        if (IsValidIndex(*member)) {
            *member = newPlace[*member];
        }
    }
    ++m_editCount;
    if (m_freezeCount == 0) {
        Refresh();
    }
}

void wxThumbnailCtrl::Clear() {
    m_anchorItem = -1;
    m_lastSelected = -1;
    m_focusItem = -1;
    m_items.Clear();
    m_selections.Clear();
    ++m_editCount;
    if (m_freezeCount == 0) {
        RecalcScrollbars();
        Refresh();
    }
}

void wxThumbnailCtrl::BeginUpdate() {
    ++m_freezeCount;
}

void wxThumbnailCtrl::EndUpdate() {
    wxCHECK_RET(m_freezeCount > 0, wxS("EndUpdate without BeginUpdate"));
    --m_freezeCount;
    if (m_freezeCount == 0) {
        RecalcScrollbars();
        Refresh();
    }
}
