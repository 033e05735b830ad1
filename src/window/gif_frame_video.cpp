// Videos among the files to import: the part and rate of each are chosen before any frame
// comes in.
#include "window/gif_frame.h"

#include "app/product.h"
#include "app/shown_text.h"
#include "video/video_probe.h"
#include "video/video_reference.h"
#include "window/video_range_dialog.h"

#include <wx/msgdlg.h>

bool GifFrame::ChooseVideoParts(wxArrayString& paths) {
    wxArrayString chosen;
    for (const wxString& path : paths) {
        if (!HasVideoExtension(path)) {
            chosen.push_back(path);
            continue;
        }
        const VideoProbe probe = ProbeVideo(path);
        if (!probe.readable) {
            wxMessageBox(EscapedText(probe.error), GetProductName(), wxOK | wxICON_WARNING, this);
            continue;
        }
        VideoRangeDialog dialog(this, path, probe);
        if (dialog.ShowModal() == wxID_OK) {
            chosen.push_back(VideoPartName(path, dialog.GetRange()));
        }
    }
    paths = chosen;
    return !paths.empty();
}
