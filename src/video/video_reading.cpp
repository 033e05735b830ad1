#include "video/video_reading.h"

#include "edit/delay_pacing.h"
#include "video/video_input.h"
#include "video/video_module.h"
#include "video/video_time.h"

#include <wx/intl.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <cmath>

namespace {
struct FrameDeleter {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;

// How a walk through the decoded frames ended.
struct WalkEnd {
    bool stopped = false;  // the stop request
    bool finished = false; // the taker had all it needed
    bool damaged = false;  // the file could not be read on
    double shownUntil = 0; // the end of the last frame decoded
};

// Decodes the frames from the key frame at or before `from` in presentation order, handing
// each with its time and how long it is shown to `take` until that returns false.
template <typename Take>
WalkEnd Walk(VideoInput& input, double from, const VideoStopRequest& stopRequested, Take take) {
    AVFormatContext* format = input.Format();
    AVCodecContext* decoder = input.Decoder();
    const double frameRate = input.FrameRate();
    const double base = av_q2d(input.Stream()->time_base);
    if (from > 0 && av_seek_frame(format, input.StreamIndex(), input.Timestamp(from),
                                  AVSEEK_FLAG_BACKWARD) >= 0) {
        avcodec_flush_buffers(decoder);
    }
    WalkEnd end;
    const FramePtr frame(av_frame_alloc());
    AVPacket* packet = av_packet_alloc();
    // Hands over what the decoder has ready; false once the taker wants no more.
    auto drain = [&] {
        while (avcodec_receive_frame(decoder, frame.get()) == 0) {
            long long stamp = frame->best_effort_timestamp;
            if (stamp == AV_NOPTS_VALUE) {
                stamp = frame->pts;
            }
            const double time = stamp == AV_NOPTS_VALUE ? end.shownUntil : input.Seconds(stamp);
            const double shown = frame->pkt_duration > 0 ? frame->pkt_duration * base
                                 : frameRate > 0         ? 1 / frameRate
                                                         : 0.04;
            end.shownUntil = std::max(end.shownUntil, time + shown);
            const bool more = take(frame.get(), time, shown);
            av_frame_unref(frame.get());
            if (!more) {
                return false;
            }
        }
        return true;
    };
    for (;;) {
        if (stopRequested && stopRequested()) {
            end.stopped = true;
            break;
        }
        const int read = av_read_frame(format, packet);
        if (read < 0) {
            end.damaged = read != AVERROR_EOF;
            avcodec_send_packet(decoder, nullptr);
            end.finished = !drain();
            break;
        }
        if (packet->stream_index == input.StreamIndex()) {
            // A damaged packet is left out; the decoder goes on with the next.
            avcodec_send_packet(decoder, packet);
        }
        av_packet_unref(packet);
        if (!drain()) {
            end.finished = true;
            break;
        }
    }
    av_packet_free(&packet);
    return end;
}

// Whether the walk fell short of `until` (clipped to the video's length), which only a
// damaged or cut-off file does; two frames of slack cover containers that round their length.
bool FellShort(const VideoInput& input, const WalkEnd& end, double until) {
    if (end.finished || end.stopped) {
        return false;
    }
    const double duration = input.Duration();
    const double expected = duration > 0 ? std::min(until, duration) : until;
    const double rate = input.FrameRate();
    const double slack = 2.0 / (rate > 0 ? rate : 25) + 0.01;
    return end.damaged || (std::isfinite(expected) && end.shownUntil < expected - slack);
}

VideoReading Finish(const wxString& path, const VideoInput& input, const WalkEnd& end, double until,
                    int pictures) {
    VideoReading reading;
    reading.pictures = pictures;
    reading.stopped = end.stopped;
    reading.complete = !end.stopped && !FellShort(input, end, until);
    if (!reading.complete && !end.stopped) {
        reading.stoppedAt = end.shownUntil;
        reading.error = wxString::Format(_("\"%s\" is damaged or cut off at %s: only the frames "
                                           "before it came in"),
                                         path, FormatVideoTime(end.shownUntil));
    }
    return reading;
}

// Holds back each picture until the moment the next one is first shown, which ends its delay.
class PicturePacer {
public:
    PicturePacer(const VideoPictureSink& deliver, double start)
        : m_deliver(deliver), m_start(start) {}

    // `image` is null where only the timing is wanted.
    void Begin(std::unique_ptr<wxImage> image, double time) {
        End(time);
        m_held.image = std::move(image);
        m_held.time = time;
        m_holding = true;
    }

    // Hands the held picture over with its delay lasting until `time`.
    void End(double time, bool last = false) {
        if (!m_holding) {
            return;
        }
        m_holding = false;
        const double end = time - m_start;
        m_held.delay =
            m_shownEnd < 0 ? PaceDelays({end}).back() : PaceDelays({m_shownEnd, end}).back();
        m_shownEnd = end;
        m_held.isLast = last;
        ++m_count;
        m_deliver(std::move(m_held));
        m_held = VideoPicture();
    }

    int Count() const { return m_count; }

private:
    const VideoPictureSink& m_deliver;
    double m_start;
    double m_shownEnd = -1;
    VideoPicture m_held;
    bool m_holding = false;
    int m_count = 0;
};

// The moments start + k / fps of a part, taken in turn by the frames shown at them.
class Moments {
public:
    explicit Moments(const VideoRange& part) : m_part(part) {}

    // The frame shown now takes every moment before `until`; returns the first of them, or -1
    // when it takes none (another frame follows before the next moment).
    double Take(double until) {
        double first = -1;
        for (; At(m_next) < std::min(until, m_part.end) - kVideoTimeSlack; ++m_next) {
            if (first < 0) {
                first = At(m_next);
            }
        }
        return first;
    }

private:
    double At(long long k) const { return m_part.start + static_cast<double>(k) / m_part.fps; }

