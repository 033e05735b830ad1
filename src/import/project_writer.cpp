#include "import/project_writer.h"

#include "app/file_name_bytes.h"
#include "export/replacing_file.h"
#include "import/frame_reference.h"
#include "import/project_reader.h"
#include "import/xml_safe_text.h"
#include "video/video_reference.h"

#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/mstream.h>
#include <wx/xml/xml.h>

#include <algorithm>
#include <vector>

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

// One "path" of the file: a frame's source and its location relative to the project file.
struct PathEntry {
    wxString text;
    wxString relative;
    int delay = -1; // its own delay; -1 for none
};

// Where a source sits relative to the project's folder, so that the two can move together;
// empty when it cannot be said.
class RelativeLocation {
public:
    explicit RelativeLocation(const wxString& projectPath) {
        wxFileName project(projectPath);
        project.MakeAbsolute();
        m_folder = project.GetPath();
    }

    wxString Of(const wxString& text) {
        const wxString source = StripFrameSuffix(text);
        const wxString suffix = text.Mid(source.length());
        if (source != m_lastSource) {
            m_lastSource = source;
            m_lastRelative = Locate(source);
        }
        return m_lastRelative.empty() ? wxString() : m_lastRelative + suffix;
    }

private:
    wxString Locate(const wxString& source) const {
        if (!source.StartsWith("/")) {
            return wxString();
        }
        // Most sources sit in the project's folder or below it.
        if (source.StartsWith(m_folder + "/") && !source.Contains("/../") &&
            !source.Contains("/./")) {
            return source.Mid(m_folder.length() + 1);
        }
        wxFileName name(source);
        if (!name.MakeRelativeTo(m_folder)) {
            return wxString();
        }
        return name.GetFullPath(wxPATH_UNIX);
    }

    wxString m_folder;
    wxString m_lastSource;
    wxString m_lastRelative;
};

// A "path" with the entry's delay where it differs from the animation's `delay`.
void AddPath(ChildAppender& images, const PathEntry& entry, int delay) {
    const std::string text = FileNameBytes(entry.text);
    const std::string relative = FileNameBytes(entry.relative);
    const bool escaped = NeedsXmlEscape(text) || NeedsXmlEscape(relative);
    wxXmlNode* path = images.AddTextElement("path", escaped ? wxString::FromUTF8(EscapeForXml(text))
                                                            : entry.text);
    if (entry.delay >= 0 && entry.delay != delay) {
        path->AddAttribute("delay", wxString::Format("%d", entry.delay));
    }
    if (escaped) {
        path->AddAttribute("escaped", "1");
    }
    // A video's frame also says its video and time apart, for readers that take them so.
    VideoName video;
    if (ParseVideoName(entry.text, &video) && video.frame) {
        path->AddAttribute("video", video.path);
        path->AddAttribute("time", wxString::FromCDouble(video.time));
    }
    if (!relative.empty()) {
        path->AddAttribute("relative",
                           escaped ? wxString::FromUTF8(EscapeForXml(relative)) : entry.relative);
    }
}

// The frames present and the missing sources at their places, in file order.
std::vector<PathEntry> Entries(const ProjectContents& contents, const wxString& projectPath) {
    RelativeLocation locate(projectPath);
    std::vector<PathEntry> entries;
    entries.reserve(contents.frames.size() + contents.missing.size());
    size_t missing = 0;
    const auto addMissingBefore = [&](size_t frame) {
        for (; missing < contents.missing.size() &&
               std::min(contents.missing[missing].before, contents.frames.size()) <= frame;
             ++missing) {
            const MissingSource& source = contents.missing[missing];
            const wxString text = FileNameFromBytes(source.path);
            entries.push_back(
                {text,
                 source.relative.empty() ? locate.Of(text) : FileNameFromBytes(source.relative),
                 source.delay});
        }
    };
    for (size_t k = 0; k < contents.frames.size(); ++k) {
        addMissingBefore(k);
        entries.push_back({contents.frames[k], locate.Of(contents.frames[k]),
                           k < contents.frameDelays.size() ? contents.frameDelays[k] : -1});
    }
    addMissingBefore(contents.frames.size());
    return entries;
}

// Shares of the work done once the entries are made, the tree built, the text made and checked.
const int kEntriesMade = 10;
const int kTreeBuilt = 50;
const int kTextMade = 70;
const int kTextChecked = 90;

void Tell(std::atomic<int>* percent, int value) {
    if (percent) {
        percent->store(value);
    }
}

