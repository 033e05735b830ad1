#include "cli/export_command.h"

#include "app/canvas_size.h"
#include "app/file_name_bytes.h"
#include "app/product.h"
#include "app/shown_text.h"
#include "cli/export_arguments.h"
#include "cli/frame_plan.h"
#include "cli/frame_stream.h"
#include "cli/input_frames.h"
#include "cli/input_list.h"
#include "cli/interruption.h"
#include "cli/progress_report.h"
#include "cli/standard_streams.h"
#include "document/animation.h"
#include "edit/delay_pacing.h"
#include "export/animation_export.h"
#include "export/size_fitting.h"
#include "video/video_reference.h"

#include <wx/intl.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {

const char* const kProgram = "reelmont-export";

// Writes a message line, unless `stream` is null.
void Say(std::FILE* stream, const wxString& text) {
    if (stream) {
        std::fprintf(stream, "%s: %s\n", kProgram, EscapedText(text).utf8_string().c_str());
    }
}

// Names each missing source of a project, unless `stream` is null. A project may list a million
// of them: the words around the name are looked up and converted once, and the lines written in
// blocks rather than one write each to an unbuffered standard error.
void SayMissing(std::FILE* stream, const std::vector<MissingSource>& missing) {
    if (!stream) {
        return;
    }
    const wxString note = _("missing \"%s\": no such file, its frame is left out");
    const std::string before = std::string(kProgram) + ": " + note.BeforeFirst('%').utf8_string();
    const std::string after = note.AfterFirst('%').Mid(1).utf8_string() + "\n";
    std::string lines;
    for (const MissingSource& source : missing) {
        lines += before;
        lines += EscapedText(FileNameFromBytes(source.path)).utf8_string();
        lines += after;
        if (lines.size() >= 1 << 16 || &source == &missing.back()) {
            std::fwrite(lines.data(), 1, lines.size(), stream);
            lines.clear();
        }
    }
}

// The output size: the size asked for, one side alone keeping the canvas proportions with the
// window's arithmetic; otherwise the project's own size, or the canvas the window takes from
// the frames. A crop, turn or flip gives the canvas of the frames as they are then shown.
FrameSize OutputSize(const InputFrames& input, const ExportArguments& arguments) {
    const ViewTransform view = arguments.View(input.projectView);
    std::vector<FrameSize> shown;
    for (const FrameSize& frame : input.sizes) {
        const wxSize size = TransformedSize(wxSize(frame.width, frame.height), view);
        shown.push_back({size.x, size.y});
    }
    const FrameSize canvas = CanvasOfFrames(shown);
    if (arguments.width && arguments.height) {
        return FrameSize{arguments.width, arguments.height};
    }
    if (arguments.width) {
        return SizeForWidth(arguments.width, canvas);
    }
    if (arguments.height) {
        return SizeForHeight(arguments.height, canvas);
    }
    if (input.projectSize.width > 0 && !arguments.ChangesView()) {
        return input.projectSize;
    }
    return canvas;
}

// Standard output carries only a GIF, and never to a terminal; standard input is read only
// when it is not a terminal, where nothing would come until the user typed.
bool CheckStreams(const ExportArguments& parsed, const CommandStreams& streams, wxString* error) {
    if (parsed.help || parsed.version) {
        return true;
    }
    if (parsed.output == "-" && streams.outIsTerminal) {
        *error = _("standard output is a terminal: a GIF is not shown there; redirect it "
                   "(-o - > OUT.gif) or name a file (-o OUT.gif)");
        return false;
    }
    const bool readsIn =
        parsed.filesFrom == "-" || (!parsed.inputs.empty() && parsed.inputs[0] == "-");
    if (readsIn && streams.inIsTerminal) {
        *error = _("standard input is a terminal: pipe the INPUT or the list into the command");
        return false;
    }
    return true;
}

// A message about a file in the scratch folder, naming instead what the user gave.
wxString Shown(wxString message, const wxString& scratchPath, const wxString& given) {
    if (!scratchPath.empty()) {
        message.Replace(scratchPath, given);
    }
    return message;
}

