// The commands that change the list of frames: Add Image through the import worker, Insert
// Image at the selection, Delete, Clear All, and the strip's popup menu.
#include "window/gif_frame.h"

#include "app/file_name_bytes.h"
#include "app/platform.h"
#include "app/product.h"
#include "app/shown_text.h"
#include "app/worker_event.h"
#include "edit/frame_edits.h"
#include "export/size_fitting.h"
#include "import/image_load_thread.h"
#include "import/image_source.h"
#include "import/import_memory.h"
#include "import/picture_header.h"
#include "video/video_reference.h"
#include "window/thumbnailctrl.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/numformatter.h>
#include <wx/progdlg.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace {
const long kImageDialogStyle = wxFD_OPEN | wxFD_FILE_MUST_EXIST | wxFD_MULTIPLE;
const int kNamesListed = 5;
// A few large pictures ahead (counted at their decoded size, though they wait compressed) are
// enough to keep the GUI thread busy, or many small ones; more would only hold memory in the
// event queue.
const unsigned long long kImportBacklogBytes = 32ULL << 20;

wxString ImageWildcard() {
    const wxString images = "*.png;*.jpg;*.jpeg;*.bmp;*.gif";
    const wxString videos = VideoFilePatterns();
    return _("Images and videos") + " (" + images + ";" + videos + ")|" +
           AnyCasePatterns(images + ";" + videos) + "|" + _("Image files ") + "(" + images + ")|" +
           AnyCasePatterns(images) + "|" + _("Videos") + " (" + videos + ")|" +
           AnyCasePatterns(videos) + "|" + AllFilesWildcard();
}

// The heading, then up to kNamesListed file names and how many more of `total` there are.
wxString FileList(const wxString& heading, const wxArrayString& paths, size_t total) {
    wxString list = heading;
    for (size_t i = 0; i < paths.size() && i < kNamesListed; ++i) {
        list += "\n" + EscapedText(wxFileNameFromPath(paths[i]));
    }
    if (total > kNamesListed) {
        list += "\n" + wxString::Format(_("and %d more"), int(total - kNamesListed));
    }
    return list;
}

wxString FileList(const wxString& heading, const wxArrayString& paths) {
    return FileList(heading, paths, paths.size());
}
} // namespace

void GifFrame::ReportUnreadFiles(const wxArrayString& unread, const wxArrayString& damaged,
                                 const wxArrayString& tooLarge,
                                 const std::vector<MissingSource>& missing,
                                 const wxArrayString& overCap) {
    wxString message;
    if (!missing.empty()) {
        // A project may list a million missing files: only the names shown are converted.
        wxArrayString shown;
        for (size_t i = 0; i < missing.size() && i < kNamesListed; ++i) {
            shown.push_back(FileNameFromBytes(missing[i].path));
        }
        message = FileList(_("These files of the project are missing; their frames are kept in "
                             "the project but not shown:"),
                           shown, missing.size());
    }
    if (!unread.empty()) {
        message += message.empty() ? "" : "\n\n";
        message += FileList(_("These files could not be read:"), unread);
    }
    if (!overCap.empty()) {
        message += (message.empty() ? "" : "\n\n") +
                   FileList(wxString::Format(_("These pictures have more pixels than the program "
                                               "takes (%s at most):"),
                                             wxNumberFormatter::ToString(
                                                 static_cast<long>(kLargestPicturePixels))),
                            overCap);
    }
    if (!damaged.empty()) {
        message += (message.empty() ? "" : "\n\n") +
                   FileList(_("These files are damaged; the frames read before the damage were "
                              "added:"),
                            damaged);
    }
    if (!tooLarge.empty()) {
        message += (message.empty() ? "" : "\n\n") +
                   FileList(_("These files were left out: their frames would take more memory "
                              "than this computer can spare:"),
                            tooLarge);
    }
    if (!message.empty()) {
        wxMessageBox(message, GetProductName(), wxOK | wxICON_WARNING, this);
    }
}

bool GifFrame::AskImagePaths(const wxString& message, wxArrayString& paths) {
    const FileDialogRequest request{message, "", "", ImageWildcard(), kImageDialogStyle};
    return ShowFileDialog(DialogPlace::Images, request, paths) && !paths.empty() &&
           ChooseVideoParts(paths);
}

void GifFrame::OnAddImage(wxCommandEvent&) {
    StopPreview();
    wxArrayString paths;
    if (!AskImagePaths(_("Add Image Files"), paths)) {
        return;
    }
    StartImport(paths, _("Load Images Progress Dialog"), ImportPlan::Recorded(EditKind::AddImage));
}

ImportPlan ImportPlan::Recorded(EditKind kind, int first) {
    ImportPlan plan;
    plan.recorded = true;
    plan.kind = kind;
    plan.first = first;
    return plan;
}

