#include "import/image_source.h"

#include "app/memory_budget.h"
#include "gif/gif_frames.h"
#include "import/frame_reference.h"
#include "import/picture_header.h"
#include "import/plain_png.h"
#include "import/still_file.h"
#include "import/xpm_picture.h"
#include "video/video_reference.h"

#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/wfstream.h>

#include <cstdio>
#include <new>
#include <sys/stat.h>

namespace {
// A still picture is held as three bytes a pixel while it is decoded, with its alpha beside.
const unsigned long long kDecodeBytesPerPixel = 4;

bool Stopped(const StopRequest& stopRequested) {
    return stopRequested && stopRequested();
}

wxBitmapType TypeOf(PictureKind kind) {
    switch (kind) {
    case PictureKind::Png:
        return wxBITMAP_TYPE_PNG;
    case PictureKind::Jpeg:
        return wxBITMAP_TYPE_JPEG;
    case PictureKind::Bmp:
        return wxBITMAP_TYPE_BMP;
    case PictureKind::Tiff:
        return wxBITMAP_TYPE_TIFF;
    case PictureKind::Tga:
        return wxBITMAP_TYPE_TGA;
    case PictureKind::Pcx:
        return wxBITMAP_TYPE_PCX;
    case PictureKind::Pnm:
        return wxBITMAP_TYPE_PNM;
    case PictureKind::Iff:
        return wxBITMAP_TYPE_IFF;
    case PictureKind::Ico:
        return wxBITMAP_TYPE_ICO;
    case PictureKind::Cur:
        return wxBITMAP_TYPE_CUR;
    case PictureKind::Ani:
        return wxBITMAP_TYPE_ANI;
    case PictureKind::Xpm:
    case PictureKind::Unknown:
        break;
    }
    return wxBITMAP_TYPE_ANY;
}

bool Fault(SourceProblem* problem, SourceFault fault) {
    if (problem) {
        problem->fault = fault;
    }
    return false;
}

// The whole video at its own rate, where a path names a video file.
VideoName WholeVideo(const wxString& path) {
    VideoName name;
    name.path = path;
    return name;
}

bool DecodeVideo(const VideoName& name, const PictureSink& deliver,
                 const StopRequest& stopRequested, SourceProblem* problem) {
    const VideoPictureSink each = [&](VideoPicture picture) {
        deliver(SourcePicture{std::move(picture.image), 0, VideoFrameName(name.path, picture.time),
                              picture.isLast, picture.delay});
    };
    const VideoReading reading = name.frame
                                     ? ReadVideoTimes(name.path, {name.time}, each, stopRequested)
                                     : ReadVideoRange(name.path, name.range, each, stopRequested);
    if (problem && !reading.complete && !reading.stopped) {
        if (reading.pictures > 0) {
            problem->fault = SourceFault::Damaged;
            problem->stoppedAt = reading.stoppedAt;
        } else {
            problem->fault = reading.noVideo ? SourceFault::NoVideo : SourceFault::NoPicture;
        }
    }
    return reading.pictures > 0;
}

bool DecodeStill(const wxString& path, const StillFile& file, int frameIndex,
                 const PictureSink& deliver, const StopRequest& stopRequested,
                 SourceProblem* problem) {
    // A still picture has only its first frame.
    if (frameIndex > 0 || Stopped(stopRequested)) {
        return false;
    }
    const PictureHeader& header = file.header;
    if (header.TooLarge()) {
        if (problem) {
            problem->fault = SourceFault::TooLarge;
            problem->width = header.width;
            problem->height = header.height;
        }
        return false;
    }
    if (header.unusable) {
        return Fault(problem, SourceFault::Damaged);
    }
    MemoryCharge decoding(MemoryBudget::Process(),
                          header.width * header.height * kDecodeBytesPerPixel);
    if (!decoding.Held()) {
        return Fault(problem, SourceFault::NoMemory);
    }
    auto picture = std::make_unique<wxImage>();
    bool read = false;
    // A file whose header is of no kind known here is no picture: the toolkit's handlers, tried
    // on it each in turn, would pass its pixels uncounted, and some of them crash on such bytes.
    if (header.kind == PictureKind::Xpm) {
        read = ReadXpmPicture(path, header.width, header.height, picture.get());
    } else if (wxImageHandler* handler = header.kind == PictureKind::Unknown
                                             ? nullptr
                                             : wxImage::FindHandler(TypeOf(header.kind))) {
        // Not verbose: the decoders' own warnings would only reach standard error. A small
        // file is decoded from the bytes already read.
        const auto plainPng = [&] {
            // Plain decoding holds the inflated rows beside the picture: they are charged too.
            const MemoryCharge rows(MemoryBudget::Process(),
                                    header.width * header.height * 3 + header.height);
            return rows.Held() &&
                   DecodePlainPng(file.start.data(), file.start.size(), picture.get());
        };
        if (file.whole && header.kind == PictureKind::Png && plainPng()) {
            read = true;
        } else if (file.whole) {
            wxMemoryInputStream stream(file.start.data(), file.start.size());
            read = handler->LoadFile(picture.get(), stream, false, -1);
        } else {
            wxFileInputStream stream(path);
            read = stream.IsOk() && handler->LoadFile(picture.get(), stream, false, -1);
        }
    }
    if (!read || !picture->IsOk()) {
        // A TGA header has no signature: a video may look like one.
        if (header.kind == PictureKind::Unknown || header.kind == PictureKind::Tga) {
            decoding.Reset();
            return DecodeVideo(WholeVideo(path), deliver, stopRequested, problem);
        }
        return Fault(problem, SourceFault::Damaged);
    }
    if (!file.endsWhole) {
        Fault(problem, SourceFault::Damaged);
    }
    deliver(SourcePicture{std::move(picture), 0, path, true});
    return true;
}

bool DecodeWithin(const wxString& path, const PictureSink& deliver,
                  const StopRequest& stopRequested, SourceProblem* problem, PictureParts parts);

// The fault that keeps the file at `path` from being read, found without reading it; an
// empty file (or one of the system's endless ones, which say they are empty) holds nothing.
SourceProblem CheckBeforeReading(const wxString& path) {
    SourceProblem problem = CheckSourceFile(path);
    struct stat status;
    if (!problem && stat(path.fn_str(), &status) == 0 && status.st_size == 0) {
        problem.fault = SourceFault::NoPicture;
    }
    return problem;
}
} // namespace

