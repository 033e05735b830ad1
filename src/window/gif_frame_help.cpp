// The Help menu's web pages and the About dialog.
#include "window/gif_frame.h"

#include "app/domain_option.h"
#include "app/product.h"
#include "app/shown_text.h"
#include "app/update_check.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/hyperlink.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/stattext.h>
#include <wx/xrc/xmlres.h>

void GifFrame::OnHelpMenu(wxCommandEvent& event) {
    StopPreview();
    const wxString page = event.GetId() == m_menuItem_help->GetId()      ? GetHelpUrl()
                          : event.GetId() == m_menuItem_support->GetId() ? GetSupportUrl()
                                                                         : wxString();
    if (!page.empty()) {
        m_browserSeam(page);
    } else if (event.GetId() == m_menuItem_update->GetId()) {
        CheckForUpdate(this);
    }
}

void GifFrame::OnAbout(wxCommandEvent&) {
    wxLogNull quiet;
    wxDialog dialog;
    if (!wxXmlResource::Get()->LoadDialog(&dialog, this, "AboutDialog")) {
        return;
    }
    if (auto* version =
            wxDynamicCast(dialog.FindWindow(XRCID("m_static_version_name")), wxStaticText)) {
        version->SetLabel(wxString::Format("%s %s", GetProductName(), GetProductVersion()));
    }
    if (auto* notice =
            wxDynamicCast(dialog.FindWindow(XRCID("m_static_information")), wxStaticText)) {
        notice->SetLabel(_("Copyright") + " (C) " + GetVendorName() + ".\n" +
                         _("This program is free software under the GNU General Public "
                           "License, version 3 or later."));
    }
    if (auto* link = wxDynamicCast(dialog.FindWindow(XRCID("m_hyperlink")), wxHyperlinkCtrl)) {
        link->SetLabel(CappedText(GetProductPageUrl()));
        link->SetURL(GetProductPageUrl());
        link->Show(!GetProductPageUrl().empty());
        // The first control to take the focus gets Enter: that is OK, not the link, so
        // that Enter closes the dialog instead of opening the browser.
        if (wxWindow* ok = dialog.FindWindow(wxID_OK)) {
            ok->MoveBeforeInTabOrder(link);
        }
    }
    // GTK gives the dialog no first focus of its own, and Enter would then do nothing.
    if (auto* ok = wxDynamicCast(dialog.FindWindow(wxID_OK), wxButton)) {
        ok->SetDefault();
        ok->SetFocus();
    }
    // The filled labels change the dialog's size: centre it again once it has its final size.
    dialog.Fit();
    dialog.CentreOnParent();
    dialog.ShowModal();
}
