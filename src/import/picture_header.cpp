#include "import/picture_header.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {
// A JPEG's frame header follows its metadata, which is seldom longer than this.
const size_t kHeaderBytes = 256 * 1024;

unsigned long Big16(const unsigned char* p) {
    return static_cast<unsigned long>(p[0]) << 8 | p[1];
}

unsigned long Big32(const unsigned char* p) {
    return Big16(p) << 16 | Big16(p + 2);
}

unsigned long Little16(const unsigned char* p) {
    return static_cast<unsigned long>(p[1]) << 8 | p[0];
}

long long Little32(const unsigned char* p) {
    const unsigned long bits = Little16(p + 2) << 16 | Little16(p);
    return static_cast<long long>(static_cast<int>(static_cast<unsigned int>(bits)));
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

void Bmp(const unsigned char* data, size_t size, PictureHeader& header) {
    if (size < 26) {
        return;
    }
    const long long infoSize = Little32(data + 14);
    if (infoSize == 12) {
        header.width = Little16(data + 18);
        header.height = Little16(data + 20);
    } else if (infoSize >= 40) {
        // A negative height is a picture stored from the top down.
        const long long width = Little32(data + 18);
        const long long height = Little32(data + 22);
        header.width = width > 0 ? static_cast<unsigned long long>(width) : 0;
        header.height = static_cast<unsigned long long>(height < 0 ? -height : height);
    }
}
} // namespace

PictureHeader ParsePictureHeader(const unsigned char* data, size_t size) {
    static const unsigned char kPng[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PictureHeader header;
    if (size >= sizeof kPng && std::memcmp(data, kPng, sizeof kPng) == 0) {
        header.kind = PictureKind::Png;
        Png(data, size, header);
    } else if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) {
        header.kind = PictureKind::Jpeg;
        Jpeg(data, size, header);
    } else if (size >= 2 && data[0] == 'B' && data[1] == 'M') {
        header.kind = PictureKind::Bmp;
        Bmp(data, size, header);
    }
    return header;
}

PictureHeader ReadPictureHeader(const wxString& path) {
    FILE* file = std::fopen(path.fn_str(), "rb");
    if (file == nullptr) {
        return PictureHeader();
    }
    std::vector<unsigned char> start(kHeaderBytes);
    const size_t got = std::fread(start.data(), 1, start.size(), file);
    std::fclose(file);
    return ParsePictureHeader(start.data(), got);
}
