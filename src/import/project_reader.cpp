#include "import/project_reader.h"

#include "app/file_name_bytes.h"
#include "app/platform.h"
#include "import/frame_reference.h"
#include "import/project_outline.h"
#include "import/source_file.h"
#include "import/source_lookup.h"
#include "import/xml_safe_text.h"

#include <wx/file.h>
#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/log.h>

#include <algorithm>
#include <vector>

namespace {
// The node itself when it is the element named `name`, otherwise null.
const OutlineNode* Expect(const std::vector<OutlineNode>& nodes, size_t index, const char* name) {
    return index < nodes.size() && nodes[index].element && nodes[index].name == name ? &nodes[index]
                                                                                     : nullptr;
}

wxString Text(const OutlineNode* node) {
    return wxString::FromUTF8(node->content);
}

int NumberIn(const OutlineNode* node) {
    return StringToInt(Text(node));
}

// The number an attribute holds when it is whole digits from 0 to `largest`; -1 otherwise.
long long AttributeNumber(const std::string& value, long long largest) {
    if (value.empty() || value.size() > 18) {
        return -1;
    }
    long long number = 0;
    for (const char digit : value) {
        if (digit < '0' || digit > '9') {
            return -1;
        }
        number = 10 * number + (digit - '0');
    }
    return number <= largest ? number : -1;
}

int AttributeNumber(const std::string& value, int largest) {
    return static_cast<int>(AttributeNumber(value, static_cast<long long>(largest)));
}

// A frame's own delay, from the "delay" attribute of its "path".
int DelayOf(const OutlineNode& path) {
    for (const auto& attribute : path.attributes) {
        if (attribute.first == "delay") {
            return AttributeNumber(attribute.second, 65535);
        }
    }
    return -1;
}

// A "path" element's text and relative location as the writer meant them.
struct ListedPath {
    std::string text;
    std::string relative;
};

// Takes the text out of the outline, which is read once.
ListedPath Listed(OutlineNode& child) {
    if (child.Attribute("escaped") == "1") {
        return {UnescapeFromXml(child.content), UnescapeFromXml(child.Attribute("relative"))};
    }
    return {std::move(child.content), std::string(child.Attribute("relative"))};
}

wxString Normalised(const std::string& path) {
    wxFileName name(FileNameFromBytes(path));
    name.Normalize(wxPATH_NORM_DOTS | wxPATH_NORM_ABSOLUTE);
    return name.GetFullPath();
}

// The frame sources of "images", the usable ones with their delays and the missing ones; false
// when a child is not "path". Paths stay UTF-8 bytes until they are kept, as a file may list a
// million of them and name few that exist.
bool ReadPaths(OutlineNode& images, const std::string& folder, ProjectFile& project) {
    for (size_t i = 0; i < images.children.size(); ++i) {
        if (!Expect(images.children, i, "path")) {
            return false;
        }
    }
    SourceLookup lookup;
    SourceLookup besideProject;
    // The frames of one GIF file follow each other and share their source: it is looked up
    // once for the run (an empty source is never a file).
    std::string lastSource;
    bool lastFound = false;
    // The path before, without its frame number.
    std::string previousSource;
    // A project of missing files lists a million of them.
    project.missing.reserve(images.children.size());
    PreferHugePages(project.missing.data(), project.missing.capacity() * sizeof(MissingSource));
    for (OutlineNode& child : images.children) {
        ListedPath listed = Listed(child);
        const bool besideItsFrames = previousSource == listed.text;
        previousSource.assign(StripFrameSuffixUtf8(listed.text));
        // The GIF files listed beside their frames: earlier builds wrote only lower-case ones
        // and read any other as one picture.
        if (IsLowerCaseGifSource(listed.text)) {
            continue;
        }
        // A video's frame ("clip.mp4#t=2.1") is taken from its video.
        const size_t marker = listed.text.rfind("#t=");
        if (marker != std::string::npos && marker > 0 &&
            lookup.Exists(std::string_view(listed.text).substr(0, marker))) {
            project.paths.push_back(FileNameFromBytes(listed.text));
            project.delays.push_back(DelayOf(child));
            continue;
        }
        if (IsGifSourceUtf8(listed.text)) {
            if (besideItsFrames) {
                continue;
            }
            listed.text += "_0";
            if (!listed.relative.empty()) {
                listed.relative += "_0";
            }
        }
        const std::string_view source = StripFrameSuffixUtf8(listed.text);
        if (source != lastSource) {
            lastSource.assign(source);
            lastFound = lookup.Exists(source);
        }
        if (lastFound) {
            project.paths.push_back(FileNameFromBytes(listed.text));
            project.delays.push_back(DelayOf(child));
            continue;
        }
        // A project folder moved or copied together with its pictures.
        if (!listed.relative.empty() && listed.relative[0] != '/') {
            const std::string moved = folder + "/" + listed.relative;
            if (besideProject.Exists(StripFrameSuffixUtf8(moved))) {
                project.paths.push_back(Normalised(moved));
                project.delays.push_back(DelayOf(child));
                continue;
            }
        }
        project.missing.push_back({std::move(listed.text), std::move(listed.relative),
                                   project.paths.size(), DelayOf(child)});
    }
    return true;
}

// The view of "animation": crop="WxH+X+Y", rotate="90", "180" or "270" (clockwise), flip="h"
// (left to right, after the turn). Values this reader does not know leave their part as it is.
ViewTransform ViewOf(const OutlineNode& animation) {
    ViewTransform view;
    for (const auto& attribute : animation.attributes) {
        const wxString value = wxString::FromUTF8(attribute.second);
        if (attribute.first == "crop") {
            ParseCropGeometry(value, &view.crop);
        } else if (attribute.first == "rotate") {
            view.orientation.quarterTurns = value == "90"    ? 1
                                            : value == "180" ? 2
                                            : value == "270" ? 3
                                                             : 0;
        } else if (attribute.first == "flip") {
            view.orientation.mirrored = value == "h";
        }
    }
    return view;
}

// The settings of "animation": loop="N" (the preview's passes, 0 without end), the export
// choices best_colours, optimise, loop_in_file and keep_transparency, each "0" or "1" (the last
// written only when on), and quality, lossy, colours and max_size (bytes), each a whole number,
// written where not at its default. In a recovery project, the project file its work belongs to.
void ReadSettings(const OutlineNode& animation, ProjectFile& project) {
    project.keepTransparency = 0;
    ExportOptions options;
    for (const auto& attribute : animation.attributes) {
        const std::string& value = attribute.second;
        if (attribute.first == "loop") {
            project.loopCount = AttributeNumber(value, 65535);
        } else if (attribute.first == "best_colours") {
            project.bestColours = AttributeNumber(value, 1);
        } else if (attribute.first == "optimise") {
            project.optimise = AttributeNumber(value, 1);
        } else if (attribute.first == "loop_in_file") {
            project.loopInFile = AttributeNumber(value, 1);
        } else if (attribute.first == "quality") {
            options.quality = AttributeNumber(value, kHighestQuality);
        } else if (attribute.first == "lossy") {
            options.lossy = AttributeNumber(value, kHighestLossy);
        } else if (attribute.first == "colours") {
            options.colours = AttributeNumber(value, kMostColours);
        } else if (attribute.first == "max_size") {
            options.maxBytes = AttributeNumber(value, kLargestByteLimit);
        } else if (attribute.first == "keep_transparency") {
            project.keepTransparency = AttributeNumber(value, 1);
        } else if (attribute.first == "project") {
            project.projectPath = wxString::FromUTF8(value);
        }
    }
    options = WithinRanges(options);
    project.quality = options.quality;
    project.lossy = options.lossy;
    project.colours = options.colours;
    project.maxBytes = options.maxBytes;
}

// Walks the outline by position, as far as the expected elements go.
void Walk(OutlineNode& root, const std::string& folder, ProjectFile& project) {
    project.reached = ProjectStep::Document;
    const OutlineNode* name = root.name == "project" ? Expect(root.children, 0, "name") : nullptr;
    const OutlineNode* gif = name ? Expect(root.children, 1, "gif") : nullptr;
    const OutlineNode* width = gif ? Expect(gif->children, 0, "width") : nullptr;
    if (!width) {
        return;
    }
    project.width = NumberIn(width);
    project.reached = ProjectStep::Width;

    const OutlineNode* height = Expect(gif->children, 1, "height");
    if (!height) {
        return;
    }
    project.height = NumberIn(height);
    project.name = Text(name);
    project.reached = ProjectStep::Height;

    const OutlineNode* delay = Expect(gif->children, 2, "delay_time");
    if (!delay) {
        return;
    }
    project.delay = NumberIn(delay);
    project.reached = ProjectStep::Delay;

    if (!Expect(root.children, 2, "images")) {
        return;
    }
    OutlineNode& images = root.children[2];
    project.reached = ProjectStep::Images;
    project.imagesEmpty = images.children.empty();
    if (!project.imagesEmpty && ReadPaths(images, folder, project)) {
        project.reached = ProjectStep::Paths;
    }
    if (const OutlineNode* animation = Expect(root.children, 3, "animation")) {
        project.view = ViewOf(*animation);
        ReadSettings(*animation, project);
    }
}

ProjectFile Finish(ProjectOutline& outline, const wxString& path) {
    ProjectFile project;
    wxFileName file(path);
    file.MakeAbsolute();
    Walk(outline.Root(), FileNameBytes(file.GetPath()), project);
    if (!project.Reached(ProjectStep::Paths)) {
        project.error = wxString::Format(
            _("\"%s\" is not a complete project file: its elements are missing or out of order"),
            path);
    }
    return project;
}

ProjectFile NotXml(const ProjectOutline& outline, const wxString& path) {
    ProjectFile project;
    project.error =
        wxString::Format(_("\"%s\" is not a project file: it cannot be read as XML"), path) + " (" +
        wxString::FromUTF8(outline.Error()) + ")";
    return project;
}

ProjectFile TooLarge(const wxString& path) {
    ProjectFile project;
    project.error =
        wxString::Format(_("\"%s\" is not a project file: it is larger than 64 MB"), path);
    return project;
}
} // namespace

