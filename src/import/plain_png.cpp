#include "import/plain_png.h"

#include <libdeflate.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// The toolkit's PNG library refuses wider or taller pictures.
const unsigned kLargestSide = 1000000;
const size_t kPixelBytes = 3;

unsigned BigEndian(const unsigned char* bytes) {
    return (static_cast<unsigned>(bytes[0]) << 24) | (static_cast<unsigned>(bytes[1]) << 16) |
           (static_cast<unsigned>(bytes[2]) << 8) | bytes[3];
}

bool IsType(const unsigned char* type, const char* name) {
    return std::memcmp(type, name, 4) == 0;
}

// Chunks that change nothing of the pixels the toolkit gives for such a picture. Any other one,
// transparency or a palette above all, leaves the file to the toolkit.
bool ChangesNoPixel(const unsigned char* type) {
    static const char* const kKinds[] = {"sBIT", "pHYs", "tIME", "tEXt", "zTXt",
                                         "iTXt", "gAMA", "cHRM", "sRGB", "iCCP"};
    for (const char* kind : kKinds) {
        if (IsType(type, kind)) {
            return true;
        }
    }
    return false;
}

struct Decompressor {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

// Reverses the rows' filters into `out`: `rows` holds each row's filter byte and its bytes.
bool Unfilter(const unsigned char* rows, size_t stride, int height, unsigned char* out) {
    const unsigned char* above = nullptr;
    for (int y = 0; y < height; ++y, rows += stride + 1, out += stride) {
        const unsigned char* in = rows + 1;
        if (rows[0] > 4) {
            return false;
        }
        // On the first row, the filters that look up take a row of zeros.
        switch (above == nullptr && rows[0] >= 2 ? rows[0] + 3 : rows[0]) {
        case 0:     // None
        case 2 + 3: // Up, on the first row
            std::memcpy(out, in, stride);
            break;
        case 1:     // Sub
        case 4 + 3: // Paeth, on the first row, where it takes the pixel on the left
            std::memcpy(out, in, kPixelBytes);
            for (size_t i = kPixelBytes; i < stride; ++i) {
                out[i] = static_cast<unsigned char>(in[i] + out[i - kPixelBytes]);
            }
            break;
        case 2: // Up
            for (size_t i = 0; i < stride; ++i) {
                out[i] = static_cast<unsigned char>(in[i] + above[i]);
            }
            break;
        case 3: // Average
            for (size_t i = 0; i < kPixelBytes; ++i) {
                out[i] = static_cast<unsigned char>(in[i] + (above[i] >> 1));
            }
            for (size_t i = kPixelBytes; i < stride; ++i) {
                out[i] =
                    static_cast<unsigned char>(in[i] + ((out[i - kPixelBytes] + above[i]) >> 1));
            }
            break;
        case 3 + 3: // Average, on the first row
            std::memcpy(out, in, kPixelBytes);
            for (size_t i = kPixelBytes; i < stride; ++i) {
                out[i] = static_cast<unsigned char>(in[i] + (out[i - kPixelBytes] >> 1));
            }
            break;
        case 4: // Paeth, each channel's pixel on the left and above it held, not read back
            for (size_t c = 0; c < kPixelBytes; ++c) {
                int left = out[c] = static_cast<unsigned char>(in[c] + above[c]);
                int corner = above[c];
                for (size_t i = c + kPixelBytes; i < stride; i += kPixelBytes) {
                    const int up = above[i];
                    const int toLeft = std::abs(up - corner), toUp = std::abs(left - corner),
                              toCorner = std::abs(left + up - 2 * corner);
                    const int predicted = toLeft <= toUp && toLeft <= toCorner ? left
                                          : toUp <= toCorner                   ? up
                                                                               : corner;
                    left = out[i] = static_cast<unsigned char>(in[i] + predicted);
                    corner = up;
                }
            }
            break;
        default:
            return false;
        }
        above = out;
    }
    return true;
}

} // namespace

bool DecodePlainPng(const unsigned char* data, size_t size, wxImage* picture) {
    if (size < sizeof kSignature || std::memcmp(data, kSignature, sizeof kSignature) != 0) {
        return false;
    }
    unsigned width = 0, height = 0;
    std::vector<unsigned char> compressed;
    bool ended = false, dataSeen = false, dataEnded = false;
    for (size_t at = sizeof kSignature; !ended;) {
        if (size - at < 12) {
            return false;
        }
        const size_t length = BigEndian(data + at);
        const unsigned char* type = data + at + 4;
        if (length > 0x7FFFFFFF || size - at - 12 < length ||
            libdeflate_crc32(0, type, length + 4) != BigEndian(type + 4 + length)) {
            return false;
        }
        const unsigned char* body = type + 4;
        const bool first = at == sizeof kSignature;
        if (first != IsType(type, "IHDR")) {
            return false;
        }
        if (first) {
            // 8 bits a channel, RGB, the one compression and filtering, not interlaced.
            if (length != 13) {
                return false;
            }
            width = BigEndian(body);
            height = BigEndian(body + 4);
            if (width == 0 || height == 0 || width > kLargestSide || height > kLargestSide ||
                body[8] != 8 || body[9] != 2 || body[10] != 0 || body[11] != 0 || body[12] != 0) {
                return false;
            }
        } else if (IsType(type, "IDAT")) {
            if (dataEnded) {
                return false;
            }
            dataSeen = true;
            compressed.insert(compressed.end(), body, body + length);
        } else if (IsType(type, "IEND") && length == 0) {
            ended = true;
        } else if (ChangesNoPixel(type)) {
            dataEnded = dataSeen;
        } else {
            return false;
        }
        at += 12 + length;
    }
    const size_t stride = kPixelBytes * width;
    std::vector<unsigned char> rows((stride + 1) * height);
    // The toolkit's library refuses distances beyond the window the stream names; no distance
    // reaches beyond the largest window, or one that holds all the rows.
    const int window = compressed.size() < 2 ? 8 : compressed[0] >> 4;
    if (window > 7 || (window < 7 && rows.size() > (size_t{1} << (window + 8)))) {
        return false;
    }
    const std::unique_ptr<libdeflate_decompressor, Decompressor> decompressor(
        libdeflate_alloc_decompressor());
    size_t used = 0;
    if (!decompressor ||
        libdeflate_zlib_decompress_ex(decompressor.get(), compressed.data(), compressed.size(),
                                      rows.data(), rows.size(), &used,
                                      nullptr) != LIBDEFLATE_SUCCESS ||
        used != compressed.size()) {
        return false;
    }
    if (!picture->Create(static_cast<int>(width), static_cast<int>(height), false)) {
        return false;
    }
    return Unfilter(rows.data(), stride, static_cast<int>(height), picture->GetData());
}
