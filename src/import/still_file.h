// A still picture's file read in one pass: its start, which holds its header and, when the file
// is small, all of it, and its last bytes, which tell whether it was written whole. The survey
// and the decoder each open a file once this way, not once for every question they ask of it.
#pragma once

#include "import/picture_header.h"

#include <wx/string.h>

#include <vector>

struct StillFile {
    // False when the file could not be opened; it then reads as no picture.
    bool opened = false;
    // The file's first kPictureHeaderBytes, or all of it.
    std::vector<unsigned char> start;
    // True when `start` holds the whole file.
    bool whole = false;
    PictureHeader header;
    // Whether the file ends as a complete one of its kind: a PNG with its IEND chunk, a JPEG
    // with its end marker, a BMP as long as its header says; kinds without an end of their
    // own always do. Decoders fill a cut-short picture with grey and call it a success.
    bool endsWhole = false;

    // True when the file starts as a GIF file does, whatever its name.
    bool IsGif() const;
};

StillFile ReadStillFile(const wxString& path);

// True when `data`, a file's first `size` bytes, start as a GIF file does.
bool StartsAsGif(const unsigned char* data, size_t size);