bool DecodeImageSource(const wxString& path, const PictureSink& deliver,
                       const StopRequest& stopRequested, SourceProblem* problem,
                       PictureParts parts) {
    try {
        return DecodeWithin(path, deliver, stopRequested, problem, parts);
    } catch (const std::bad_alloc&) {
        return Fault(problem, SourceFault::NoMemory);
    }
}

namespace {
bool DecodeWithin(const wxString& path, const PictureSink& deliver,
                  const StopRequest& stopRequested, SourceProblem* problem, PictureParts parts) {
    wxLogNull quiet;
    const int frameIndex = ParseFrameIndex(path);
    VideoName video;
    const bool named = ParseVideoName(path, &video);
    const wxString source = named ? video.path : StripFrameSuffix(path);
    const SourceProblem before = CheckBeforeReading(source);
    if (before) {
        if (problem) {
            *problem = before;
        }
        return false;
    }
    if (named || HasVideoExtension(source)) {
        return DecodeVideo(named ? video : WholeVideo(source), deliver, stopRequested, problem);
    }
    const StillFile file = ReadStillFile(source);
    if (file.IsGif()) {
        return DecodeGifFrames(
            source, frameIndex,
            [&deliver](SourcePicture picture) {
                picture.fromGif = true;
                deliver(std::move(picture));
            },
            stopRequested, problem, parts);
    }
    // The still pictures' handlers are chosen by content too.
    return DecodeStill(source, file, frameIndex, deliver, stopRequested, problem);
}
} // namespace

