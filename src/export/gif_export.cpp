#include "export/gif_export.h"

#include "app/canvas_size.h"
#include "app/memory_budget.h"
#include "app/platform.h"
#include "export/frame_fitting.h"
#include "export/frame_optimiser.h"
#include "export/palette_conversion.h"
#include "export/replacing_file.h"
#include "export/size_fitting.h"
#include "gif/gif_gifhandler.h"

#include <wx/intl.h>
#include <wx/log.h>
#include <wx/mstream.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// What became of one frame before encoding.
enum class FrameState { Pending, Ready, NoPicture, NoPalette, NoMemory };

struct PreparedFrame {
    FrameState state = FrameState::Pending;
    FitPath path = FitPath::Centred;
    std::unique_ptr<PalettedFrame> paletted;
    // The paletted frame holds the fitted picture's own colours.
    bool exact = false;
    // The lossy level its codes take.
    int lossy = 0;
    // The fitted picture, kept where the optimiser needs it to keep still areas still, and for
    // lossy codes to aim at.
    std::unique_ptr<wxImage> source;
    // Where the frame lies on the canvas when it is only the part that changed
    // (GifExportJob::partSource); empty for a whole frame.
    wxRect part;
};

// Dithering with a palette of each frame's own would make still areas shimmer, and keep the
// optimiser from leaving them out.
bool KeepsStillAreas(const ExportOptions& options) {
    return options.optimize && options.palette == PaletteMode::Best;
}

// The lossy level a frame is coded with. Unless a lossy level was asked for itself, frames that
// keep their exact colours, such as screen recordings, stay exact: the quality number's lossy
// codes would only smear their flat colours, and make them larger; others take its level as
// far as they are grainy.
int FrameLossy(const ExportOptions& options, bool exact, const wxImage& fitted) {
    if (options.lossy != kLossyOfQuality) {
        return LossyLevel(options);
    }
    return exact || LossyLevel(options) == 0 ? 0 : LossyLevel(options, Smoothness(fitted));
}

void TraceFit(FitPath path) {
    switch (path) {
    case FitPath::Centred:
        TraceLine("thumbnail-3");
        TraceLine("image");
        TraceLine("m_bitmap");
        TraceLine("Rescale");
        break;
    case FitPath::ShrunkAndCentred:
        TraceLine("thumbnail-1");
        TraceLine("thumbnail-2");
        TraceLine("Rescale");
        break;
    case FitPath::Shrunk:
        TraceLine("thumbnail-1");
        break;
    }
}

// Whether `next` leaves clear a pixel that `frame`, a whole frame, shows in a colour.
bool LeavesClear(const PalettedFrame& next, const PalettedFrame& frame) {
    if (next.transparent < 0 || next.Pixels() != frame.Pixels()) {
        return false;
    }
    for (size_t p = 0; p < next.indices.size(); ++p) {
        if (next.indices[p] == next.transparent && frame.indices[p] != frame.transparent) {
            return true;
        }
    }
    return false;
}

// A frame cleared once shown needs a transparent entry, even one no pixel uses: some players
// clear to the background colour otherwise.
void GiveTransparentEntry(OptimisedFrame& way) {
    PalettedFrame& frame = way.frame;
    if (!way.layout.clearAfter || frame.transparent >= 0) {
        return;
    }
    std::vector<bool> used(frame.colours.size(), false);
    for (unsigned char index : frame.indices) {
        used[index] = true;
    }
    const auto unused = std::find(used.begin(), used.end(), false);
    if (unused != used.end()) {
        frame.transparent = static_cast<int>(unused - used.begin());
    } else if (!way.layout.globalTable && frame.colours.size() < 256) {
        frame.transparent = static_cast<int>(frame.colours.size());
        frame.colours.push_back(GifColour{0, 0, 0});
    }
}

int FrameDelay(const GifExportJob& job, int index) {
    return job.delays.empty() ? job.delay : job.delays[index];
}

