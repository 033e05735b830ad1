// The places the window remembers between runs: each file dialog's folder, the window's size
// and position, and Recent Projects.
#include "window/gif_frame.h"

#include "window/desktop_gtk.h"

#include <wx/display.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/menu.h>

#include <algorithm>

bool GifFrame::ShowFileDialog(DialogPlace place, FileDialogRequest request, wxArrayString& paths) {
    paths.clear();
    wxString& folder = m_places.Folder(place);
    if (request.defaultDir.empty() && wxDirExists(folder)) {
        request.defaultDir = folder;
    }
    const bool chosen = m_fileDialogSeam ? m_fileDialogSeam(this, request, paths)
                                         : ShowDesktopFileDialog(this, request, paths);
    if (chosen && !paths.empty() && !paths[0].empty()) {
        folder = wxFileName(paths[0]).GetPath();
        SavePlaces();
    }
    return chosen;
}

void GifFrame::RememberProject(const wxString& path) {
    AddRecentProject(m_places, wxFileName(path).GetFullPath());
    SavePlaces();
    AddToRecentFiles(path);
    RefreshRecentMenu();
}

void GifFrame::SavePlaces() {
    const std::vector<wxString> recent = m_places.recentProjects;
    UpdatePlacesSetting(m_placesRead, m_places);
    // The menu's items stand for positions in the list.
    if (m_places.recentProjects != recent) {
        RefreshRecentMenu();
    }
}

void GifFrame::RefreshRecentMenu() {
    std::vector<wxString>& recent = m_places.recentProjects;
    recent.erase(std::remove_if(recent.begin(), recent.end(),
                                [](const wxString& path) { return !wxFileExists(path); }),
                 recent.end());
    while (m_menu_recent->GetMenuItemCount() > 0) {
        m_menu_recent->Destroy(m_menu_recent->FindItemByPosition(0));
    }
    for (size_t n = 0; n < recent.size(); ++n) {
        wxString name = wxFileNameFromPath(recent[n]);
        name.Replace("&", "&&");
        m_menu_recent->Append(wxID_FILE1 + int(n), wxString::Format("&%zu  %s", n + 1, name));
    }
    m_menuItem_recent->Enable(!recent.empty());
}

void GifFrame::OnRecentProject(wxCommandEvent& event) {
    const size_t n = size_t(event.GetId() - wxID_FILE1);
    if (n < m_places.recentProjects.size()) {
        // Opened once the menu is done with its item: opening rebuilds the menu.
        const wxString path = m_places.recentProjects[n];
        CallAfter([this, path] { OpenProject(path); });
    }
}

void GifFrame::RestoreWindowPlace() {
    const WindowPlace& place = m_places.window;
    if (place.width <= 0 || place.height <= 0) {
        return;
    }
    const wxRect rect(place.x, place.y, place.width, place.height);
    // A screen unplugged since: the size stays, the desktop places the window.
    if (wxDisplay::GetFromPoint(rect.GetTopLeft() + wxSize(40, 20)) == wxNOT_FOUND) {
        SetSize(rect.GetSize());
    } else {
        SetSize(rect);
    }
    if (place.maximised) {
        Maximize();
    }
}

void GifFrame::RememberWindowPlace() {
    WindowPlace& place = m_places.window;
    // A maximised window keeps the size it comes back to.
    if (!IsMaximized()) {
        const wxRect rect = GetRect();
        place = {rect.x, rect.y, rect.width, rect.height, false};
    }
    place.maximised = IsMaximized();
    SavePlaces();
}
