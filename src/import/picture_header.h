// The size a PNG, JPEG or BMP file declares, read from its first bytes, so that a picture too
// large to hold is refused before a single pixel is decoded: a few kilobytes can declare
// 20000 x 20000 pixels.
#pragma once

#include <wx/string.h>

// Pictures beyond this many pixels (8192 x 8192, 256 MiB as a bitmap) are refused, as GIF
// screens are: such a size comes from a damaged or hostile file.
constexpr unsigned long long kLargestPicturePixels = 1ULL << 26;

enum class PictureKind { Unknown, Png, Jpeg, Bmp };

struct PictureHeader {
    PictureKind kind = PictureKind::Unknown;
    // What the file declares; 0 x 0 when the kind is known but its header is cut short or
    // nonsense, which decoding would fail on anyway.
    unsigned long long width = 0;
    unsigned long long height = 0;

    bool Declared() const { return width > 0 && height > 0; }
    bool TooLarge() const { return width * height > kLargestPicturePixels; }
};

// The kind and declared size of the picture in `data`, the first bytes of a file (a JPEG's size
// may lie beyond the first kilobytes, after its metadata; then it reads as undeclared).
PictureHeader ParsePictureHeader(const unsigned char* data, size_t size);

// The same for the file at `path`, reading at most its first 256 KB.
PictureHeader ReadPictureHeader(const wxString& path);