// Frame `index` coded each of the ways given, all showing the same; the shortest, or null when
// none could be coded. Lossy codes take much longer than exact ones: only the way whose exact
// codes are shortest is coded lossy too, aiming at `picture`, the fitted frame, where given, and
// kept where that is shorter still.
std::unique_ptr<wxMemoryOutputStream> EncodeShortest(std::vector<OptimisedFrame>& ways,
                                                     const GifExportJob& job, int index, int lossy,
                                                     const wxImage* picture) {
    std::unique_ptr<wxMemoryOutputStream> shortest;
    OptimisedFrame* best = nullptr;
    for (OptimisedFrame& way : ways) {
        GiveTransparentEntry(way);
        way.layout.passes = job.options.passes;
        std::unique_ptr<wxMemoryOutputStream> coded(new wxMemoryOutputStream);
        if (MyGifHandler().SaveFrame(*coded, way.frame, FrameDelay(job, index), job.frameCount,
                                     index, way.layout) &&
            (!shortest || coded->GetLength() < shortest->GetLength())) {
            shortest = std::move(coded);
            best = &way;
        }
    }
    if (lossy > 0 && best != nullptr) {
        GifFrameLayout& layout = best->layout;
        layout.lossy = lossy;
        layout.threads = job.threads;
        if (picture != nullptr) {
            const int width = best->frame.width;
            layout.picture.resize(3 * best->frame.Pixels());
            for (int y = 0; y < best->frame.height; ++y) {
                std::memcpy(&layout.picture[3 * static_cast<size_t>(y) * width],
                            picture->GetData() +
                                3 * ((static_cast<size_t>(layout.top) + y) * picture->GetWidth() +
                                     layout.left),
                            3 * static_cast<size_t>(width));
            }
        }
        std::unique_ptr<wxMemoryOutputStream> coded(new wxMemoryOutputStream);
        if (MyGifHandler().SaveFrame(*coded, best->frame, FrameDelay(job, index), job.frameCount,
                                     index, layout) &&
            coded->GetLength() < shortest->GetLength()) {
            shortest = std::move(coded);
        }
    }
    return shortest;
}

// A frame optimised and handed over for coding, then its bytes until they are written.
struct CodingSlot {
    FrameChange change;
    int lossy = 0;
    std::unique_ptr<wxImage> picture;
    bool coded = false;
    bool noMemory = false;
    // Null when no way could be coded.
    std::unique_ptr<wxMemoryOutputStream> bytes;
};

// The work of an export but the optimiser's, shared by the calling thread and a helper: frames
// prepared ahead of the optimiser, and optimised frames coded while the next are optimised.
// Only a few frames lie between preparation and writing, so that memory stays bounded.
// Frames claimed for preparation but not yet written: at least this many, and more for small
// canvases, where frames take little time each and the threads would otherwise wait on each
// other at every frame.
const int kFramesInFlight = 4;
const int kMostFramesInFlight = 16;
const unsigned long long kFramesInFlightBytes = 16ull << 20;
// Frames after the first whose colours the global table takes where it has room.
const int kFramesForeseen = 2;

class FramePipeline {
public:
    FramePipeline(const GifExportJob& job, int framesInFlight)
        : m_job(job), m_parts(TakesParts(job)), m_framesInFlight(framesInFlight),
          m_frames(static_cast<size_t>(job.frameCount)), m_coding(m_frames.size()) {
        if (job.options.palette == PaletteMode::Best) {
            m_palettes.reset(new PaletteRuns(job.options));
        }
    }

    // Whether frames may come as parts: not where transparency is kept, as a part drawn over
    // the frame before cannot make its pixels clear.
    static bool TakesParts(const GifExportJob& job) {
        return job.partSource && !job.options.keepTransparency;
    }

