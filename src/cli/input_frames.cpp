#include "cli/input_frames.h"

#include "cli/export_arguments.h"
#include "import/image_source.h"
#include "import/project_reader.h"

#include <wx/intl.h>

#include <algorithm>

namespace {

// "cannot read "x": why".
wxString CannotRead(const wxString& path, const SourceProblem& problem) {
    return wxString::Format(_("cannot read \"%s\": %s"), path, DescribeSourceProblem(problem));
}

// What becomes of one source.
enum class Taken {
    Whole,   // all its pictures are counted in
    Skipped, // it gives nothing; the export goes on without it
    Failed,  // the export ends
};

// Counts in the pictures of one source. A damaged one fails the export unless `keepGoing`, when
// the pictures read before the damage are counted in and `read->skipped` says so. A source that
// gives nothing is skipped where `skipEmpty` and fails otherwise; `message` says why.
Taken Survey(const wxString& path, bool keepGoing, bool skipEmpty, InputFrames* read,
             wxString* message) {
    const SourceSurvey survey = SurveyImageSource(path);
    SourceProblem problem = survey.problem;
    if (!problem && survey.pictures == 0) {
        problem.fault = SourceFault::NoPicture;
    }
    const bool damaged = problem.fault == SourceFault::Damaged;
    if (problem) {
        *message = CannotRead(path, problem);
    }
    if (problem && !(damaged && keepGoing)) {
        const bool empty =
            problem.fault == SourceFault::NoPicture || problem.fault == SourceFault::Missing;
        return skipEmpty && empty ? Taken::Skipped : Taken::Failed;
    }
    if (damaged) {
        read->skipped.push_back(wxString::Format(
            _("\"%s\" is damaged: only the %d frames read before the damage are written"), path,
            survey.pictures));
    }
    if (survey.pictures > 0) {
        read->sources.push_back(path);
        read->sizes.insert(read->sizes.end(), survey.pictures,
                           FrameSize{survey.size.GetWidth(), survey.size.GetHeight()});
        read->delays.insert(read->delays.end(), survey.delays.begin(), survey.delays.end());
        read->delays.resize(read->sizes.size(), -1);
    }
    return Taken::Whole;
}

bool ReadProject(const wxString& path, bool keepGoing, InputFrames* read, wxString* error) {
    const ProjectFile project = ReadProjectFile(path);
    read->projectView = project.view;
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
    for (size_t i = 0; i < project.paths.size(); ++i) {
        const wxString& source = project.paths[i];
        wxString message;
        const size_t before = read->sizes.size();
        const Taken taken = Survey(source, keepGoing, true, read, &message);
        // A project's frames take its delay, GIF frames too, unless their path names their own.
        read->delays.resize(before);
        read->delays.resize(read->sizes.size(), i < project.delays.size() ? project.delays[i] : -1);
        if (taken == Taken::Failed) {
            *error = message;
            return false;
        }
        if (taken == Taken::Skipped) {
            read->skipped.push_back(message);
        }
    }
    if (read->sizes.empty()) {
        *error = wxString::Format(_("the project \"%s\" lists no picture that can be read"), path);
        return false;
    }
    return true;
}

} // namespace

bool ReadInputFrames(const std::vector<wxString>& inputs, bool keepGoing, InputFrames* read,
                     wxString* error) {
    for (const wxString& input : inputs) {
        const SourceProblem problem = CheckSourceFile(SourceFileOf(input));
        if (problem) {
            *error = CannotRead(input, problem);
            return false;
        }
    }
    if (inputs.size() == 1 && inputs[0].Lower().EndsWith(".xml")) {
        return ReadProject(inputs[0], keepGoing, read, error);
    }
    for (const wxString& input : inputs) {
        if (Survey(input, keepGoing, false, read, error) == Taken::Failed) {
            return false;
        }
    }
    if (read->sizes.empty()) {
        *error = _("no INPUT holds a picture that can be read");
        return false;
    }
    return true;
}
