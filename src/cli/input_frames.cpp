#include "cli/input_frames.h"

#include "cli/export_arguments.h"
#include "import/frame_reference.h"
#include "import/image_source.h"
#include "import/project_reader.h"

#include <wx/filefn.h>
#include <wx/intl.h>

#include <algorithm>

namespace {

// "cannot read "x": why".
wxString CannotRead(const wxString& path, const SourceProblem& problem) {
    return wxString::Format(_("cannot read \"%s\": %s"), path, DescribeSourceProblem(problem));
}

// Counts in the pictures of one source; false when it gives none or is damaged, with `error`
// saying why.
bool Survey(const wxString& path, InputFrames* read, wxString* error,
            SourceFault* fault = nullptr) {
    const SourceSurvey survey = SurveyImageSource(path);
    if (survey.pictures == 0 || survey.problem) {
        SourceProblem problem = survey.problem;
        if (!problem) {
            problem.fault = SourceFault::NoPicture;
        }
        *error = CannotRead(path, problem);
        if (fault) {
            *fault = problem.fault;
        }
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
    // Sources that are gone or hold no picture are skipped as the window skips them; damage
    // and pictures too large to take end the export, as they do for a file on the command line.
    for (const wxString& source : project.paths) {
        SourceFault fault = SourceFault::None;
        if (!Survey(source, read, error, &fault)) {
            if (fault != SourceFault::NoPicture && fault != SourceFault::Missing) {
                return false;
            }
            read->skipped.push_back(*error);
        }
    }
    error->clear();
    if (read->sizes.empty()) {
        *error = wxString::Format(_("the project \"%s\" lists no picture that can be read"), path);
        return false;
    }
    return true;
}

} // namespace

bool ReadInputFrames(const std::vector<wxString>& inputs, InputFrames* read, wxString* error) {
    for (const wxString& input : inputs) {
        const SourceProblem problem = CheckSourceFile(StripFrameSuffix(input));
        if (problem) {
            *error = CannotRead(input, problem);
            return false;
        }
    }
    if (inputs.size() == 1 && inputs[0].Lower().EndsWith(".xml")) {
        return ReadProject(inputs[0], read, error);
    }
    for (const wxString& input : inputs) {
        if (!Survey(input, read, error)) {
            return false;
        }
    }
    return true;
}
