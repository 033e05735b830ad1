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
    ExportChoices choices = CurrentChoices();
    dialog.m_checkBox_file->SetValue(choices.loopInFile);
    if (dialog.ShowModal() == wxID_OK) {
        choices.loopCount = dialog.m_loop_count;
        choices.loopInFile = dialog.m_checkBox_file->GetValue();
        // The same count again starts its passes anew.
        m_loopsPlayed = 0;
        ChangeChoices(EditKind::LoopCount, choices);
    }
    StopPreview();
}