ProjectFile ReadProjectBytes(const char* data, size_t size, const wxString& path) {
    if (size > kLargestProjectFile) {
        return TooLarge(path);
    }
    ProjectOutline outline(size);
    return outline.Parse(data, size, true) ? Finish(outline, path) : NotXml(outline, path);
}

ExportChoices ProjectFile::Choices(ExportChoices base) const {
    ExportOptions& options = base.options;
    if (loopCount >= 0) {
        base.loopCount = loopCount;
    }
    if (bestColours >= 0) {
        options.palette = bestColours == 1 ? PaletteMode::Best : PaletteMode::Standard;
        // Written with best_colours, and at their defaults where they are left out.
        options.quality = quality;
        options.lossy = lossy;
        options.colours = colours;
        options.maxBytes = maxBytes;
    }
    if (optimise >= 0) {
        options.optimize = optimise == 1;
    }
    if (loopInFile >= 0) {
        base.loopInFile = loopInFile == 1;
    }
    if (keepTransparency >= 0) {
        options.keepTransparency = keepTransparency == 1;
    }
    return base;
}

ProjectFile ReadProjectFile(const wxString& path) {
    wxLogNull quiet;
    wxFile file;
    ProjectFile failed;
    // A named pipe would block the open for ever, a folder has no bytes to read.
    const SourceProblem problem = CheckSourceFile(path);
    if (problem) {
        failed.error =
            wxString::Format(_("Cannot read \"%s\": %s"), path, DescribeSourceProblem(problem));
        return failed;
    }
    if (!file.Open(path)) {
        failed.error = wxString::Format(_("Cannot read \"%s\": %s"), path, wxSysErrorMsgStr());
        return failed;
    }
    if (file.Length() > static_cast<wxFileOffset>(kLargestProjectFile)) {
        return TooLarge(path);
    }
    // Read in pieces, so that a large file never needs a second copy in memory; counted, as
    // not every file knows its length.
    ProjectOutline outline(static_cast<size_t>(std::max<wxFileOffset>(file.Length(), 0)));
    std::vector<char> piece(1 << 20);
    size_t total = 0;
    for (;;) {
        const ssize_t got = file.Read(piece.data(), piece.size());
        if (got == wxInvalidOffset) {
            failed.error = wxString::Format(_("Cannot read \"%s\": %s"), path, wxSysErrorMsgStr());
            return failed;
        }
        total += static_cast<size_t>(got);
        if (total > kLargestProjectFile) {
            return TooLarge(path);
        }
        if (!outline.Parse(piece.data(), static_cast<size_t>(got), got == 0)) {
            return NotXml(outline, path);
        }
        if (got == 0) {
            return Finish(outline, path);
        }
    }
}

bool IsReadableProject(const char* data, size_t size, size_t entries) {
    ProjectOutline outline(size);
    if (!outline.Parse(data, size, true)) {
        return false;
    }
    const OutlineNode& root = outline.Root();
    const OutlineNode* images =
        root.name == "project" ? Expect(root.children, 2, "images") : nullptr;
    if (!images || images->children.size() != entries) {
        return false;
    }
    for (size_t i = 0; i < entries; ++i) {
        if (!Expect(images->children, i, "path")) {
            return false;
        }
    }
    return true;
}
