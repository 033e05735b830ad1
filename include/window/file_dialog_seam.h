// Every file dialog of the main window goes through this one seam, so that tests can answer
// it (the desktop's file chooser cannot be driven from a test).
#pragma once

#include <wx/arrstr.h>
#include <wx/string.h>

#include <functional>
#include <initializer_list>

class wxWindow;

struct FileDialogRequest {
    wxString message;
    wxString defaultDir;
    wxString defaultFile;
    wxString wildcard;
    long style = 0;
};

// Shows the dialog for the request; returns true when the user confirmed, with the chosen
// paths (one for a single-choice dialog) in the dialog's order.
using FileDialogSeam =
    std::function<bool(wxWindow* parent, const FileDialogRequest& request, wxArrayString& paths)>;

// The real dialog of the desktop.
bool ShowDesktopFileDialog(wxWindow* parent, const FileDialogRequest& request,
                           wxArrayString& paths);

// The dialog pattern part for files with these extensions in any case of their letters
// ("png" gives "*.[pP][nN][gG]"): the desktop's file chooser matches patterns case by case.
wxString AnyCasePatterns(std::initializer_list<const char*> extensions);
// The same for patterns given as "*.mp4;*.mkv".
wxString AnyCasePatterns(const wxString& patterns);
// The "All files" choice of a dialog's wildcard, description and pattern.
wxString AllFilesWildcard();
