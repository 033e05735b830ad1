#include "import/project_reader.h"

#include "app/platform.h"
#include "import/frame_reference.h"

#include <wx/filefn.h>
#include <wx/log.h>
#include <wx/xml/xml.h>

namespace {
// The node itself when it is the element named `name`, otherwise null.
const wxXmlNode* Expect(const wxXmlNode* node, const char* name) {
    return node && node->GetType() == wxXML_ELEMENT_NODE && node->GetName() == name ? node
                                                                                    : nullptr;
}

int NumberIn(const wxXmlNode* node) {
    return StringToInt(node->GetNodeContent());
}

// The usable frame sources of "images"; false when a child is not "path".
bool ReadPaths(const wxXmlNode* images, wxArrayString& paths) {
    wxLogNull quiet;
    for (const wxXmlNode* child = images->GetChildren(); child; child = child->GetNext()) {
        if (!Expect(child, "path")) {
            paths.clear();
            return false;
        }
        const wxString path = child->GetNodeContent();
        if (!IsGifSource(path) && wxFileExists(StripFrameSuffix(path))) {
            paths.push_back(path);
        }
    }
    return true;
}
} // namespace

ProjectFile ReadProjectFile(const wxString& path) {
    ProjectFile project;
    wxXmlDocument document;
    if (!document.Load(path, "UTF-8", 0) || !document.GetRoot()) {
        return project;
    }
    project.reached = ProjectStep::Document;
    const wxXmlNode* root = Expect(document.GetRoot(), "project");
    const wxXmlNode* name = root ? Expect(root->GetChildren(), "name") : nullptr;
    const wxXmlNode* gif = name ? Expect(name->GetNext(), "gif") : nullptr;
    const wxXmlNode* width = gif ? Expect(gif->GetChildren(), "width") : nullptr;
    if (!width) {
        return project;
    }
    project.width = NumberIn(width);
    project.reached = ProjectStep::Width;

    const wxXmlNode* height = Expect(width->GetNext(), "height");
    if (!height) {
        return project;
    }
    project.height = NumberIn(height);
    project.name = name->GetNodeContent();
    project.reached = ProjectStep::Height;

    const wxXmlNode* delay = Expect(height->GetNext(), "delay_time");
    if (!delay) {
        return project;
    }
    project.delay = NumberIn(delay);
    project.reached = ProjectStep::Delay;

    const wxXmlNode* images = Expect(gif->GetNext(), "images");
    if (!images) {
        return project;
    }
    project.reached = ProjectStep::Images;
    project.imagesEmpty = !images->GetChildren();
    if (!project.imagesEmpty && ReadPaths(images, project.paths)) {
        project.reached = ProjectStep::Paths;
    }
    return project;
}
