// Times writing the same generated frames as an animated GIF with our export pipeline, with
// ImageMagick's convert and with the toolkit's wxGIFHandler::SaveAnimation, and measures each
// file's size and its PSNR against the source frames.
//
// Usage: export_bench [WORK_FOLDER] [REELMONT_EXPORT]
// The folder (default: a new one under the temporary folder) receives the frames and outputs;
// with the path of reelmont-export the command-line exporter is timed as well.
#include "bench_frames.h"
#include "export/frame_fitting.h"
#include "export/gif_export.h"
#include "export/palette_conversion.h"

#include <wx/anidecod.h>
#include <wx/filename.h>
#include <wx/imaggif.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/palette.h>
#include <wx/wfstream.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

struct Workload {
    std::string name;
    int frames;
    int width;
    int height;
    wxImage (*make)(int, int, int);
};

wxString FramePath(const wxString& folder, int i) {
    return wxString::Format("%s/frame%04d.png", folder, i);
}

long FileSize(const wxString& path) {
    return static_cast<long>(wxFileName::GetSize(path).ToULong());
}

// PSNR of the GIF's frames, decoded and composed by ImageMagick, against the source frames.
double Psnr(const wxString& gif, const wxString& frames, const Workload& w) {
    const wxString raw = gif + ".rgb";
    const wxString command =
        wxString::Format("/usr/bin/convert '%s' -coalesce -depth 8 rgb:'%s'", gif, raw);
    if (std::system(command.utf8_str()) != 0) {
        return -1;
    }
    wxFileInputStream in(raw);
    const size_t frameBytes = static_cast<size_t>(w.width) * w.height * 3;
    std::vector<unsigned char> decoded(frameBytes);
    double squares = 0;
    for (int i = 0; i < w.frames; ++i) {
        if (in.Read(decoded.data(), frameBytes).LastRead() != frameBytes) {
            return -1;
        }
        wxImage source(FramePath(frames, i), wxBITMAP_TYPE_PNG);
        for (size_t b = 0; b < frameBytes; ++b) {
            const double d = decoded[b] - source.GetData()[b];
            squares += d * d;
        }
    }
    wxRemoveFile(raw);
    const double mse = squares / (frameBytes * w.frames);
    return mse == 0 ? INFINITY : 10 * std::log10(255.0 * 255.0 / mse);
}

struct Row {
    std::string tool;
    double seconds;
    long bytes;
    double psnr;
};

double TimeOurPipeline(const wxString& frames, const Workload& w, const wxString& out,
                       int threads) {
    const Clock::time_point start = Clock::now();
    GifExportJob job;
    job.frameCount = w.frames;
    job.frameSource = [&frames](int i) { return wxImage(FramePath(frames, i), wxBITMAP_TYPE_PNG); };
    job.canvasWidth = w.width;
    job.canvasHeight = w.height;
    job.delay = 10;
    job.path = out;
    job.threads = threads;
    const GifExportResult result = ExportGif(job);
    if (!result.ok) {
        std::fprintf(stderr, "%s\n", static_cast<const char*>(result.message.utf8_str()));
        return -1;
    }
    return Seconds(start);
}

double TimeCommand(const wxString& command) {
    const Clock::time_point start = Clock::now();
    if (std::system(command.utf8_str()) != 0) {
        return -1;
    }
    return Seconds(start);
}

// The toolkit's writer, given the frames decoded and quantised by our own conversion on one
// thread. Also returns the time spent in SaveAnimation alone.
double TimeToolkitWriter(const wxString& frames, const Workload& w, const wxString& out,
                         double* encodeSeconds) {
    const Clock::time_point start = Clock::now();
    wxImageArray images;
    for (int i = 0; i < w.frames; ++i) {
        const wxImage source(FramePath(frames, i), wxBITMAP_TYPE_PNG);
        const PalettedFrame paletted =
            ConvertToPalettedFrame(PrepareFrame(source, w.width, w.height));
        wxImage image(paletted.width, paletted.height, false);
        for (size_t p = 0; p < paletted.indices.size(); ++p) {
            std::memcpy(image.GetData() + 3 * p, &paletted.colours[paletted.indices[p]], 3);
        }
        std::vector<unsigned char> red, green, blue;
        for (const GifColour& entry : paletted.colours) {
            red.push_back(entry.red);
            green.push_back(entry.green);
            blue.push_back(entry.blue);
        }
        image.SetPalette(
            wxPalette(static_cast<int>(red.size()), red.data(), green.data(), blue.data()));
        images.Add(image);
    }
    const Clock::time_point encodeStart = Clock::now();
    wxFileOutputStream stream(out);
    wxGIFHandler handler;
    const bool ok = handler.SaveAnimation(images, &stream, false, 100);
    stream.Close();
    *encodeSeconds = Seconds(encodeStart);
    return ok ? Seconds(start) : -1;
}

