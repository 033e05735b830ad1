// Work that survives a crash: while frames are unsaved, a recovery project of this process is
// kept up to date in the user's data folder, and the next start offers back what a program
// that ended without saving left there.
#include "window/gif_frame.h"

#include "app/product.h"
#include "app/recovery_store.h"
#include "import/background_project_writer.h"
#include "window/thumbnailctrl.h"

#include <wx/intl.h>
#include <wx/msgdlg.h>
#include <wx/spinctrl.h>

#include <functional>

namespace {
// Mixes one more value into a running hash.
void Mix(size_t& hash, size_t value) {
    hash ^= value + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
}
} // namespace

void GifFrame::KeepRecoveryIn(const wxString& folder, int delayMs) {
    if (m_recoveryFolder.empty()) {
        m_recoveryTimer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { KeepRecovery(); });
        // Every change of the work shows in the look taken when the window is idle; the first
        // change starts the timer, later ones before it fires are written with it.
        Bind(wxEVT_IDLE, [this](wxIdleEvent& event) {
            event.Skip();
            if (!m_recoveryWriter) {
                return;
            }
            const size_t look = RecoveryLook();
            if (look != m_recoverySeen) {
                m_recoverySeen = look;
                if (!m_recoveryTimer.IsRunning()) {
                    m_recoveryTimer.StartOnce(m_recoveryDelay);
                }
            }
        });
    }
    m_recoveryTimer.Stop();
    m_recoveryWriter.reset();
    m_recoverySlot.reset();
    m_recoveryKept = false;
    m_recoveryFolder = folder;
    m_recoveryDelay = delayMs;
    m_recoverySlot = std::make_unique<RecoverySlot>(folder);
    if (m_recoverySlot->Path().empty()) {
        return;
    }
    m_recoveryWriter = std::make_unique<BackgroundProjectWriter>(m_recoverySlot->Path());
    m_recoverySeen = RecoveryLook();
}

wxString GifFrame::RecoveryPath() const {
    return m_recoverySlot ? m_recoverySlot->Path() : wxString();
}

bool GifFrame::IsRecoveryWritten() const {
    if (m_recoveryWriter) {
        m_recoveryWriter->Flush();
    }
    return m_recoveryKept;
}

bool GifFrame::HasUnsavedWork() const {
    return m_thumbnailCtrl->GetCount() > 0 && (m_projectPath.empty() || !IsProjectUnchanged());
}

size_t GifFrame::RecoveryLook() const {
    size_t hash = 0;
    const ExportChoices choices = CurrentChoices();
    const ExportOptions& options = choices.options;
    for (size_t value : {size_t(HasUnsavedWork()),
                         size_t(m_thumbnailCtrl->GetEditCount()),
                         size_t(m_spinctrl_delay->GetValue()),
                         size_t(m_spinctrl_width->GetValue()),
                         size_t(m_spinctrl_height->GetValue()),
                         size_t(choices.loopCount),
                         size_t(choices.loopInFile),
                         size_t(options.palette),
                         size_t(options.optimize),
                         size_t(options.quality),
                         size_t(options.lossy),
                         size_t(options.colours),
                         size_t(options.maxBytes),
                         size_t(options.keepTransparency),
                         size_t(m_view.crop.x),
                         size_t(m_view.crop.y),
                         size_t(m_view.crop.width),
                         size_t(m_view.crop.height),
                         size_t(m_view.orientation.quarterTurns),
                         size_t(m_view.orientation.mirrored),
                         m_missingSources.size(),
                         std::hash<wxString>()(m_gifName),
                         std::hash<wxString>()(m_projectPath)}) {
        Mix(hash, value);
    }
    for (const AnimationFrame& frame : m_animation.Frames()) {
        Mix(hash, size_t(frame.delay));
    }
    return hash;
}

void GifFrame::KeepRecovery() {
    if (!m_recoveryWriter) {
        return;
    }
    // An opened project's frames are still coming: the file keeps what it held until they are in.
    if (m_openingProject) {
        m_recoveryTimer.StartOnce(m_recoveryDelay);
        return;
    }
    if (HasUnsavedWork()) {
        ProjectContents contents = CurrentProjectContents();
        contents.projectPath = m_projectPath;
        m_recoveryWriter->Write(std::move(contents));
        m_recoveryKept = true;
    } else if (m_recoveryKept) {
        m_recoveryWriter->Remove();
        m_recoveryKept = false;
    }
}

void GifFrame::StartWith(const wxArrayString& files) {
    // Nothing to give back: a damaged file, or one whose sources are all gone.
    std::vector<std::pair<LeftRecovery, ProjectFile>> offered;
    for (LeftRecovery& left : FindLeftRecoveries(m_recoveryFolder)) {
        ProjectFile project = ReadProjectFile(left.Path());
        if (!project.Reached(ProjectStep::Paths) || project.paths.empty()) {
            left.Discard();
        } else {
            offered.emplace_back(std::move(left), std::move(project));
        }
    }
    for (auto& [left, project] : offered) {
        wxMessageDialog ask(this,
                            _("The program ended last time before your work was saved.\nDo you "
                              "want to restore the unsaved work?"),
                            GetProductName(), wxYES_NO | wxYES_DEFAULT | wxICON_QUESTION);
        if (ask.ShowModal() != wxID_YES) {
            left.Discard();
            continue;
        }
        // This process keeps the work from now on; other work left waits for later starts.
        if (m_recoverySlot && left.MoveTo(*m_recoverySlot)) {
            m_recoveryKept = true;
        }
        m_restoringWork = true;
        m_openAfterRestore = files;
        OpenReadProject(left.Path(), std::move(project));
        return;
    }
    if (!files.empty()) {
        OpenFiles(files, -1, EditKind::AddImage);
    }
}