    ~FramePipeline() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_abandoned = true;
        }
        m_changed.notify_all();
        if (m_helper.joinable()) {
            m_helper.join();
        }
    }

    // Starts the helper thread; without one the calling thread does all the work.
    void StartHelper() {
        try {
            m_helper = std::thread([this] { HelperLoop(); });
        } catch (const std::system_error&) {
        }
    }

    // Waits until frame `index` is prepared, helping meanwhile, and hands it over.
    PreparedFrame Take(int index) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return std::move(Prepared(lock, index));
    }

    // Waits until frame `index` is prepared, helping meanwhile, and shows its paletted frame
    // (null when it has none) without handing it over. Only the frames in flight from the next
    // frame to write on may be looked at, by Peek and IsPart alike.
    const PalettedFrame* Peek(int index) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return Prepared(lock, index).paletted.get();
    }

    // The same, telling whether frame `index` is a part, to be drawn over the frame before.
    bool IsPart(int index) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return !Prepared(lock, index).part.IsEmpty();
    }

    // Hands over frame `index`, the one after the last handed over, for coding: what the ways
    // of storing it are made of, the lossy level, and the fitted picture that lossy codes aim
    // at (may be null).
    void Code(int index, FrameChange change, int lossy, std::unique_ptr<wxImage> picture) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            CodingSlot& slot = m_coding[index];
            slot.change = std::move(change);
            slot.lossy = lossy;
            slot.picture = std::move(picture);
            m_handedOver = index + 1;
        }
        m_changed.notify_all();
    }

    // Whether frame `index`, handed over, is coded already.
    bool IsCoded(int index) {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_coding[index].coded;
    }

    // Waits until frame `index` is coded, helping meanwhile, and hands over what became of it.
    // The frame is then taken for written: its place may go to a later frame.
    CodingSlot Coded(int index) {
        CodingSlot slot;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            while (!m_coding[index].coded) {
                if (!WorkOnce(lock)) {
                    m_changed.wait(lock);
                }
            }
            slot = std::move(m_coding[index]);
            m_written = index + 1;
        }
        m_changed.notify_all();
        return slot;
    }

