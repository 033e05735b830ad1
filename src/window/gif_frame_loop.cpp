// The Loop Count command: how many passes the preview plays, and whether the file says so too.
#include "window/gif_frame.h"

#include "window/loop_count_dialog.h"
#include "window/thumbnailctrl.h"

#include <wx/checkbox.h>

void GifFrame::OnLoopCount(wxCommandEvent&) {
    if (m_thumbnailCtrl->GetCount() == 0) {
        return;
    }
    LoopCountDialog dialog(this);
    dialog.m_checkBox_file->SetValue(m_exportSetting.loopInFile);
    if (dialog.ShowModal() == wxID_OK) {
        m_loopCount = dialog.m_loop_count;
        m_loopsPlayed = 0;
        m_exportSetting.loopInFile = dialog.m_checkBox_file->GetValue();
        WriteExportSetting(m_exportSetting);
    }
    StopPreview();
}
