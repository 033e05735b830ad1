// Writes small GIF files byte by byte, so that tests decide every frame's position, size,
// transparency and disposal method. The LZW data holds only literal codes, with a clear code
// often enough that the code width never grows.
#pragma once

#include <wx/ffile.h>
#include <wx/string.h>

#include <array>
#include <string>
#include <vector>

namespace testgif {

using Rgb = std::array<unsigned char, 3>;

// The disposal codes as the file stores them.
enum Disposal { kUnspecified = 0, kKeep = 1, kToBackground = 2, kToPrevious = 3 };

struct Frame {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<unsigned char> indexes; // width * height palette indexes, row by row
    int transparentIndex = -1;
    Disposal disposal = kUnspecified;
};

struct File {
    int width = 0;
    int height = 0;
    std::vector<Rgb> palette; // the global colour table, at most 256 entries
    std::vector<Frame> frames;
};

// A frame of one colour index.
inline Frame Patch(int left, int top, int width, int height, unsigned char index,
                   Disposal disposal = kUnspecified) {
    Frame frame;
    frame.left = left;
    frame.top = top;
    frame.width = width;
    frame.height = height;
    frame.indexes.assign(static_cast<size_t>(width) * height, index);
    frame.disposal = disposal;
    return frame;
}

inline void PutShort(std::string& out, int value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

inline std::string LzwData(const std::vector<unsigned char>& indexes) {
    constexpr int kClear = 256;
    constexpr int kEnd = 257;
    constexpr int kCodeBits = 9;
    constexpr int kLiteralsPerClear = 250;
    std::string packed;
    unsigned int buffer = 0;
    int bits = 0;
    auto put = [&](int code) {
        buffer |= static_cast<unsigned int>(code) << bits;
        bits += kCodeBits;
        while (bits >= 8) {
            packed += static_cast<char>(buffer & 0xFF);
            buffer >>= 8;
            bits -= 8;
        }
    };
    for (size_t i = 0; i < indexes.size(); ++i) {
        if (i % kLiteralsPerClear == 0) {
            put(kClear);
        }
        put(indexes[i]);
    }
    put(kEnd);
    if (bits > 0) {
        packed += static_cast<char>(buffer & 0xFF);
    }
    std::string out(1, static_cast<char>(8));
    for (size_t at = 0; at < packed.size(); at += 255) {
        const std::string block = packed.substr(at, 255);
        out += static_cast<char>(block.size());
        out += block;
    }
    out += '\0';
    return out;
}

inline std::string Bytes(const File& file) {
    int tableBits = 1;
    while ((1u << tableBits) < file.palette.size()) {
        ++tableBits;
    }
    std::string out = "GIF89a";
    PutShort(out, file.width);
    PutShort(out, file.height);
    out += static_cast<char>(0x80 | 0x70 | (tableBits - 1));
    out += '\0';
    out += '\0';
    for (size_t i = 0; i < (1u << tableBits); ++i) {
        const Rgb colour = i < file.palette.size() ? file.palette[i] : Rgb{0, 0, 0};
        out.append(reinterpret_cast<const char*>(colour.data()), 3);
    }
    for (const Frame& frame : file.frames) {
        out += "\x21\xF9\x04";
        out += static_cast<char>((frame.disposal << 2) | (frame.transparentIndex >= 0 ? 1 : 0));
        PutShort(out, 10);
        out += static_cast<char>(frame.transparentIndex >= 0 ? frame.transparentIndex : 0);
        out += '\0';
        out += '\x2C';
        PutShort(out, frame.left);
        PutShort(out, frame.top);
        PutShort(out, frame.width);
        PutShort(out, frame.height);
        out += '\0';
        out += LzwData(frame.indexes);
    }
    out += '\x3B';
    return out;
}

inline bool Write(const wxString& path, const File& file) {
    const std::string bytes = Bytes(file);
    wxFFile out(path, "wb");
    return out.IsOpened() && out.Write(bytes.data(), bytes.size()) == bytes.size();
}

} // namespace testgif
