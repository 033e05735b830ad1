// The project file: the frame sources in strip order, the canvas size, the delay and the name
// of the GIF last written.
#include "window/gif_frame.h"

#include "app/export_setting.h"
#include "app/product.h"
#include "app/shown_text.h"
#include "import/project_reader.h"
#include "import/project_writer.h"
#include "window/thumbnailctrl.h"

#include <wx/filedlg.h>
#include <wx/filefn.h>
#include <wx/intl.h>
#include <wx/menuitem.h>
#include <wx/msgdlg.h>
#include <wx/spinctrl.h>

void GifFrame::SetProjectTitle() {
    const wxString stem = m_projectFileName.Lower().EndsWith(".xml")
                              ? m_projectFileName.Left(m_projectFileName.length() - 4)
                              : wxString();
    SetTitle(CappedText(EscapedText(stem)) + " - " + GetProductName());
}

void GifFrame::ApplyProjectSettings(const ProjectFile& project) {
    // The project's choices hold for this animation; the remembered ones stay for new ones.
    // Files of earlier versions say nothing of some or all of them.
    ApplyChoices(project.Choices(CurrentChoices()));
    m_loopsPlayed = 0;
}

void GifFrame::RecordProjectState() {
    m_projectDelay = m_spinctrl_delay->GetValue();
    m_projectWidth = m_spinctrl_width->GetValue();
    m_projectHeight = m_spinctrl_height->GetValue();
    m_projectFrameCount = m_thumbnailCtrl->GetCount();
    m_projectEditCount = m_thumbnailCtrl->GetEditCount();
    m_projectDelays = m_animation.Delays();
    m_projectView = m_view;
    m_projectChoices = CurrentChoices();
}

void GifFrame::OnSaveProject(wxCommandEvent&) {
    SaveProjectFile();
}

bool GifFrame::AskProjectPath(wxString& path) {
    FileDialogRequest request{_("Save XML Files"), "", "", _("XML files") + " (*.xml)|*.xml",
                              wxFD_SAVE | wxFD_OVERWRITE_PROMPT};
    wxArrayString paths;
    if (!ShowFileDialog(DialogPlace::SaveProject, request, paths) || paths.empty() ||
        paths[0].empty()) {
        return false;
    }
    path = paths[0];
    return AddExtensionAsking(path, ".xml");
}

bool GifFrame::AddExtensionAsking(wxString& path, const wxString& extension) {
    if (path.EndsWith(extension)) {
        return true;
    }
    // The dialog asked about the name as typed; the file written is another one.
    path += extension;
    if (!wxFileExists(path)) {
        return true;
    }
    wxMessageDialog ask(
        this, wxString::Format(_("\"%s\" already exists. Do you want to replace it?"), path),
        GetProductName(), wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION);
    return ask.ShowModal() == wxID_YES;
}

ProjectContents GifFrame::CurrentProjectContents() const {
    ProjectContents contents;
    // The name read from an opened project stands until a GIF is written.
    contents.name = m_gifName;
    contents.width = m_spinctrl_width->GetValue();
    contents.height = m_spinctrl_height->GetValue();
    contents.delay = m_spinctrl_delay->GetValue();
    for (const AnimationFrame& frame : m_animation.Frames()) {
        contents.frames.push_back(frame.source);
        contents.frameDelays.push_back(frame.delay);
    }
    contents.missing = m_missingSources;
    contents.choices = CurrentChoices();
    contents.view = m_view;
    return contents;
}

bool GifFrame::SaveProjectFile() {
    if (m_thumbnailCtrl->GetCount() == 0) {
        return false;
    }
    const ProjectContents contents = CurrentProjectContents();
    // After a failed save the file is asked for again: the folder may never be writable.
    wxString path = m_projectSaveFailed ? wxString() : m_projectPath;
    if (path.empty() && !AskProjectPath(path)) {
        return false;
    }
    wxString error;
    if (!WriteProjectShowingProgress(path, contents, &error)) {
        m_projectSaveFailed = true;
        wxMessageBox(EscapedText(error), GetProductName(), wxOK | wxICON_ERROR, this);
        return false;
    }
    m_projectSaveFailed = false;
    m_projectPath = path;
    m_projectFileName = wxFileNameFromPath(path);
    SetProjectTitle();
    RecordProjectState();
    RememberProject(path);
    return true;
}

void GifFrame::OnOpenProject(wxCommandEvent&) {
    OpenProject(wxEmptyString);
}

bool GifFrame::MayReplaceWork() {
    // Nothing is at stake without frames, or with a project unchanged since it was saved.
    const bool unchangedProject = !m_projectPath.empty() && IsProjectUnchanged();
    if (m_thumbnailCtrl->GetCount() == 0 || unchangedProject) {
        return true;
    }
    switch (AskToSaveProject()) {
    case wxID_YES:
        // Unsaved work is only given up once it is really stored.
        return SaveProjectFile();
    case wxID_NO:
        return true;
    default:
        return false;
    }
}

void GifFrame::OpenProject(const wxString& path) {
    if (MayReplaceWork()) {
        OpenProjectFile(path);
    }
}

void GifFrame::OnNewProject(wxCommandEvent&) {
    StopPreview();
    if (!MayReplaceWork()) {
        return;
    }
    StartNewAnimation();
}

