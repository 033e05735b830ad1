#include "app/update_check.h"

#include "app/domain_option.h"
#include "app/update_document.h"
#include "app/update_event.h"
#include "app/web_download.h"

#include <wx/app.h>
#include <wx/mstream.h>
#include <wx/utils.h>
#include <wx/window.h>

void CheckForUpdate() {
    if (g_domainOption == nullptr || !IsWebAddress(g_domainOption->m_updateUrl)) {
        return;
    }
    FetchLatestVersion(g_domainOption->m_updateUrl);
}

void FetchLatestVersion(const wxString& address) {
    auto* result = new wxCommandEvent(UPDATE_RESULT_EVENT, 0);
    wxWindow* mainWindow = wxTheApp->GetTopWindow();
    std::string body;
    bool downloaded = false;
    {
        wxBusyCursor waiting;
        downloaded = DownloadDocument(address, body);
    }
    if (downloaded) {
        wxMemoryInputStream stream(body.data(), body.size());
        result->SetString(ParseLatestVersion(stream));
    }
    if (mainWindow == nullptr) {
        delete result;
        return;
    }
    wxQueueEvent(mainWindow, result);
}
