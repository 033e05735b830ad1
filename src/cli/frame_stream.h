// The pictures of a list of image sources, decoded on a thread of their own while the export
// takes them one after the other, with only a few decoded ahead: memory stays near a few frames
// however many the sources hold.
#pragma once

#include "import/image_source.h"

#include <wx/image.h>
#include <wx/string.h>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class FrameStream {
public:
    // Pictures decoded and waiting to be taken, at most: kAhead, and beyond kFewAhead only while
    // they take at most kAheadBytes. Small pictures decode quickly, and a short queue would
    // leave the export waiting whenever this thread is not given a core at once.
    static const size_t kFewAhead = 2;
    static const size_t kAhead = 8;
    static const size_t kAheadBytes = 8 << 20;

    // Starts decoding the sources, in order, as DecodeImageSource does with `parts`. `counts`,
    // when given, says how many pictures each source gives, so that SkipTo may pass over
    // still pictures without decoding them.
    explicit FrameStream(std::vector<wxString> sources, PictureParts parts = PictureParts::Whole,
                         std::vector<int> counts = {});
    // Stops the decoding.
    ~FrameStream();
    FrameStream(const FrameStream&) = delete;
    FrameStream& operator=(const FrameStream&) = delete;

    // The next picture, waiting for it if needed; an empty image once the sources give no more.
    // `part` (may be null) is told where it lies when it is a part (SourcePicture::part).
    // To be called from one thread at a time.
    wxImage Next(wxRect* part = nullptr);
    // The pictures before the one numbered `picture` (from 0) are not wanted: Next gives that
    // one. Sources of one picture lying wholly before it are not decoded at all.
    void SkipTo(size_t picture);

    // The first source that gave no picture at all, and why; empty while each gave some. Its
    // frame comes as an empty image, so that the frames after it keep their places: a still
    // picture counted from its header may turn out damaged only now.
    wxString FailedSource(SourceProblem* problem);

private:
    void Decode();
    void Push(SourcePicture picture);

    const std::vector<wxString> m_sources;
    const PictureParts m_parts;
    const std::vector<int> m_counts;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<SourcePicture> m_waiting;
    // The bytes of their pixels.
    size_t m_waitingBytes = 0;
    // The number of the first waiting picture, of the next one the decoder gives, and of the
    // first one wanted.
    size_t m_firstWaiting = 0;
    size_t m_given = 0;
    size_t m_wanted = 0;
    bool m_finished = false;
    bool m_abandoned = false;
    wxString m_failedSource;
    SourceProblem m_failure;
    std::thread m_thread;
};
