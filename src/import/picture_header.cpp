#include "import/picture_header.h"

#include "import/xpm_picture.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {
// Bounds on the structures walked, so that a crafted file cannot make the walk itself long.
const int kMostTiffPages = 64;
const int kMostTiffEntries = 4096;
const int kMostIcons = 4096;
const int kMostChunks = 4096;
// Sides are kept below this, so that width times height cannot overflow.
const unsigned long long kLargestSide = 0xFFFFFFFFULL;

// The file's bytes: those read at the start, and where a header points further (a TIFF's
// directories often follow the pixels), any others on request.
class Bytes {
public:
    Bytes(const unsigned char* data, size_t size, FILE* file = nullptr)
        : m_data(data), m_size(size), m_file(file) {}

    // Copies `count` bytes from `offset`; false when the file is shorter.
    bool Read(unsigned long long offset, size_t count, unsigned char* into) const {
        // An offset near the top of the range must not wrap round into the bytes at hand.
        if (offset <= m_size && count <= m_size - offset) {
            std::memcpy(into, m_data + offset, count);
            return true;
        }
        return m_file != nullptr && fseeko(m_file, static_cast<off_t>(offset), SEEK_SET) == 0 &&
               std::fread(into, 1, count, m_file) == count;
    }

    const unsigned char* Start() const { return m_data; }
    size_t StartSize() const { return m_size; }

private:
    const unsigned char* m_data;
    size_t m_size;
    FILE* m_file;
};

unsigned long Big16(const unsigned char* p) {
    return static_cast<unsigned long>(p[0]) << 8 | p[1];
}

unsigned long Big32(const unsigned char* p) {
    return Big16(p) << 16 | Big16(p + 2);
}

unsigned long Little16(const unsigned char* p) {
    return static_cast<unsigned long>(p[1]) << 8 | p[0];
}

unsigned long Little32u(const unsigned char* p) {
    return Little16(p + 2) << 16 | Little16(p);
}

long long Little32(const unsigned char* p) {
    return static_cast<long long>(static_cast<int>(static_cast<unsigned int>(Little32u(p))));
}

// Keeps the larger of two declared sizes, by their pixels.
void KeepLarger(PictureHeader& header, unsigned long long width, unsigned long long height) {
    width = std::min(width, kLargestSide);
    height = std::min(height, kLargestSide);
    if (width * height > header.width * header.height) {
        header.width = width;
        header.height = height;
    }
}

void Png(const unsigned char* data, size_t size, PictureHeader& header) {
    // Signature, then the IHDR chunk: length, type, width, height.
    if (size >= 24 && std::memcmp(data + 12, "IHDR", 4) == 0) {
        header.width = Big32(data + 16);
        header.height = Big32(data + 20);
    }
}

