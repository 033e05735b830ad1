// Decoding of one image source into pictures, shared by the import worker and the command-line
// exporter. Works on files and pixels only; safe to run on a worker thread.
#pragma once

#include "import/frame_reference.h"
#include "import/source_file.h"

#include <wx/image.h>
#include <wx/string.h>

#include <functional>
#include <memory>
#include <vector>

// One picture decoded from an image source.
struct SourcePicture {
    // Never null and always valid; whoever receives it owns it.
    std::unique_ptr<wxImage> image;
    // The 0-based frame number inside a GIF file; 0 for any other file.
    int frameIndex = 0;
    // The file the picture came from, without any frame-number suffix.
    wxString sourcePath;
    // True when no further picture of this source follows.
    bool isLast = false;
    // Hundredths of a second the picture stays by the source's own timing: a GIF frame's delay
    // (0 and 1 kept as the file has them) or a video's time stamps; -1 where the source has
    // none (a still picture, which takes the delay control's value).
    int delay = -1;
    // True when the file is a GIF file (by its content), whose frames are named by frame
    // references.
    bool fromGif = false;
    // Where `image` lies on the whole picture when it is only the part that changed since the
    // picture before it of the same source (PictureParts); empty when it is the whole picture.
    wxRect part = wxRect();

    // The strip entry's path: the frame reference of a GIF file's frame (or of a picture
    // under a GIF name), otherwise the file.
    wxString EntryPath() const;
};

using PictureSink = std::function<void(SourcePicture picture)>;

// Whether GIF frames after the first of a source may come as their changed part alone. Frames
// that change a few pixels of a huge screen then cost their own size, not the screen's.
enum class PictureParts {
    Whole,
    // Parts for screens of kPartScreenPixels and more: the receiver paints each part over the
    // picture before it.
    OfHugeScreens,
};
// Below this a screen's whole picture is cheap enough, and its frames come whole as always.
constexpr long long kPartScreenPixels = 1LL << 24;
using StopRequest = std::function<bool()>;

// Decodes the source a path names and hands each picture to `deliver`, in frame order. Files
// are told apart by their content, whatever their names say:
// - a GIF file: every frame, each composed onto the file's logical screen;
// - a frame reference ("x.gif_N", or "x.png_N" for a GIF file so named): only the composed
//   frame N of the GIF file, or of another picture its one picture when N is 0;
// - a video file: the whole video at its own rate (at most 50 frames a second), each picture
//   with its delay and, as its source path, the name of its frame ("clip.mp4#t=0.04");
// - a video part or frame name ("clip.mp4#t=2,4&fps=10", "clip.mp4#t=2.1"): that part or frame;
// - any other file: its one picture, through the toolkit's image handlers, or when they cannot
//   read it and FFmpeg's libraries can, as a video.
// `stopRequested` (may be empty) is asked before each frame and ends the decoding when it says
// true. A file that is not a regular one is refused before it is opened, a still picture larger
// than kLargestPicturePixels before it is decoded. A missing, undecodable or damaged file, or a
// frame number the file does not hold, yields what could be read of it, and `problem` (may be
// null) says what was wrong; the toolkit's messages are muted. Returns whether any picture was
// delivered.
bool DecodeImageSource(const wxString& path, const PictureSink& deliver,
                       const StopRequest& stopRequested, SourceProblem* problem = nullptr,
                       PictureParts parts = PictureParts::Whole);

// True when the file starts as a GIF file does, whatever its name.
bool IsGifContent(const wxString& path);

// The file a source reads: the path without a GIF frame number, or a video part's or frame's
// video.
wxString SourceFileOf(const wxString& path);

// How a survey learns a still picture's size: by decoding it, which finds damage anywhere in
// it; or from its header where it is a PNG, JPEG or BMP file that ends whole, which decodes at
// the size the header declares, so that damage inside it shows only once it is decoded.
enum class StillSurvey { Decoded, FromHeader };

// How many pictures DecodeImageSource gives for a path, and their size (the pictures of one
// source all have the same size), found without keeping any: a GIF file is read without
// composing its frames, any other file is decoded and dropped (or read as `still` says).
struct SourceSurvey {
    int pictures = 0;
    wxSize size;
    // Each picture's delay, as SourcePicture::delay gives it.
    std::vector<int> delays;
    // Why the source gives fewer pictures than it should, or none.
    SourceProblem problem;
};
SourceSurvey SurveyImageSource(const wxString& path, StillSurvey still = StillSurvey::Decoded);

// Whether `next` follows `previous` in one run of frames read in one pass over their file: both
// frame references of one GIF file with rising frame numbers, or both frames of one video at
// rising times not far apart (further on, seeking is quicker than decoding the frames between).
bool ContinuesFrameRun(const wxString& previous, const wxString& next);

// How many paths from `first` on form one run (at least 1): such a run is decoded in one pass
// over the file, so that a project listing each of a long GIF's frames, or hundreds of a
// video's, opens in time linear in its length.
template <typename Paths> size_t FrameRunLength(const Paths& paths, size_t first) {
    size_t end = first + 1;
    while (end < paths.size() && ContinuesFrameRun(paths[end - 1], paths[end])) {
        ++end;
    }
    return end - first;
}

// DecodeImageSource for a run of paths (FrameRunLength): each picture's frameIndex tells which
// of a GIF file's frames it is, a video frame's source path is its path in the run.
bool DecodeFrameRun(const std::vector<wxString>& run, const PictureSink& deliver,
                    const StopRequest& stopRequested, SourceProblem* problem = nullptr,
                    PictureParts parts = PictureParts::Whole);

// SurveyImageSource for a run: the pictures are those of the run's first `pictures` paths
// (frames are read in order, so what is missing or damaged comes last).
SourceSurvey SurveyFrameRun(const std::vector<wxString>& run,
                            StillSurvey still = StillSurvey::Decoded);
