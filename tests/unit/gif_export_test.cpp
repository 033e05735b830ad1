// The export pipeline end to end: the file it writes, its progress, the same bytes on one or
// two threads, and failures that leave the old file as it was.
#include "export/frame_fitting.h"
#include "export/gif_export.h"
#include "export/palette_conversion.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <wx/dir.h>
#include <wx/gifdecod.h>
#include <wx/wfstream.h>

#include <csignal>
#include <sys/resource.h>

namespace {

// Frames of different kinds: noise, a gradient, flat blocks, a translucent picture.
wxImage SampleFrame(int kind, int width, int height) {
    wxImage image(width, height, false);
    unsigned seed = kind * 7919u + 1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            switch (kind % 3) {
            case 0:
                image.SetRGB(x, y, seed >> 24, (seed >> 16) & 0xFF, (seed >> 8) & 0xFF);
                break;
            case 1:
                image.SetRGB(x, y, x * 255 / width, y * 255 / height, (x + y + kind) % 256);
                break;
            default:
                image.SetRGB(x, y, (x / 16) * 60 % 256, (y / 16) * 80 % 256, kind * 20 % 256);
            }
        }
    }
    if (kind % 4 == 3) {
        image.InitAlpha();
        for (int x = 0; x < width; ++x) {
            image.SetAlpha(x, 0, 0);
        }
    }
    return image;
}

// Names of the files in a folder.
std::vector<wxString> FolderEntries(const wxString& folder) {
    std::vector<wxString> names;
    wxDir dir(folder);
    wxString name;
    for (bool more = dir.GetFirst(&name, wxEmptyString, wxDIR_FILES | wxDIR_DIRS | wxDIR_HIDDEN);
         more; more = dir.GetNext(&name)) {
        names.push_back(name);
    }
    return names;
}

GifExportJob JobFor(const std::vector<wxImage>& frames, int width, int height,
                    const wxString& path) {
    GifExportJob job;
    job.frameCount = static_cast<int>(frames.size());
    job.frameSource = [&frames](int i) { return frames[i]; };
    job.canvasWidth = width;
    job.canvasHeight = height;
    job.path = path;
    return job;
}

} // namespace

TEST(GifExport, WritesEveryFittedFrameAndReportsProgress) {
    TempFolder folder;
    const wxString path = folder.File("anim.gif");
    const std::vector<wxImage> frames = {SampleFrame(1, 100, 50), SampleFrame(2, 400, 200),
                                         SampleFrame(3, 400, 400)};
    GifExportJob job = JobFor(frames, 200, 200, path);
    job.delay = 7;
    std::vector<int> progress;
    job.progress = [&progress](int percent) { progress.push_back(percent); };

    const GifExportResult result = ExportGif(job);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_TRUE(result.message.empty());
    EXPECT_EQ(progress, (std::vector<int>{33, 66, 100}));
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<wxString>{"anim.gif"});

    wxFileInputStream in(path);
    wxGIFDecoder decoder;
    ASSERT_EQ(decoder.LoadGIF(in), wxGIF_OK);
    ASSERT_EQ(decoder.GetFrameCount(), 3u);
    for (unsigned i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(decoder.GetFrameSize(i), wxSize(200, 200));
        EXPECT_EQ(decoder.GetDelay(i), 70);
        wxImage decoded;
        ASSERT_TRUE(decoder.ConvertToImage(i, &decoded));
        const wxImage expected = ConvertToPalettedImage(PrepareFrame(frames[i], 200, 200));
        EXPECT_EQ(0, memcmp(decoded.GetData(), expected.GetData(), 200 * 200 * 3));
    }
}

TEST(GifExport, OneAndTwoThreadsWriteTheSameBytes) {
    TempFolder folder;
    std::vector<wxImage> frames;
    for (int kind = 0; kind < 12; ++kind) {
        frames.push_back(SampleFrame(kind, 60 + 17 * kind, 90 - 5 * kind));
    }
    GifExportJob job = JobFor(frames, 96, 64, folder.File("one.gif"));
    job.threads = 1;
    ASSERT_TRUE(ExportGif(job).ok);
    job.threads = 2;
    job.path = folder.File("two.gif");
    ASSERT_TRUE(ExportGif(job).ok);
    const std::string one = ReadBytes(folder.File("one.gif"));
    EXPECT_GT(one.size(), 1000u);
    EXPECT_TRUE(one == ReadBytes(folder.File("two.gif")));
}

TEST(GifExport, FailuresAndStopsLeaveTheOldFileAndNoUnfinishedOne) {
    TempFolder folder;
    const wxString path = folder.File("old.gif");
    const std::vector<wxImage> frames = {SampleFrame(0, 64, 64), SampleFrame(1, 64, 64),
                                         SampleFrame(2, 64, 64)};
    auto expectOldFileKept = [&](const GifExportResult& result, const wxString& cause) {
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.message.Contains(path)) << result.message;
        EXPECT_TRUE(result.message.Contains(cause)) << result.message;
        EXPECT_EQ(ReadBytes(path), "old");
        EXPECT_EQ(FolderEntries(folder.Path()), std::vector<wxString>{"old.gif"});
    };
    WriteBytes(path, "old");

    GifExportJob job = JobFor(frames, 0, 64, path);
    expectOldFileKept(ExportGif(job), "canvas size 0 x 64");
    job.canvasWidth = 64;
    job.canvasHeight = 0;
    expectOldFileKept(ExportGif(job), "canvas size 64 x 0");
    job.canvasHeight = 64;

    for (int missing : {0, 2}) {
        job.frameSource = [&frames, missing](int i) {
            return i == missing ? wxImage() : frames[i];
        };
        expectOldFileKept(ExportGif(job), wxString::Format("frame %d has no picture", missing + 1));
    }
    job.frameSource = [&frames](int i) { return frames[i]; };

    int asked = 0;
    job.stopRequested = [&asked] { return ++asked == 2; };
    const GifExportResult stopped = ExportGif(job);
    EXPECT_TRUE(stopped.stopped);
    expectOldFileKept(stopped, "stopped");
    job.stopRequested = nullptr;

    // Writes beyond the process's file size limit fail as a full disk would.
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit;
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlim_t previous = limit.rlim_cur;
    limit.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &limit);
    const GifExportResult tooLarge = ExportGif(job);
    limit.rlim_cur = previous;
    setrlimit(RLIMIT_FSIZE, &limit);
    expectOldFileKept(tooLarge, "Cannot write");
    EXPECT_TRUE(tooLarge.message.Contains("too large")) << tooLarge.message;

    // A folder in the target's place is not replaced.
    const wxString occupied = folder.File("occupied.gif");
    ASSERT_TRUE(wxMkdir(occupied));
    job.path = occupied;
    const GifExportResult onFolder = ExportGif(job);
    EXPECT_FALSE(onFolder.ok);
    EXPECT_TRUE(wxDirExists(occupied));
    wxRmdir(occupied);
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<wxString>{"old.gif"});

    // A target in a folder that cannot hold it, root or not.
    job.path = folder.File("old.gif/inside.gif");
    const GifExportResult notAFolder = ExportGif(job);
    EXPECT_FALSE(notAFolder.ok);
    EXPECT_TRUE(notAFolder.message.StartsWith("Cannot create")) << notAFolder.message;
    EXPECT_TRUE(notAFolder.message.Contains("old.gif/inside.gif")) << notAFolder.message;
    EXPECT_EQ(ReadBytes(path), "old");
}