bool StartOfFrame(unsigned char marker) {
    // SOF0 to SOF15, without DHT (C4), JPG (C8) and DAC (CC).
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

void Jpeg(const unsigned char* data, size_t size, PictureHeader& header) {
    size_t at = 2;
    while (at + 4 <= size) {
        if (data[at] != 0xFF) {
            return;
        }
        const unsigned char marker = data[at + 1];
        if (marker == 0xFF) {
            ++at; // fill byte
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
            at += 2; // markers without a length
            continue;
        }
        const unsigned long length = Big16(data + at + 2);
        if (StartOfFrame(marker)) {
            if (length >= 7 && at + 9 <= size) {
                header.height = Big16(data + at + 5);
                header.width = Big16(data + at + 7);
            }
            return;
        }
        if (length < 2 || marker == 0xD9 || marker == 0xDA) {
            return; // no frame header before the image data
        }
        at += 2 + length;
    }
}

// A device-independent bitmap's header at `data`, as a BMP file holds it after its own 14
// bytes and an icon holds it for each picture (whose height counts its mask too).
void Dib(const unsigned char* data, size_t size, unsigned long long& width,
         unsigned long long& height) {
    if (size < 12) {
        return;
    }
    const long long infoSize = Little32(data);
    if (infoSize == 12) {
        width = Little16(data + 4);
        height = Little16(data + 6);
    } else if (infoSize >= 40 && size >= 12) {
        // A negative height is a picture stored from the top down.
        const long long w = Little32(data + 4);
        const long long h = Little32(data + 8);
        width = w > 0 ? static_cast<unsigned long long>(w) : 0;
        height = static_cast<unsigned long long>(h < 0 ? -h : h);
    }
}

void Bmp(const unsigned char* data, size_t size, PictureHeader& header) {
    if (size >= 26) {
        Dib(data + 14, size - 14, header.width, header.height);
    }
}

// Every directory of a TIFF file (classic or BigTIFF, either byte order): the largest picture.
void Tiff(const Bytes& bytes, PictureHeader& header) {
    const unsigned char* start = bytes.Start();
    const bool little = start[0] == 'I';
    const auto number = [little](const unsigned char* p, int size) {
        unsigned long long value = 0;
        for (int i = 0; i < size; ++i) {
            value |= static_cast<unsigned long long>(p[little ? i : size - 1 - i]) << (8 * i);
        }
        return value;
    };
    const bool big = number(start + 2, 2) == 43;
    const int offsetSize = big ? 8 : 4;
    const int countSize = big ? 8 : 2;
    const int entrySize = big ? 20 : 12;
    unsigned char first[8];
    if (!bytes.Read(big ? 8 : 4, offsetSize, first)) {
        return;
    }
    unsigned long long directory = number(first, offsetSize);
    for (int page = 0; page < kMostTiffPages && directory != 0; ++page) {
        unsigned char count[8];
        if (!bytes.Read(directory, countSize, count)) {
            return;
        }
        const int entries = static_cast<int>(
            std::min<unsigned long long>(number(count, countSize), kMostTiffEntries));
        std::vector<unsigned char> table(static_cast<size_t>(entries) * entrySize + offsetSize);
        if (!bytes.Read(directory + countSize, table.size(), table.data())) {
            return;
        }
        unsigned long long width = 0;
        unsigned long long height = 0;
        for (int e = 0; e < entries; ++e) {
            const unsigned char* entry = &table[static_cast<size_t>(e) * entrySize];
            const unsigned long long tag = number(entry, 2);
            const unsigned long long type = number(entry + 2, 2);
            const unsigned char* value = entry + 4 + (big ? 8 : 4);
            // SHORT, LONG or LONG8, held in the entry itself.
            const int valueSize = type == 3 ? 2 : type == 4 ? 4 : type == 16 ? 8 : 0;
            if (valueSize == 0 || valueSize > offsetSize) {
                continue;
            }
            if (tag == 256) {
                width = number(value, valueSize);
            } else if (tag == 257) {
                height = number(value, valueSize);
            }
        }
        KeepLarger(header, width, height);
        const unsigned long long next =
            number(&table[static_cast<size_t>(entries) * entrySize], offsetSize);
        // A directory pointing back at itself or before would loop.
        directory = next > directory ? next : 0;
    }
}

// A TGA header the toolkit's reader takes: a colour map type of 0 or 1, an image type it
// decodes and a pixel depth it knows.
bool IsTga(const unsigned char* data, size_t size) {
    if (size < 18 || data[1] > 1) {
        return false;
    }
    const unsigned char type = data[2];
    const unsigned char depth = data[16];
    const bool knownType =
        type == 1 || type == 2 || type == 3 || type == 9 || type == 10 || type == 11;
    return knownType && (depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32);
}

void Pcx(const unsigned char* data, size_t size, PictureHeader& header) {
    if (size < 12) {
        return;
    }
    const unsigned long xMin = Little16(data + 4);
    const unsigned long yMin = Little16(data + 6);
    const unsigned long xMax = Little16(data + 8);
    const unsigned long yMax = Little16(data + 10);
    if (xMax >= xMin && yMax >= yMin) {
        header.width = xMax - xMin + 1;
        header.height = yMax - yMin + 1;
    }
}

// Up to `count` decimal numbers of a PNM header from `at` on, among blanks and "#" comments to
// the end of their lines, into `values`; how many were there.
int PnmNumbers(const unsigned char* data, size_t size, size_t at, int count,
               unsigned long long* values) {
    for (int found = 0; found < count; ++found) {
        while (at < size && (std::isspace(data[at]) || data[at] == '#')) {
            if (data[at] == '#') {
                while (at < size && data[at] != '\n') {
                    ++at;
                }
            } else {
                ++at;
            }
        }
        if (at >= size || !std::isdigit(data[at])) {
            return found;
        }
        values[found] = 0;
        for (; at < size && std::isdigit(data[at]); ++at) {
            values[found] = std::min(values[found] * 10 + (data[at] - '0'), kLargestSide);
        }
    }
    return count;
}

// A PNM header: width and height, then, but for the two-colour kinds, the largest sample value,
// which the toolkit's reader divides by.
void Pnm(const unsigned char* data, size_t size, PictureHeader& header) {
    const bool twoColours = data[1] == '1' || data[1] == '4';
    const int count = twoColours ? 2 : 3;
    unsigned long long values[3] = {};
    const int found = PnmNumbers(data, size, 2, count, values);
    if (found >= 2) {
        header.width = values[0];
        header.height = values[1];
    }
    header.unusable = !twoColours && (found < 3 || values[2] == 0 || values[2] > 65535);
}

// An ILBM picture: chunks after "FORM", size and "ILBM", the size in its "BMHD".
void Iff(const unsigned char* data, size_t size, PictureHeader& header) {
    size_t at = 12;
    for (int chunk = 0; chunk < kMostChunks && at + 12 <= size; ++chunk) {
        const unsigned long length = Big32(data + at + 4);
        if (std::memcmp(data + at, "BMHD", 4) == 0) {
            header.width = Big16(data + at + 8);
            header.height = Big16(data + at + 10);
            return;
        }
        at += 8 + length + (length & 1);
    }
}

// The first string of an XPM file's array: "width height colours characters".
void Xpm(const unsigned char* data, size_t size, PictureHeader& header) {
    const XpmStrings strings = ReadXpmStrings(reinterpret_cast<const char*>(data), size, 1);
    XpmValues values;
    if (!strings.starts.empty() && ParseXpmValues(strings.bytes.data(), &values)) {
        header.width = values.width;
        header.height = values.height;
    }
}

// The pictures of an icon or cursor file starting at `base`: each a bitmap header or a PNG.
void Icons(const Bytes& bytes, unsigned long long base, PictureHeader& header) {
    unsigned char directory[6];
    if (!bytes.Read(base, sizeof directory, directory)) {
        return;
    }
    const int count =
        static_cast<int>(std::min<unsigned long>(Little16(directory + 4), kMostIcons));
    for (int i = 0; i < count; ++i) {
        unsigned char entry[16];
        unsigned char picture[24];
        if (!bytes.Read(base + 6 + 16ULL * i, sizeof entry, entry) ||
            !bytes.Read(base + Little32u(entry + 12), sizeof picture, picture)) {
            return;
        }
        unsigned long long width = 0;
        unsigned long long height = 0;
        if (std::memcmp(picture, "\x89PNG", 4) == 0) {
            width = Big32(picture + 16);
            height = Big32(picture + 20);
        } else {
            Dib(picture, sizeof picture, width, height);
            height /= 2; // the colours, then the mask
        }
        KeepLarger(header, width, height);
    }
}

// An animated cursor: a RIFF file whose "icon" chunks, inside a "fram" list, are icon files.
void Ani(const Bytes& bytes, PictureHeader& header) {
    unsigned long long at = 12;
    for (int chunk = 0; chunk < kMostChunks; ++chunk) {
        unsigned char head[8];
        if (!bytes.Read(at, sizeof head, head)) {
            return;
        }
        const unsigned long long length = Little32u(head + 4);
        if (std::memcmp(head, "LIST", 4) == 0) {
            at += 12; // the list's own chunks follow its type
            continue;
        }
        if (std::memcmp(head, "icon", 4) == 0) {
            Icons(bytes, at + 8, header);
        }
        at += 8 + length + (length & 1);
    }
}

PictureHeader Parse(const Bytes& bytes) {
    static const unsigned char kPng[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const unsigned char* data = bytes.Start();
    const size_t size = bytes.StartSize();
    const auto startsWith = [data, size](const char* text, size_t length) {
        return size >= length && std::memcmp(data, text, length) == 0;
    };
    PictureHeader header;
    if (size >= sizeof kPng && std::memcmp(data, kPng, sizeof kPng) == 0) {
        header.kind = PictureKind::Png;
        Png(data, size, header);
    } else if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) {
        header.kind = PictureKind::Jpeg;
        Jpeg(data, size, header);
    } else if (startsWith("BM", 2)) {
        header.kind = PictureKind::Bmp;
        Bmp(data, size, header);
    } else if (startsWith("II*\0", 4) || startsWith("MM\0*", 4) || startsWith("II+\0", 4) ||
               startsWith("MM\0+", 4)) {
        header.kind = PictureKind::Tiff;
        Tiff(bytes, header);
    } else if (size >= 3 && data[0] == 0x0A && data[1] <= 5 && data[2] == 1) {
        header.kind = PictureKind::Pcx;
        Pcx(data, size, header);
    } else if (size >= 2 && data[0] == 'P' && data[1] >= '1' && data[1] <= '6') {
        header.kind = PictureKind::Pnm;
        Pnm(data, size, header);
    } else if (size >= 12 && startsWith("FORM", 4) && std::memcmp(data + 8, "ILBM", 4) == 0) {
        header.kind = PictureKind::Iff;
        Iff(data, size, header);
    } else if (startsWith("/* XPM */", 9)) {
        header.kind = PictureKind::Xpm;
        Xpm(data, size, header);
    } else if (IsTga(data, size)) {
        // Tried before the icons, as the toolkit does: a common TGA header starts as a cursor.
        header.kind = PictureKind::Tga;
        header.width = Little16(data + 12);
        header.height = Little16(data + 14);
    } else if (startsWith("\0\0\1\0", 4) || startsWith("\0\0\2\0", 4)) {
        header.kind = data[2] == 1 ? PictureKind::Ico : PictureKind::Cur;
        Icons(bytes, 0, header);
    } else if (size >= 12 && startsWith("RIFF", 4) && std::memcmp(data + 8, "ACON", 4) == 0) {
        header.kind = PictureKind::Ani;
        Ani(bytes, header);
    }
    return header;
}
} // namespace

PictureHeader ParsePictureHeader(const unsigned char* data, size_t size, FILE* file) {
    return Parse(Bytes(data, size, file));
}

PictureHeader ReadPictureHeader(const wxString& path) {
    FILE* file = std::fopen(path.fn_str(), "rb");
    if (file == nullptr) {
        return PictureHeader();
    }
    std::vector<unsigned char> start(kPictureHeaderBytes);
    const size_t got = std::fread(start.data(), 1, start.size(), file);
    const PictureHeader header = Parse(Bytes(start.data(), got, file));
    std::fclose(file);
    return header;
}
