// XPM pictures, read here instead of by the toolkit's file reader. An XPM file is C source: an
// array of quoted strings among comments. The toolkit's reader copies the strings within one
// buffer across overlapping ranges (undefined behaviour on ordinary wide pictures), and its
// decoder trusts the strings to be as many and as long as the first one says. So the strings
// are taken out and checked here, and only then handed to the toolkit's decoder.
#pragma once

#include <wx/image.h>
#include <wx/string.h>

#include <string>
#include <vector>

// The quoted strings of XPM source text, in order, outside its comments.
struct XpmStrings {
    // Each string as the file has it, without its quotes, followed by a 0 byte.
    std::string bytes;
    // Where each string starts in `bytes`.
    std::vector<size_t> starts;
    // False when the text ended inside a string or a comment.
    bool closed = true;
};

// At most `most` strings of the text.
XpmStrings ReadXpmStrings(const char* text, size_t size, size_t most);

// The first string's values: "width height colours characters-per-pixel".
struct XpmValues {
    unsigned long long width = 0;
    unsigned long long height = 0;
    unsigned long long colours = 0;
    unsigned long long charsPerPixel = 0;
};

// The values of `first`, each at most 2^32 - 1; false when it does not start with four
// numbers.
bool ParseXpmValues(const char* first, XpmValues* values);

// The XPM picture in the file at `path`, which must be `width` x `height` as its header said
// (and as the caller checked against the pixel cap); false when the file is damaged. Throws
// std::bad_alloc when the memory budget has no room for its text.
bool ReadXpmPicture(const wxString& path, unsigned long long width, unsigned long long height,
                    wxImage* picture);
