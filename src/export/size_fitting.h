// Writing the best file that fits under a size: the export chooses the quality number, the
// lossy level and, only where still needed, the colour count, predicting the file's size from a
// sample of frames so that the whole animation is encoded only a few times.
#pragma once

#include "export/gif_export.h"

#include <wx/string.h>

// No file is smaller than its header, smallest colour table, looping block and trailer.
const long long kSmallestGifBytes = 39;

// Writes the frames of `job` as the best file of at most job.options.maxBytes bytes, in the
// best mode; result.chosen holds the quality number, lossy level and colour count chosen. When
// even the smallest setting does not fit, nothing is written, result.bytes is the size that
// setting gives and the message says so. Asks the job's frame source more than once, each time
// from a lower index on in increasing order.
GifExportResult FitUnderSize(const GifExportJob& job);

// The frames a size is predicted from, in increasing order: all of a short animation, otherwise
// runs of two consecutive frames spread from the start to the end (consecutive, so that
// optimised frames are judged too).
std::vector<int> SampleFrames(int frameCount);
// The bytes the whole animation of `job` would take, from the frames `sample` (SampleFrames)
// names: `job.frameSource` yields the i-th of them and `job.delays`, when given, are the whole
// animation's. Encoded as the export encodes, told nothing of progress; 0 when the frames
// could not be encoded or `job.stopRequested` said so.
double SampledBytes(GifExportJob job, const std::vector<int>& sample);

// Reads a size such as "800K", "2M", "10MB", "1.5 MB" or "500000" (bytes); K, M and G count in
// thousands (so that a limit given in either thousands or 1024s is kept). False for anything
// else or for sizes below kSmallestGifBytes.
bool ParseByteSize(const wxString& text, long long* bytes);
// What a size limit chose for the file `result` wrote under `maxBytes`, as the exporter and the
// window both say it.
wxString DescribeFit(const GifExportResult& result, long long maxBytes);

// A size for people to read: "950 KB", "1.93 MB".
wxString FormatByteSize(unsigned long long bytes);
