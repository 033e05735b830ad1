// The size a still picture declares, read from its first bytes, so that a picture too large to
// hold is refused before a single pixel is decoded: a few kilobytes can declare 20000 x 20000
// pixels. Covers every format the toolkit's handlers read besides GIF.
#pragma once

#include <wx/string.h>

#include <cstdio>

// Pictures beyond this many pixels (8192 x 8192, 256 MiB as a bitmap) are refused, as GIF
// screens are: such a size comes from a damaged or hostile file.
constexpr unsigned long long kLargestPicturePixels = 1ULL << 26;

enum class PictureKind { Unknown, Png, Jpeg, Bmp, Tiff, Tga, Pcx, Pnm, Iff, Xpm, Ico, Cur, Ani };

struct PictureHeader {
    PictureKind kind = PictureKind::Unknown;
    // What the file declares; 0 x 0 when the kind is known but its header is cut short or
    // nonsense, which decoding would fail on anyway.
    unsigned long long width = 0;
    unsigned long long height = 0;
    // The header holds a value the toolkit's decoder cannot take: a PNM's largest sample value
    // of 0, which it divides by.
    bool unusable = false;

    bool Declared() const { return width > 0 && height > 0; }
    bool TooLarge() const { return width * height > kLargestPicturePixels; }
};

// The kind and declared size of the picture in `data`, the first bytes of a file (a JPEG's size
// may lie beyond the first kilobytes, after its metadata; then it reads as undeclared). A TIFF
// or icon file declares the largest of its pictures; a TGA file, which has no signature, is
// taken as one when its header holds what the toolkit's TGA reader accepts.
// Where `file` is given, `data` is its start, and what the header points to beyond (a TIFF's
// directories, an icon's entries) is read from it.
PictureHeader ParsePictureHeader(const unsigned char* data, size_t size, FILE* file = nullptr);

// The bytes of a file's start read for its header: a JPEG's frame header follows its metadata,
// which is seldom longer than this.
constexpr size_t kPictureHeaderBytes = 256 * 1024;

// The same for the file at `path`, reading at most its first kPictureHeaderBytes.
PictureHeader ReadPictureHeader(const wxString& path);
