// An open video file: its container, the video stream and a decoder for it, with what is
// needed to turn decoded frames into upright pictures at the display aspect. Shared by the
// probe and the decoder; not thread-safe, one per reading.
#pragma once

#include <wx/image.h>
#include <wx/string.h>

#include <memory>

struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVStream;
struct SwsContext;

class VideoInput {
public:
    VideoInput() = default;
    ~VideoInput();
    VideoInput(const VideoInput&) = delete;
    VideoInput& operator=(const VideoInput&) = delete;

    // Opens `path` and the decoder of its best video stream, with the library's own threads.
    // False with `error` (translated, naming the file) when the file cannot be read as a
    // container or holds no video stream that can be decoded; `noVideo` then tells which.
    bool Open(const wxString& path, wxString* error, bool* noVideo = nullptr);

    AVFormatContext* Format() const { return m_format; }
    AVCodecContext* Decoder() const { return m_decoder; }
    AVStream* Stream() const;
    int StreamIndex() const { return m_stream; }

    // Seconds from the start of the file for a time stamp of the video stream.
    double Seconds(long long timestamp) const;
    // The time stamp of the video stream `seconds` after the start of the file.
    long long Timestamp(double seconds) const;
    // Length of the video in seconds; 0 when the file does not say.
    double Duration() const;
    // The stream's own frame rate; 0 when the file does not say.
    double FrameRate() const;
    // Degrees (0, 90, 180 or 270) the frames are turned clockwise to stand upright.
    int Rotation() const;
    // The size of the pictures: the coded size stretched to the display aspect, then turned.
    wxSize PictureSize() const;

    // The decoded frame as an upright RGB picture at the display aspect; null when it cannot
    // be converted.
    std::unique_ptr<wxImage> Picture(const AVFrame* frame);

private:
    wxSize UnturnedSize(int codedWidth, int codedHeight) const;

    AVFormatContext* m_format = nullptr;
    AVCodecContext* m_decoder = nullptr;
    SwsContext* m_scaler = nullptr;
    int m_stream = -1;
};
