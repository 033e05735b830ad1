#include "gif/gif_gifhandler.h"

#include "gif/gif_lzw.h"

#include <cstring>
#include <vector>

static_assert(sizeof(GifColour) == 3, "colour tables are written as they are laid out");

namespace {

const int kMaxColours = 256;

bool WriteBytes(wxOutputStream& out, const void* data, size_t size) {
    out.Write(data, size);
    return out.LastWrite() == size;
}

bool WriteByte(wxOutputStream& out, unsigned char value) {
    return WriteBytes(out, &value, 1);
}

bool WriteWord(wxOutputStream& out, int value) {
    const unsigned char bytes[2] = {static_cast<unsigned char>(value & 0xFF),
                                    static_cast<unsigned char>((value >> 8) & 0xFF)};
    return WriteBytes(out, bytes, 2);
}

// The smallest number of bits per pixel whose table holds `count` entries (at least 1).
int BitsPerPixel(int count) {
    int bits = 1;
    while (bits < 8 && (1 << bits) < count) {
        ++bits;
    }
    return bits;
}

// Writes the 2^bits entries of a colour table, padding past `count` with black.
bool WriteColourTable(wxOutputStream& out, const GifColour* colours, int count, int bits) {
    unsigned char table[3 * kMaxColours] = {};
    std::memcpy(table, colours, 3 * static_cast<size_t>(count));
    return WriteBytes(out, table, 3 * (static_cast<size_t>(1) << bits));
}

// The looping block: the number of repeats after the first pass, 0 for repeating forever. One
// pass needs no block at all.
bool WriteLooping(wxOutputStream& out, int passes) {
    if (passes == 1) {
        return true;
    }
    static const unsigned char kLooping[16] = {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S',  'C',
                                               'A',  'P',  'E',  '2', '.', '0', 0x03, 0x01};
    return WriteBytes(out, kLooping, sizeof kLooping) &&
           WriteWord(out, passes > 1 ? passes - 1 : 0) && WriteByte(out, 0);
}

bool WriteHeader(wxOutputStream& out, int width, int height, const GifColour* colours, int count,
                 int passes) {
    const int bits = BitsPerPixel(count);
    return WriteBytes(out, "GIF89a", 6) && WriteWord(out, width) && WriteWord(out, height) &&
           WriteByte(out, static_cast<unsigned char>(0x80 + 16 * (bits - 1) + (bits - 1))) &&
           WriteByte(out, 0) && WriteByte(out, 0) && WriteColourTable(out, colours, count, bits) &&
           WriteLooping(out, passes);
}

// The delay in hundredths of a second, as the block's 16 bits hold it.
bool WriteControl(wxOutputStream& out, int transparentIndex, int delay, int disposal) {
    delay = delay < 0 ? 0 : delay > 0xFFFF ? 0xFFFF : delay;
    const unsigned char block[8] = {
        0x21,
        0xF9,
        0x04,
        static_cast<unsigned char>((disposal << 2) | (transparentIndex >= 0 ? 0x01 : 0x00)),
        static_cast<unsigned char>(delay & 0xFF),
        static_cast<unsigned char>((delay >> 8) & 0xFF),
        static_cast<unsigned char>(transparentIndex >= 0 ? transparentIndex : 0),
        0x00};
    return WriteBytes(out, block, sizeof block);
}

} // namespace

bool MyGifHandler::SaveFrame(wxOutputStream& out, const PalettedFrame& frame, int delay,
                             int frameCount, int index, const GifFrameLayout& layout) {
    m_layout = layout;
    if (!DoSaveFile(out, frame, index == 0, delay)) {
        return false;
    }
    if (index + 1 == frameCount) {
        return WriteByte(out, 0x3B);
    }
    return true;
}

bool MyGifHandler::DoSaveFile(wxOutputStream& out, const PalettedFrame& frame, bool first,
                              int delay) {
    if (!frame.IsOk()) {
        return false;
    }
    const int width = frame.width;
    const int height = frame.height;
    const size_t pixels = frame.Pixels();
    const GifColour* colours = frame.colours.data();
    const int count = static_cast<int>(frame.colours.size());
    const int transparentIndex = frame.transparent;
    if (LargestIndex(frame.indices.data(), pixels) >= count) {
        return false;
    }

    if ((first && !WriteHeader(out, width, height, colours, count, m_layout.passes)) ||
        !WriteControl(out, transparentIndex, delay,
                      m_layout.clearAfter ? 2
                      : m_layout.keep     ? 1
                                          : 0) ||
        !WriteByte(out, 0x2C) || !WriteWord(out, m_layout.left) || !WriteWord(out, m_layout.top) ||
        !WriteWord(out, width) || !WriteWord(out, height)) {
        return false;
    }
    if (first || m_layout.globalTable) {
        if (!WriteByte(out, 0x00)) {
            return false;
        }
    } else {
        const int bits = BitsPerPixel(count);
        if (!WriteByte(out, static_cast<unsigned char>(0x80 + (bits - 1))) ||
            !WriteColourTable(out, colours, count, bits)) {
            return false;
        }
    }

    // The narrowest start the format allows is 2 bits, even for a table of 2 entries.
    const int bits = BitsPerPixel(count);
    const unsigned char* indices = frame.indices.data();
    std::vector<unsigned char> chosen, others;
    if (m_layout.unchanged.size() == pixels && transparentIndex >= 0) {
        chosen = frame.indices;
        others = frame.indices;
        const unsigned char clear = static_cast<unsigned char>(transparentIndex);
        const unsigned char* unchanged = m_layout.unchanged.data();
        // Without a branch, so that the compiler takes many pixels at once.
        for (size_t p = 0; p < pixels; ++p) {
            others[p] = unchanged[p] == kUnchangedShown ? clear : others[p];
            chosen[p] = unchanged[p] == kUnchangedClear ? clear : chosen[p];
        }
        indices = chosen.data();
    }
    LzwLoss loss;
    loss.bound = m_layout.lossy;
    loss.colours = &colours[0].red;
    loss.count = count;
    loss.transparent = transparentIndex;
    loss.width = width;
    loss.threads = m_layout.threads;
    if (m_layout.picture.size() == 3 * pixels) {
        loss.picture = m_layout.picture.data();
    }
    std::vector<unsigned char> data;
    CodeLzw(indices, pixels, m_layout.compactCodes ? (bits < 2 ? 2 : bits) : 8,
            others.empty() ? nullptr : others.data(), data, &loss);
    return WriteBytes(out, data.data(), data.size());
}
