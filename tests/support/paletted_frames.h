// Builds small paletted frames and captures what the GIF encoder writes for them.
#pragma once

#include "window/gif_gifhandler.h"

#include <wx/image.h>
#include <wx/mstream.h>
#include <wx/palette.h>

#include <vector>

using Bytes = std::vector<unsigned char>;

// A palette of `count` entries, entry i being (i, 255 - i, i / 2).
inline std::vector<GifColour> RampPalette(int count) {
    std::vector<GifColour> colours;
    for (int i = 0; i < count; ++i) {
        colours.push_back(GifColour{static_cast<unsigned char>(i),
                                    static_cast<unsigned char>(255 - i),
                                    static_cast<unsigned char>(i / 2)});
    }
    return colours;
}

// An image whose pixel p has the colour of palette entry indices[p], with that palette attached.
inline wxImage PalettedImage(int width, int height, const std::vector<GifColour>& colours,
                             const std::vector<int>& indices) {
    wxImage image(width, height, false);
    unsigned char* rgb = image.GetData();
    for (int index : indices) {
        *rgb++ = colours[index].red;
        *rgb++ = colours[index].green;
        *rgb++ = colours[index].blue;
    }
    std::vector<unsigned char> r, g, b;
    for (const GifColour& c : colours) {
        r.push_back(c.red);
        g.push_back(c.green);
        b.push_back(c.blue);
    }
    image.SetPalette(wxPalette(static_cast<int>(colours.size()), r.data(), g.data(), b.data()));
    return image;
}

// Indices 0, 1, 2, ... wrapping at `count`, one per pixel.
inline std::vector<int> CyclingIndices(int pixels, int count) {
    std::vector<int> indices;
    for (int p = 0; p < pixels; ++p) {
        indices.push_back(p % count);
    }
    return indices;
}

inline Bytes StreamBytes(wxMemoryOutputStream& stream) {
    Bytes bytes(stream.GetLength());
    if (!bytes.empty()) {
        stream.CopyTo(bytes.data(), bytes.size());
    }
    return bytes;
}

// What one call of the encoder wrote, and its result.
struct EncodedFrame {
    Bytes bytes;
    bool ok;
};

// Writes every frame with the encoder, as an export does, keeping each call's bytes apart.
inline std::vector<EncodedFrame> EncodeEachFrame(std::vector<wxImage>& frames, int delayMs) {
    std::vector<EncodedFrame> written;
    for (size_t i = 0; i < frames.size(); ++i) {
        wxMemoryOutputStream stream;
        g_gifOutputStream = &stream;
        MyGifHandler handler;
        const bool ok = handler.SaveFrame(frames[i], delayMs, static_cast<int>(frames.size()),
                                          static_cast<int>(i));
        written.push_back(EncodedFrame{StreamBytes(stream), ok});
    }
    g_gifOutputStream = nullptr;
    return written;
}

// The whole file that the frames make.
inline Bytes EncodeFrames(std::vector<wxImage>& frames, int delayMs) {
    Bytes file;
    for (const EncodedFrame& frame : EncodeEachFrame(frames, delayMs)) {
        file.insert(file.end(), frame.bytes.begin(), frame.bytes.end());
    }
    return file;
}