// The last line of a written GIF: its one delay where -d alone set every frame.
wxString Summary(const wxString& output, const Animation& animation, bool oneDelay) {
    const FrameSize size = animation.output;
    const int count = animation.FrameCount();
    if (oneDelay && count > 0) {
        return wxString::Format(_("wrote \"%s\": %d frames of %d x %d, delay %d"), output, count,
                                size.width, size.height, animation.Frame(0).delay);
    }
    return wxString::Format(
        _("wrote \"%s\": %d frames of %d x %d, %lld hundredths of a second"), output, count,
        size.width, size.height,
        count > 0 ? animation.StartTime(count - 1) + animation.Frame(count - 1).delay : 0LL);
}

// Whether frames that change a little of a huge screen can be taken as those changes: every
// input frame is written once, in order, unscaled, so each comes right after the one before it.
bool TakesParts(const FramePlan& plan, const InputFrames& input, const FrameSize& output) {
    if (plan.frames.size() != input.sizes.size()) {
        return false;
    }
    for (size_t i = 0; i < input.sizes.size(); ++i) {
        if (plan.frames[i] != static_cast<int>(i) || input.sizes[i].width != output.width ||
            input.sizes[i].height != output.height) {
            return false;
        }
    }
    return true;
}

// The options written: a project's export choices where the command line gives no option in
// their place. A quality, lossy level or colour count given there is kept: the project's size
// limit, which would choose them, is then left out.
ExportOptions OptionsOver(const InputFrames& input, const std::vector<wxString>& arguments,
                          const ExportArguments& parsed) {
    // The same arguments as `parsed`, so read without a mistake.
    ExportArguments over;
    wxString error;
    ParseExportArguments(arguments, &over, &error, input.projectOptions);
    if (!parsed.Gave("max-size") &&
        (parsed.Gave("quality-level") || parsed.Gave("lossy") || parsed.Gave("colours"))) {
        over.options.maxBytes = 0;
    }
    return over.options;
}

} // namespace