// Builds the tree; `written` counts its "path" elements.
void Build(const ProjectContents& contents, const std::vector<PathEntry>& entries,
           wxXmlDocument& document, size_t* written, std::atomic<int>* percent) {
    auto* project = new wxXmlNode(wxXML_ELEMENT_NODE, "project");
    document.SetRoot(project);
    AddTextElement(project, "name", contents.name);
    wxXmlNode* gif = AddElement(project, "gif");
    AddTextElement(gif, "width", wxString::Format("%d", contents.width));
    AddTextElement(gif, "height", wxString::Format("%d", contents.height));
    AddTextElement(gif, "delay_time", wxString::Format("%d", contents.delay));

    ChildAppender images(AddElement(project, "images"));
    const size_t count = entries.size();
    for (size_t k = 0; k < count; ++k) {
        AddPath(images, entries[k], contents.delay);
        ++*written;
        if (k % 4096 == 0) {
            Tell(percent, kEntriesMade + static_cast<int>((kTreeBuilt - kEntriesMade) * k / count));
        }
        // The GIF file itself follows a run of its frames, and also the next-to-last frame of
        // the project, as in the files earlier builds wrote.
        const wxString& text = entries[k].text;
        if (ParseFrameIndex(text) >= 0 && IsGifSource(StripFrameSuffix(text)) && k + 1 < count) {
            const wxString source = StripFrameSuffix(text);
            if (!entries[k + 1].text.StartsWith(source) || k + 1 == count - 1) {
                const wxString& relative = entries[k].relative;
                AddPath(images,
                        {source, relative.empty() ? wxString() : StripFrameSuffix(relative)},
                        contents.delay);
                ++*written;
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
    const ExportChoices& choices = contents.choices;
    const ExportOptions& options = choices.options;
    animation->AddAttribute("loop", wxString::Format("%d", choices.loopCount));
    animation->AddAttribute("best_colours", options.palette == PaletteMode::Best ? "1" : "0");
    animation->AddAttribute("optimise", options.optimize ? "1" : "0");
    animation->AddAttribute("loop_in_file", choices.loopInFile ? "1" : "0");
    // The choices added later only where they differ, so that files of the same choices stay
    // the same.
    const ExportOptions defaults;
    if (options.quality != defaults.quality) {
        animation->AddAttribute("quality", wxString::Format("%d", options.quality));
    }
    if (options.lossy != defaults.lossy) {
        animation->AddAttribute("lossy", wxString::Format("%d", options.lossy));
    }
    if (options.colours != defaults.colours) {
        animation->AddAttribute("colours", wxString::Format("%d", options.colours));
    }
    if (options.maxBytes != defaults.maxBytes) {
        animation->AddAttribute("max_size", wxString::Format("%lld", options.maxBytes));
    }
    if (options.keepTransparency) {
        animation->AddAttribute("keep_transparency", "1");
    }
    if (!contents.projectPath.empty() && !NeedsXmlEscape(contents.projectPath.utf8_string())) {
        animation->AddAttribute("project", contents.projectPath);
    }
}
} // namespace

bool WriteProjectFile(const wxString& path, const ProjectContents& contents, wxString* error,
                      std::atomic<int>* percent) {
    Tell(percent, 0);
    const std::vector<PathEntry> entries = Entries(contents, path);
    Tell(percent, kEntriesMade);
    wxXmlDocument document;
    size_t written = 0;
    Build(contents, entries, document, &written, percent);
    Tell(percent, kTreeBuilt);
    wxMemoryOutputStream bytes;
    document.Save(bytes, 2);
    Tell(percent, kTextMade);
    const wxStreamBuffer& buffer = *bytes.GetOutputStreamBuffer();
    // A file that the reader would refuse never takes the place of a good one.
    if (!IsReadableProject(static_cast<const char*>(buffer.GetBufferStart()),
                           buffer.GetIntPosition(), written)) {
        *error = wxString::Format(_("\"%s\" was not saved: the project could not be written in a "
                                    "form that can be read back"),
                                  path);
        return false;
    }
    Tell(percent, kTextChecked);
    ReplacingFile file(path);
    if (!file.Open()) {
        *error = wxString::Format(_("Cannot create \"%s\": %s"), path, file.Error());
        return false;
    }
    if (!file.Write(buffer.GetBufferStart(), buffer.GetIntPosition()) || !file.Commit()) {
        *error = wxString::Format(_("Cannot write \"%s\": %s"), path, file.Error());
        return false;
    }
    Tell(percent, 100);
    return true;
}
