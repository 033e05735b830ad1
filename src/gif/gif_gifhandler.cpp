#include "gif/gif_gifhandler.h"

#include "export/colour_map.h"
#include "gif/gif_lzw.h"

#include <wx/palette.h>

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

bool WriteComment(wxOutputStream& out, const wxString& comment) {
    const wxCharBuffer text = comment.mb_str(wxConvLibc);
    const char* bytes = text.data();
    size_t remaining = bytes ? std::strlen(bytes) : 0;
    if (!WriteByte(out, 0x21) || !WriteByte(out, 0xFE)) {
        return false;
    }
    do {
        const size_t block = remaining < 255 ? remaining : 255;
        if (!WriteByte(out, static_cast<unsigned char>(block)) ||
            (block && !WriteBytes(out, bytes, block))) {
            return false;
        }
        bytes += block;
        remaining -= block;
    } while (remaining > 0);
    return WriteByte(out, 0);
}

// The delay in hundredths of a second, as the block's 16 bits hold it.
bool WriteControl(wxOutputStream& out, int transparentIndex, int delay, bool keep) {
    delay = delay < 0 ? 0 : delay > 0xFFFF ? 0xFFFF : delay;
    const unsigned char block[8] = {
        0x21,
        0xF9,
        0x04,
        static_cast<unsigned char>((keep ? 0x04 : 0x00) | (transparentIndex >= 0 ? 0x01 : 0x00)),
        static_cast<unsigned char>(delay & 0xFF),
        static_cast<unsigned char>((delay >> 8) & 0xFF),
        static_cast<unsigned char>(transparentIndex >= 0 ? transparentIndex : 0),
        0x00};
    return WriteBytes(out, block, sizeof block);
}

// Fills the colour table from the image's palette; the mask colour becomes the transparent
// index (appended when the palette lacks it and has room).
bool ExtractPalette(const wxImage& image, GifColour* colours, int* count, int* transparentIndex) {
    if (!image.HasPalette()) {
        return false;
    }
    const wxPalette& palette = image.GetPalette();
    int read = 0;
    const int available = palette.GetColoursCount();
    for (; read < available && read < kMaxColours; ++read) {
        unsigned char r, g, b;
        if (!palette.GetRGB(read, &r, &g, &b)) {
            break;
        }
        colours[read] = GifColour{r, g, b};
    }
    *count = read;
    *transparentIndex = -1;
    if (!image.HasMask()) {
        return true;
    }
    const GifColour mask{image.GetMaskRed(), image.GetMaskGreen(), image.GetMaskBlue()};
    for (int i = 0; i < read; ++i) {
        if (colours[i].red == mask.red && colours[i].green == mask.green &&
            colours[i].blue == mask.blue) {
            *transparentIndex = i;
            return true;
        }
    }
    if (read < kMaxColours) {
        colours[read] = mask;
        *transparentIndex = read;
        *count = read + 1;
    }
    return true;
}

} // namespace

bool MyGifHandler::SaveFrame(wxOutputStream& out, const wxImage& image, int delay, int frameCount,
                             int index, const GifFrameLayout& layout) {
    m_layout = layout;
    GifColour colours[kMaxColours];
    int count = 0;
    int transparentIndex = -1;
    if (!ExtractPalette(image, colours, &count, &transparentIndex)) {
        return false;
    }
    if (!DoSaveFile(out, image, index == 0, delay, colours, count, transparentIndex)) {
        return false;
    }
    if (index + 1 == frameCount) {
        return WriteByte(out, 0x3B);
    }
    return true;
}

bool MyGifHandler::DoSaveFile(wxOutputStream& out, const wxImage& image, bool first, int delay,
                              const GifColour* colours, int count, int transparentIndex) {
    const int width = image.IsOk() ? image.GetWidth() : 0;
    const int height = image.IsOk() ? image.GetHeight() : 0;
    const size_t pixels = static_cast<size_t>(width) * height;
    if (pixels == 0) {
        return false;
    }

    // The lowest table index of each colour, so that a colour listed twice takes the first.
    ColourMap table;
    for (int i = count - 1; i >= 0; --i) {
        bool found;
        const unsigned colour = ColourMap::Pack(&colours[i].red);
        table.Put(table.Find(colour, &found), colour, i);
    }

    // Every pixel's table index, found once per distinct colour; more than 256 distinct colours
    // refuse the frame before anything is written.
    std::vector<wxUint8> indices(pixels);
    ColourMap seen;
    int distinct = 0;
    const unsigned char* rgb = image.GetData();
    unsigned lastColour = ColourMap::Pack(rgb) ^ 1;
    wxUint8 lastIndex = 0;
    for (size_t p = 0; p < pixels; ++p, rgb += 3) {
        const unsigned colour = ColourMap::Pack(rgb);
        if (colour != lastColour) {
            bool found;
            const unsigned slot = seen.Find(colour, &found);
            if (!found) {
                if (++distinct > kMaxColours) {
                    return false;
                }
                const unsigned tableSlot = table.Find(colour, &found);
                int index = found ? table.Value(tableSlot) : -1;
                wxASSERT_MSG_AT(index != (-1), static_cast<const char*>(nullptr), __FILE__,
                                __LINE__, "MyGifHandler::DoSaveFile");
                if (index == -1) {
                    index = 255;
                }
                seen.Put(slot, colour, index);
            }
            lastColour = colour;
            lastIndex = static_cast<wxUint8>(seen.Value(slot));
        }
        indices[p] = lastIndex;
    }

    if (first && !WriteHeader(out, width, height, colours, count, m_layout.passes)) {
        return false;
    }
    const wxString comment = image.GetOption(wxIMAGE_OPTION_GIF_COMMENT);
    if ((!comment.empty() && !WriteComment(out, comment)) ||
        !WriteControl(out, transparentIndex, delay, m_layout.keep) || !WriteByte(out, 0x2C) ||
        !WriteWord(out, m_layout.left) || !WriteWord(out, m_layout.top) || !WriteWord(out, width) ||
        !WriteWord(out, height)) {
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
    std::vector<wxUint8> others;
    if (m_layout.unchanged.size() == pixels && transparentIndex >= 0) {
        others = indices;
        const wxUint8 clear = static_cast<wxUint8>(transparentIndex);
        for (size_t p = 0; p < pixels; ++p) {
            if (m_layout.unchanged[p] == kUnchangedShown) {
                others[p] = clear;
            } else if (m_layout.unchanged[p] == kUnchangedClear) {
                indices[p] = clear;
            }
        }
    }
    LzwLoss loss;
    loss.bound = m_layout.lossy;
    loss.colours = &colours[0].red;
    loss.count = count;
    loss.transparent = transparentIndex;
    loss.width = width;
    std::vector<unsigned char> data;
    CodeLzw(indices.data(), pixels, m_layout.compactCodes ? (bits < 2 ? 2 : bits) : 8,
            others.empty() ? nullptr : others.data(), data, &loss);
    return WriteBytes(out, data.data(), data.size());
}
