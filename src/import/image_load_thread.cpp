#include "import/image_load_thread.h"

#include "app/worker_event.h"
#include "import/frame_reference.h"
#include "import/image_source.h"
#include "import/import_memory.h"
#include "video/video_reference.h"

#include <wx/utils.h>

#include <algorithm>

ImageLoadThread::ImageLoadThread(wxEvtHandler* target, const wxArrayString& files)
    : wxThread(wxTHREAD_DETACHED), m_target(target), m_files(files) {}

ImageLoadThread::~ImageLoadThread() {
    delete m_frame;
}

void ImageLoadThread::LimitBacklog(std::shared_ptr<std::atomic<unsigned long long>> backlog,
                                   unsigned long long limit) {
    m_backlog = std::move(backlog);
    m_backlogLimit = limit;
}

void ImageLoadThread::LimitMemory(MemoryBudget& budget, std::shared_ptr<RefusedFiles> refused) {
    m_budget = &budget;
    m_refused = std::move(refused);
}

void ImageLoadThread::CancelWhen(std::shared_ptr<std::atomic<bool>> cancelled) {
    m_cancelled = std::move(cancelled);
}

bool ImageLoadThread::Stopped() {
    return TestDestroy() || (m_cancelled && *m_cancelled);
}

MemoryBudget& ImageLoadThread::Budget() {
    static MemoryBudget unlimited(UINT64_MAX);
    return m_budget ? *m_budget : unlimited;
}

wxThread::ExitCode ImageLoadThread::Entry() {
    wxCHECK_MSG(m_target, 0, "need an object to queue event for");
    const size_t count = m_files.size();
    const StopRequest stopRequested = [this] { return Stopped(); };
    for (size_t i = 0; i < count && !Stopped();) {
        const size_t length = FrameRunLength(m_files, i);
        const std::vector<wxString> run(m_files.begin() + static_cast<long>(i),
                                        m_files.begin() + static_cast<long>(i + length));
        // The frames of a whole GIF file or a part of a video report the progress before it
        // (a video's, with how far into the part each is), except the very last picture of the
        // list; a single picture reports the progress after it.
        const bool wholeFile = ParseFrameIndex(m_files[i]) < 0;
        VideoName video;
        const bool named = ParseVideoName(m_files[i], &video);
        const bool wholeVideo = named ? !video.frame : HasVideoExtension(m_files[i]);
        const VideoRange part =
            wholeVideo ? ResolveVideoRange(ProbeVideo(named ? video.path : m_files[i]), video.range)
                       : VideoRange();
        const unsigned long long needed = m_budget ? FrameRunMemory(run) : 0;
        MemoryCharge charge(Budget(), needed);
        if (!charge.Held()) {
            std::lock_guard<std::mutex> lock(m_refused->mutex);
            m_refused->needed = needed;
            m_refused->spare = Budget().Limit() - std::min(Budget().InUse(), Budget().Limit());
            for (size_t rest = i; rest < count; ++rest) {
                m_refused->paths.push_back(m_files[rest]);
            }
            break;
        }
        // Where in the run the picture's frame reference or video frame name stands.
        const bool videoFrames = named && video.frame;
        size_t position = i;
        SourceProblem problem;
        DecodeFrameRun(
            run,
            [&](SourcePicture picture) {
                const unsigned long long bytes = PictureMemory(picture.image->GetSize());
                // The decoded picture stays counted until it is compressed.
                const unsigned long long held = std::min<unsigned long long>(bytes, charge.Bytes());
                charge.Detach(held);
                MemoryCharge decoded = MemoryCharge::Adopt(Budget(), held);
                while (length > 1 && position + 1 < i + length &&
                       (videoFrames ? m_files[position] != picture.sourcePath
                                    : ParseFrameIndex(m_files[position]) < picture.frameIndex)) {
                    ++position;
                }
                const bool lastPicture = position + 1 == count && picture.isLast;
                const bool partOfFile = (wholeFile && picture.fromGif) || wholeVideo;
                const size_t done = partOfFile && !lastPicture ? position : position + 1;
                // Through UTF-8 and back, so the frame shares no string data with this thread.
                const wxString entryPath = wxString::FromUTF8(picture.EntryPath().utf8_str());
                AnimationFrame made = MakeAnimationFrame(*picture.image, entryPath, picture.delay);
                picture.image.reset();
                decoded.Reset();
                while (made.IsOk() && m_backlog && *m_backlog > 0 &&
                       *m_backlog + bytes > m_backlogLimit && !Stopped()) {
                    wxMilliSleep(1);
                }
                if (made.IsOk()) {
                    m_frame = new AnimationFrame(std::move(made));
                    if (m_backlog) {
                        *m_backlog += bytes;
                    }
                }
                double within = 0;
                VideoName frame;
                if (wholeVideo && !lastPicture && ParseVideoName(picture.sourcePath, &frame) &&
                    part.end > part.start) {
                    within = std::min((frame.time - part.start) / (part.end - part.start), 0.99);
                }
                Post(picture.EntryPath(),
                     static_cast<int>((static_cast<double>(done) + within) * 100 / count),
                     picture.frameIndex);
            },
            stopRequested, &problem);
        if (problem.fault == SourceFault::TooLarge && m_refused) {
            std::lock_guard<std::mutex> lock(m_refused->mutex);
            m_refused->overCap.push_back({m_files[i], problem.width, problem.height});
        }
        if (problem.fault == SourceFault::Damaged && m_refused) {
            std::lock_guard<std::mutex> lock(m_refused->mutex);
            // A video says where it stopped.
            m_refused->damaged.push_back(problem.stoppedAt >= 0
                                             ? m_files[i] + ": " + DescribeSourceProblem(problem)
                                             : m_files[i]);
        }
        i += length;
    }
    if (m_lastProgress != 100) {
        Post(wxString(), 100, 0);
    }
    return 0;
}

void ImageLoadThread::Post(const wxString& entryPath, int progress, int frameIndex) {
    auto* event = new wxCommandEvent(wxEVT_WORKER_UPDATE, ID_IMPORT_WORKER);
    // Through UTF-8 and back, so the event shares no string data with this thread.
    event->SetString(wxString::FromUTF8(entryPath.utf8_str()));
    event->SetInt(progress);
    event->SetExtraLong(frameIndex);
    event->SetClientData(m_frame);
    m_frame = nullptr;
    m_lastProgress = progress;
    wxQueueEvent(m_target, event);
}
