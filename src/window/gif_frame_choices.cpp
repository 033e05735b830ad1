// The export choices: the Export Options dialog, the Animation menu's two check items and the
// loop count, each change one edit.
#include "window/gif_frame.h"

#include "window/export_options_dialog.h"
#include "window/thumbnailctrl.h"

#include <wx/menu.h>

ExportChoices GifFrame::CurrentChoices() const {
    ExportChoices choices = m_exportChoices;
    choices.loopCount = m_loopCount;
    return choices;
}

void GifFrame::ApplyChoices(const ExportChoices& choices) {
    m_exportChoices = choices;
    m_exportChoices.loopCount = 0;
    if (m_loopCount != choices.loopCount) {
        m_loopCount = choices.loopCount;
        m_loopsPlayed = 0;
    }
    m_menuItem_best->Check(choices.options.palette == PaletteMode::Best);
    m_menuItem_optimize->Check(choices.options.optimize);
}

ExportOptions GifFrame::CurrentExportOptions() const {
    return CurrentChoices().FileOptions();
}

void GifFrame::ChangeChoices(EditKind kind, const ExportChoices& after) {
    const ExportChoices before = CurrentChoices();
    if (after == before) {
        return;
    }
    SubmitEdit(new ChoicesEdit(*m_editTarget, kind, before, after));
}

void GifFrame::OnBestColours(wxCommandEvent&) {
    ExportChoices choices = CurrentChoices();
    choices.options.palette =
        m_menuItem_best->IsChecked() ? PaletteMode::Best : PaletteMode::Standard;
    ChangeChoices(EditKind::BestColours, choices);
}

void GifFrame::OnOptimiseFileSize(wxCommandEvent&) {
    ExportChoices choices = CurrentChoices();
    choices.options.optimize = m_menuItem_optimize->IsChecked();
    ChangeChoices(EditKind::OptimiseFileSize, choices);
}

void GifFrame::OnExportOptions(wxCommandEvent&) {
    StopPreview();
    ExportOptionsDialog dialog(this, CurrentChoices(), ExportedAnimation());
    if (dialog.ShowModal() == wxID_OK) {
        ChangeChoices(EditKind::ExportOptions, dialog.GetChoices());
    }
}
