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
#include <cstring>
#include <sys/resource.h>

namespace {

// Frames of noise or of one colour, some of them transparent along the top.
wxImage SampleFrame(int kind, int width, int height) {
    wxImage image = FilledImage(width, height, kind * 20, 255 - kind * 20, 90);
    unsigned seed = kind * 7919u + 1;
    for (int p = 0; kind % 2 == 0 && p < width * height * 3; ++p) {
        seed = seed * 1103515245u + 12345u;
        image.GetData()[p] = seed >> 24;
    }
    if (kind % 5 == 3) {
        image.InitAlpha();
        std::memset(image.GetAlpha(), 0, width);
    }
    return image;
}

// The files in a folder and its subfolders, hidden ones too, sorted.
std::string FilesIn(const wxString& folder) {
    wxArrayString files;
    wxDir::GetAllFiles(folder, &files, wxEmptyString, wxDIR_FILES | wxDIR_DIRS | wxDIR_HIDDEN);
    files.Sort();
    return wxJoin(files, ' ').ToStdString();
}

// The frames as an export job; frame `missing` has no picture.
GifExportJob JobFor(const std::vector<wxImage>& frames, int width, int height, const wxString& path,
                    int missing = -1) {
    GifExportJob job;
    job.frameCount = static_cast<int>(frames.size());
    job.frameSource = [&frames, missing](int i) { return i == missing ? wxImage() : frames[i]; };
    job.canvasWidth = width;
    job.canvasHeight = height;
    job.path = path;
    return job;
}

} // namespace

TEST(GifExport, WritesEveryFittedFrameTheSameOnOneOrTwoThreadsAndReportsProgress) {
    TempFolder folder;
    const wxSize sizes[] = {{100, 50}, {400, 200}, {400, 400}, {130, 250}};
    std::vector<wxImage> frames;
    for (int kind = 0; kind < 12; ++kind) {
        frames.push_back(SampleFrame(kind, sizes[kind % 4].x, sizes[kind % 4].y));
    }
    GifExportJob job = JobFor(frames, 200, 200, folder.File("two.gif"));
    job.delay = 7;
    std::vector<int> progress;
    job.progress = [&progress](int percent) { progress.push_back(percent); };
    const GifExportResult result = ExportGif(job);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_TRUE(result.message.empty());
    EXPECT_EQ(progress, (std::vector<int>{8, 16, 25, 33, 41, 50, 58, 66, 75, 83, 91, 100}));

    job.threads = 1;
    job.path = folder.File("one.gif");
    ASSERT_TRUE(ExportGif(job).ok);
    EXPECT_EQ(FilesIn(folder.Path()), job.path + " " + folder.File("two.gif"));
    EXPECT_TRUE(ReadBytes(job.path) == ReadBytes(folder.File("two.gif")));

    wxFileInputStream in(job.path);
    wxGIFDecoder decoder;
    ASSERT_EQ(decoder.LoadGIF(in), wxGIF_OK);
    ASSERT_EQ(decoder.GetFrameCount(), frames.size());
    for (unsigned i = 0; i < frames.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(decoder.GetFrameSize(i), wxSize(200, 200));
        EXPECT_EQ(decoder.GetDelay(i), 70);
        wxImage decoded;
        ASSERT_TRUE(decoder.ConvertToImage(i, &decoded));
        const wxImage expected = ConvertToPalettedImage(PrepareFrame(frames[i], 200, 200));
        EXPECT_EQ(0, memcmp(decoded.GetData(), expected.GetData(), 200 * 200 * 3));
    }
}

TEST(GifExport, FailuresAndStopsLeaveTheOldFileAndNoUnfinishedOne) {
    TempFolder folder;
    const wxString path = WriteBytes(folder.File("old.gif"), "old");
    // A folder in a target's place is not replaced.
    const wxString occupied = folder.File("occupied.gif");
    ASSERT_TRUE(wxMkdir(occupied));
    const std::vector<wxImage> frames = {SampleFrame(0, 64, 64), SampleFrame(1, 64, 64),
                                         SampleFrame(2, 64, 64)};
    // Writes beyond the process's file size limit fail as a full disk would.
    signal(SIGXFSZ, SIG_IGN);
    rlimit unlimited;
    getrlimit(RLIMIT_FSIZE, &unlimited);

    struct Failure {
        int width, height, missingFrame, stopAtFrame;
        rlim_t sizeLimit;
        wxString path, start, cause; // the message starts with `start` and the quoted path
    };
    const std::vector<Failure> failures = {
        {0, 64, -1, -1, 0, path, "Cannot save", "canvas size 0 x 64"},
        {64, 0, -1, -1, 0, path, "Cannot save", "canvas size 64 x 0"},
        {64, 64, 0, -1, 0, path, "Cannot save", "frame 1 has no picture"},
        {64, 64, 2, -1, 0, path, "Cannot save", "frame 3 has no picture"},
        {64, 64, -1, 1, 0, path, "Saving", "stopped"},
        {64, 64, -1, -1, 4096, path, "Cannot write", "too large"},
        {64, 64, -1, -1, 0, occupied, "Cannot create", "it is a folder"},
        // A target in a folder that cannot hold it, root or not.
        {64, 64, -1, -1, 0, folder.File("old.gif/inside.gif"), "Cannot create", "Not a directory"},
    };
    for (const Failure& f : failures) {
        GifExportJob job = JobFor(frames, f.width, f.height, f.path, f.missingFrame);
        int asked = 0;
        job.stopRequested = [&asked, &f] { return asked++ == f.stopAtFrame; };
        rlimit limit = unlimited;
        limit.rlim_cur = f.sizeLimit ? f.sizeLimit : unlimited.rlim_cur;
        setrlimit(RLIMIT_FSIZE, &limit);
        const GifExportResult result = ExportGif(job);
        setrlimit(RLIMIT_FSIZE, &unlimited);

        SCOPED_TRACE(result.message);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.stopped, f.stopAtFrame >= 0);
        EXPECT_TRUE(result.message.StartsWith(f.start + " \"" + f.path + "\""));
        EXPECT_TRUE(result.message.Contains(f.cause));
        EXPECT_EQ(ReadBytes(path), "old");
        EXPECT_TRUE(wxDirExists(occupied));
        EXPECT_EQ(FilesIn(folder.Path()), path);
    }
}