int RunExportCommand(const std::vector<wxString>& arguments, const CommandStreams& streams) {
    std::FILE* const err = streams.err;
    ExportArguments parsed;
    wxString error;
    if (!ParseExportArguments(arguments, &parsed, &error) ||
        !CheckStreams(parsed, streams, &error)) {
        Say(err, error);
        std::fprintf(
            err, "%s\n",
            static_cast<const char*>(wxString::Format(_("Try '%s --help'."), kProgram).utf8_str()));
        return kExportMisused;
    }
    if (parsed.help) {
        std::fputs(ExportUsage().utf8_str(), streams.out);
        return kExportSucceeded;
    }
    if (parsed.version) {
        std::fprintf(streams.out, "%s\n", static_cast<const char*>(GetProductVersion().utf8_str()));
        return kExportSucceeded;
    }
    SetInterruptedTarget(parsed.output == "-" ? wxString() : parsed.output);

    std::vector<wxString> inputs = parsed.inputs;
    if (!parsed.filesFrom.empty() &&
        (!ReadInputList(parsed.filesFrom, streams.in, &inputs, &error) ||
         !CheckInputs(inputs, &error))) {
        Say(err, error);
        return kExportFailed;
    }
    if (inputs.empty()) {
        Say(err, wxString::Format(_("the list \"%s\" names no INPUT"), parsed.filesFrom));
        return kExportFailed;
    }
    // What passes through the standard streams is kept in a scratch folder meanwhile.
    ScratchFolder scratch;
    wxString spooled;
    if (inputs[0] == "-" && !SpoolInput(streams.in, scratch, &spooled, &error)) {
        Say(err, error);
        return kExportFailed;
    }
    if (!spooled.empty()) {
        inputs[0] = spooled;
    }
    // Videos give the part asked for, taken at --fps (their own rate without it).
    for (wxString& video : inputs) {
        if (HasVideoExtension(video)) {
            const VideoRange whole;
            video = VideoPartName(video, {std::max(parsed.start, 0.0),
                                          parsed.end >= 0 ? parsed.end : whole.end, parsed.fps});
        }
    }
    InputFrames input;
    if (!ReadInputFrames(inputs, parsed.keepGoing, &input, &error)) {
        Say(err, Shown(error, spooled, "-"));
        return kExportFailed;
    }
    parsed.options = OptionsOver(input, arguments, parsed);
    // Notes, unlike errors, are kept back by --quiet.
    std::FILE* const notes = parsed.quiet ? nullptr : err;
    SayMissing(notes, input.missing);
    for (const wxString& skipped : input.skipped) {
        Say(notes, Shown(skipped, spooled, "-"));
    }

    const bool toOut = parsed.output == "-";
    if (toOut && !scratch.Create(&error)) {
        Say(err, error);
        return kExportFailed;
    }
    const ViewTransform view = parsed.View(input.projectView);
    const int inputCount = static_cast<int>(input.sizes.size());
    const int delay = parsed.delay ? parsed.delay : input.projectDelay ? input.projectDelay : 10;
    // -d and --fps set every frame; otherwise GIF and video frames keep their own delays.
    std::vector<int> delays(inputCount, delay);
    if (parsed.fps > 0) {
        delays = DelaysForRate(input.sizes.size(), parsed.fps);
    } else if (!parsed.delay) {
        for (int i = 0; i < inputCount; ++i) {
            delays[i] = input.delays[i] >= 0 ? input.delays[i] : delay;
        }
    }
    // Merging repeated frames, a new speed and ping-pong change which frames are written, and
    // how long each is shown.
    std::vector<FrameRun> runs;
    if (parsed.duplicateTolerance >= 0) {
        runs = FindRepeatedFrames(input.sources, delays, view.crop, parsed.duplicateTolerance);
        Say(notes, wxString::Format(
                       _("%d repeated frames left out, their time given to the frames they repeat"),
                       inputCount - static_cast<int>(runs.size())));
    }
    const FramePlan plan = PlanFrames(delays, runs, parsed.speed, parsed.pingPong);
    const bool oneDelay = parsed.delay && parsed.fps <= 0 && parsed.duplicateTolerance < 0 &&
                          parsed.speed == 100 && !parsed.pingPong;

    // The animation written is a document as the window's is, its frames holding their delays
    // but no pictures: those stay in the inputs and are read again as the export takes them,
    // so that memory does not grow with the number of frames.
    Animation animation;
    animation.output = OutputSize(input, parsed);
    animation.options = parsed.options;
    animation.view = view;
    for (int planned : plan.delays) {
        AnimationFrame frame;
        frame.delay = planned;
        animation.Insert(animation.FrameCount(), std::move(frame));
    }
    const bool partsFit = TakesParts(plan, input, animation.output);
    // A size limit reads the frames again from the start, and a sample of them skipping others.
    std::unique_ptr<PlannedFrames> frames;
    int nextFrame = 0;
    bool readingParts = false;
    const wxString target = toOut ? scratch.File("standard-output.gif") : parsed.output;
    GifExportJob job = AnimationExportJob(animation, target, [&](int index, wxRect* part) {
        const bool parts = part != nullptr && partsFit;
        if (!frames || index < nextFrame || parts != readingParts) {
            frames.reset(new PlannedFrames(
                input.sources, plan.frames,
                parts ? PictureParts::OfHugeScreens : PictureParts::Whole, input.counts));
            nextFrame = 0;
            readingParts = parts;
        }
        frames->SkipTo(index);
        nextFrame = index + 1;
        return frames->Next(parts ? part : nullptr);
    });
    ProgressReport progress(err, notes && streams.errIsTerminal, parsed.output);
    job.progress = [&progress](int percent) { progress.Update(percent); };
    const GifExportResult result = ExportGif(job);
    progress.Finish();
    if (!result.ok) {
        // A frame without a picture is one of a source that could not be decoded after all.
        SourceProblem problem;
        const wxString failed = frames ? frames->FailedSource(&problem) : wxString();
        Say(err, failed.empty() ? Shown(result.message, toOut ? job.path : wxString(), "-")
                                : Shown(CannotRead(failed, problem), spooled, "-"));
        return kExportFailed;
    }
    if (toOut && !CopyFileTo(job.path, streams.out, &error)) {
        Say(err, error);
        return kExportFailed;
    }
    if (parsed.options.maxBytes > 0) {
        Say(notes, DescribeFit(result, parsed.options.maxBytes));
    }
    Say(notes, Summary(parsed.output, animation, oneDelay));
    return kExportSucceeded;
}
