#include "gif/gif_frames.h"

#include "gif/gif_canvas.h"

#include <wx/wfstream.h>

#include <gif_lib.h>

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

namespace {
// Screens beyond this (an 8192 x 8192 canvas takes 256 MiB) are refused rather than allocated:
// such a size comes from a damaged or hostile file, not from an animation anyone edits.
constexpr long long kMaxScreenPixels = 1LL << 26;

int ReadFromStream(GifFileType* gif, GifByteType* buffer, int length) {
    auto* stream = static_cast<wxInputStream*>(gif->UserData);
    return static_cast<int>(stream->Read(buffer, length).LastRead());
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error;
        DGifCloseFile(gif, &error);
    }
};
using GifFile = std::unique_ptr<GifFileType, GifCloser>;

// The graphic control block read before a frame; it applies to that frame only. A frame
// without one has no delay of its own (-1).
GraphicsControlBlock NoControl() {
    GraphicsControlBlock control{};
    control.DelayTime = -1;
    control.DisposalMode = DISPOSAL_UNSPECIFIED;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    return control;
}

bool ReadExtension(GifFileType* gif, GraphicsControlBlock& control) {
    int code;
    GifByteType* block;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) {
        return false;
    }
    if (code == GRAPHICS_EXT_FUNC_CODE && block &&
        DGifExtensionToGCB(block[0], block + 1, &control) == GIF_ERROR) {
        control = NoControl();
    }
    while (block) {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) {
            return false;
        }
    }
    return true;
}

wxAnimationDisposal DisposalOf(const GraphicsControlBlock& control) {
    switch (control.DisposalMode) {
    case DISPOSE_DO_NOT:
        return wxANIM_DONOTREMOVE;
    case DISPOSE_BACKGROUND:
        return wxANIM_TOBACKGROUND;
    case DISPOSE_PREVIOUS:
        return wxANIM_TOPREVIOUS;
    default:
        return wxANIM_UNSPECIFIED;
    }
}

// The logical screen the frames are composed on, and where the file's coordinates have their
// origin on it.
struct Screen {
    int width = 0;
    int height = 0;
    wxPoint origin;
};

// The screen for a file whose first frame has just been described; false when it has no pixels
// or is too large to hold.
bool ScreenOf(const GifFileType* gif, Screen* screen) {
    // A file that names no usable screen is shown as its first frame, which then sits at the
    // top left: its position alone could ask for a screen no GIF can have.
    const GifImageDesc& first = gif->Image;
    const bool named = gif->SWidth > 0 && gif->SHeight > 0;
    screen->width = named ? gif->SWidth : first.Width;
    screen->height = named ? gif->SHeight : first.Height;
    screen->origin = named ? wxPoint() : wxPoint(first.Left, first.Top);
    return screen->width > 0 && screen->height > 0 &&
           static_cast<long long>(screen->width) * screen->height <= kMaxScreenPixels;
}

GifFrameLook LookOf(const GifFileType* gif, const GraphicsControlBlock& control,
                    const Screen& screen) {
    GifFrameLook look;
    const GifImageDesc& frame = gif->Image;
    look.rect = wxRect(frame.Left - screen.origin.x, frame.Top - screen.origin.y, frame.Width,
                       frame.Height);
    look.disposal = DisposalOf(control);
    look.transparentIndex = control.TransparentColor;
    const ColorMapObject* palette = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    const int count = palette ? std::min(palette->ColorCount, 256) : 0;
    for (int i = 0; i < count; ++i) {
        look.colours[i][0] = palette->Colors[i].Red;
        look.colours[i][1] = palette->Colors[i].Green;
        look.colours[i][2] = palette->Colors[i].Blue;
    }
    return look;
}

