// The keyboard focus across the progress dialogs of imports, exports and project saves:
// without it Tab and the arrow keys would do nothing after a dialog until a click.
#include "window/gif_frame.h"

#include "window/thumbnailctrl.h"

#include <wx/progdlg.h>

void GifFrame::NoteFocusBehindProgress() {
    wxWindow* focus = wxWindow::FindFocus();
    m_focusBehindProgress =
        focus != nullptr && wxGetTopLevelParent(focus) == this ? focus : m_thumbnailCtrl;
}

void GifFrame::CloseProgressDialog(wxProgressDialog*& dialog) {
    dialog->Destroy();
    dialog = nullptr;
    // The dialog enables the window again only when it is deleted at idle time, and GTK gives
    // the focus to no control of a disabled window.
    Enable();
    wxWindow* focus = m_focusBehindProgress.get();
    m_focusBehindProgress = nullptr;
    if (focus == nullptr || !focus->IsFocusable()) {
        focus = m_thumbnailCtrl;
    }
    focus->SetFocus();
}
