// The best colours for one frame: libimagequant's palette, each pixel mapped to its nearest
// entry with some error diffusion where the picture is smooth; along runs of alike frames, one
// palette for the run.
#pragma once

#include "export/export_options.h"
#include "gif/paletted_frame.h"

#include <wx/image.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

// Colours a frame may use in the best mode: one table entry is kept free, so that an optimised
// file can always mark the pixels that stay as they were.
const int kBestModeColours = 255;

// How smooth the picture is, from 0 (grainy: its own grain dithers it) to 1 (smooth areas that
// band without dithering), judged from the second differences of neighbouring pixels.
double Smoothness(const wxImage& picture);

// `opaque` (no alpha, no mask) reduced by libimagequant to at most kBestModeColours colours (and
// at most the options' colours), dithered, with that palette attached; below quality 100 (of 1 to
// 100), or with a lossy level asked for, with fewer colours where they reach the palette's quality
// (PaletteQuality), and less dithering (DitheringShare); each pixel takes the first
// entry of its colour. The pixels marked in `clear` (when not empty) take a transparent entry,
// one of those colours. Invalid when the library fails. The same picture always gives the same
// result, on any thread.
PalettedFrame QuantiseBest(const wxImage& opaque, const ExportOptions& options,
                           const std::vector<unsigned char>& clear = {});

// The best colours for the frames of one export, taken in order: a frame that the palette of
// the run's first frame serves nearly as well as it served that frame takes that palette
// instead of one of its own, so that the library runs once a run. Which frames share is decided
// by their pixels alone, one frame after the other, so the frames come out the same on any
// number of threads.
class PaletteRuns {
public:
    explicit PaletteRuns(const ExportOptions& options);
    ~PaletteRuns();
    PaletteRuns(const PaletteRuns&) = delete;
    PaletteRuns& operator=(const PaletteRuns&) = delete;

    // QuantiseBest of frame `index` (opaque, nothing clear), within its run. Waits until every
    // frame before it is settled.
    PalettedFrame Quantise(int index, const wxImage& opaque);
    // Frame `index` needs no palette of a run (its colours are kept exactly, or some of its
    // pixels stay clear), or failed: the frames after it need not wait for it. Each frame is
    // settled by Quantise or here; settling a frame again does nothing.
    void Settle(int index);

private:
    struct Run;
    std::shared_ptr<Run> RunBefore(int index);

    const ExportOptions m_options;
    std::mutex m_mutex;
    std::condition_variable m_settled;
    // Frames below this are settled; frames settled out of turn wait in m_early.
    int m_next = 0;
    std::vector<int> m_early;
    std::shared_ptr<Run> m_run;
};
