#include "window/file_dialog_seam.h"

#include <wx/filedlg.h>

bool ShowDesktopFileDialog(wxWindow* parent, const FileDialogRequest& request,
                           wxArrayString& paths) {
    wxFileDialog dialog(parent, request.message, request.defaultDir, request.defaultFile,
                        request.wildcard, request.style);
    if (dialog.ShowModal() != wxID_OK) {
        return false;
    }
    paths.clear();
    if (request.style & wxFD_MULTIPLE) {
        dialog.GetPaths(paths);
    } else {
        paths.push_back(dialog.GetPath());
    }
    return true;
}