bool IsGifContent(const wxString& path) {
    FILE* file = std::fopen(path.fn_str(), "rb");
    unsigned char start[6] = {};
    const size_t got = file != nullptr ? std::fread(start, 1, sizeof start, file) : 0;
    if (file != nullptr) {
        std::fclose(file);
    }
    return StartsAsGif(start, got);
}

wxString SourcePicture::EntryPath() const {
    // A picture under a GIF name is named as a frame of it, whatever its content.
    return fromGif || IsGifSource(sourcePath) ? FrameReference(sourcePath, frameIndex) : sourcePath;
}

wxString SourceFileOf(const wxString& path) {
    VideoName video;
    return ParseVideoName(path, &video) ? video.path : StripFrameSuffix(path);
}

SourceSurvey SurveyImageSource(const wxString& path, StillSurvey still) {
    SourceSurvey survey;
    VideoName video;
    const bool named = ParseVideoName(path, &video);
    const wxString source = named ? video.path : StripFrameSuffix(path);
    survey.problem = CheckBeforeReading(source);
    if (survey.problem) {
        return survey;
    }
    const StillFile file = ReadStillFile(source);
    const PictureHeader& header = file.header;
    // A file the toolkit cannot read may still be a video the libraries read.
    const bool unknown = !named && !HasVideoExtension(source) && !file.IsGif() &&
                         header.kind == PictureKind::Unknown && !wxImage::CanRead(source);
    if (named || HasVideoExtension(source) || unknown) {
        const VideoProbe probe = ProbeVideo(source);
        if (probe.readable) {
            if (video.frame) {
                survey.pictures = 1;
            } else {
                const VideoTiming timing = TimeVideoRange(source, video.range);
                survey.delays = timing.delays;
                if (timing.damaged) {
                    // Packets cut short may not decode: only decoding tells which frames do.
                    survey.delays.clear();
                    const VideoReading reading = ReadVideoRange(
                        source, video.range,
                        [&survey](VideoPicture picture) { survey.delays.push_back(picture.delay); },
                        VideoStopRequest());
                    if (!reading.complete) {
                        survey.problem.fault = SourceFault::Damaged;
                        survey.problem.stoppedAt = reading.stoppedAt;
                    }
                }
                survey.pictures = static_cast<int>(survey.delays.size());
            }
            survey.size = probe.size;
            return survey;
        }
        if (!unknown) {
            survey.problem.fault = probe.noVideo ? SourceFault::NoVideo : SourceFault::NoPicture;
            return survey;
        }
    }
    if (file.IsGif()) {
        wxLogNull quiet;
        return SurveyGifFrames(source, ParseFrameIndex(path));
    }
    if (header.TooLarge()) {
        survey.problem.fault = SourceFault::TooLarge;
        survey.problem.width = header.width;
        survey.problem.height = header.height;
        return survey;
    }
    const bool declaresItsSize = header.kind == PictureKind::Png ||
                                 header.kind == PictureKind::Jpeg ||
                                 header.kind == PictureKind::Bmp;
    if (still == StillSurvey::FromHeader && declaresItsSize && header.Declared() &&
        ParseFrameIndex(path) <= 0 && file.endsWhole) {
        survey.pictures = 1;
        survey.size = wxSize(static_cast<int>(header.width), static_cast<int>(header.height));
        survey.delays = {-1};
        return survey;
    }
    DecodeImageSource(
        path,
        [&survey](SourcePicture picture) {
            survey.pictures = 1;
            survey.size = picture.image->GetSize();
            survey.delays = {-1};
        },
        StopRequest(), &survey.problem);
    return survey;
}

