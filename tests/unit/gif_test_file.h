// Writes small GIF files byte by byte, so that tests decide every frame's position, size,
// transparency, disposal method, palette and row order. The LZW data holds only literal codes:
// either with a clear code often enough that the code width never grows, or, as optimisers
// write files, with a single clear code so that the table fills up and stays full.
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
    bool interlaced = false;
    std::vector<Rgb> localPalette; // used instead of the global one when not empty
};

struct File {
    int width = 0;
    int height = 0;
    std::vector<Rgb> palette; // the global colour table, at most 256 entries
    std::vector<Frame> frames;
    bool fillTable = false;
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

inline std::string LzwData(const std::vector<unsigned char>& indexes, bool fillTable) {
    constexpr int kClear = 256;
    constexpr int kEnd = 257;
    constexpr int kLiteralsPerClear = 250;
    std::string packed;
    unsigned int buffer = 0;
    int bits = 0;
    int codeBits = 9;
    int nextCode = kEnd + 1;
    auto put = [&](int code) {
        buffer |= static_cast<unsigned int>(code) << bits;
        bits += codeBits;
        while (bits >= 8) {
            packed += static_cast<char>(buffer & 0xFF);
            buffer >>= 8;
            bits -= 8;
        }
    };
    for (size_t i = 0; i < indexes.size(); ++i) {
        bool afterClear = false;
        if (i == 0 || (!fillTable && i % kLiteralsPerClear == 0)) {
            put(kClear);
            codeBits = 9;
            nextCode = kEnd + 1;
            afterClear = true;
        }
        put(indexes[i]);
        // Every code but the first after a clear adds a table entry for the decoder; the code
        // width grows with the table, up to 12 bits, and a full table stays as it is.
        if (!afterClear && nextCode < 4096) {
            ++nextCode;
            if (nextCode == (1 << codeBits) && codeBits < 12) {
                ++codeBits;
            }
        }
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

inline int TableBits(size_t colours) {
    int bits = 1;
    while ((1u << bits) < colours) {
        ++bits;
    }
    return bits;
}

inline void PutTable(std::string& out, const std::vector<Rgb>& palette, int bits) {
    for (size_t i = 0; i < (1u << bits); ++i) {
        const Rgb colour = i < palette.size() ? palette[i] : Rgb{0, 0, 0};
        out.append(reinterpret_cast<const char*>(colour.data()), 3);
    }
}

// The rows of an interlaced frame in the order the file stores them.
inline std::vector<unsigned char> Interlace(const Frame& frame) {
    std::vector<unsigned char> out;
    const int starts[] = {0, 4, 2, 1};
    const int steps[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int row = starts[pass]; row < frame.height; row += steps[pass]) {
            const auto begin = frame.indexes.begin() + static_cast<long>(row) * frame.width;
            out.insert(out.end(), begin, begin + frame.width);
        }
    }
    return out;
}

inline std::string Bytes(const File& file) {
    const int tableBits = TableBits(file.palette.size());
    std::string out = "GIF89a";
    PutShort(out, file.width);
    PutShort(out, file.height);
    out += static_cast<char>(0x80 | 0x70 | (tableBits - 1));
    out += '\0';
    out += '\0';
    PutTable(out, file.palette, tableBits);
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
        const int localBits = TableBits(frame.localPalette.size());
        out += static_cast<char>((frame.localPalette.empty() ? 0 : 0x80 | (localBits - 1)) |
                                 (frame.interlaced ? 0x40 : 0));
        if (!frame.localPalette.empty()) {
            PutTable(out, frame.localPalette, localBits);
        }
        out += LzwData(frame.interlaced ? Interlace(frame) : frame.indexes, file.fillTable);
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
