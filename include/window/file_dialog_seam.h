// Every file dialog of the main window goes through this one seam, so that tests can answer
// it (the desktop's file chooser cannot be driven from a test).
#pragma once

#include <wx/arrstr.h>
#include <wx/string.h>

#include <functional>

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
