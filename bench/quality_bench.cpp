// Export quality and file size against the free GIF writers: every writer runs as a process of
// its own on the same PNG frames, and the benchmark measures its wall and CPU time, its peak
// memory, the size of its file and the file's frames against the source frames (mean PSNR of
// the frames, and SSIM through ffmpeg).
//
// Usage: quality_bench WORK_FOLDER REELMONT_EXPORT [GIFSKI] [WORKLOAD...]
// The work folder receives the frames and outputs; GIFSKI is the path of a gifski binary (left
// out or "-" when there is none); WORKLOAD names (photo, screen, gradient, large) choose some.
#include "bench_frames.h"

#include <wx/filename.h>
#include <wx/init.h>
#include <wx/log.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Workload {
    std::string name, description;
    int frames, width, height;
    wxImage (*make)(int, int, int);
};

struct Run {
    double wall = -1, cpu = 0;
    long peakKiB = 0;
};

// Runs a command (no shell) with its output discarded; wall time, CPU time of the process and
// its children, and its peak resident memory.
Run RunProcess(const std::vector<std::string>& argv) {
    Run run;
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        std::vector<char*> args;
        for (const std::string& a : argv) {
            args.push_back(const_cast<char*>(a.c_str()));
        }
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return run;
    }
    run.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.cpu = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
              usage.ru_stime.tv_usec / 1e6;
    run.peakKiB = usage.ru_maxrss;
    return run;
}

