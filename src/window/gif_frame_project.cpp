// The project file: the frame sources in strip order, the canvas size, the delay and the name
// of the GIF last written.
#include "window/gif_frame.h"

#include "app/product.h"
#include "export/replacing_file.h"
#include "import/frame_reference.h"
#include "import/project_reader.h"
#include "window/thumbnailctrl.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>
#include <wx/mstream.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>
#include <wx/xml/xml.h>

namespace {
wxXmlNode* AddTextElement(wxXmlNode* parent, const wxString& name, const wxString& text) {
    auto* element = new wxXmlNode(wxXML_ELEMENT_NODE, name);
    element->AddChild(new wxXmlNode(wxXML_TEXT_NODE, wxEmptyString, text));
    parent->AddChild(element);
    return element;
}

bool IsFrameReference(const wxString& path) {
    return ParseFrameIndex(path) >= 0;
}
} // namespace

void GifFrame::SetProjectTitle() {
    const wxString stem = m_projectFileName.EndsWith(".xml")
                              ? m_projectFileName.Left(m_projectFileName.length() - 4)
                              : wxString();
    SetTitle(stem + " - " + GetProductName());
}

void GifFrame::OnSaveProject(wxCommandEvent&) {
    SaveProjectFile();
}

bool GifFrame::SaveProjectFile() {
    const int count = m_thumbnailCtrl->GetCount();
    if (count == 0) {
        return false;
    }
    auto* project = new wxXmlNode(wxXML_ELEMENT_NODE, "project");
    wxXmlDocument document;
    document.SetRoot(project);
    AddTextElement(project, "name", wxFileNameFromPath(m_gifPath));
    auto* gif = new wxXmlNode(wxXML_ELEMENT_NODE, "gif");
    project->AddChild(gif);
    // The state counts as saved only once the file is written, so that a cancelled or failed
    // save still has closing ask again.
    const int width = m_spinctrl_width->GetValue();
    const int height = m_spinctrl_height->GetValue();
    const int delay = m_spinctrl_delay->GetValue();
    AddTextElement(gif, "width", wxString::Format("%d", width));
    AddTextElement(gif, "height", wxString::Format("%d", height));
    AddTextElement(gif, "delay_time", wxString::Format("%d", delay));

    auto* images = new wxXmlNode(wxXML_ELEMENT_NODE, "images");
    project->AddChild(images);
    for (int k = 0; k < count; ++k) {
        const wxString path = m_thumbnailCtrl->GetItem(k)->GetPath();
        AddTextElement(images, "path", path);
        // After the last frame of a run taken from one GIF file, that file itself is named
        // once; readers skip such entries.
        if (IsFrameReference(path) && k + 1 < count) {
            const wxString source = StripFrameSuffix(path);
            if (!m_thumbnailCtrl->GetItem(k + 1)->GetPath().StartsWith(source) ||
                k + 1 == count - 1) {
                AddTextElement(images, "path", source);
            }
        }
    }

    if (m_projectPath.empty()) {
        FileDialogRequest request{_("Save XML Files"), "", "", _("XML files") + " (*.xml)|*.xml",
                                  wxFD_SAVE | wxFD_OVERWRITE_PROMPT};
        wxArrayString paths;
        if (ShowFileDialog(request, paths) && !paths.empty()) {
            m_projectPath = paths[0];
        }
        if (m_projectPath.empty()) {
            return false;
        }
    }
    if (!m_projectPath.EndsWith(".xml")) {
        m_projectPath += ".xml";
    }
    // Written whole and then put in place, so that a failed save keeps the old project.
    wxMemoryOutputStream bytes;
    wxString error;
    const bool written =
        document.Save(bytes, 2) &&
        ReplaceFileWith(m_projectPath, bytes.GetOutputStreamBuffer()->GetBufferStart(),
                        bytes.GetLength(), &error);
    m_projectFileName = wxFileNameFromPath(m_projectPath);
    SetProjectTitle();
    if (written) {
        m_projectWidth = width;
        m_projectHeight = height;
        m_projectDelay = delay;
        m_projectFrameCount = count;
    }
    return written;
}

void GifFrame::OnOpenProject(wxCommandEvent&) {
    OpenProject(wxEmptyString);
}

void GifFrame::OpenProject(const wxString& path) {
    const bool unchangedProject = !m_projectPath.empty() && IsProjectUnchanged();
    const bool nothingToLose = m_projectPath.empty() && m_thumbnailCtrl->GetCount() == 0;
    if (nothingToLose || unchangedProject) {
        m_thumbnailCtrl->Clear();
        OpenProjectFile(path);
        return;
    }
    switch (AskToSaveProject()) {
    case wxID_YES:
        // Unsaved work is only given up once it is really stored.
        if (SaveProjectFile()) {
            m_thumbnailCtrl->Clear();
            OpenProjectFile(path);
        }
        break;
    case wxID_NO:
        m_thumbnailCtrl->Clear();
        OpenProjectFile(path);
        break;
    default:
        break;
    }
}

void GifFrame::OpenProjectFile(const wxString& path) {
    StopPreview();
    // A project starts a history of its own; the strip may already have been emptied for it.
    ForgetEdits();
    wxArrayString chosen(1, &path);
    if (path.empty()) {
        FileDialogRequest request{_("Load Xml Files"), "", "", _("Xml files") + " (*.xml)|*.xml",
                                  wxFD_OPEN | wxFD_FILE_MUST_EXIST | wxFD_MULTIPLE};
        if (!ShowFileDialog(request, chosen) || chosen.empty() || chosen[0].empty()) {
            return;
        }
    }
    m_projectPath = chosen[0];
    m_projectFileName = wxFileNameFromPath(m_projectPath);
    SetProjectTitle();

    const ProjectFile project = ReadProjectFile(m_projectPath);
    if (!project.Reached(ProjectStep::Width)) {
        return;
    }
    m_projectWidth = project.width;
    m_spinctrl_width->SetValue(project.width);
    if (!project.Reached(ProjectStep::Height)) {
        return;
    }
    m_projectHeight = project.height;
    m_spinctrl_height->SetValue(project.height);
    m_gifName = project.name;
    const wxString format = m_gifName.empty() ? wxString("Unititle.gif(%d * %d)") + _("px")
                                              : wxString("%s(%d * %d)") + _("px");
    m_statusBar1->SetStatusText(
        m_gifName.empty() ? wxString::Format(format, project.width, project.height)
                          : wxString::Format(format, m_gifName, project.width, project.height),
        0);
    m_imageWidth = m_outputWidth = project.width;
    m_imageHeight = m_outputHeight = project.height;
    if (!project.Reached(ProjectStep::Delay)) {
        return;
    }
    m_projectDelay = project.delay;
    m_spinctrl_delay->SetValue(project.delay);
    if (!project.Reached(ProjectStep::Images)) {
        return;
    }
    const wxString failed = _("Failed to load XML file!");
    if (project.reached == ProjectStep::Images) {
        if (project.imagesEmpty) {
            wxMessageBox(failed, GetTitle(), wxOK | wxICON_INFORMATION, this);
        }
        return;
    }
    if (project.paths.empty()) {
        m_statusBar1->SetStatusText(wxEmptyString, 1);
        ClearPreviewPanel();
        wxMessageBox(failed, GetTitle(), wxOK | wxICON_INFORMATION, this);
        return;
    }
    m_projectFrameCount = m_thumbnailCtrl->GetCount();
    StartImport(project.paths, _("Load Images Progress Dialog"));
}