private:
    // Called by the optimiser's thread alone, which everything after the frame waits for: it
    // prepares a frame before coding one, and so gets on with the frame it waits for as soon as
    // that is not claimed.
    PreparedFrame& Prepared(std::unique_lock<std::mutex>& lock, int index) {
        while (m_frames[index].state == FrameState::Pending) {
            if (!PrepareNext(lock) && !CodeNext(lock)) {
                m_changed.wait(lock);
            }
        }
        return m_frames[index];
    }

    void HelperLoop() {
        wxLogNull quiet;
        std::unique_lock<std::mutex> lock(m_mutex);
        while (!m_abandoned && (m_claimed < m_job.frameCount || m_codeClaimed < m_job.frameCount)) {
            if (!WorkOnce(lock)) {
                m_changed.wait(lock);
            }
        }
    }

    // Codes or prepares a frame; false when there is nothing to do. Coding comes first: it
    // frees the room that preparing needs.
    bool WorkOnce(std::unique_lock<std::mutex>& lock) {
        return CodeNext(lock) || PrepareNext(lock);
    }

    // Claims and codes the next frame handed over, if any.
    bool CodeNext(std::unique_lock<std::mutex>& lock) {
        if (m_abandoned || m_codeClaimed >= m_handedOver) {
            return false;
        }
        const int index = m_codeClaimed++;
        CodingSlot& slot = m_coding[index];
        lock.unlock();
        std::unique_ptr<wxMemoryOutputStream> bytes;
        bool noMemory = false;
        try {
            if (m_job.uncoded.empty() || !m_job.uncoded[index]) {
                std::vector<OptimisedFrame> ways = slot.change.Ways();
                bytes = EncodeShortest(ways, m_job, index, slot.lossy, slot.picture.get());
            } else {
                bytes.reset(new wxMemoryOutputStream);
            }
        } catch (const std::bad_alloc&) {
            noMemory = true;
        }
        slot.change = FrameChange();
        slot.picture.reset();
        lock.lock();
        slot.bytes = std::move(bytes);
        slot.noMemory = noMemory;
        slot.coded = true;
        m_changed.notify_all();
        return true;
    }

    // Claims and prepares the next frame if there is room for it; false when there is none.
    bool PrepareNext(std::unique_lock<std::mutex>& lock) {
        if (m_abandoned || m_claimed >= m_job.frameCount ||
            m_claimed - m_written >= m_framesInFlight) {
            return false;
        }
        const int index = m_claimed++;
        lock.unlock();
        PreparedFrame frame = Prepare(index);
        lock.lock();
        m_frames[index] = std::move(frame);
        m_changed.notify_all();
        return true;
    }

    PreparedFrame Prepare(int index) {
        PreparedFrame frame;
        try {
            frame = PrepareWithin(index);
        } catch (const std::bad_alloc&) {
            frame = PreparedFrame();
            frame.state = FrameState::NoMemory;
        }
        // Whatever became of it, the frames after it need not wait for its palette.
        if (m_palettes) {
            m_palettes->Settle(index);
        }
        return frame;
    }

    PreparedFrame PrepareWithin(int index) {
        PreparedFrame frame;
        std::unique_ptr<wxImage> source;
        {
            // Frames are asked for in order even when the two threads claimed them the other way
            // round, so that a source may simply read its input from start to end.
            std::unique_lock<std::mutex> lock(m_sourceMutex);
            m_sourceTurn.wait(lock, [this, index] { return m_nextSource == index; });
            source.reset(new wxImage(m_parts ? m_job.partSource(index, &frame.part)
                                             : m_job.frameSource(index)));
            ++m_nextSource;
        }
        m_sourceTurn.notify_all();
        // A part is composed over black as the whole frame would be there.
        const wxSize size = frame.part.IsEmpty() ? wxSize(m_job.canvasWidth, m_job.canvasHeight)
                                                 : frame.part.GetSize();
        const wxImage fitted =
            PrepareFrame(*source, size.x, size.y, &frame.path, m_job.options.keepTransparency);
        {
            std::lock_guard<std::mutex> lock(m_sourceMutex);
            source.reset();
        }
        if (!fitted.IsOk()) {
            frame.state = FrameState::NoPicture;
            return frame;
        }
        // A part's colours say nothing of the run of whole frames around it.
        PaletteRuns* runs = frame.part.IsEmpty() ? m_palettes.get() : nullptr;
        frame.paletted.reset(new PalettedFrame(
            ConvertToPalettedFrame(fitted, m_job.options, &frame.exact, runs, index)));
        if (!frame.paletted->IsOk()) {
            frame.state = FrameState::NoPalette;
            frame.paletted.reset();
            return frame;
        }
        frame.lossy = FrameLossy(m_job.options, frame.exact, fitted);
        // A frame that kept its colours shows its own pixels everywhere, still areas included.
        if ((KeepsStillAreas(m_job.options) || frame.lossy > 0) && !frame.exact &&
            frame.part.IsEmpty()) {
            frame.source.reset(new wxImage(fitted));
        }
        frame.state = FrameState::Ready;
        return frame;
    }

    const GifExportJob& m_job;
    const bool m_parts;
    const int m_framesInFlight;
    // Palettes shared along runs of alike frames, in the best mode.
    std::unique_ptr<PaletteRuns> m_palettes;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    // Serialises the frame source and the release of what it gave.
    std::mutex m_sourceMutex;
    std::condition_variable m_sourceTurn;
    int m_nextSource = 0;
    std::vector<PreparedFrame> m_frames;
    std::vector<CodingSlot> m_coding;
    int m_claimed = 0;
    // Frames below these are handed over for coding, claimed for coding, and written.
    int m_handedOver = 0;
    int m_codeClaimed = 0;
    int m_written = 0;
    bool m_abandoned = false;
    std::thread m_helper;
};

GifExportResult Failure(const wxString& message) {
    GifExportResult result;
    result.message = message;
    return result;
}

GifExportResult NoMemory(const GifExportJob& job) {
    return Failure(wxString::Format(
        _("Cannot save \"%s\": there is not enough memory; the file was left as it was."),
        job.path));
}

// Bytes a frame takes per canvas pixel while it is prepared: the fitted picture and its
// paletted copy, and the picture kept for the optimiser.
const unsigned long long kBytesPerFramePixel = 9;

unsigned long long FrameBytes(const GifExportJob& job) {
    return static_cast<unsigned long long>(job.canvasWidth) *
           static_cast<unsigned long long>(job.canvasHeight) * kBytesPerFramePixel;
}

// The frames in flight, each fitted, paletted and kept for the optimiser, and the encoder's
// copy.
unsigned long long WorkingSetBytes(const GifExportJob& job, int framesInFlight = kFramesInFlight) {
    return FrameBytes(job) * static_cast<unsigned long long>(framesInFlight + 2);
}

