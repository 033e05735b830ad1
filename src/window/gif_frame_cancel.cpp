// Cancel in the progress dialogs of imports and exports: the press goes to the worker at once,
// which stops at its next picture or frame and then reports its end as always.
#include "window/gif_frame.h"

#include <wx/progdlg.h>

wxProgressDialog* GifFrame::NewProgressDialog(const wxString& title, const wxString& message,
                                              std::shared_ptr<std::atomic<bool>> cancelled) {
    NoteFocusBehindProgress();
    auto* dialog = new wxProgressDialog(title, message, 100, this,
                                        wxPD_CAN_ABORT | wxPD_ELAPSED_TIME | wxPD_ESTIMATED_TIME |
                                            wxPD_REMAINING_TIME);
    // The toolkit's dialog only notes the press (Cancel, Escape or its close box) for its next
    // update, which waits for the worker's next report.
    const auto cancel = [cancelled](wxEvent& event) {
        *cancelled = true;
        event.Skip();
    };
    dialog->Bind(wxEVT_BUTTON, cancel, wxID_CANCEL);
    dialog->Bind(wxEVT_CLOSE_WINDOW, cancel);
    return dialog;
}
