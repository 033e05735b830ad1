// Export quality, file size and speed against gifski, the quality leader, and gifsicle: every
// writer runs as a process of its own on the same PNG frames, and the benchmark measures its
// wall and CPU time, the size of its file and the file's frames against the source frames
// (mean PSNR). Per workload: the speed of the best mode against gifski, run back to back; both
// rate-distortion curves over quality 30 to 100 and how far apart they are where their sizes
// overlap; fitting under half the lossless size, timed against one encode at -Q 100 and one
// at the settings it chose; lossy codes against gifsicle's lossy codes of our lossless file at
// equal PSNR, each with the share of the lossless file's pixels it changes; and for screen frames
// the optimised file against gifsicle -O3. Prints Markdown and writes WORK/rd-NAME.dat for the
// plots.
//
// Usage: quality_bench WORK_FOLDER REELMONT_EXPORT GIFSKI [WORKLOAD...]
// WORKLOAD names (photo, screen, gradient, large) choose some; GIFSKI "-" leaves gifski out.
#include "bench_frames.h"
#include "export/export_options.h"

#include <wx/filename.h>
#include <wx/init.h>
#include <wx/log.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
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
    std::string err; // what the writer said on standard error
};

// Runs a command (no shell), its standard error kept; wall time and CPU time of the process
// and its children.
Run RunProcess(const std::vector<std::string>& argv, const std::string& errFile) {
    Run run;
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(null, 1);
        dup2(err, 2);
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
    const bool ended = child > 0 && wait4(child, &status, 0, &usage) == child;
    std::ifstream said(errFile);
    std::stringstream text;
    text << said.rdbuf();
    run.err = text.str();
    if (!ended || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return run;
    }
    run.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.cpu = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
              usage.ru_stime.tv_usec / 1e6;
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

// The mean PSNR of the GIF's frames as ImageMagick composes them, against the source frames;
// an exact frame counts as 99 dB, and "exact" tells whether all were. A frame shown for n
// source frames' time (gifski merges frames it finds alike) is compared with each of them.
struct Quality {
    double psnr = -1;
    bool exact = false;
};

Quality Measure(const std::string& gif, const std::string& frames, const Workload& w) {
    Quality quality;
    const std::string raw = Output("convert '" + gif + "' -coalesce -depth 8 rgb:- 2>/dev/null");
    std::istringstream delays(Output("identify -format '%T\\n' '" + gif + "' 2>/dev/null"));
    std::vector<int> shown;
    for (int delay; delays >> delay;) {
        for (int i = 0; i < std::max(1, (delay + 5) / 10); ++i) {
            shown.push_back(static_cast<int>(shown.size() ? shown.back() + (i == 0) : 0));
        }
    }
    const size_t frameBytes = static_cast<size_t>(w.width) * w.height * 3;
    if (raw.size() % frameBytes != 0 || shown.size() < static_cast<size_t>(w.frames) ||
        static_cast<size_t>(shown[w.frames - 1]) >= raw.size() / frameBytes) {
        return quality;
    }
    double sum = 0;
    quality.exact = true;
    for (int i = 0; i < w.frames; ++i) {
        const wxImage source(FramePath(frames, i), wxBITMAP_TYPE_PNG);
        const unsigned char* decoded =
            reinterpret_cast<const unsigned char*>(raw.data()) + shown[i] * frameBytes;
        double squares = 0;
        for (size_t b = 0; b < frameBytes; ++b) {
            const double d = decoded[b] - static_cast<double>(source.GetData()[b]);
            squares += d * d;
        }
        const double mse = squares / frameBytes;
        quality.exact = quality.exact && mse == 0;
        sum += mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
    }
    quality.psnr = sum / w.frames;
    return quality;
}

// The share of pixels, over all frames as ImageMagick composes them, in which `gif` shows other
// colours than `reference`; -1 when the two cannot be compared.
double ChangedShare(const std::string& gif, const std::string& reference) {
    const auto raw = [](const std::string& file) {
        return Output("convert '" + file + "' -coalesce -depth 8 rgb:- 2>/dev/null");
    };
    const std::string a = raw(gif), b = raw(reference);
    if (a.empty() || a.size() != b.size()) {
        return -1;
    }
    size_t changed = 0;
    for (size_t at = 0; at < a.size(); at += 3) {
        changed += a.compare(at, 3, b, at, 3) != 0;
    }
    return static_cast<double>(changed) / static_cast<double>(a.size() / 3);
}

// -1 when there is no file.
long FileSize(const std::string& path) {
    const wxULongLong size = wxFileName::GetSize(path);
    return size == wxInvalidSize ? -1 : static_cast<long>(size.ToULong());
}

// The writer's last line on standard error, for a row of its own where it refused.
std::string LastLine(const std::string& text) {
    const size_t end = text.find_last_not_of("\n");
    if (end == std::string::npos) {
        return "";
    }
    const size_t start = text.rfind('\n', end);
    return text.substr(start == std::string::npos ? 0 : start + 1,
                       end - (start == std::string::npos ? 0 : start + 1) + 1);
}

std::string Load() {
    const std::string load = Output("cut -d' ' -f1-3 /proc/loadavg");
    return load.substr(0, load.find('\n'));
}

std::vector<std::string> Join(std::vector<std::string> head, const std::vector<std::string>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

struct Point {
    int quality;
    double wall, cpu;
    long bytes;
    double psnr;
};

// The PSNR of `curve` (sorted by size) at `bytes`, linear in the logarithm of the size; NaN
// outside its sizes.
double PsnrAt(const std::vector<Point>& curve, double bytes) {
    for (size_t i = 1; i < curve.size(); ++i) {
        const double a = std::log(static_cast<double>(curve[i - 1].bytes));
        const double b = std::log(static_cast<double>(curve[i].bytes));
        const double x = std::log(bytes);
        if (x >= a && x <= b) {
            return b == a ? std::max(curve[i - 1].psnr, curve[i].psnr)
                          : curve[i - 1].psnr +
                                (curve[i].psnr - curve[i - 1].psnr) * (x - a) / (b - a);
        }
    }
    return NAN;
}

// The size of `curve` (an envelope, PSNR rising with size) at `psnr`, linear in the logarithm of
// the size; NaN outside its PSNRs.
double BytesAt(const std::vector<Point>& curve, double psnr) {
    for (size_t i = 1; i < curve.size(); ++i) {
        const double a = curve[i - 1].psnr, b = curve[i].psnr;
        if (psnr >= a && psnr <= b) {
            const double from = std::log(static_cast<double>(curve[i - 1].bytes));
            const double to = std::log(static_cast<double>(curve[i].bytes));
            return std::exp(from + (to - from) * (psnr - a) / (b - a));
        }
    }
    return NAN;
}

// The upper envelope: points that a smaller file does not beat in PSNR, by size.
std::vector<Point> Frontier(std::vector<Point> points) {
    std::sort(points.begin(), points.end(),
              [](const Point& a, const Point& b) { return a.bytes < b.bytes; });
    std::vector<Point> frontier;
    for (const Point& p : points) {
        if (p.psnr >= 0 && (frontier.empty() || p.psnr > frontier.back().psnr)) {
            frontier.push_back(p);
        }
    }
    return frontier;
}

std::string Db(const Quality& q) {
    if (q.psnr < 0) {
        return "-";
    }
    char text[32];
    std::snprintf(text, sizeof text, q.exact ? "lossless" : "%.2f", q.psnr);
    return text;
}

} // namespace

int main(int argc, char** argv) {
    wxInitializer toolkit(argc, argv);
    if (!toolkit.IsOk() || argc < 4) {
        std::fprintf(stderr, "usage: quality_bench WORK REELMONT_EXPORT GIFSKI [WORKLOAD...]\n");
        return 2;
    }
    wxLog::EnableLogging(false);
    wxInitAllImageHandlers();
    const std::string work = argv[1], exporter = argv[2];
    const std::string gifski = std::string(argv[3]) != "-" ? argv[3] : "";
    std::vector<std::string> chosen(argv + 4, argv + argc);
    const std::vector<int> levels = {30, 50, 70, 90, 100};
    // gifski's default quality is 90: its speed run gives that point.
    const int gifskiDefault = 90;
    const std::vector<int> gifskiLevels = {30, 60, gifskiDefault, 100};

    const std::vector<Workload> workloads = {
        {"photo", "photo-like, 40 frames of 640x480", 40, 640, 480, PhotoFrame},
        {"screen", "screen-like with anti-aliased text, 300 frames of 320x240", 300, 320, 240,
         AntialiasedScreenFrame},
        {"gradient", "smooth gradient, 60 frames of 640x480", 60, 640, 480, GradientFrame},
        {"large", "photo-like, 20 frames of 1920x1080", 20, 1920, 1080, PhotoFrame},
    };
    for (const Workload& w : workloads) {
        if (!chosen.empty() && std::find(chosen.begin(), chosen.end(), w.name) == chosen.end()) {
            continue;
        }
        const std::string frames = work + "/" + w.name;
        wxFileName::Mkdir(frames, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
        std::vector<std::string> inputs;
        for (int i = 0; i < w.frames; ++i) {
            inputs.push_back(FramePath(frames, i));
            if (!wxFileExists(inputs.back())) {
                w.make(i, w.width, w.height).SaveFile(inputs.back(), wxBITMAP_TYPE_PNG);
            }
        }
        const std::string out = frames + "-";
        const std::string errFile = out + "stderr.txt";
        const auto ours = [&](const std::string& file, const std::vector<std::string>& options) {
            return Join(Join(Join({exporter}, options), {"-o", file}), inputs);
        };
        const auto theirs = [&](const std::string& file, int quality) {
            std::vector<std::string> argv = {gifski, "-q",
                                             "-r",   "10",
                                             "-W",   std::to_string(w.width),
                                             "-H",   std::to_string(w.height),
                                             "-o",   file};
            if (quality > 0) {
                argv.push_back("--quality=" + std::to_string(quality));
            }
            return Join(argv, inputs);
        };
        std::printf("\n### %s\n", w.description.c_str());

        // Speed: ours, gifski, ours again, so that the load meets both alike.
        std::printf("\n#### Speed (default settings, back to back)\n\nLoad average (1, 5, 15 "
                    "min) before: %s\n\n",
                    Load().c_str());
        std::printf("| writer | wall s | CPU s | size bytes | mean PSNR dB |\n");
        std::printf("|---|---:|---:|---:|---:|\n");
        std::fflush(stdout);
        const std::string best = out + "best-O.gif", leader = out + "gifski.gif";
        std::vector<Run> speed;
        for (int turn = 0; turn < 3; ++turn) {
            const bool mine = turn != 1;
            if (!mine && gifski.empty()) {
                continue;
            }
            const std::string file = mine ? best : leader;
            speed.push_back(
                RunProcess(mine ? ours(file, {"-q", "best", "-O"}) : theirs(file, 0), errFile));
            const Quality q = Measure(file, frames, w);
            std::printf("| %s | %.2f | %.2f | %ld | %s |\n",
                        mine ? "Reelmont -q best -O" : "gifski (quality 90)", speed.back().wall,
                        speed.back().cpu, FileSize(file), Db(q).c_str());
            std::fflush(stdout);
        }
        if (speed.size() == 3 && speed[0].wall > 0 && speed[1].wall > 0 && speed[2].wall > 0) {
            const double wall = (speed[0].wall + speed[2].wall) / 2;
            const double cpu = (speed[0].cpu + speed[2].cpu) / 2;
            std::printf("\ngifski's time over ours (ours the mean of the two runs): wall %.1f, "
                        "CPU %.1f. Load after: %s\n",
                        speed[1].wall / wall, speed[1].cpu / cpu, Load().c_str());
        }

        // Rate against distortion.
        std::vector<Point> mine, their;
        for (int quality : levels) {
            const std::string file = out + "Q" + std::to_string(quality) + ".gif";
            const Run run = RunProcess(
                ours(file, {"-q", "best", "-O", "-Q", std::to_string(quality)}), errFile);
            mine.push_back({quality, run.wall, run.cpu, FileSize(file),
                            run.wall < 0 ? -1 : Measure(file, frames, w).psnr});
        }
        for (int quality : gifski.empty() ? std::vector<int>() : gifskiLevels) {
            const bool ran = quality == gifskiDefault && speed.size() == 3;
            const std::string file =
                ran ? leader : out + "gifski-" + std::to_string(quality) + ".gif";
            const Run run = ran ? speed[1] : RunProcess(theirs(file, quality), errFile);
            their.push_back({quality, run.wall, run.cpu, FileSize(file),
                             run.wall < 0 ? -1 : Measure(file, frames, w).psnr});
        }
        std::printf("\n#### Rate against distortion\n\nLoad after: %s\n\n", Load().c_str());
        std::printf("| writer | quality | wall s | CPU s | size bytes | mean PSNR dB | "
                    "gifski's PSNR at this size | difference dB |\n");
        std::printf("|---|---:|---:|---:|---:|---:|---:|---:|\n");
        const std::vector<Point> theirFront = Frontier(their), mineFront = Frontier(mine);
        double worst = INFINITY;
        for (const Point& p : mine) {
            const double at = PsnrAt(theirFront, p.bytes);
            if (!std::isnan(at)) {
                worst = std::min(worst, p.psnr - at);
            }
            std::printf("| Reelmont -q best -O -Q | %d | %.2f | %.2f | %ld | %.2f | %s | %s |\n",
                        p.quality, p.wall, p.cpu, p.bytes, p.psnr,
                        std::isnan(at) ? "-" : std::to_string(at).substr(0, 5).c_str(),
                        std::isnan(at) ? "-" : std::to_string(p.psnr - at).substr(0, 5).c_str());
        }
        for (const Point& p : their) {
            const double at = PsnrAt(mineFront, p.bytes);
            if (!std::isnan(at)) {
                worst = std::min(worst, at - p.psnr);
            }
            std::printf("| gifski --quality | %d | %.2f | %.2f | %ld | %.2f | (ours: %s) | %s |\n",
                        p.quality, p.wall, p.cpu, p.bytes, p.psnr,
                        std::isnan(at) ? "-" : std::to_string(at).substr(0, 5).c_str(),
                        std::isnan(at) ? "-" : std::to_string(at - p.psnr).substr(0, 5).c_str());
        }
        if (std::isinf(worst)) {
            std::printf("\nThe two curves' sizes do not overlap.\n");
        } else {
            std::printf("\nSmallest lead in PSNR at equal size over the overlap: %.2f dB.\n",
                        worst);
        }
        std::ofstream plot(work + "/rd-" + w.name + ".dat");
        plot << "# Reelmont: bytes PSNR quality\n";
        for (const Point& p : mine) {
            plot << p.bytes << " " << p.psnr << " " << p.quality << "\n";
        }
        plot << "\n\n# gifski: bytes PSNR quality\n";
        for (const Point& p : their) {
            plot << p.bytes << " " << p.psnr << " " << p.quality << "\n";
        }

        // Fitting under half the lossless size, against one encode at the highest quality and
        // against one encode at the settings the fit chose, run after it.
        const Point& lossless = mine.back();
        const long target = lossless.bytes / 2;
        const std::string fitted = out + "max-size.gif", again = out + "max-size-chosen.gif";
        const Run fit = RunProcess(
            ours(fitted, {"-q", "best", "-O", "--max-size", std::to_string(target)}), errFile);
        const long got = FileSize(fitted);
        int quality = 0, lossyLevel = 0, colours = 0;
        const size_t chose = fit.err.find("chose ");
        const bool told =
            chose != std::string::npos &&
            std::sscanf(fit.err.c_str() + chose, "chose quality %d, lossy level %d, %d colours",
                        &quality, &lossyLevel, &colours) == 3;
        std::vector<std::string> settings = {"-q", "best", "-O", "-Q", std::to_string(quality)};
        settings.insert(settings.end(), {"--colours", std::to_string(colours)});
        // Past the lowest quality the fit asks for the lossy level itself; at that quality it
        // names the quality's own level otherwise.
        ExportOptions lowest;
        lowest.palette = PaletteMode::Best;
        lowest.quality = kLowestQuality;
        if (quality == kLowestQuality && lossyLevel != LossyLevel(lowest)) {
            settings.insert(settings.end(), {"--lossy", std::to_string(lossyLevel)});
        }
        const Run whole = told ? RunProcess(ours(again, settings), errFile) : Run();
        std::printf("\n#### Fit under half the lossless size\n\n");
        // CPU over CPU as well as wall over wall: on a machine with other work the CPU tells
        // more of what the fit itself costs.
        std::printf("| target bytes | file bytes | share of target | wall s | CPU s | wall over "
                    "one encode at -Q 100 | CPU over it | wall of one encode at the chosen "
                    "settings | wall over it | mean PSNR dB | chosen |\n");
        std::printf("|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|\n");
        if (fit.wall < 0 || got < 0) {
            std::printf("| %ld | refused | - | - | - | - | - | - | - | - | %s |\n", target,
                        LastLine(fit.err).c_str());
        } else {
            char wholeWall[32] = "-", over[32] = "-";
            if (whole.wall > 0) {
                std::snprintf(wholeWall, sizeof wholeWall, "%.2f", whole.wall);
                std::snprintf(over, sizeof over, "%.2f", fit.wall / whole.wall);
            }
            std::printf(
                "| %ld | %ld | %.3f | %.2f | %.2f | %.2f | %.2f | %s | %s | %.2f | %s |\n", target,
                got, static_cast<double>(got) / target, fit.wall, fit.cpu, fit.wall / lossless.wall,
                fit.cpu / lossless.cpu, wholeWall, over, Measure(fitted, frames, w).psnr,
                told ? fit.err.substr(chose, fit.err.find(':', chose) - chose).c_str() : "-");
        }

        // Lossy codes against gifsicle's lossy codes of our lossless file, at equal PSNR; screen
        // frames stay lossless at every level.
        if (w.name != "screen") {
            // What share of the lossless file's pixels each lossy file changes tells a lossy
            // code from a lossless one written again.
            std::vector<Point> lossy, crushed;
            std::vector<double> changed, crushedChanged;
            for (int level : {8, 14, 20, 28}) {
                const std::string file = out + "lossy-" + std::to_string(level) + ".gif";
                const Run run = RunProcess(
                    ours(file, {"-q", "best", "-O", "--lossy", std::to_string(level)}), errFile);
                lossy.push_back({level, run.wall, run.cpu, FileSize(file),
                                 run.wall < 0 ? -1 : Measure(file, frames, w).psnr});
                changed.push_back(run.wall < 0 ? -1 : ChangedShare(file, best));
            }
            for (int level : {20, 60, 120, 250}) {
                const std::string file = out + "gifsicle-lossy-" + std::to_string(level) + ".gif";
                const Run run = RunProcess(
                    {"gifsicle", "-O3", "--lossy=" + std::to_string(level), best, "-o", file},
                    errFile);
                crushed.push_back({level, run.wall, run.cpu, FileSize(file),
                                   run.wall < 0 ? -1 : Measure(file, frames, w).psnr});
                crushedChanged.push_back(run.wall < 0 ? -1 : ChangedShare(file, best));
            }
            std::printf("\n#### Lossy codes against gifsicle -O3 --lossy of Reelmont -q best -O\n\n"
                        "| writer | lossy level | size bytes | mean PSNR dB | pixels changed "
                        "from the lossless file %% | gifsicle's size at this PSNR | ours over "
                        "gifsicle's |\n|---|---:|---:|---:|---:|---:|---:|\n");
            const std::vector<Point> theirLossy = Frontier(crushed);
            double largest = -1;
            const auto percent = [](double share) {
                char text[32] = "-";
                if (share >= 0) {
                    std::snprintf(text, sizeof text, "%.3f", 100 * share);
                }
                return std::string(text);
            };
            for (size_t i = 0; i < lossy.size(); ++i) {
                const Point& p = lossy[i];
                const double at = BytesAt(theirLossy, p.psnr);
                if (!std::isnan(at)) {
                    largest = std::max(largest, p.bytes / at);
                }
                std::printf("| Reelmont -q best -O --lossy | %d | %ld | %.2f | %s | %s | %s |\n",
                            p.quality, p.bytes, p.psnr, percent(changed[i]).c_str(),
                            std::isnan(at) ? "-" : std::to_string(std::lround(at)).c_str(),
                            std::isnan(at) ? "-"
                                           : std::to_string(p.bytes / at).substr(0, 5).c_str());
            }
            for (size_t i = 0; i < crushed.size(); ++i) {
                std::printf("| gifsicle -O3 --lossy | %d | %ld | %.2f | %s | | |\n",
                            crushed[i].quality, crushed[i].bytes, crushed[i].psnr,
                            percent(crushedChanged[i]).c_str());
            }
            if (largest < 0) {
                std::printf("\nThe two curves' PSNRs do not overlap.\n");
            } else {
                std::printf("\nLargest size over gifsicle's at equal PSNR: %.3f.\n", largest);
            }
        }

        // Screen frames: the colours kept exactly, and optimising against gifsicle -O3.
        if (w.name == "screen") {
            const std::string plain = out + "standard.gif", optimised = out + "standard-O.gif",
                              crushed = out + "gifsicle.gif";
            RunProcess(ours(plain, {}), errFile);
            RunProcess(ours(optimised, {"-O"}), errFile);
            RunProcess({"gifsicle", "-O3", plain, "-o", crushed}, errFile);
            std::printf("\n#### Screen frames\n\n| file | size bytes | mean PSNR dB |\n"
                        "|---|---:|---:|\n");
            for (const auto& row : {std::make_pair("Reelmont standard", plain),
                                    std::make_pair("Reelmont standard -O", optimised),
                                    std::make_pair("gifsicle -O3 of Reelmont standard", crushed),
                                    std::make_pair("Reelmont -q best -O", best)}) {
                std::printf("| %s | %ld | %s |\n", row.first, FileSize(row.second),
                            Db(Measure(row.second, frames, w)).c_str());
            }
        }
        std::fflush(stdout);
    }
    return 0;
}
