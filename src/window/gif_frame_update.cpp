// The answer of the update check.
#include "window/gif_frame.h"

#include "app/domain_option.h"
#include "app/product.h"
#include "app/version_key.h"

#include <wx/intl.h>
#include <wx/msgdlg.h>

void GifFrame::OnUpdateResult(wxCommandEvent& event) {
    const wxString latest = event.GetString();
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
        if (ask.ShowModal() == wxID_YES) {
            m_browserSeam(GetProductPageUrl());
        }
        return;
    }
    wxMessageBox("This version of " + product + "(" + GetProductVersion() +
                     ") is the latest version.",
                 product, wxOK | wxCENTRE);
}
