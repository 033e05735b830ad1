#include "video/video_input.h"

#include <wx/intl.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/display.h>
#include <libswscale/swscale.h>
}

#include <cmath>
#include <mutex>
#include <string>

namespace {
// Still pictures, animated GIFs and text are the image import's; FFmpeg would read them as
// videos of their own kind (a text file as a terminal recording).
bool PictureFormat(const AVInputFormat* format) {
    const std::string name = format->name;
    return name == "image2" || name == "gif" || name == "apng" || name == "tty" ||
           (name.size() > 5 && name.compare(name.size() - 5, 5, "_pipe") == 0);
}

// The start of the file, which every time is counted from, in the library's time units.
long long Origin(const AVFormatContext* format) {
    return format->start_time == AV_NOPTS_VALUE ? 0 : format->start_time;
}
} // namespace

VideoInput::~VideoInput() {
    sws_freeContext(m_scaler);
    avcodec_free_context(&m_decoder);
    avformat_close_input(&m_format);
}

bool VideoInput::Open(const wxString& path, wxString* error, bool* noVideo) {
    // The libraries' own complaints about damaged files would only repeat what the reading
    // reports.
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_QUIET); });
    if (noVideo) {
        *noVideo = false;
    }
    if (avformat_open_input(&m_format, path.utf8_str(), nullptr, nullptr) < 0 ||
        PictureFormat(m_format->iformat) || avformat_find_stream_info(m_format, nullptr) < 0) {
        *error =
            wxString::Format(_("Cannot read \"%s\": it is no video the program can read"), path);
        return false;
    }
    const AVCodec* codec = nullptr;
    m_stream = av_find_best_stream(m_format, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    // A cover picture beside sound is no video.
    if (m_stream == AVERROR_STREAM_NOT_FOUND ||
        (m_stream >= 0 && m_format->streams[m_stream]->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
        if (noVideo) {
            *noVideo = true;
        }
        *error = wxString::Format(_("\"%s\" holds no video"), path);
        return false;
    }
    if (m_stream < 0 || !codec) {
        *error = wxString::Format(_("Cannot read \"%s\": its video has no decoder here"), path);
        return false;
    }
    m_decoder = avcodec_alloc_context3(codec);
    if (!m_decoder ||
        avcodec_parameters_to_context(m_decoder, m_format->streams[m_stream]->codecpar) < 0) {
        *error =
            wxString::Format(_("Cannot read \"%s\": it is no video the program can read"), path);
        return false;
    }
    m_decoder->thread_count = 0; // as many as the machine has
    m_decoder->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    if (avcodec_open2(m_decoder, codec, nullptr) < 0) {
        *error = wxString::Format(_("Cannot read \"%s\": its video has no decoder here"), path);
        return false;
    }
    return true;
}

AVStream* VideoInput::Stream() const {
    return m_format->streams[m_stream];
}

double VideoInput::Seconds(long long timestamp) const {
    const AVRational base = Stream()->time_base;
    return static_cast<double>(timestamp) * av_q2d(base) -
           static_cast<double>(Origin(m_format)) / AV_TIME_BASE;
}

long long VideoInput::Timestamp(double seconds) const {
    return av_rescale_q(std::llround(seconds * AV_TIME_BASE) + Origin(m_format), AV_TIME_BASE_Q,
                        Stream()->time_base);
}

double VideoInput::Duration() const {
    const AVStream* stream = Stream();
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0) {
        const long long start = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
        return Seconds(start + stream->duration);
    }
    if (m_format->duration != AV_NOPTS_VALUE && m_format->duration > 0) {
        return static_cast<double>(m_format->duration) / AV_TIME_BASE;
    }
    return 0;
}

double VideoInput::FrameRate() const {
    const AVStream* stream = Stream();
    for (const AVRational rate : {stream->avg_frame_rate, stream->r_frame_rate}) {
        if (rate.num > 0 && rate.den > 0) {
            return av_q2d(rate);
        }
    }
    return 0;
}

int VideoInput::Rotation() const {
    const uint8_t* matrix = av_stream_get_side_data(Stream(), AV_PKT_DATA_DISPLAYMATRIX, nullptr);
    if (!matrix) {
        return 0;
    }
    // The matrix turns counter-clockwise; the picture is turned back by the nearest right angle.
    const double turn = -av_display_rotation_get(reinterpret_cast<const int32_t*>(matrix));
    if (std::isnan(turn)) {
        return 0;
    }
    const long quarters = std::lround(turn / 90.0) % 4;
    return static_cast<int>((quarters + 4) % 4) * 90;
}

wxSize VideoInput::UnturnedSize(int codedWidth, int codedHeight) const {
    const AVRational aspect =
        av_guess_sample_aspect_ratio(m_format, m_format->streams[m_stream], nullptr);
    int width = codedWidth;
    if (aspect.num > 0 && aspect.den > 0 && aspect.num != aspect.den) {
        width = static_cast<int>(
            std::lround(static_cast<double>(codedWidth) * aspect.num / aspect.den));
    }
    return wxSize(std::max(width, 1), std::max(codedHeight, 1));
}

wxSize VideoInput::PictureSize() const {
    const AVCodecParameters* coded = Stream()->codecpar;
    const wxSize size = UnturnedSize(coded->width, coded->height);
    return Rotation() % 180 ? wxSize(size.GetHeight(), size.GetWidth()) : size;
}

std::unique_ptr<wxImage> VideoInput::Picture(const AVFrame* frame) {
    const wxSize size = UnturnedSize(frame->width, frame->height);
    m_scaler = sws_getCachedContext(m_scaler, frame->width, frame->height,
                                    static_cast<AVPixelFormat>(frame->format), size.GetWidth(),
                                    size.GetHeight(), AV_PIX_FMT_RGB24, SWS_BICUBIC, nullptr,
                                    nullptr, nullptr);
    if (!m_scaler) {
        return nullptr;
    }
    // The colours as the recording says they were coded (BT.709 for most high definition).
    const int colourSpace = frame->colorspace > 0 && frame->colorspace <= AVCOL_SPC_BT2020_CL
                                ? frame->colorspace
                                : SWS_CS_DEFAULT;
    sws_setColorspaceDetails(m_scaler, sws_getCoefficients(colourSpace),
                             frame->color_range == AVCOL_RANGE_JPEG,
                             sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16, 1 << 16);
    auto picture = std::make_unique<wxImage>(size, false);
    if (!picture->IsOk()) {
        return nullptr;
    }
    uint8_t* const rows[4] = {picture->GetData(), nullptr, nullptr, nullptr};
    const int strides[4] = {size.GetWidth() * 3, 0, 0, 0};
    if (sws_scale(m_scaler, frame->data, frame->linesize, 0, frame->height, rows, strides) <= 0) {
        return nullptr;
    }
    switch (Rotation()) {
    case 90:
        *picture = picture->Rotate90(true);
        break;
    case 180:
        *picture = picture->Rotate180();
        break;
    case 270:
        *picture = picture->Rotate90(false);
        break;
    }
    return picture;
}