// As many frames in flight as fit into kFramesInFlightBytes, within the limits.
int FramesInFlight(const GifExportJob& job) {
    const unsigned long long frames = kFramesInFlightBytes / std::max(FrameBytes(job), 1ull);
    return static_cast<int>(std::min<unsigned long long>(
        kMostFramesInFlight, std::max<unsigned long long>(kFramesInFlight, frames)));
}

// Why the job cannot be done at all, said before any work: no frames, a canvas a GIF cannot
// hold, or one whose frames would not fit into memory. Empty when it can.
wxString Refusal(const GifExportJob& job) {
    if (job.frameCount <= 0 || !job.frameSource) {
        return wxString::Format(_("Cannot save \"%s\": there are no frames."), job.path);
    }
    if (job.canvasWidth <= 0 || job.canvasHeight <= 0) {
        return wxString::Format(_("Cannot save \"%s\": the canvas size %d x %d has no pixels."),
                                job.path, job.canvasWidth, job.canvasHeight);
    }
    if (job.canvasWidth > kLargestSide || job.canvasHeight > kLargestSide) {
        return wxString::Format(_("Cannot save \"%s\": a canvas of %d x %d is larger than a GIF "
                                  "can hold (%d x %d at most)."),
                                job.path, job.canvasWidth, job.canvasHeight, kLargestSide,
                                kLargestSide);
    }
    if (!MemoryCharge(MemoryBudget::Process(), WorkingSetBytes(job)).Held()) {
        return wxString::Format(_("Cannot save \"%s\": there is not enough memory for a canvas "
                                  "of %d x %d (%s while its frames are written); the file was "
                                  "left as it was."),
                                job.path, job.canvasWidth, job.canvasHeight,
                                FormatByteSize(WorkingSetBytes(job)));
    }
    return wxString();
}

GifExportResult ExportWithin(const GifExportJob& job);

} // namespace

GifExportResult ExportGif(const GifExportJob& job) {
    const wxString refusal = Refusal(job);
    if (!refusal.empty()) {
        return Failure(refusal);
    }
    try {
        return job.options.maxBytes > 0 ? FitUnderSize(job) : ExportWithin(job);
    } catch (const std::bad_alloc&) {
        return NoMemory(job);
    }
}

GifExportResult EncodeGif(const GifExportJob& job) {
    try {
        return ExportWithin(job);
    } catch (const std::bad_alloc&) {
        return NoMemory(job);
    }
}

