// Writes frames as one animated GIF file: each frame fitted into the canvas, reduced to a
// palette and encoded, on two threads; the file replaces the target only when complete.
#pragma once

#include "export/export_options.h"

#include <wx/image.h>
#include <wx/string.h>

#include <functional>
#include <vector>

struct GifExportJob {
    int frameCount = 0;
    // Yields frame i's full-size pixels. Called on the export's threads, one call at a time and
    // in increasing order of i; the image is copied and that copy released under the same lock,
    // so it may share data with images the caller holds, as long as the caller leaves them
    // alone until the export returns.
    std::function<wxImage(int)> frameSource;
    // When given, used instead of frameSource by an export that takes every frame in order, and
    // left out where transparency is kept: frame i's pixels, or from the second frame on only
    // the part that can differ from frame i - 1, `*part` then saying where it lies on the canvas
    // (left empty for a whole frame); only frames of the canvas size come as parts. Jobs made
    // from this one for a sample of its frames must leave it empty.
    std::function<wxImage(int, wxRect* part)> partSource;
    int canvasWidth = 0;
    int canvasHeight = 0;
    // Delay of every frame, in hundredths of a second.
    int delay = 10;
    // Delay of each frame instead, when not empty: one for each of the frameCount frames.
    std::vector<int> delays;
    // The GIF file to write.
    wxString path;
    // When given, the file's bytes are appended here and no file is written (`path` then only
    // names the file in messages).
    std::vector<unsigned char>* bytesOut = nullptr;
    // When not empty, one flag for each frame: the frames flagged are prepared and optimised as
    // always, so that the frames after them come out the same, but their codes are left out of
    // the bytes (for a sample whose size is judged on the frames after them only).
    std::vector<bool> uncoded;
    // Palette mode, optimised frames and passes; the defaults write the file as always.
    ExportOptions options;
    // Told the share of frames written, (i + 1) * 100 / frameCount, after each frame; on the
    // calling thread. May be empty.
    std::function<void(int percent)> progress;
    // Asked before each frame, on the calling thread; true stops the export. May be empty.
    std::function<bool()> stopRequested;
    // 1 does all work on the calling thread; 2 also prepares frames on a helper thread. The
    // file's bytes are the same either way.
    int threads = 2;
    // Writes the trace lines of the way each frame was fitted to standard output.
    bool traceLines = false;
};

struct GifExportResult {
    bool ok = false;
    // Stopped on request; the target was left as it was.
    bool stopped = false;
    // What failed and why, naming the file; empty on success.
    wxString message;
    // The size of the file written.
    unsigned long long bytes = 0;
    // The options the file was written with: those asked for, or those a size limit chose.
    ExportOptions chosen;
};

// Runs the export; with a size limit in the options, through FitUnderSize (size_fitting.h).
// On any failure or stop the target is left untouched and no unfinished file remains.
GifExportResult ExportGif(const GifExportJob& job);
// The same with the options exactly as they are, any size limit left aside.
GifExportResult EncodeGif(const GifExportJob& job);