std::string Output(const std::string& command) {
    std::string text;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[65536];
    for (size_t got; pipe && (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        text.append(buffer, got);
    }
    if (pipe) {
        pclose(pipe);
    }
    return text;
}

std::string FramePath(const std::string& folder, int i) {
    char name[32];
    std::snprintf(name, sizeof name, "/frame%04d.png", i);
    return folder + name;
}

struct Quality {
    double psnr = -1; // mean over the frames; infinity when every frame is exact
    double ssim = -1;
};

// The GIF's frames as ImageMagick composes them, against the source frames.
Quality Measure(const std::string& gif, const std::string& frames, const Workload& w) {
    Quality quality;
    const std::string raw = Output("convert '" + gif + "' -coalesce -depth 8 rgb:- 2>/dev/null");
    const size_t frameBytes = static_cast<size_t>(w.width) * w.height * 3;
    if (raw.size() != frameBytes * w.frames) {
        return quality;
    }
    double sum = 0;
    bool exact = true;
    for (int i = 0; i < w.frames; ++i) {
        const wxImage source(FramePath(frames, i), wxBITMAP_TYPE_PNG);
        double squares = 0;
        for (size_t b = 0; b < frameBytes; ++b) {
            const double d = static_cast<unsigned char>(raw[i * frameBytes + b]) -
                             static_cast<double>(source.GetData()[b]);
            squares += d * d;
        }
        const double mse = squares / frameBytes;
        exact = exact && mse == 0;
        // An exact frame counts as 99 dB, so that a mean stays finite.
        sum += mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
    }
    quality.psnr = exact ? INFINITY : sum / w.frames;
    const std::string ssim =
        Output("ffmpeg -nostdin -loglevel info -i '" + gif + "' -framerate 10 -i '" + frames +
               "/frame%04d.png' -lavfi '[0:v]format=rgb24[a];[1:v]format=rgb24[b];[a][b]ssim' "
               "-f null - 2>&1");
    const size_t at = ssim.rfind("All:");
    if (at != std::string::npos) {
        quality.ssim = std::atof(ssim.c_str() + at + 4);
    }
    return quality;
}

long FileSize(const std::string& path) {
    return static_cast<long>(wxFileName::GetSize(path).ToULong());
}

std::string Format(double value, const char* format) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::vector<std::string> Frames(const std::string& folder, const Workload& w) {
    std::vector<std::string> paths;
    for (int i = 0; i < w.frames; ++i) {
        paths.push_back(FramePath(folder, i));
    }
    return paths;
}

std::vector<std::string> Join(std::vector<std::string> head, const std::vector<std::string>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

} // namespace

int main(int argc, char** argv) {
    wxInitializer toolkit(argc, argv);
    if (!toolkit.IsOk() || argc < 3) {
        std::fprintf(stderr, "usage: quality_bench WORK REELMONT_EXPORT [GIFSKI] [WORKLOAD...]\n");
        return 2;
    }
    wxLog::EnableLogging(false);
    wxInitAllImageHandlers();
    const std::string work = argv[1], exporter = argv[2];
    const std::string gifski = argc > 3 && std::string(argv[3]) != "-" ? argv[3] : "";
    std::vector<std::string> chosen(argv + std::min(argc, 4), argv + argc);

    const std::vector<Workload> workloads = {
        {"photo", "photo-like, 100 frames of 640x480", 100, 640, 480, PhotoFrame},
        {"screen", "screen-like, 300 frames of 320x240", 300, 320, 240, ScreenFrame},
        {"gradient", "smooth gradient, 60 frames of 640x480", 60, 640, 480, GradientFrame},
        {"large", "photo-like, 20 frames of 1920x1080", 20, 1920, 1080, PhotoFrame},
    };
    for (const Workload& w : workloads) {
        if (!chosen.empty() && std::find(chosen.begin(), chosen.end(), w.name) == chosen.end()) {
            continue;
        }
        const std::string frames = work + "/" + w.name;
        wxFileName::Mkdir(frames, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
        for (int i = 0; i < w.frames; ++i) {
            if (!wxFileExists(FramePath(frames, i))) {
                w.make(i, w.width, w.height).SaveFile(FramePath(frames, i), wxBITMAP_TYPE_PNG);
            }
        }
        const std::vector<std::string> inputs = Frames(frames, w);
        const std::string out = frames + "-";
        const std::string pattern = frames + "/frame%04d.png";
        struct Writer {
            std::string name, file;
            std::vector<std::string> argv;
        };
        std::vector<Writer> writers = {
            {"Reelmont standard", out + "standard.gif",
             Join({exporter, "-o", out + "standard.gif"}, inputs)},
            {"Reelmont standard -O", out + "standard-O.gif",
             Join({exporter, "-O", "-o", out + "standard-O.gif"}, inputs)},
            {"Reelmont best", out + "best.gif",
             Join({exporter, "-q", "best", "-o", out + "best.gif"}, inputs)},
            {"Reelmont best -O", out + "best-O.gif",
             Join({exporter, "-q", "best", "-O", "-o", out + "best-O.gif"}, inputs)},
            {"gifsicle -O3 of Reelmont standard",
             out + "gifsicle.gif",
             {"gifsicle", "-O3", out + "standard.gif", "-o", out + "gifsicle.gif"}},
            {"ffmpeg, one palette",
             out + "ffmpeg-global.gif",
             {"ffmpeg", "-nostdin", "-y", "-framerate", "10", "-i", pattern, "-vf",
              "split[a][b];[a]palettegen[p];[b][p]paletteuse", out + "ffmpeg-global.gif"}},
            {"ffmpeg, palette per frame",
             out + "ffmpeg-single.gif",
             {"ffmpeg", "-nostdin", "-y", "-framerate", "10", "-i", pattern, "-vf",
              "split[a][b];[a]palettegen=stats_mode=single[p];[b][p]paletteuse=new=1",
              out + "ffmpeg-single.gif"}},
            {"ImageMagick convert", out + "magick.gif",
             Join(Join({"convert", "-delay", "10", "-loop", "0"}, inputs), {out + "magick.gif"})},
        };
        if (!gifski.empty()) {
            writers.push_back({"gifski", out + "gifski.gif",
                               Join({gifski, "-q", "-r", "10", "-W", std::to_string(w.width), "-H",
                                     std::to_string(w.height), "-o", out + "gifski.gif"},
                                    inputs)});
        }
        std::printf("\n### %s\n\n", w.description.c_str());
        const std::string load = Output("cut -d' ' -f1-3 /proc/loadavg");
        std::printf("Load average (1, 5, 15 min) as the workload began: %s\n",
                    load.substr(0, load.find('\n')).c_str());
        std::printf("| writer | wall s | CPU s | peak MiB | size bytes | mean PSNR dB | SSIM |\n");
        std::printf("|---|---:|---:|---:|---:|---:|---:|\n");
        std::fflush(stdout);
        for (const Writer& writer : writers) {
            wxRemoveFile(writer.file);
            const Run run = RunProcess(writer.argv);
            if (run.wall < 0) {
                std::printf("| %s | failed | | | | | |\n", writer.name.c_str());
                continue;
            }
            const Quality q = Measure(writer.file, frames, w);
            std::printf("| %s | %.2f | %.2f | %ld | %ld | %s | %s |\n", writer.name.c_str(),
                        run.wall, run.cpu, run.peakKiB / 1024, FileSize(writer.file),
                        std::isinf(q.psnr) ? "lossless" : Format(q.psnr, "%.2f").c_str(),
                        q.ssim < 0 ? "-" : Format(q.ssim, "%.4f").c_str());
            std::fflush(stdout);
        }
    }
    return 0;
}
