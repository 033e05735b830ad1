#include "import/project_writer.h"

#include "export/replacing_file.h"
#include "import/frame_reference.h"
#include "video/video_reference.h"

#include <wx/intl.h>
#include <wx/mstream.h>
#include <wx/xml/xml.h>

namespace {
wxXmlNode* AddElement(wxXmlNode* parent, const wxString& name) {
    auto* element = new wxXmlNode(wxXML_ELEMENT_NODE, name);
    parent->AddChild(element);
    return element;
}

wxXmlNode* AddTextElement(wxXmlNode* parent, const wxString& name, const wxString& text) {
    wxXmlNode* element = AddElement(parent, name);
    element->AddChild(new wxXmlNode(wxXML_TEXT_NODE, wxEmptyString, text));
    return element;
}

// Appends to a parent with many children: the toolkit's AddChild walks them all each time.
class ChildAppender {
public:
    explicit ChildAppender(wxXmlNode* parent) : m_parent(parent) {}
    wxXmlNode* AddTextElement(const wxString& name, const wxString& text) {
        auto* element = new wxXmlNode(wxXML_ELEMENT_NODE, name);
        element->AddChild(new wxXmlNode(wxXML_TEXT_NODE, wxEmptyString, text));
        m_parent->InsertChildAfter(element, m_last);
        m_last = element;
        return element;
    }

private:
    wxXmlNode* m_parent;
    wxXmlNode* m_last = nullptr;
};
void Build(const ProjectContents& contents, wxXmlDocument& document) {
    auto* project = new wxXmlNode(wxXML_ELEMENT_NODE, "project");
    document.SetRoot(project);
    AddTextElement(project, "name", contents.name);
    wxXmlNode* gif = AddElement(project, "gif");
    AddTextElement(gif, "width", wxString::Format("%d", contents.width));
    AddTextElement(gif, "height", wxString::Format("%d", contents.height));
    AddTextElement(gif, "delay_time", wxString::Format("%d", contents.delay));

    ChildAppender images(AddElement(project, "images"));
    const wxArrayString& frames = contents.frames;
    const size_t count = frames.size();
    for (size_t k = 0; k < count; ++k) {
        wxXmlNode* path = images.AddTextElement("path", frames[k]);
        if (k < contents.frameDelays.size() && contents.frameDelays[k] != contents.delay) {
            path->AddAttribute("delay", wxString::Format("%d", contents.frameDelays[k]));
        }
        // A video's frame also says its video and time apart, for readers that take them so.
        VideoName video;
        if (ParseVideoName(frames[k], &video) && video.frame) {
            path->AddAttribute("video", video.path);
            path->AddAttribute("time", wxString::FromCDouble(video.time));
        }
        // The GIF file itself follows a run of its frames, and also the next-to-last frame of
        // the project, as in the files earlier builds wrote.
        if (ParseFrameIndex(frames[k]) >= 0 && k + 1 < count) {
            const wxString source = StripFrameSuffix(frames[k]);
            if (!frames[k + 1].StartsWith(source) || k + 1 == count - 1) {
                images.AddTextElement("path", source);
            }
        }
    }
    // Readers of earlier versions stop at "images", so the frames open there as they are. The
    // settings are always written, so that the project writes the same GIF wherever it opens.
    const ViewTransform& view = contents.view;
    wxXmlNode* animation = AddElement(project, "animation");
    if (!view.crop.IsEmpty()) {
        animation->AddAttribute("crop", FormatCropGeometry(view.crop));
    }
    if (view.orientation.quarterTurns != 0) {
        animation->AddAttribute("rotate",
                                wxString::Format("%d", 90 * view.orientation.quarterTurns));
    }
    if (view.orientation.mirrored) {
        animation->AddAttribute("flip", "h");
    }
    animation->AddAttribute("loop", wxString::Format("%d", contents.loopCount));
    animation->AddAttribute("best_colours", contents.bestColours ? "1" : "0");
    animation->AddAttribute("optimise", contents.optimise ? "1" : "0");
    animation->AddAttribute("loop_in_file", contents.loopInFile ? "1" : "0");
}
} // namespace

bool WriteProjectFile(const wxString& path, const ProjectContents& contents, wxString* error) {
    wxXmlDocument document;
    Build(contents, document);
    wxMemoryOutputStream bytes;
    document.Save(bytes, 2);
    const wxStreamBuffer& buffer = *bytes.GetOutputStreamBuffer();
    ReplacingFile file(path);
    if (!file.Open()) {
        *error = wxString::Format(_("Cannot create \"%s\": %s"), path, file.Error());
        return false;
    }
    if (!file.Write(buffer.GetBufferStart(), buffer.GetIntPosition()) || !file.Commit()) {
        *error = wxString::Format(_("Cannot write \"%s\": %s"), path, file.Error());
        return false;
    }
    return true;
}
