#include "support/video_clips.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/display.h>
#include <libavutil/imgutils.h>
}

#include <cmath>
#include <map>

namespace {
// Frame k's colour: red and green count it in steps wide enough for the encoder's losses.
const int kStep = 14;
const int kBase = 16;

void ColourOf(int k, int* r, int* g) {
    *r = kBase + (k % 16) * kStep;
    *g = kBase + (k / 16) * kStep;
}

void Fill(AVFrame* frame, int k) {
    int r = 0;
    int g = 0;
    ColourOf(k, &r, &g);
    const int b = 128;
    const int y = (66 * r + 129 * g + 25 * b + 128) / 256 + 16;
    const int u = (-38 * r - 74 * g + 112 * b + 128) / 256 + 128;
    const int v = (112 * r - 94 * g - 18 * b + 128) / 256 + 128;
    const int square = std::min(frame->width, frame->height) / 4;
    for (int row = 0; row < frame->height; ++row) {
        for (int x = 0; x < frame->width; ++x) {
            frame->data[0][row * frame->linesize[0] + x] = row < square && x < square ? 235 : y;
        }
    }
    for (int row = 0; row < frame->height / 2; ++row) {
        for (int x = 0; x < frame->width / 2; ++x) {
            const bool white = row < square / 2 && x < square / 2;
            frame->data[1][row * frame->linesize[1] + x] = white ? 128 : u;
            frame->data[2][row * frame->linesize[2] + x] = white ? 128 : v;
        }
    }
}
} // namespace

std::vector<double> SteadyTimes(int count, double fps) {
    std::vector<double> times;
    for (int k = 0; k < count; ++k) {
        times.push_back(k / fps);
    }
    return times;
}

wxString WriteVideoClip(const wxString& path, const VideoClip& clip) {
    AVFormatContext* format = nullptr;
    if (avformat_alloc_output_context2(&format, nullptr, nullptr, path.utf8_str()) < 0) {
        return wxString();
    }
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    AVStream* stream = avformat_new_stream(format, nullptr);
    AVCodecContext* encoder = avcodec_alloc_context3(codec);
    encoder->width = clip.width;
    encoder->height = clip.height;
    encoder->pix_fmt = AV_PIX_FMT_YUV420P;
    encoder->time_base = AVRational{1, 1000};
    encoder->gop_size = 6;
    encoder->max_b_frames = 0;
    encoder->flags |= AV_CODEC_FLAG_QSCALE;
    encoder->global_quality = FF_QP2LAMBDA * 2;
    encoder->sample_aspect_ratio = AVRational{clip.aspectNum, clip.aspectDen};
    if (format->oformat->flags & AVFMT_GLOBALHEADER) {
        encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    bool ok = avcodec_open2(encoder, codec, nullptr) >= 0;
    ok = ok && avcodec_parameters_from_context(stream->codecpar, encoder) >= 0;
    stream->time_base = encoder->time_base;
    stream->sample_aspect_ratio = encoder->sample_aspect_ratio;
    if (ok && clip.rotation) {
        auto* matrix = reinterpret_cast<int32_t*>(
            av_stream_new_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, 9 * sizeof(int32_t)));
        av_display_rotation_set(matrix, clip.rotation);
    }
    ok = ok && avio_open(&format->pb, path.utf8_str(), AVIO_FLAG_WRITE) >= 0;
    ok = ok && avformat_write_header(format, nullptr) >= 0;

    std::map<long long, long long> durations;
    AVFrame* frame = av_frame_alloc();
    frame->width = clip.width;
    frame->height = clip.height;
    frame->format = AV_PIX_FMT_YUV420P;
    ok = ok && av_frame_get_buffer(frame, 0) >= 0;
    AVPacket* packet = av_packet_alloc();
    const auto Drain = [&] {
        while (avcodec_receive_packet(encoder, packet) == 0) {
            packet->duration = durations[packet->pts];
            av_packet_rescale_ts(packet, encoder->time_base, stream->time_base);
            packet->stream_index = stream->index;
            av_interleaved_write_frame(format, packet);
        }
    };
    const size_t count = clip.times.size();
    for (size_t k = 0; ok && k < count; ++k) {
        ok = av_frame_make_writable(frame) >= 0;
        Fill(frame, static_cast<int>(k));
        frame->pts = std::llround(clip.times[k] * 1000);
        const double next = k + 1 < count ? clip.times[k + 1]
                            : k > 0       ? 2 * clip.times[k] - clip.times[k - 1]
                                          : clip.times[k] + 0.04;
        durations[frame->pts] = std::llround(next * 1000) - frame->pts;
        frame->quality = encoder->global_quality;
        ok = ok && avcodec_send_frame(encoder, frame) >= 0;
        Drain();
    }
    avcodec_send_frame(encoder, nullptr);
    Drain();
    ok = ok && av_write_trailer(format) >= 0;
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&encoder);
    avio_closep(&format->pb);
    avformat_free_context(format);
    return ok ? path : wxString();
}

int ClipFrameNumber(const wxImage& picture) {
    const int x = picture.GetWidth() / 2;
    const int y = picture.GetHeight() / 2;
    const int r = picture.GetRed(x, y);
    const int g = picture.GetGreen(x, y);
    const int low = static_cast<int>(std::lround((r - kBase) / double(kStep)));
    const int high = static_cast<int>(std::lround((g - kBase) / double(kStep)));
    if (low < 0 || low > 15 || high < 0) {
        return -1;
    }
    return high * 16 + low;
}