void GifFrame::StartNewAnimation() {
    EmptyStrip();
    ForgetEdits();
    m_projectPath.clear();
    m_projectFileName.clear();
    m_projectSaveFailed = false;
    m_gifName.clear();
    m_gifPath.clear();
    m_gifFileName.clear();
    m_projectDelay = m_projectWidth = m_projectHeight = m_projectFrameCount = 0;
    m_exportFrameCount = m_exportDelay = m_exportWidth = m_exportHeight = 0;
    m_currentFileName.clear();
    m_currentPicture = wxImage();
    m_missingSources.clear();
    // A new animation starts with the choices made last; the preview's passes stay.
    ExportChoices choices = ReadExportSetting();
    choices.loopCount = m_loopCount;
    ApplyChoices(choices);
    m_projectChoices = CurrentChoices();
    SetTitle(GetProductName());
}

void GifFrame::OpenProjectFile(const wxString& given) {
    StopPreview();
    wxArrayString chosen(1, &given);
    if (given.empty()) {
        FileDialogRequest request{_("Load Xml Files"), "", "",
                                  _("Xml files") + " (*.xml)|" + AnyCasePatterns({"xml"}) + "|" +
                                      AllFilesWildcard(),
                                  wxFD_OPEN | wxFD_FILE_MUST_EXIST | wxFD_MULTIPLE};
        if (!ShowFileDialog(DialogPlace::OpenProject, request, chosen) || chosen.empty() ||
            chosen[0].empty()) {
            return;
        }
    }
    const wxString path = chosen[0];
    OpenReadProject(path, ReadProjectFile(path));
}

void GifFrame::OpenReadProject(const wxString& path, ProjectFile project) {
    // A file that gives no frame changes nothing: the strip, the controls and the project
    // file in use stay as they were.
    if (!project.Reached(ProjectStep::Paths) || project.paths.empty()) {
        if (!project.missing.empty()) {
            ReportUnreadFiles(wxArrayString(), wxArrayString(), wxArrayString(), project.missing);
            return;
        }
        const bool nothingListed = project.imagesEmpty || project.Reached(ProjectStep::Paths);
        wxMessageBox(nothingListed ? _("Failed to load XML file!") : EscapedText(project.error),
                     GetTitle(), wxOK | wxICON_INFORMATION, this);
        return;
    }
    EmptyStrip();
    m_view = project.view;
    // The project starts a history of its own.
    ForgetEdits();
    m_projectSaveFailed = false;
    // Restored work belongs to the project it was unsaved in, if any.
    m_projectPath = m_restoringWork ? project.projectPath : path;
    m_projectFileName = wxFileNameFromPath(m_projectPath);
    if (m_projectPath.empty()) {
        SetTitle(GetProductName());
    } else {
        SetProjectTitle();
    }
    if (!m_restoringWork) {
        RememberProject(path);
    }
    m_gifName = project.name;
    // The GIF written before belongs to another animation: the first Save asks for a file.
    m_gifPath.clear();
    m_gifFileName.clear();
    m_spinctrl_delay->SetValue(project.delay);
    ApplyProjectSettings(project);
    // The canvas size and the frames' delays are applied once the frames are in.
    m_openedProjectSize = {project.width, project.height};
    m_openedProjectPaths = project.paths;
    m_openedProjectDelays = project.delays;
    m_openingProject = true;
    m_missingSources = std::move(project.missing);
    m_reportMissing = true;
    if (!StartImport(project.paths, _("Load Images Progress Dialog"))) {
        m_openingProject = false;
        m_restoringWork = false;
        m_reportMissing = false;
    }
}

void GifFrame::FinishProjectOpen() {
    if (!m_openingProject) {
        return;
    }
    m_openingProject = false;
    // A project's frames take its delay, GIF frames too, unless their path names their own.
    // Frames arrive in the order of the paths, without those that gave no picture.
    size_t p = 0;
    for (int n = 0; n < m_animation.FrameCount(); ++n) {
        while (p < m_openedProjectPaths.size() &&
               m_openedProjectPaths[p] != m_animation.Frame(n).source) {
            ++p;
        }
        const int own = p < m_openedProjectDelays.size() ? m_openedProjectDelays[p] : -1;
        m_animation.SetDelay(n, own >= 0 ? own : m_spinctrl_delay->GetValue());
        ++p;
    }
    m_openedProjectPaths.clear();
    m_openedProjectDelays.clear();
    if (m_thumbnailCtrl->GetCount() > 0 && m_openedProjectSize.width > 0 &&
        m_openedProjectSize.height > 0) {
        m_spinctrl_width->SetValue(m_openedProjectSize.width);
        m_spinctrl_height->SetValue(m_openedProjectSize.height);
        m_outputWidth = m_spinctrl_width->GetValue();
        m_outputHeight = m_spinctrl_height->GetValue();
        ShowCanvasStatus();
    }
    if (m_restoringWork) {
        // Restored work is still unsaved; the files the program was started with come after it.
        m_restoringWork = false;
        if (!m_openAfterRestore.empty()) {
            const wxArrayString files = m_openAfterRestore;
            m_openAfterRestore.clear();
            CallAfter([this, files] { OpenFiles(files, -1, EditKind::AddImage); });
        }
        return;
    }
    // What the controls hold now is the project as opened, so that closing an untouched
    // project does not ask.
    RecordProjectState();
}
