// Video import benchmark: reads a part of a video at a rate the way the import does
// (ReadVideoRange: decoding on the library's threads, each frame turned into an upright RGB
// picture), dropping each picture once made, and prints the figures of that one run. Can keep
// the first and the last picture as PNG files, for comparing with another tool's extraction.
//
//   video_bench PATH START END FPS [FIRST.png LAST.png]
#include "video/video_reading.h"

#include <wx/image.h>
#include <wx/init.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <numeric>

int main(int argc, char** argv) {
    if (argc != 5 && argc != 7) {
        std::fprintf(stderr, "usage: video_bench PATH START END FPS [FIRST.png LAST.png]\n");
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
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    if (argc == 7) {
        first.SaveFile(argv[5], wxBITMAP_TYPE_PNG);
        (last.IsOk() ? last : first).SaveFile(argv[6], wxBITMAP_TYPE_PNG);
    }
    std::printf("pictures %d delays %lld seconds %.3f complete %d\n", reading.pictures, delays,
                seconds, reading.complete ? 1 : 0);
    return reading.pictures > 0 ? 0 : 1;
}
