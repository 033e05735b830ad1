#include "cli/input_frames.h"

#include "cli/export_arguments.h"
#include "import/frame_reference.h"
#include "import/image_source.h"
#include "import/project_reader.h"

#include <wx/filefn.h>
#include <wx/intl.h>

#include <algorithm>

namespace {

// Counts in the pictures of one source; false when it gives none.
bool Survey(const wxString& path, InputFrames* read) {
    const SourceSurvey survey = SurveyImageSource(path);
    if (survey.pictures == 0) {
        return false;
    }
    read->sources.push_back(path);
    read->sizes.insert(read->sizes.end(), survey.pictures,
                       FrameSize{survey.size.GetWidth(), survey.size.GetHeight()});
    return true;
}

bool ReadProject(const wxString& path, InputFrames* read, wxString* error) {
    const ProjectFile project = ReadProjectFile(path);
    if (!project.Reached(ProjectStep::Paths)) {
        *error = project.error;
        return false;
    }
    read->projectDelay = std::min(std::max(project.delay, 1), kLargestExportNumber);
    // As the window's size controls hold it.
    if (project.width > 0 && project.height > 0) {
        read->projectSize = {std::min(project.width, kLargestSide),
                             std::min(project.height, kLargestSide)};
    }
    for (const MissingSource& source : project.missing) {
        read->missing.push_back(wxString::FromUTF8(source.path));
    }
    for (const wxString& source : project.paths) {
        if (!Survey(source, read)) {
            read->skipped.push_back(source);
        }
    }
    if (read->sizes.empty()) {
        *error = wxString::Format(_("the project \"%s\" lists no picture that can be read"), path);
        return false;
    }
    return true;
}

} // namespace

bool ReadInputFrames(const std::vector<wxString>& inputs, InputFrames* read, wxString* error) {
    for (const wxString& input : inputs) {
        if (!wxFileExists(StripFrameSuffix(input))) {
            *error = wxString::Format(_("cannot read \"%s\": no such file"), input);
            return false;
        }
    }
    if (inputs.size() == 1 && inputs[0].Lower().EndsWith(".xml")) {
        return ReadProject(inputs[0], read, error);
    }
    for (const wxString& input : inputs) {
        if (!Survey(input, read)) {
            *error = wxString::Format(_("cannot read \"%s\": it holds no picture that can be read"),
                                      input);
            return false;
        }
    }
    return true;
}