// The canvas rows in the order the file stores them: top to bottom, or in the four passes of
// an interlaced frame.
std::vector<int> RowOrder(int height, bool interlaced) {
    std::vector<int> rows;
    rows.reserve(height);
    if (!interlaced) {
        for (int row = 0; row < height; ++row) {
            rows.push_back(row);
        }
        return rows;
    }
    const int starts[] = {0, 4, 2, 1};
    const int steps[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int row = starts[pass]; row < height; row += steps[pass]) {
            rows.push_back(row);
        }
    }
    return rows;
}

// How far a frame's pixels are taken.
enum class Reading { Compose, Decode, Skip };

// Reads the pixels of the frame just described and paints them on `canvas` unless it is null,
// or only passes over their data; false when the data is damaged.
bool PaintFrame(GifFileType* gif, GifCanvas* canvas, Reading reading) {
    const GifImageDesc& frame = gif->Image;
    if (frame.Width <= 0 || frame.Height <= 0 || reading == Reading::Skip) {
        // Nothing to paint, but the frame's data must still be passed over.
        int codeSize;
        GifByteType* block;
        if (DGifGetCode(gif, &codeSize, &block) == GIF_ERROR) {
            return false;
        }
        while (block) {
            if (DGifGetCodeNext(gif, &block) == GIF_ERROR) {
                return false;
            }
        }
        return true;
    }
    std::vector<GifPixelType> line(frame.Width);
    for (int row : RowOrder(frame.Height, frame.Interlace)) {
        if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) {
            return false;
        }
        if (canvas) {
            canvas->PaintRow(row, line.data());
        }
    }
    return true;
}
} // namespace

namespace {
// Reads every frame up to the last of `wanted` (all when it is empty; rising frame numbers) and
// tells `onFrame` of each wanted frame read whole, with its number and delay; composes them on
// a canvas when asked to, and passes that canvas too. Reading ends at the first damage, when
// `onFrame` returns false or on a stop. Returns the fault that ended it: Damaged for a file cut
// short or corrupt, TooLarge for a screen beyond the limit, NoMemory when the screen found no
// memory; None otherwise.
template <typename OnFrame>
SourceFault ReadFrames(const wxString& path, const std::vector<int>& wanted, Reading reading,
                       const OnFrame& onFrame, const StopRequest& stopRequested) {
    wxFileInputStream stream(path);
    if (!stream.IsOk()) {
        return SourceFault::Unreadable;
    }
    int error;
    const GifFile gif(DGifOpen(&stream, ReadFromStream, &error));
    if (!gif) {
        return error == D_GIF_ERR_NOT_GIF_FILE ? SourceFault::NoPicture : SourceFault::Damaged;
    }
    Screen screen;
    std::unique_ptr<GifCanvas> canvas;
    GraphicsControlBlock control = NoControl();
    int frame = -1;
    // The first of `wanted` not yet passed.
    size_t next = 0;
    GifRecordType record;
    while (DGifGetRecordType(gif.get(), &record) == GIF_OK) {
        if (record == EXTENSION_RECORD_TYPE) {
            if (!ReadExtension(gif.get(), control)) {
                return SourceFault::Damaged;
            }
            continue;
        }
        if (record == TERMINATE_RECORD_TYPE || (stopRequested && stopRequested())) {
            return SourceFault::None;
        }
        if (record != IMAGE_DESC_RECORD_TYPE || DGifGetImageDesc(gif.get()) == GIF_ERROR) {
            return SourceFault::Damaged;
        }
        ++frame;
        if (frame == 0 && !ScreenOf(gif.get(), &screen)) {
            return screen.width > 0 && screen.height > 0 ? SourceFault::TooLarge
                                                         : SourceFault::Damaged;
        }
        try {
            if (reading == Reading::Compose && !canvas) {
                canvas = std::make_unique<GifCanvas>(screen.width, screen.height);
            }
            if (canvas) {
                canvas->BeginFrame(LookOf(gif.get(), control, screen));
            }
        } catch (const std::bad_alloc&) {
            return SourceFault::NoMemory;
        }
        const int delay = control.DelayTime;
        control = NoControl();
        if (!PaintFrame(gif.get(), canvas.get(), reading)) {
            return SourceFault::Damaged;
        }
        while (next < wanted.size() && wanted[next] < frame) {
            ++next;
        }
        const bool isWanted = wanted.empty() || (next < wanted.size() && wanted[next] == frame);
        if (isWanted && !onFrame(frame, screen, canvas.get(), delay)) {
            return SourceFault::NoMemory;
        }
        if (!wanted.empty() && frame >= wanted.back()) {
            return SourceFault::None;
        }
    }
    // A file without its trailer was cut short.
    return SourceFault::Damaged;
}

void Report(SourceFault fault, const Screen& screen, SourceProblem* problem) {
    if (problem && fault != SourceFault::None) {
        problem->fault = fault;
        problem->width = static_cast<unsigned long long>(screen.width);
        problem->height = static_cast<unsigned long long>(screen.height);
    }
}

std::vector<int> Only(int frame) {
    return frame < 0 ? std::vector<int>() : std::vector<int>{frame};
}
} // namespace

