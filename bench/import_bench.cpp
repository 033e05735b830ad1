// Import benchmark: decodes a many-frame GIF file (as written by a GIF writer, and the same file
// optimised into patches) and as many PNG files the way the import worker does, and compares
// wall time and peak memory with ImageMagick decoding the same files. Every measurement runs in
// a child process of its own, so each peak memory figure belongs to that decoding alone.
//
//   import_bench [--dir FOLDER] [--frames N] [--reps N]   generate, measure, print a table
//   import_bench --generate FOLDER N                      (child) write the input files
//   import_bench --decode PATH...                         (child) decode as the worker does
//   import_bench --toolkit-decode GIF                     (child) the toolkit's own GIF decoder
#include "import/image_source.h"

#include <wx/anidecod.h>
#include <wx/filename.h>
#include <wx/gifdecod.h>
#include <wx/imaggif.h>
#include <wx/init.h>
#include <wx/palette.h>
#include <wx/wfstream.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {
constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kSpriteWidth = 160;
constexpr int kSpriteHeight = 120;
const char* const kImageMagick = "/usr/bin/convert";
const char* const kGifsicle = "/usr/bin/gifsicle";

// A 6 x 6 x 6 colour cube: every frame is paletted, as a GIF frame must be.
unsigned char CubeLevel(int index, int place) {
    return static_cast<unsigned char>((index / place % 6) * 51);
}

// A textured, slowly changing background with a sprite moving over it, so that an optimiser
// can store most frames as small patches.
wxImage MakeFrame(int frame) {
    wxImage image(kWidth, kHeight, false);
    unsigned char* pixel = image.GetData();
    const int spriteX = frame * 7 % (kWidth - kSpriteWidth);
    const int spriteY = frame * 3 % (kHeight - kSpriteHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            int index;
            if (x >= spriteX && x < spriteX + kSpriteWidth && y >= spriteY &&
                y < spriteY + kSpriteHeight) {
                const bool check = ((x - spriteX) / 8 + (y - spriteY) / 8 + frame / 4) % 2;
                index = check ? 5 * 36 + 5 * 6 : 1 * 36 + 2 * 6 + 5;
            } else {
                index = (x * 6 / kWidth) * 36 + (y * 6 / kHeight) * 6 + (x * 7 + y * 13) % 23 % 6;
            }
            *pixel++ = CubeLevel(index, 36);
            *pixel++ = CubeLevel(index, 6);
            *pixel++ = CubeLevel(index, 1);
        }
    }
    return image;
}

wxString FramePath(const wxString& folder, int frame) {
    return wxString::Format("%s/frames/frame_%03d.png", folder, frame);
}

int Generate(const wxString& folder, int frames) {
    unsigned char red[216], green[216], blue[216];
    for (int i = 0; i < 216; ++i) {
        red[i] = CubeLevel(i, 36);
        green[i] = CubeLevel(i, 6);
        blue[i] = CubeLevel(i, 1);
    }
    const wxPalette palette(216, red, green, blue);
    wxFileName::Mkdir(folder + "/frames", wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    wxImageArray images;
    for (int f = 0; f < frames; ++f) {
        wxImage image = MakeFrame(f);
        if (!image.SaveFile(FramePath(folder, f), wxBITMAP_TYPE_PNG)) {
            return 1;
        }
        image.SetPalette(palette);
        images.Add(image);
    }
    wxFileOutputStream out(folder + "/full.gif");
    if (!wxGIFHandler().SaveAnimation(images, &out, false, 100) || !out.Close()) {
        return 1;
    }
    const std::string command = std::string(kGifsicle) + " -O2 '" +
                                (folder + "/full.gif").ToStdString() + "' -o '" +
                                (folder + "/optimised.gif").ToStdString() + "'";
    return std::system(command.c_str()) == 0 ? 0 : 1;
}

int Decode(int count, char** paths) {
    long pictures = 0;
    for (int i = 0; i < count; ++i) {
        DecodeImageSource(wxString::FromUTF8(paths[i]), [&](SourcePicture) { ++pictures; }, {});
    }
    std::printf("%ld\n", pictures);
    return pictures > 0 ? 0 : 1;
}

// For comparison: the toolkit's decoder, which reads the whole file before the first frame.
int ToolkitDecode(const char* path) {
    wxFileInputStream stream(wxString::FromUTF8(path));
    wxGIFDecoder decoder;
    if (!stream.IsOk() || decoder.LoadGIF(stream) != wxGIF_OK) {
        return 1;
    }
    for (unsigned int f = 0; f < decoder.GetFrameCount(); ++f) {
        wxImage picture;
        decoder.ConvertToImage(f, &picture);
    }
    return 0;
}

struct Run {
    double wallSeconds = 0;
    double cpuSeconds = 0;
    long peakKiB = 0;
    bool ok = false;
};

Run Spawn(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    Run run;
    const auto start = std::chrono::steady_clock::now();
    pid_t child;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return run;
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    run.wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    posix_spawn_file_actions_destroy(&actions);
    run.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                     (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    run.peakKiB = usage.ru_maxrss;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

// The median wall and CPU time of several runs, and the largest peak.
Run Measure(const std::vector<std::string>& arguments, int repetitions) {
    std::vector<Run> runs;
    for (int r = 0; r < repetitions; ++r) {
        runs.push_back(Spawn(arguments));
    }
    std::sort(runs.begin(), runs.end(),
              [](const Run& a, const Run& b) { return a.wallSeconds < b.wallSeconds; });
    Run result = runs[runs.size() / 2];
    for (const Run& run : runs) {
        result.peakKiB = std::max(result.peakKiB, run.peakKiB);
        result.ok = result.ok && run.ok;
    }
    return result;
}

std::string Arg(int argc, char** argv, const char* name, const std::string& fallback) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0) {
            return argv[i + 1];
        }
    }
    return fallback;
}

