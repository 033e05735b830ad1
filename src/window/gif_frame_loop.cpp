// The Loop Count command: how many passes the preview plays.
#include "window/gif_frame.h"

#include "window/loop_count_dialog.h"
#include "window/thumbnailctrl.h"

void GifFrame::OnLoopCount(wxCommandEvent&) {
    if (m_thumbnailCtrl->GetCount() == 0) {
        return;
    }
    LoopCountDialog dialog(this);
    if (dialog.ShowModal() == wxID_OK) {
        m_loopCount = dialog.m_loop_count;
        m_loopsPlayed = 0;
    }
    StopPreview();
}
