// Video import benchmark: reads a part of a video at a rate the way the import does
// (ReadVideoRange: decoding on the library's threads, each frame turned into an upright RGB
// picture), dropping each picture once made, and prints the figures of that one run. Can keep
// the first and the last picture as PNG files, for comparing with another tool's extraction.
//
//   video_bench PATH START END FPS [FIRST.png LAST.png]
//
// With --frames, it reads N frames named as a project keeps them ("clip.mp4#t=T", at 1 / FPS
// apart from 0): one after the other each by its own name, then all as one run of frames
// (DecodeFrameRun, as the import of a project does), and prints both times.
//
//   video_bench --frames PATH N FPS
#include "import/image_source.h"
#include "video/video_reading.h"
#include "video/video_reference.h"

#include <wx/image.h>
#include <wx/init.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

namespace {
double SecondsSince(std::chrono::steady_clock::time_point begin) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
}

int ReadFrames(const wxString& path, int count, double fps) {
    std::vector<wxString> names;
    for (int i = 0; i < count; ++i) {
        names.push_back(VideoFrameName(path, i / fps));
    }
    int single = 0;
    auto begin = std::chrono::steady_clock::now();
    for (const wxString& name : names) {
        DecodeImageSource(
            name, [&](SourcePicture) { ++single; }, StopRequest());
    }
    const double alone = SecondsSince(begin);
    int inRun = 0;
    begin = std::chrono::steady_clock::now();
    for (size_t i = 0; i < names.size();) {
        const size_t length = FrameRunLength(names, i);
        DecodeFrameRun(
            std::vector<wxString>(names.begin() + i, names.begin() + i + length),
            [&](SourcePicture) { ++inRun; }, StopRequest());
        i += length;
    }
    std::printf("frames %d each alone %.3f s, %d as runs %.3f s\n", single, alone, inRun,
                SecondsSince(begin));
    return single == count && inRun == count ? 0 : 1;
}
} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "--frames") {
        wxInitializer toolkit;
        return ReadFrames(wxString::FromUTF8(argv[2]), std::atoi(argv[3]), std::atof(argv[4]));
    }
    if (argc != 5 && argc != 7) {
        std::fprintf(stderr, "usage: video_bench PATH START END FPS [FIRST.png LAST.png]\n"
                             "       video_bench --frames PATH N FPS\n");
        return 2;
    }
    wxInitializer toolkit;
    wxImage::AddHandler(new wxPNGHandler);
    const VideoRange range{std::atof(argv[2]), std::atof(argv[3]), std::atof(argv[4])};
    wxImage first;
    wxImage last;
    long long delays = 0;
    const auto begin = std::chrono::steady_clock::now();
    const VideoReading reading = ReadVideoRange(
        wxString::FromUTF8(argv[1]), range,
        [&](VideoPicture picture) {
            delays += picture.delay;
            if (argc == 7) {
                (first.IsOk() ? last : first) = *picture.image;
            }
        },
        VideoStopRequest());
    const double seconds = SecondsSince(begin);
    if (argc == 7) {
        first.SaveFile(argv[5], wxBITMAP_TYPE_PNG);
        (last.IsOk() ? last : first).SaveFile(argv[6], wxBITMAP_TYPE_PNG);
    }
    std::printf("pictures %d delays %lld seconds %.3f complete %d\n", reading.pictures, delays,
                seconds, reading.complete ? 1 : 0);
    return reading.pictures > 0 ? 0 : 1;
}
