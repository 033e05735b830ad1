#include "window/browser_seam.h"

#include <wx/log.h>
#include <wx/utils.h>

void OpenInDesktopBrowser(const wxString& address) {
    if (address.empty()) {
        return;
    }
    wxLogNull quiet;
    wxLaunchDefaultBrowser(address, 0);
}
