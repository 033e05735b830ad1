// The Animation menu's export choices: best colours and optimised frames, remembered per user.
#include "window/gif_frame.h"

#include <wx/menu.h>

void GifFrame::OnBestColours(wxCommandEvent&) {
    m_exportSetting.best = m_menuItem_best->IsChecked();
    WriteExportSetting(m_exportSetting);
}

void GifFrame::OnOptimiseFileSize(wxCommandEvent&) {
    m_exportSetting.optimize = m_menuItem_optimize->IsChecked();
    WriteExportSetting(m_exportSetting);
}