std::string Format(double value, const char* format) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

int main(int argc, char** argv) {
    wxInitializer toolkit(argc, argv);
    if (!toolkit.IsOk()) {
        return 2;
    }
    wxLog::EnableLogging(false);
    wxInitAllImageHandlers();

    wxString work = argc > 1 ? wxString(argv[1]) : wxString();
    if (work.empty()) {
        std::string pattern = (wxFileName::GetTempDir() + "/reelmont-bench-XXXXXX").ToStdString();
        if (!mkdtemp(&pattern[0])) {
            return 1;
        }
        work = pattern;
    }
    const wxString exporter = argc > 2 ? wxString(argv[2]) : wxString();

    const std::vector<Workload> workloads = {{"photo 100 x 640x480", 100, 640, 480, PhotoFrame},
                                             {"screen 300 x 320x240", 300, 320, 240, ScreenFrame}};
    std::printf("| workload | writer | wall time (s) | ImageMagick's time / this | file size "
                "(bytes) | PSNR (dB) |\n");
    std::printf("|---|---|---:|---:|---:|---:|\n");
    for (const Workload& w : workloads) {
        const wxString frames = work + "/" + (w.width == 640 ? "photo" : "screen");
        wxFileName::Mkdir(frames, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
        for (int i = 0; i < w.frames; ++i) {
            if (!wxFileExists(FramePath(frames, i))) {
                w.make(i, w.width, w.height).SaveFile(FramePath(frames, i), wxBITMAP_TYPE_PNG);
            }
        }

        std::vector<Row> rows;
        for (int threads : {2, 1}) {
            const wxString ours = wxString::Format("%s-ours%d.gif", frames, threads);
            rows.push_back({"Reelmont pipeline, " + std::to_string(threads) + " thread(s)",
                            TimeOurPipeline(frames, w, ours, threads), 0, 0});
            rows.back().bytes = FileSize(ours);
            rows.back().psnr = Psnr(ours, frames, w);
        }

        if (!exporter.empty()) {
            const wxString cli = frames + "-cli.gif";
            rows.push_back({"reelmont-export",
                            TimeCommand(wxString::Format("'%s' -o '%s' '%s'/frame*.png", exporter,
                                                         cli, frames)),
                            FileSize(cli), 0});
            rows.back().psnr = Psnr(cli, frames, w);
        }

        const wxString magick = frames + "-magick.gif";
        rows.push_back(
            {"ImageMagick convert",
             TimeCommand(wxString::Format("/usr/bin/convert -delay 10 -loop 0 '%s'/frame*.png '%s'",
                                          frames, magick)),
             FileSize(magick), 0});
        rows.back().psnr = Psnr(magick, frames, w);

        const wxString toolkit = frames + "-toolkit.gif";
        double encodeSeconds = 0;
        const double toolkitSeconds = TimeToolkitWriter(frames, w, toolkit, &encodeSeconds);
        rows.push_back({"wxGIFHandler::SaveAnimation (1 thread; " + Format(encodeSeconds, "%.2f") +
                            " s of it in SaveAnimation)",
                        toolkitSeconds, FileSize(toolkit), Psnr(toolkit, frames, w)});

        double magickSeconds = 0;
        for (const Row& row : rows) {
            if (row.tool == "ImageMagick convert") {
                magickSeconds = row.seconds;
            }
        }
        for (const Row& row : rows) {
            std::printf("| %s | %s | %s | %s | %ld | %s |\n", w.name.c_str(), row.tool.c_str(),
                        Format(row.seconds, "%.2f").c_str(),
                        Format(magickSeconds / row.seconds, "%.1f").c_str(), row.bytes,
                        Format(row.psnr, "%.2f").c_str());
        }
        std::fflush(stdout);
    }
    return 0;
}
