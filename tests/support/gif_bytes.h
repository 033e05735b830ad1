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
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<unsigned char> indexes; // width * height palette indexes, row by row
    int transparentIndex = -1;
    Disposal disposal = kUnspecified;
    bool interlaced = false;
    std::vector<Rgb> localPalette; // used instead of the global one when not empty
};

struct File {
    int width = 0, height = 0;
    std::vector<Rgb> palette; // the global colour table, at most 256 entries
    std::vector<Frame> frames;
    bool fillTable = false;
};

// A frame of one colour index.
inline Frame Patch(int left, int top, int width, int height, unsigned char index,
                   Disposal disposal = kUnspecified) {
    Frame frame{left, top, width, height, {}, -1, disposal, false, {}};
    frame.indexes.assign(static_cast<size_t>(width) * height, index);
    return frame;
}

inline void PutShort(std::string& out, int value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

inline std::string LzwData(const std::vector<unsigned char>& indexes, bool fillTable) {
    constexpr int kClear = 256, kEnd = 257;
    std::string packed;
    unsigned int buffer = 0;
    int bits = 0, codeBits = 9, nextCode = kEnd + 1;
    auto put = [&](int code) {
        buffer |= static_cast<unsigned int>(code) << bits;
        for (bits += codeBits; bits >= 8; bits -= 8, buffer >>= 8) {
            packed += static_cast<char>(buffer & 0xFF);
        }
    };
    for (size_t i = 0; i < indexes.size(); ++i) {
        const bool clear = i == 0 || (!fillTable && i % 250 == 0);
        if (clear) {
            put(kClear);
            codeBits = 9;
            nextCode = kEnd + 1;
        }
        put(indexes[i]);
        // Every code but the first after a clear adds a table entry for the decoder; the code
        // width grows with the table, up to 12 bits, and a full table stays as it is.
        if (!clear && nextCode < 4096 && ++nextCode == (1 << codeBits) && codeBits < 12) {
            ++codeBits;
        }
    }
    put(kEnd);
    if (bits > 0) {
        packed += static_cast<char>(buffer & 0xFF);
    }
    std::string out(1, static_cast<char>(8));
    for (size_t at = 0; at < packed.size(); at += 255) {
        const std::string block = packed.substr(at, 255);
        out += static_cast<char>(block.size()) + block;
    }
    return out + '\0';
}

// Writes the table padded with black to a power of two; returns its size bits less one.
inline int PutTable(std::string& out, const std::vector<Rgb>& palette) {
    int bits = 1;
    while ((1u << bits) < palette.size()) {
        ++bits;
    }
    for (size_t i = 0; i < (1u << bits); ++i) {
        const Rgb colour = i < palette.size() ? palette[i] : Rgb{0, 0, 0};
        out.append(reinterpret_cast<const char*>(colour.data()), 3);
    }
    return bits - 1;
}

// The rows of a frame in the order the file stores them.
inline std::vector<unsigned char> StoredRows(const Frame& frame) {
    if (!frame.interlaced) {
        return frame.indexes;
    }
    std::vector<unsigned char> out;
    const int starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int row = starts[pass]; row < frame.height; row += steps[pass]) {
            const auto begin = frame.indexes.begin() + static_cast<long>(row) * frame.width;
            out.insert(out.end(), begin, begin + frame.width);
        }
    }
    return out;
}

inline std::string Bytes(const File& file) {
    std::string out = "GIF89a", table;
    PutShort(out, file.width);
    PutShort(out, file.height);
    const int tableBits = PutTable(table, file.palette);
    out += static_cast<char>(0x80 | 0x70 | tableBits) + std::string(2, '\0') + table;
    for (const Frame& frame : file.frames) {
        const bool transparent = frame.transparentIndex >= 0;
        out += "\x21\xF9\x04";
        out += static_cast<char>((frame.disposal << 2) | (transparent ? 1 : 0));
        PutShort(out, 10);
        out += static_cast<char>(transparent ? frame.transparentIndex : 0) + std::string("\0,", 2);
        for (int value : {frame.left, frame.top, frame.width, frame.height}) {
            PutShort(out, value);
        }
        std::string local;
        const int localBits = frame.localPalette.empty() ? -1 : PutTable(local, frame.localPalette);
        out += static_cast<char>((localBits < 0 ? 0 : 0x80 | localBits) |
                                 (frame.interlaced ? 0x40 : 0));
        out += local + LzwData(StoredRows(frame), file.fillTable);
    }
    return out + '\x3B';
}

inline bool Write(const wxString& path, const File& file) {
    const std::string bytes = Bytes(file);
    wxFFile out(path, "wb");
    return out.IsOpened() && out.Write(bytes.data(), bytes.size()) == bytes.size();
}

// An animation whose first frame fills the screen and whose later frames are one-pixel
// patches, in red, green, blue and white.
inline wxString WriteAnimation(const wxString& path, int frames, int width, int height) {
    File file{width, height, {{200, 0, 0}, {0, 180, 0}, {0, 0, 220}, {255, 255, 255}}, {}};
    file.frames.push_back(Patch(0, 0, width, height, 0));
    for (int f = 1; f < frames; ++f) {
        file.frames.push_back(Patch(f % width, 0, 1, 1, f % 3 + 1));
    }
    Write(path, file);
    return path;
}

} // namespace testgif
