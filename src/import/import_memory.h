// The memory the frames of an import may take in the window, tied to the machine's memory, and
// what the frames of a GIF file will take there, known before any of them is decoded: a file
// of a few kilobytes can hold hundreds of frames on a huge screen.
#pragma once

#include <wx/string.h>

// Bytes the frames of one import may take: half of the machine's memory.
unsigned long long ImportMemoryLimit();

// Bytes the frames of the source at `path` (a GIF file or a frame reference) will take in the
// window, each as a full-size bitmap; 0 for any other source, which is one picture.
unsigned long long GifFramesMemory(const wxString& path);