namespace {
// Frames of one video further apart than this are read by seeking to each.
const double kVideoRunGap = 5;

bool VideoFrameOf(const wxString& path, VideoName* video) {
    return ParseVideoName(path, video) && video->frame;
}

// The frames of a run of one video's frames (FrameRunLength), decoded in one pass from the
// first; each picture goes out under its path in the run.
bool DecodeVideoFrames(const std::vector<wxString>& run, const PictureSink& deliver,
                       const StopRequest& stopRequested, SourceProblem* problem) {
    VideoName video;
    std::vector<double> times;
    for (const wxString& path : run) {
        VideoFrameOf(path, &video);
        times.push_back(video.time);
    }
    const SourceProblem before = CheckBeforeReading(video.path);
    if (before) {
        if (problem) {
            *problem = before;
        }
        return false;
    }
    size_t place = 0;
    const VideoReading reading = ReadVideoTimes(
        video.path, times,
        [&](VideoPicture picture) {
            while (place + 1 < times.size() && times[place] < picture.time) {
                ++place;
            }
            deliver(SourcePicture{std::move(picture.image), 0, run[place], picture.isLast, 0});
        },
        stopRequested);
    if (problem && !reading.complete && !reading.stopped) {
        problem->fault = reading.pictures > 0 ? SourceFault::Damaged
                         : reading.noVideo    ? SourceFault::NoVideo
                                              : SourceFault::NoPicture;
        problem->stoppedAt = reading.stoppedAt;
    }
    return reading.pictures > 0;
}

std::vector<int> FramesOf(const std::vector<wxString>& run) {
    std::vector<int> frames;
    frames.reserve(run.size());
    for (const wxString& path : run) {
        frames.push_back(ParseFrameIndex(path));
    }
    return frames;
}
} // namespace

bool ContinuesFrameRun(const wxString& previous, const wxString& next) {
    const int frame = ParseFrameIndex(previous);
    if (frame >= 0) {
        return ParseFrameIndex(next) > frame &&
               StripFrameSuffix(next) == StripFrameSuffix(previous);
    }
    VideoName before;
    VideoName after;
    return VideoFrameOf(previous, &before) && VideoFrameOf(next, &after) &&
           after.path == before.path && after.time > before.time &&
           after.time - before.time <= kVideoRunGap;
}

bool DecodeFrameRun(const std::vector<wxString>& run, const PictureSink& deliver,
                    const StopRequest& stopRequested, SourceProblem* problem, PictureParts parts) {
    if (run.size() == 1) {
        return DecodeImageSource(run[0], deliver, stopRequested, problem, parts);
    }
    VideoName video;
    if (VideoFrameOf(run[0], &video)) {
        try {
            return DecodeVideoFrames(run, deliver, stopRequested, problem);
        } catch (const std::bad_alloc&) {
            return Fault(problem, SourceFault::NoMemory);
        }
    }
    const wxString source = StripFrameSuffix(run[0]);
    const SourceProblem before = CheckBeforeReading(source);
    if (before) {
        if (problem) {
            *problem = before;
        }
        return false;
    }
    // Only a GIF file has frames beyond its first; any other picture is read once, as itself.
    if (!IsGifContent(source)) {
        return DecodeImageSource(run[0], deliver, stopRequested, problem);
    }
    try {
        wxLogNull quiet;
        return DecodeGifFrameSet(
            source, FramesOf(run),
            [&deliver](SourcePicture picture) {
                picture.fromGif = true;
                deliver(std::move(picture));
            },
            stopRequested, problem, parts);
    } catch (const std::bad_alloc&) {
        return Fault(problem, SourceFault::NoMemory);
    }
}

SourceSurvey SurveyFrameRun(const std::vector<wxString>& run, StillSurvey still) {
    if (run.size() == 1) {
        return SurveyImageSource(run[0], still);
    }
    VideoName video;
    if (VideoFrameOf(run[0], &video)) {
        // The frames of a video are all there while the video is readable at all.
        SourceSurvey survey = SurveyImageSource(run[0]);
        if (survey.pictures > 0) {
            survey.pictures = static_cast<int>(run.size());
        }
        return survey;
    }
    SourceSurvey survey;
    const wxString source = StripFrameSuffix(run[0]);
    survey.problem = CheckBeforeReading(source);
    if (survey.problem) {
        return survey;
    }
    if (!IsGifContent(source)) {
        return SurveyImageSource(run[0], still);
    }
    wxLogNull quiet;
    return SurveyGifFrameSet(source, FramesOf(run));
}
