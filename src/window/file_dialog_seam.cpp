#include "window/file_dialog_seam.h"

#include <wx/filedlg.h>
#include <wx/intl.h>

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

wxString AnyCasePatterns(const wxString& patterns) {
    wxString anyCase;
    for (wxUniChar c : patterns) {
        const wxString letter(c);
        anyCase +=
            letter.Lower() == letter.Upper() ? letter : "[" + letter.Lower() + letter.Upper() + "]";
    }
    return anyCase;
}

wxString AnyCasePatterns(std::initializer_list<const char*> extensions) {
    wxString patterns;
    for (const char* extension : extensions) {
        patterns += (patterns.empty() ? "*." : ";*.") + wxString(extension);
    }
    return AnyCasePatterns(patterns);
}

wxString AllFilesWildcard() {
    return _("All files") + " (*)|*";
}