    VideoRange m_part;
    long long m_next = 0;
};

VideoRange ResolvedFor(const VideoInput& input, const VideoRange& range) {
    VideoProbe probe;
    probe.duration = input.Duration();
    probe.frameRate = input.FrameRate();
    return ResolveVideoRange(probe, range);
}
} // namespace

namespace ffmpeg {

VideoReading ReadVideoRange(const wxString& path, const VideoRange& range,
                            const VideoPictureSink& deliver,
                            const VideoStopRequest& stopRequested) {
    VideoInput input;
    VideoReading failed;
    if (!input.Open(path, &failed.error, &failed.noVideo)) {
        return failed;
    }
    const VideoRange part = ResolvedFor(input, range);
    PicturePacer pacer(deliver, part.start);
    Moments moments(part);
    // The frame seen last, shown until the next one's time; it takes the moments before that,
    // the first of them beginning its picture.
    const FramePtr shown(av_frame_alloc());
    bool haveShown = false;
    const auto Cover = [&](double until) {
        const double first = moments.Take(until);
        if (first >= 0) {
            if (auto image = input.Picture(shown.get())) {
                pacer.Begin(std::move(image), first);
            }
        }
    };
    const WalkEnd end =
        Walk(input, part.start, stopRequested, [&](AVFrame* frame, double time, double) {
            // The first frame decoded stands for every moment before it as well.
            if (haveShown) {
                Cover(time);
            }
            av_frame_unref(shown.get());
            av_frame_move_ref(shown.get(), frame);
            haveShown = true;
            return time < part.end - kVideoTimeSlack;
        });
    double until = part.end;
    if (!end.stopped && haveShown) {
        if (!end.finished) {
            until = std::min(part.end, end.shownUntil);
            Cover(until);
        }
        pacer.End(until, true);
    }
    return Finish(path, input, end, part.end, pacer.Count());
}

VideoReading ReadVideoTimes(const wxString& path, const std::vector<double>& times,
                            const VideoPictureSink& deliver,
                            const VideoStopRequest& stopRequested) {
    VideoInput input;
    VideoReading failed;
    if (!input.Open(path, &failed.error, &failed.noVideo)) {
        return failed;
    }
    if (times.empty()) {
        failed.complete = true;
        return failed;
    }
    const FramePtr shown(av_frame_alloc());
    bool haveShown = false;
    size_t next = 0;
    int pictures = 0;
    const auto Cover = [&](double until) {
        for (; next < times.size() && times[next] < until - kVideoTimeSlack; ++next) {
            if (auto image = input.Picture(shown.get())) {
                ++pictures;
                deliver(VideoPicture{std::move(image), times[next], 0, next + 1 == times.size()});
            }
        }
    };
    const WalkEnd end =
        Walk(input, times.front(), stopRequested, [&](AVFrame* frame, double time, double) {
            if (haveShown) {
                Cover(time);
            }
            av_frame_unref(shown.get());
            av_frame_move_ref(shown.get(), frame);
            haveShown = true;
            return next < times.size();
        });
    if (!end.stopped && haveShown && !end.finished) {
        Cover(end.shownUntil);
    }
    return Finish(path, input, end, times.back(), pictures);
}

VideoTiming TimeVideoRange(const wxString& path, const VideoRange& range) {
    VideoTiming timing;
    VideoInput input;
    wxString error;
    if (!input.Open(path, &error)) {
        return timing;
    }
    timing.readable = true;
    const VideoRange part = ResolvedFor(input, range);
    AVFormatContext* format = input.Format();
    const double base = av_q2d(input.Stream()->time_base);
    const double rate = input.FrameRate();
    if (part.start > 0) {
        av_seek_frame(format, input.StreamIndex(), input.Timestamp(part.start),
                      AVSEEK_FLAG_BACKWARD);
    }
    // When each frame is shown and until when, from the packets alone; frames come out of the
    // decoder in time order, packets may not, so a second past the end is read as well.
    std::vector<std::pair<double, double>> frames;
    AVPacket* packet = av_packet_alloc();
    int read = 0;
    while ((read = av_read_frame(format, packet)) >= 0) {
        if (packet->stream_index == input.StreamIndex() && packet->pts != AV_NOPTS_VALUE) {
            const double time = input.Seconds(packet->pts);
            const double shown = packet->duration > 0 ? packet->duration * base
                                 : rate > 0           ? 1 / rate
                                                      : 0.04;
            frames.emplace_back(time, time + shown);
            if (time > part.end + 1) {
                av_packet_unref(packet);
                break;
            }
        }
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    std::sort(frames.begin(), frames.end());
    WalkEnd walked;
    walked.damaged = read < 0 && read != AVERROR_EOF;
    for (const auto& frame : frames) {
        walked.shownUntil = std::max(walked.shownUntil, frame.second);
    }
    timing.damaged = FellShort(input, walked, part.end);
    const VideoPictureSink note = [&timing](VideoPicture picture) {
        timing.times.push_back(picture.time);
        timing.delays.push_back(picture.delay);
    };
    PicturePacer pacer(note, part.start);
    Moments moments(part);
    double until = part.end;
    for (size_t i = 0; i < frames.size(); ++i) {
        const bool last = i + 1 == frames.size();
        if (last) {
            until = std::min(part.end, frames[i].second);
        }
        const double first = moments.Take(last ? until : frames[i + 1].first);
        if (first >= 0) {
            pacer.Begin(nullptr, first);
        }
        if (!last && frames[i + 1].first >= part.end - kVideoTimeSlack) {
            break;
        }
    }
    pacer.End(until, true);
    return timing;
}

} // namespace ffmpeg