bool GifFrame::StartImport(const wxArrayString& paths, const wxString& title,
                           const ImportPlan& plan) {
    auto* worker = new ImageLoadThread(GetEventHandler(), paths);
    m_importBacklog = std::make_shared<std::atomic<unsigned long long>>(0);
    worker->LimitBacklog(m_importBacklog, kImportBacklogBytes);
    m_importShownProgress = -1;
    m_importRefused = std::make_shared<RefusedFiles>();
    worker->LimitMemory(MemoryBudget::Process(), m_importRefused);
    m_importCancelled = std::make_shared<std::atomic<bool>>(false);
    worker->CancelWhen(m_importCancelled);
    if (worker->Create() != wxTHREAD_NO_ERROR) {
        delete worker;
        wxMessageBox(_("The images could not be loaded: no worker thread could be started."),
                     GetProductName(), wxOK | wxICON_ERROR, this);
        return false;
    }
    m_importPaths = paths;
    m_importedSources.clear();
    m_import = plan;
    m_import.before = CurrentSettings();
    m_import.added = 0;
    m_progressDialog = NewProgressDialog(title, _(" Loading images...."), m_importCancelled);
    if (worker->Run() != wxTHREAD_NO_ERROR) {
        // A created thread that does not run still owns its resources; nothing will arrive.
        delete worker;
        FinishImport();
        return true;
    }
    EnableEditControls();
    return true;
}

void GifFrame::ThreadUpdate(wxCommandEvent& event) {
    TraceLine("ThreadUpdate");
    const std::unique_ptr<AnimationFrame> frame(
        static_cast<AnimationFrame*>(event.GetClientData()));
    if (frame != nullptr && m_importBacklog) {
        *m_importBacklog -= PictureMemory(wxSize(frame->pixels->Width(), frame->pixels->Height()));
    }
    // After Cancel the pictures still on their way are dropped.
    if (frame != nullptr && !(m_importCancelled && *m_importCancelled)) {
        const int delay = frame->delay >= 0 ? frame->delay : m_spinctrl_delay->GetValue();
        auto* item = new wxImageThumbnailItem(*frame);
        const bool kept =
            AddEntry(item, m_import.first >= 0 ? m_import.first + m_import.added : -1, delay);
        if (kept) {
            ++m_import.added;
            m_importedSources.insert(SourceFileOf(event.GetString()));
        } else {
            delete item;
        }
    }
    if (event.GetInt() == 100) {
        FinishImport();
    } else if (m_progressDialog != nullptr && event.GetInt() != m_importShownProgress) {
        // Drawing the dialog for every one of thousands of small frames would cost more than
        // the frames themselves.
        m_importShownProgress = event.GetInt();
        m_progressDialog->Update(event.GetInt(), wxEmptyString);
    }
}

void GifFrame::FinishImport() {
    if (m_importCancelled && *m_importCancelled) {
        TakeBackImport();
        return;
    }
    if (m_thumbnailCtrl->GetCount() > 0) {
        RefreshCanvasSize();
        PreviewFrame(0);
    } else {
        DisableEditControls();
    }
    FinishProjectOpen();
    if (m_import.recorded && m_import.added > 0) {
        StoreEdit(new InsertedFrames(*m_editTarget, m_import.kind,
                                     m_import.FirstIn(m_thumbnailCtrl->GetCount()), m_import.added,
                                     m_import.before, CurrentSettings()));
    }
    if (m_progressDialog != nullptr) {
        CloseProgressDialog(m_progressDialog);
    }
    wxArrayString tooLarge;
    wxArrayString damaged;
    wxArrayString overCap;
    wxArrayString overCapPaths;
    unsigned long long needed = 0;
    unsigned long long spare = 0;
    if (m_importRefused) {
        std::lock_guard<std::mutex> lock(m_importRefused->mutex);
        tooLarge = m_importRefused->paths;
        damaged = m_importRefused->damaged;
        for (const OverCapPicture& picture : m_importRefused->overCap) {
            overCapPaths.push_back(picture.path);
            overCap.push_back(
                wxString::Format("%s: %llu x %llu", picture.path, picture.width, picture.height));
        }
        needed = m_importRefused->needed;
        spare = m_importRefused->spare;
    }
    wxArrayString unread;
    for (const wxString& path : m_importPaths) {
        if (m_importedSources.count(SourceFileOf(path)) == 0 &&
            tooLarge.Index(path) == wxNOT_FOUND && damaged.Index(path) == wxNOT_FOUND &&
            overCapPaths.Index(path) == wxNOT_FOUND) {
            unread.push_back(path);
        }
    }
    if (!tooLarge.empty() && needed > 0) {
        tooLarge[0] = wxString::Format(_("%s: its frames would take %s, %s are left"), tooLarge[0],
                                       FormatByteSize(needed), FormatByteSize(spare));
    }
    const bool reportMissing = m_reportMissing;
    ForgetImport();
    ReportUnreadFiles(unread, damaged, tooLarge,
                      reportMissing ? m_missingSources : std::vector<MissingSource>(), overCap);
}

