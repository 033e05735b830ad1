// Save and Save As: writing the animation as a GIF file on the save worker.
#include "window/gif_frame.h"

#include "app/platform.h"
#include "app/product.h"
#include "app/shown_text.h"
#include "export/size_fitting.h"
#include "window/save_worker.h"
#include "window/thumbnailctrl.h"

#include <wx/app.h>
#include <wx/filedlg.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>
#include <wx/progdlg.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>

wxString EnsureGifExtension(const wxString& name) {
    return name.EndsWith(".gif") ? name : name + ".gif";
}

namespace {
const long kSaveDialogStyle = wxFD_SAVE | wxFD_OVERWRITE_PROMPT;
} // namespace

bool GifFrame::AskGifPath(const wxString& message, wxString& path) {
    // A real name: a pattern as default name would be written as a file of that name.
    FileDialogRequest request{message, "", "Untitled.gif", _("Image files") + " (*.gif)|*.gif",
                              kSaveDialogStyle};
    // A project's animation goes beside the project, under the name it gave or its own.
    if (!m_projectPath.empty()) {
        wxFileName project(m_projectPath);
        request.defaultDir = project.GetPath();
        request.defaultFile = m_gifName.empty() ? project.GetName() + ".gif" : m_gifName;
    }
    wxArrayString paths;
    if (!ShowFileDialog(DialogPlace::SaveGif, request, paths) || paths.empty() ||
        paths[0].empty()) {
        return false;
    }
    path = paths[0];
    return AddExtensionAsking(path, ".gif");
}

GifFrame::ExportSnapshot GifFrame::CurrentSnapshot() {
    return {m_thumbnailCtrl->GetCount(),
            m_spinctrl_delay->GetValue(),
            m_spinctrl_width->GetValue(),
            m_spinctrl_height->GetValue(),
            m_thumbnailCtrl->GetEditCount(),
            CurrentExportOptions(),
            m_animation.Delays(),
            m_view};
}

GifFrame::ExportSnapshot GifFrame::StoredSnapshot() const {
    return {m_exportFrameCount, m_exportDelay,   m_exportWidth,  m_exportHeight,
            m_exportEditCount,  m_exportOptions, m_exportDelays, m_exportView};
}

void GifFrame::StoreSnapshot(const ExportSnapshot& snapshot) {
    m_exportFrameCount = snapshot.frameCount;
    m_exportDelay = snapshot.delay;
    m_exportWidth = snapshot.width;
    m_exportHeight = snapshot.height;
    m_exportEditCount = snapshot.editCount;
    m_exportOptions = snapshot.options;
    m_exportDelays = snapshot.delays;
    m_exportView = snapshot.view;
}

void GifFrame::OnSaveAnimator(wxCommandEvent&) {
    TraceLine("OnSaveAnimator");
    StopPreview();
    const int count = m_thumbnailCtrl->GetCount();
    if (count == 0) {
        wxString chosen;
        if (m_gifPath.empty() && AskGifPath(_("Save GIF Files"), chosen)) {
            m_gifPath = chosen;
            if (!m_gifPath.empty()) {
                m_gifFileName = wxFileNameFromPath(m_gifPath);
                // The status bar names the file the next Save writes.
                m_gifName = m_gifFileName;
            }
        }
        return;
    }
    const SavedState before = RememberSavedState();
    wxString title;
    if (m_gifPath.empty()) {
        wxString chosen;
        if (AskGifPath(_("Save GIF Files"), chosen)) {
            m_gifPath = chosen;
        }
        if (m_gifPath.empty()) {
            return;
        }
        // The name shown is the name of the file written, as after Save As.
        m_gifPath = EnsureGifExtension(m_gifPath);
        m_gifName = wxFileNameFromPath(m_gifPath);
        title = _("Save GIF Progress Dialog");
    } else {
        // An animation that is on disk as it is now is not written again.
        if (wxFileExists(m_gifPath) && CurrentSnapshot() == StoredSnapshot()) {
            return;
        }
        title = "Save GIF Progress Dialog";
    }
    if (!MayWriteOverSources(m_gifPath)) {
        RestoreSavedState(before);
        return;
    }
    StoreSnapshot(CurrentSnapshot());
    ShowOutputSize(m_spinctrl_width->GetValue(), m_spinctrl_height->GetValue());
    StartExport(m_exportWidth, m_exportHeight, title, before);
}

