#include "cli/export_command.h"

#include "app/canvas_size.h"
#include "app/product.h"
#include "cli/export_arguments.h"
#include "cli/frame_stream.h"
#include "cli/input_frames.h"
#include "cli/progress_report.h"
#include "export/gif_export.h"

#include <wx/intl.h>

namespace {

const char* const kProgram = "reelmont-export";

void Say(std::FILE* stream, const wxString& text) {
    std::fprintf(stream, "%s: %s\n", kProgram, static_cast<const char*>(text.utf8_str()));
}

// The output size: the size asked for, one side alone keeping the canvas proportions with the
// window's arithmetic; otherwise the project's own size, or the canvas the window takes from
// the frames.
FrameSize OutputSize(const InputFrames& input, const ExportArguments& arguments) {
    const FrameSize canvas = CanvasOfFrames(input.sizes);
    if (arguments.width && arguments.height) {
        return FrameSize{arguments.width, arguments.height};
    }
    if (arguments.width) {
        return SizeForWidth(arguments.width, canvas);
    }
    if (arguments.height) {
        return SizeForHeight(arguments.height, canvas);
    }
    if (input.projectSize.width > 0) {
        return input.projectSize;
    }
    return canvas;
}

} // namespace

int RunExportCommand(const std::vector<wxString>& arguments, std::FILE* out, std::FILE* err,
                     bool errIsTerminal) {
    ExportArguments parsed;
    wxString error;
    if (!ParseExportArguments(arguments, &parsed, &error)) {
        Say(err, error);
        std::fprintf(
            err, "%s\n",
            static_cast<const char*>(wxString::Format(_("Try '%s --help'."), kProgram).utf8_str()));
        return kExportMisused;
    }
    if (parsed.help) {
        std::fputs(ExportUsage().utf8_str(), out);
        return kExportSucceeded;
    }
    if (parsed.version) {
        std::fprintf(out, "%s\n", static_cast<const char*>(GetProductVersion().utf8_str()));
        return kExportSucceeded;
    }

    InputFrames input;
    if (!ReadInputFrames(parsed.inputs, parsed.keepGoing, &input, &error)) {
        Say(err, error);
        return kExportFailed;
    }
    for (const wxString& missing : input.missing) {
        Say(err,
            wxString::Format(_("missing \"%s\": no such file, its frame is left out"), missing));
    }
    for (const wxString& skipped : input.skipped) {
        Say(err, skipped);
    }

    const FrameSize size = OutputSize(input, parsed);
    GifExportJob job;
    job.frameCount = static_cast<int>(input.sizes.size());
    FrameStream frames(input.sources);
    job.frameSource = [&frames](int) { return frames.Next(); };
    job.canvasWidth = size.width;
    job.canvasHeight = size.height;
    job.delay = parsed.delay ? parsed.delay : input.projectDelay ? input.projectDelay : 10;
    job.path = parsed.output;
    job.options = parsed.options;
    ProgressReport progress(err, errIsTerminal, parsed.output);
    job.progress = [&progress](int percent) { progress.Update(percent); };
    const GifExportResult result = ExportGif(job);
    progress.Finish();
    if (!result.ok) {
        Say(err, result.message);
        return kExportFailed;
    }
    Say(err, wxString::Format(_("wrote \"%s\": %d frames of %d x %d, delay %d"), parsed.output,
                              job.frameCount, size.width, size.height, job.delay));
    return kExportSucceeded;
}
