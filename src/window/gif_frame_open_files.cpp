// Files that come from outside the program's own dialogs: dropped on the strip from a file
// manager, or named on the command line.
#include "window/gif_frame.h"

#include "edit/frame_edits.h"
#include "window/strip_drop_target.h"
#include "window/thumbnailctrl.h"

#include <wx/intl.h>

void GifFrame::InitFileDrop() {
    m_thumbnailCtrl->SetDropTarget(
        new StripDropTarget(*m_thumbnailCtrl, [this](int gap, const wxArrayString& files) {
            // A running import or export owns the frames until it ends.
            if (m_progressDialog != nullptr || m_saveProgressDialog != nullptr) {
                return false;
            }
            // The file manager waits for the drop to finish; the question and the progress
            // dialog come once it has.
            CallAfter([this, gap, files] { OpenFiles(files, gap, EditKind::Drop); });
            return true;
        }));
}

void GifFrame::OpenFiles(const wxArrayString& files, int position, EditKind kind) {
    StopPreview();
    for (const wxString& path : files) {
        if (path.Lower().EndsWith(".xml")) {
            OpenProject(path);
            return;
        }
    }
    wxArrayString paths = files;
    if (paths.empty() || !ChooseVideoParts(paths)) {
        return;
    }
    const bool inside = position >= 0 && position < m_thumbnailCtrl->GetCount();
    StartImport(paths, _("Load Images Progress Dialog"),
                ImportPlan::Recorded(kind, inside ? position : -1));
}