void GifFrame::OnSaveAsAnimator(wxCommandEvent&) {
    StopPreview();
    if (m_thumbnailCtrl->GetCount() == 0) {
        return;
    }
    const SavedState before = RememberSavedState();
    wxString chosen;
    const bool confirmed = AskGifPath(_("Save As GIF Files"), chosen);
    m_gifPath.clear();
    if (confirmed) {
        m_gifPath = chosen;
    }
    if (m_gifPath.empty()) {
        return;
    }
    m_gifPath = EnsureGifExtension(m_gifPath);
    if (!MayWriteOverSources(m_gifPath)) {
        RestoreSavedState(before);
        return;
    }
    StoreSnapshot(CurrentSnapshot());
    m_gifName = wxFileNameFromPath(m_gifPath);
    ShowOutputSize(m_spinctrl_width->GetValue(), m_spinctrl_height->GetValue());
    StartExport(m_outputWidth, m_outputHeight, _("Save As GIF Progress Dialog"), before);
}

GifFrame::SavedState GifFrame::RememberSavedState() {
    return {m_gifPath, m_gifName, StoredSnapshot(), m_statusBar1->GetStatusText(0)};
}

void GifFrame::RestoreSavedState(const SavedState& state) {
    m_gifPath = state.gifPath;
    m_gifName = state.gifName;
    StoreSnapshot(state.snapshot);
    m_statusBar1->SetStatusText(state.statusText, 0);
}

void GifFrame::StartExport(int width, int height, const wxString& title, const SavedState& before) {
    const wxString target = m_gifPath;
    Animation exported = ExportedAnimation();
    exported.output = {width, height};
    exported.options = m_exportOptions;
    exported.view = m_exportView;
    m_exportResult = std::make_shared<GifExportResult>();
    auto* worker =
        new WorkSaveAsGifThread(std::move(exported), GetEventHandler(), m_gifPath, m_exportResult);
    m_exportCancelled = std::make_shared<std::atomic<bool>>(false);
    worker->CancelWhen(m_exportCancelled);
    if (worker->Run() != wxTHREAD_NO_ERROR) {
        delete worker;
        RestoreSavedState(before);
        m_framesFromTarget.clear();
        ShowExportFailure(wxString::Format(
            _("\"%s\" was not saved: no worker thread could be started."), target));
        return;
    }
    m_stateBeforeExport = before;
    m_saveProgressDialog = NewProgressDialog(title, _(" Saving images...."), m_exportCancelled);
}

void GifFrame::ShowFittedSize(const GifExportResult& result) {
    const wxString note = result.ok && m_exportOptions.maxBytes > 0
                              ? DescribeFit(result, m_exportOptions.maxBytes)
                              : wxString();
    // The note is shown whole; the previewed frame's name gives way to it.
    const int widths[3] = {200, note.empty() ? 400 : -1,
                           note.empty() ? -1 : m_statusBar1->GetTextExtent(note).x + 24};
    m_statusBar1->SetStatusWidths(3, widths);
    m_statusBar1->SetStatusText(note, 2);
}

void GifFrame::ShowExportFailure(const wxString& message) {
    wxMessageBox(EscapedText(message), GetProductName(), wxOK | wxICON_ERROR, this);
}

void GifFrame::WorkSaveAsGifThreadUpdate(wxCommandEvent& event) {
    TraceLine("WorkSaveAsGifThreadUpdate:");
    const int percent = event.GetInt();
    if (percent != 100) {
        if (m_saveProgressDialog != nullptr) {
            m_saveProgressDialog->Update(percent, wxEmptyString);
        }
        return;
    }
    // Cancel pressed as the last frame was written stops nothing: the file is complete.
    const bool cancelled = m_exportCancelled && *m_exportCancelled;
    m_exportCancelled.reset();
    if (m_saveProgressDialog != nullptr) {
        CloseProgressDialog(m_saveProgressDialog);
    }
    wxWakeUpIdle();
    ShowFittedSize(*m_exportResult);
    if (!event.GetString().empty()) {
        m_framesFromTarget.clear();
        RestoreSavedState(m_stateBeforeExport);
        if (!cancelled) {
            ShowExportFailure(event.GetString());
        }
        return;
    }
    TakeFramesFromWrittenFile(m_gifPath);
    if (!m_missingSources.empty()) {
        wxMessageBox(wxString::Format(_("\"%s\" holds the frames present; %d frames of the "
                                        "project are missing and were left out."),
                                      EscapedText(m_gifPath), int(m_missingSources.size())),
                     GetProductName(), wxOK | wxICON_INFORMATION, this);
    }
}