bool DecodeGifFrames(const wxString& path, int onlyFrame, const PictureSink& deliver,
                     const StopRequest& stopRequested, SourceProblem* problem, PictureParts parts) {
    return DecodeGifFrameSet(path, Only(onlyFrame), deliver, stopRequested, problem, parts);
}

bool DecodeGifFrameSet(const wxString& path, const std::vector<int>& frames,
                       const PictureSink& deliver, const StopRequest& stopRequested,
                       SourceProblem* problem, PictureParts parts) {
    // A composed frame is handed over once the file shows whether another frame follows.
    SourcePicture ready;
    bool delivered = false;
    auto handOver = [&](bool isLast) {
        if (ready.image) {
            ready.isLast = isLast;
            deliver(std::move(ready));
            ready = SourcePicture();
            delivered = true;
        }
    };
    Screen seen;
    const SourceFault fault = ReadFrames(
        path, frames, Reading::Compose,
        [&](int frame, const Screen& screen, GifCanvas* canvas, int delay) {
            seen = screen;
            handOver(false);
            const wxRect whole(0, 0, screen.width, screen.height);
            const wxRect changed = canvas->TakeChanged();
            if (parts == PictureParts::OfHugeScreens && changed != whole &&
                static_cast<long long>(screen.width) * screen.height >= kPartScreenPixels) {
                // A frame that changes nothing still comes as a pixel, as it was.
                ready.part = changed.IsEmpty() ? wxRect(0, 0, 1, 1) : changed;
                ready.image = canvas->MakePicture(ready.part);
            } else {
                ready.image = canvas->MakePicture();
            }
            ready.frameIndex = frame;
            ready.delay = delay;
            ready.sourcePath = path;
            return ready.image != nullptr;
        },
        stopRequested);
    handOver(true);
    Report(fault, seen, problem);
    return delivered;
}

namespace {
SourceSurvey Survey(const wxString& path, const std::vector<int>& frames, Reading reading) {
    SourceSurvey survey;
    const SourceFault fault = ReadFrames(
        path, frames, reading,
        [&survey](int, const Screen& screen, const GifCanvas*, int delay) {
            ++survey.pictures;
            survey.delays.push_back(delay);
            survey.size = wxSize(screen.width, screen.height);
            return true;
        },
        StopRequest());
    Report(fault, Screen{survey.size.GetWidth(), survey.size.GetHeight(), wxPoint()},
           &survey.problem);
    return survey;
}
} // namespace

SourceSurvey SurveyGifFrames(const wxString& path, int onlyFrame) {
    return Survey(path, Only(onlyFrame), Reading::Decode);
}

SourceSurvey SurveyGifFrameSet(const wxString& path, const std::vector<int>& frames) {
    return Survey(path, frames, Reading::Decode);
}

SourceSurvey EstimateGifFrames(const wxString& path, int onlyFrame) {
    return Survey(path, Only(onlyFrame), Reading::Skip);
}
