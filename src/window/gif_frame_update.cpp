// The answer of the update check.
#include "window/gif_frame.h"

#include "app/domain_option.h"
#include "app/product.h"
#include "app/shown_text.h"
#include "app/version_key.h"

#include <wx/intl.h>
#include <wx/msgdlg.h>

namespace {
// Versions are short: "2.0.19".
const size_t kLongestVersionShown = 40;
} // namespace

void GifFrame::OnUpdateResult(wxCommandEvent& event) {
    // The server's text is shown; the comparison reads only its first characters anyway.
    const wxString latest = CappedText(event.GetString(), kLongestVersionShown);
    const wxString product = GetProductName();
    if (latest.empty()) {
        wxMessageBox(_("Update failed!Please check if the network is available."), product,
                     wxOK | wxCENTRE);
        return;
    }
    if (CompareVersions(GetProductVersion(), latest) < 0) {
        wxMessageDialog ask(this,
                            "A new version of " + product + "(" + latest +
                                ") is available. Click Yes to open download page.",
                            product, wxYES_NO | wxCENTRE);
        if (ask.ShowModal() == wxID_YES && !GetProductPageUrl().empty()) {
            m_browserSeam(GetProductPageUrl());
        }
        return;
    }
    wxMessageBox("This version of " + product + "(" + GetProductVersion() +
                     ") is the latest version.",
                 product, wxOK | wxCENTRE);
}
