// The memory the frames of an import may take in the window, tied to the machine's memory, and
// what the frames of a GIF file will take there, known before any of them is decoded: a file
// of a few kilobytes can hold hundreds of frames on a huge screen.
#pragma once

#include <wx/image.h>
#include <wx/string.h>

#include <vector>

// Bytes one picture of this size takes in the window, as a full-size bitmap.
unsigned long long PictureMemory(const wxSize& size);

// Bytes the frames of the source at `path` (a GIF file, a frame reference, a video or a part of
// one, or a still picture) will take in the window, each as a full-size bitmap, from the file's
// header alone; 0 when the header does not say (the picture is then charged once decoded).
unsigned long long FramesMemory(const wxString& path);

// The same for a run of frame references of one GIF file (FrameRunLength), reading the file once.
unsigned long long FrameRunMemory(const std::vector<wxString>& run);