void GifFrame::TakeBackImport() {
    const int first = m_import.FirstIn(m_thumbnailCtrl->GetCount());
    for (int n = first + m_import.added - 1; n >= first; --n) {
        TakeFrame(n);
    }
    m_thumbnailCtrl->Refresh();
    const bool project = m_openingProject;
    m_openingProject = false;
    ForgetImport();
    CloseProgressDialog(m_progressDialog);
    // The animation the project replaced was closed when the open began.
    if (project) {
        StartNewAnimation();
    } else if (m_thumbnailCtrl->GetCount() == 0) {
        DisableEditControls();
    }
}

void GifFrame::ForgetImport() {
    m_import = ImportPlan();
    m_importPaths.clear();
    m_importedSources.clear();
    m_importRefused.reset();
    m_importCancelled.reset();
    m_reportMissing = false;
}

void GifFrame::OnInsertImage(wxCommandEvent&) {
    StopPreview();
    wxArrayString paths;
    if (!AskImagePaths(_("Insert Image Files"), paths)) {
        return;
    }
    const wxArrayInt& selection = m_thumbnailCtrl->GetSelectedIndices();
    // With nothing selected the frames go to the end.
    const bool inside =
        !selection.empty() && selection[0] >= 0 && selection[0] < m_thumbnailCtrl->GetCount();
    StartImport(paths, _("Load Images Progress Dialog"),
                ImportPlan::Recorded(EditKind::InsertImage, inside ? selection[0] : -1));
}

void GifFrame::OnDelete(wxCommandEvent&) {
    StopPreview();
    if (m_thumbnailCtrl->GetCount() == 0) {
        return;
    }
    const wxArrayInt& selection = m_thumbnailCtrl->GetSelectedIndices();
    if (selection.empty() || selection[0] < 0) {
        return;
    }
    std::vector<int> doomed(selection.begin(), selection.end());
    std::sort(doomed.begin(), doomed.end(), std::greater<int>());
    wxMessageDialog ask(this, _("Are you sure you want to delete selected image(s)?"), _("Confirm"),
                        wxYES_NO | wxNO_DEFAULT | wxICON_INFORMATION);
    if (ask.ShowModal() == wxID_YES) {
        // Kept by the undo history, so that Undo brings back these very frames.
        SubmitEdit(new RemovedFrames(*m_editTarget, EditKind::Delete, doomed));
    }
    m_statusBar1->SetStatusText(wxEmptyString, 1);
    RefreshCanvasSize();
    if (m_thumbnailCtrl->GetCount() == 0) {
        DisableEditControls();
    }
}

void GifFrame::OnClearAll(wxCommandEvent&) {
    StopPreview();
    if (m_thumbnailCtrl->GetCount() > 0) {
        std::vector<int> all(m_thumbnailCtrl->GetCount());
        for (size_t i = 0; i < all.size(); ++i) {
            all[i] = int(i);
        }
        SubmitEdit(new RemovedFrames(*m_editTarget, EditKind::ClearAll, all));
    }
    EmptyStrip();
}

void GifFrame::EmptyStrip() {
    DisableEditControls();
    m_thumbnailCtrl->Clear();
    m_animation.Clear();
    m_decodedFrames.Clear();
    m_view = ViewTransform();
    RefreshCanvasSize();
    m_statusBar1->SetStatusText(wxEmptyString, 1);
    ClearPreviewPanel();
}

void GifFrame::OnThumbnailRightClick(wxThumbnailEvent&) {
    ShowFramePopup(wxDefaultPosition);
}

void GifFrame::OnThumbnailContextKey(wxThumbnailEvent& event) {
    // From the keyboard the menu opens on the current frame, not where the pointer is.
    wxRect cell(0, 0, 0, 0);
    if (event.GetItemIndex() >= 0) {
        m_thumbnailCtrl->GetItemRect(cell, event.GetItemIndex(), true);
    }
    const wxPoint inStrip(cell.x + cell.width / 2, cell.y + cell.height / 2);
    ShowFramePopup(ScreenToClient(m_thumbnailCtrl->ClientToScreen(inStrip)));
}

void GifFrame::ShowFramePopup(const wxPoint& position) {
    StopPreview();
    wxMenu menu;
    menu.Append(ID_POPUP_INSERT, _("&Insert Image") + "\t" + "Ctrl+Ins", wxEmptyString);
    menu.Append(wxID_DELETE, _("&Delete") + "\t" + "Ctrl+Del", wxEmptyString);
    menu.Append(m_menuItem_framedelay->GetId(), _("Frame Delay..."), wxEmptyString);
    PopupMenu(&menu, position);
}
