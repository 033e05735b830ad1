// Frame references: a frame taken from a GIF file is named by the GIF file's path, "_" and the
// 0-based frame number in decimal, as in "walk.gif_3". Entry paths and project files use them.
#pragma once

#include <wx/string.h>

#include <string_view>

// True when the path names a GIF file: it ends with ".gif" in any case of its letters.
bool IsGifSource(const wxString& path);

// True when the path ends with the lower-case ".gif", the GIF files that earlier builds listed
// beside their frames (and read "y.GIF" as an ordinary picture).
bool IsLowerCaseGifSource(std::string_view path);

// The frame number of a frame reference, or -1 when the path is none. A frame reference ends
// with "_" and one or more decimal digits after a picture's name (".gif", and for GIF files
// named otherwise ".png", ".jpg", ".jpeg" or ".bmp", in any case), with something before the
// extension; all the digits count (numbers beyond the int range saturate).
int ParseFrameIndex(const wxString& path);

// The GIF file's path of a frame reference ("_" and the digits removed); any other path is
// returned unchanged, so folder names such as "old.gif_files" are left alone.
wxString StripFrameSuffix(const wxString& path);

// The frame reference of frame `frameIndex` of the GIF file `source`.
wxString FrameReference(const wxString& source, int frameIndex);
// The name of a picture taken from `path`: the frame reference of a GIF file's frame `index`,
// any other path unchanged.
wxString FrameSourceName(const wxString& path, int index);

// The same two rules on a path's UTF-8 bytes, for readers that look at many paths before
// converting any: the markers are ASCII, which no multi-byte character holds.
bool IsGifSourceUtf8(std::string_view path);
std::string_view StripFrameSuffixUtf8(std::string_view path);
