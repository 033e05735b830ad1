#include "cli/input_frames.h"

#include "app/file_name_bytes.h"
#include "cli/export_arguments.h"
#include "import/image_source.h"
#include "import/project_reader.h"

#include <wx/intl.h>

#include <algorithm>

wxString CannotRead(const wxString& path, const SourceProblem& problem) {
    return wxString::Format(_("cannot read \"%s\": %s"), path, DescribeSourceProblem(problem));
}

namespace {

// Counts in the pictures of a run of sources (FrameRunLength; one source outside projects). A
// damaged source fails the export unless `keepGoing`, when the pictures read before the damage
// are counted in and `read->skipped` says so. Sources that give nothing are skipped where
// `skipEmpty` (each with its message in `read->skipped`) and fail otherwise, with `message`
// saying why. False when the export ends.
bool Survey(const std::vector<wxString>& run, bool keepGoing, bool skipEmpty, InputFrames* read,
            wxString* message) {
    // Damage is found before any frame is written where the export is to go on past it;
    // otherwise still pictures are counted from their headers, and decoded only once.
    const SourceSurvey survey =
        SurveyFrameRun(run, keepGoing ? StillSurvey::Decoded : StillSurvey::FromHeader);
    const size_t found = std::min(static_cast<size_t>(survey.pictures), run.size());
    // A run's frames come from one file, so their pictures all have its size.
    const size_t pictures = run.size() == 1 ? static_cast<size_t>(survey.pictures) : found;
    const size_t given = run.size() == 1 ? (survey.pictures > 0 ? 1 : 0) : found;
    SourceProblem problem = survey.problem;
    const bool damaged = problem.fault == SourceFault::Damaged;
    if (problem && !(damaged && keepGoing)) {
        *message = CannotRead(run[given < run.size() ? given : 0], problem);
        const bool empty =
            problem.fault == SourceFault::NoPicture || problem.fault == SourceFault::Missing;
        if (!skipEmpty || !empty) {
            return false;
        }
        read->skipped.push_back(*message);
        return true;
    }
    if (damaged) {
        read->skipped.push_back(wxString::Format(
            _("\"%s\" is damaged: only the %d frames read before the damage are written"),
            StripFrameSuffix(run[0]), static_cast<int>(pictures)));
    }
    read->sources.insert(read->sources.end(), run.begin(), run.begin() + static_cast<long>(given));
    read->counts.insert(read->counts.end(), given,
                        run.size() == 1 ? static_cast<int>(pictures) : 1);
    read->sizes.insert(read->sizes.end(), pictures,
                       FrameSize{survey.size.GetWidth(), survey.size.GetHeight()});
    read->delays.insert(read->delays.end(), survey.delays.begin(),
                        survey.delays.begin() +
                            static_cast<long>(std::min(pictures, survey.delays.size())));
    read->delays.resize(read->sizes.size(), -1);
    SourceProblem nothing;
    nothing.fault = damaged ? SourceFault::Damaged : SourceFault::NoPicture;
    for (size_t i = given; i < run.size(); ++i) {
        *message = CannotRead(run[i], nothing);
        if (!skipEmpty) {
            return false;
        }
        read->skipped.push_back(*message);
    }
    return true;
}

bool ReadProject(const wxString& path, bool keepGoing, InputFrames* read, wxString* error) {
    ProjectFile project = ReadProjectFile(path);
    read->projectView = project.view;
    if (!project.Reached(ProjectStep::Paths)) {
        *error = project.error;
        return false;
    }
    read->projectDelay = std::min(std::max(project.delay, 1), kLargestExportNumber);
    read->projectOptions = project.Choices(ExportChoices()).FileOptions();
    // As the window's size controls hold it.
    if (project.width > 0 && project.height > 0) {
        read->projectSize = {std::min(project.width, kLargestSide),
                             std::min(project.height, kLargestSide)};
    }
    read->missing = std::move(project.missing);
    // Sources that are gone or hold no picture are skipped as the window skips them; damage
    // and pictures too large to take end the export, as they do for a file on the command line.
    for (size_t i = 0; i < project.paths.size();) {
        const size_t length = FrameRunLength(project.paths, i);
        const std::vector<wxString> run(project.paths.begin() + static_cast<long>(i),
                                        project.paths.begin() + static_cast<long>(i + length));
        wxString message;
        const size_t before = read->sizes.size();
        const bool goOn = Survey(run, keepGoing, true, read, &message);
        // A project's frames take its delay, GIF frames too, unless their path names their own;
        // the pictures of a run are its paths' in order.
        read->delays.resize(before);
        for (size_t k = before; k < read->sizes.size(); ++k) {
            const size_t path = i + (length == 1 ? 0 : k - before);
            read->delays.push_back(path < project.delays.size() ? project.delays[path] : -1);
        }
        if (!goOn) {
            *error = message;
            return false;
        }
        i += length;
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
        if (!Survey({input}, keepGoing, false, read, error)) {
            return false;
        }
    }
    if (read->sizes.empty()) {
        *error = _("no INPUT holds a picture that can be read");
        return false;
    }
    return true;
}