int Compare(int argc, char** argv) {
    const std::string self = wxFileName(argv[0]).GetAbsolutePath().ToStdString();
    const std::string folder =
        Arg(argc, argv, "--dir", wxFileName::GetTempDir().ToStdString() + "/reelmont-import-bench");
    const int frames = std::atoi(Arg(argc, argv, "--frames", "200").c_str());
    const int repetitions = std::max(1, std::atoi(Arg(argc, argv, "--reps", "3").c_str()));

    std::fprintf(stderr, "generating %d frames of %dx%d in %s\n", frames, kWidth, kHeight,
                 folder.c_str());
    if (!Spawn({self, "--generate", folder, std::to_string(frames)}).ok) {
        std::fprintf(stderr, "could not write the input files\n");
        return 1;
    }
    std::vector<std::string> pngs;
    for (int f = 0; f < frames; ++f) {
        pngs.push_back(FramePath(folder, f).ToStdString());
    }
    struct Workload {
        std::string name;
        std::vector<std::string> ours;
        std::vector<std::string> theirs;
    };
    const std::string full = folder + "/full.gif";
    const std::string optimised = folder + "/optimised.gif";
    std::vector<Workload> workloads = {
        {"GIF, full frames", {self, "--decode", full}, {kImageMagick, full, "-coalesce", "null:"}},
        {"GIF, optimised (gifsicle -O2)",
         {self, "--decode", optimised},
         {kImageMagick, optimised, "-coalesce", "null:"}},
        {"PNG files", {self, "--decode"}, {kImageMagick}},
    };
    workloads[2].ours.insert(workloads[2].ours.end(), pngs.begin(), pngs.end());
    workloads[2].theirs.insert(workloads[2].theirs.end(), pngs.begin(), pngs.end());
    workloads[2].theirs.push_back("null:");

    const Run baseline = Measure({self, "--decode"}, 1);
    std::printf("| Workload (%d frames, %dx%d) | Reelmont wall s | ImageMagick wall s | "
                "time ratio IM/Reelmont | Reelmont CPU s | ImageMagick CPU s | "
                "Reelmont peak MiB | ImageMagick peak MiB |\n",
                frames, kWidth, kHeight);
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|\n");
    bool allOk = true;
    for (const Workload& workload : workloads) {
        std::fprintf(stderr, "measuring %s\n", workload.name.c_str());
        const Run ours = Measure(workload.ours, repetitions);
        const Run theirs = Measure(workload.theirs, repetitions);
        allOk = allOk && ours.ok && theirs.ok;
        std::printf("| %s%s | %.2f | %.2f | %.2f | %.2f | %.2f | %.0f | %.0f |\n",
                    workload.name.c_str(), ours.ok && theirs.ok ? "" : " (a run failed)",
                    ours.wallSeconds, theirs.wallSeconds, theirs.wallSeconds / ours.wallSeconds,
                    ours.cpuSeconds, theirs.cpuSeconds, ours.peakKiB / 1024.0,
                    theirs.peakKiB / 1024.0);
    }
    std::printf("\nThe toolkit's own decoder (wxGIFDecoder, frames as stored, not composed), "
                "for comparison:\n\n| File | wall s | peak MiB |\n|---|---:|---:|\n");
    for (const std::string& gif : {full, optimised}) {
        const Run toolkit = Measure({self, "--toolkit-decode", gif}, repetitions);
        if (toolkit.ok) {
            std::printf("| %s | %.2f | %.0f |\n", gif.substr(folder.size() + 1).c_str(),
                        toolkit.wallSeconds, toolkit.peakKiB / 1024.0);
        } else {
            std::printf("| %s | cannot read the file | - |\n",
                        gif.substr(folder.size() + 1).c_str());
        }
    }
    std::printf("\nReelmont's process with nothing decoded peaks at %.0f MiB. One decoded "
                "%dx%d frame is %.2f MiB (RGB) or %.2f MiB (RGBA).\n",
                baseline.peakKiB / 1024.0, kWidth, kHeight, kWidth * kHeight * 3 / 1048576.0,
                kWidth * kHeight * 4 / 1048576.0);
    return allOk ? 0 : 1;
}
} // namespace

int main(int argc, char** argv) {
    wxInitializer toolkit(argc, argv);
    if (!toolkit.IsOk()) {
        return 2;
    }
    wxInitAllImageHandlers();
    if (argc >= 4 && std::strcmp(argv[1], "--generate") == 0) {
        return Generate(wxString::FromUTF8(argv[2]), std::atoi(argv[3]));
    }
    if (argc >= 3 && std::strcmp(argv[1], "--toolkit-decode") == 0) {
        return ToolkitDecode(argv[2]);
    }
    if (argc >= 2 && std::strcmp(argv[1], "--decode") == 0) {
        return argc == 2 ? 0 : Decode(argc - 2, argv + 2);
    }
    return Compare(argc, argv);
}