namespace {
GifExportResult ExportWithin(const GifExportJob& job) {
    const wxString refusal = Refusal(job);
    if (!refusal.empty()) {
        return Failure(refusal);
    }
    // More frames in flight only where the budget has room for them.
    int framesInFlight = FramesInFlight(job);
    std::unique_ptr<MemoryCharge> workingSet(
        new MemoryCharge(MemoryBudget::Process(), WorkingSetBytes(job, framesInFlight)));
    if (!workingSet->Held() && framesInFlight > kFramesInFlight) {
        framesInFlight = kFramesInFlight;
        workingSet.reset(new MemoryCharge(MemoryBudget::Process(), WorkingSetBytes(job)));
    }
    if (!workingSet->Held()) {
        return NoMemory(job);
    }
    ReplacingFile file(job.path);
    if (job.bytesOut == nullptr && !file.Open()) {
        return Failure(wxString::Format(_("Cannot create \"%s\": %s"), job.path, file.Error()));
    }

    wxLogNull quiet;
    unsigned long long written = 0;
    FrameOptimiser optimiser;
    FramePipeline pipeline(job, framesInFlight);
    if (job.threads > 1) {
        pipeline.StartHelper();
    }
    // Each frame is coded into memory and written with one call, so that a write error is seen
    // with its cause. Empty on success, else what failed.
    const auto write = [&](int index) -> wxString {
        const CodingSlot coded = pipeline.Coded(index);
        if (coded.noMemory) {
            return NoMemory(job).message;
        }
        if (!coded.bytes) {
            return wxString::Format(_("Cannot save \"%s\": frame %d could not be encoded."),
                                    job.path, index + 1);
        }
        const wxStreamBuffer* buffer = coded.bytes->GetOutputStreamBuffer();
        const unsigned char* start = static_cast<const unsigned char*>(buffer->GetBufferStart());
        const size_t length = coded.bytes->GetLength();
        written += length;
        if (job.bytesOut != nullptr) {
            job.bytesOut->insert(job.bytesOut->end(), start, start + length);
        } else if (!file.Write(start, length)) {
            return wxString::Format(_("Cannot write \"%s\": %s"), job.path, file.Error());
        }
        if (job.progress) {
            job.progress((index + 1) * 100 / job.frameCount);
        }
        return wxString();
    };
    // The first frame not yet written.
    int unwritten = 0;
    for (int i = 0; i < job.frameCount; ++i) {
        if (job.stopRequested && job.stopRequested()) {
            GifExportResult result = Failure(wxString::Format(
                _("Saving \"%s\" was stopped; the file was left as it was."), job.path));
            result.stopped = true;
            return result;
        }
        PreparedFrame frame = pipeline.Take(i);
        if (frame.state == FrameState::NoPicture) {
            return Failure(wxString::Format(_("Cannot save \"%s\": frame %d has no picture."),
                                            job.path, i + 1));
        }
        if (frame.state == FrameState::NoMemory) {
            return NoMemory(job);
        }
        if (frame.state == FrameState::NoPalette) {
            return Failure(wxString::Format(
                _("Cannot save \"%s\": frame %d could not be reduced to 256 colours."), job.path,
                i + 1));
        }
        if (job.traceLines) {
            TraceFit(frame.path);
        }

        // Where transparency is kept, a frame is cleared once shown when the next one leaves
        // clear what it shows.
        const PalettedFrame* next =
            job.options.keepTransparency && i + 1 < job.frameCount ? pipeline.Peek(i + 1) : nullptr;
        std::vector<OptimisedFrame> ways;
        FrameChange change;
        if (!frame.part.IsEmpty()) {
            // Drawn as it is over the frame before, which stays shown around it.
            ways.push_back(OptimisedFrame{std::move(*frame.paletted), GifFrameLayout()});
            GifFrameLayout& layout = ways.back().layout;
            layout.left = frame.part.x;
            layout.top = frame.part.y;
            layout.keep = true;
            layout.compactCodes = true;
            if (job.options.optimize) {
                optimiser.Shown(ways.back().frame, layout.left, layout.top);
            }
        } else if (!job.options.optimize) {
            ways.push_back(OptimisedFrame{std::move(*frame.paletted), GifFrameLayout()});
            ways.back().layout.clearAfter =
                next != nullptr && LeavesClear(*next, ways.back().frame);
            // A part is drawn over this frame.
            ways.back().layout.keep =
                FramePipeline::TakesParts(job) && i + 1 < job.frameCount && pipeline.IsPart(i + 1);
        } else {
            // The global table can hold the colours the next frames bring in.
            for (int next = 1; i == 0 && next <= std::min(job.frameCount - 1, kFramesForeseen);
                 ++next) {
                if (const PalettedFrame* upcoming = pipeline.Peek(next)) {
                    optimiser.Foresee(*upcoming);
                }
            }
            change = optimiser.Next(
                *frame.paletted, KeepsStillAreas(job.options) ? frame.source.get() : nullptr, next);
        }
        if (!ways.empty()) {
            change = FrameChange(std::move(ways));
        }
        frame.paletted.reset();
        // Frame i is stored and coded while the frames after it are optimised. Frames coded are
        // written at once; the optimiser waits for the oldest only once half the frames in
        // flight are handed over unwritten, so that the rest may be prepared meanwhile.
        pipeline.Code(i, std::move(change), frame.lossy, std::move(frame.source));
        while (unwritten <= i &&
               (pipeline.IsCoded(unwritten) || 2 * (i + 1 - unwritten) >= framesInFlight)) {
            const wxString failure = write(unwritten++);
            if (!failure.empty()) {
                return Failure(failure);
            }
        }
    }
    while (unwritten < job.frameCount) {
        const wxString failure = write(unwritten++);
        if (!failure.empty()) {
            return Failure(failure);
        }
    }
    if (job.bytesOut == nullptr && !file.Commit()) {
        return Failure(wxString::Format(_("Cannot write \"%s\": %s"), job.path, file.Error()));
    }
    GifExportResult result;
    result.ok = true;
    result.bytes = written;
    result.chosen = job.options;
    return result;
}
} // namespace
