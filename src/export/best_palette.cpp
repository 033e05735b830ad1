#include "export/best_palette.h"

#include "export/export_options.h"
#include "export/palette_conversion.h"
#include "export/palette_mapping.h"

#include <libimagequant.h>
#include <omp.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// Speed 1 (slowest) to 10: 7 still refines the palette with k-means, well beyond the toolkit's
// quantiser, at a fraction of the default's time.
const int kSpeed = 7;
// The palette is found from a grid of about this many pixels (every n-th pixel of every n-th
// row): as close as all of them for photographs, at a ninth of the cost for 640 x 480.
const int kSampledPixels = 32768;
// Smooth areas band without dithering; in grainy pictures the grain dithers already, and more
// dithering only moves every pixel further from its colour. The level follows the grain: the
// mean second difference of neighbouring pixels, full below the first value, none above the
// second.
const double kSmooth = 2.0;
const double kGrainy = 8.0;
// Half of each pixel's error carried on is enough to keep smooth areas from banding; all of it
// makes them grainy, and the files larger.
const double kFullDithering = 0.5;
// A frame takes the palette of its run while its pixels lie, on the mean, at most this share
// farther (in squared distance) from their nearest entries than the run's first frame's pixels
// did from theirs, plus the slack, so that frames fitted almost exactly share too. Beyond it the
// library's own palette for the frame is worth its time. In smooth pictures the dithering makes
// up for much of a looser fit: a slow drift across a gradient then shares one palette over three
// to four frames for 0.07 dB less, where grainy frames would lose 0.17 dB at that share.
const double kSharedError = 1.05;
const double kSmoothSharedError = 1.25;
const double kSharedSlack = 1.0;
// The error is judged on every second pixel of every second row of the palette's grid: as
// telling, at a quarter of the lookups.
const int kErrorStep = 2;

struct AttrDeleter {
    void operator()(liq_attr* attr) const { liq_attr_destroy(attr); }
};
struct ImageDeleter {
    void operator()(liq_image* image) const { liq_image_destroy(image); }
};
struct HistogramDeleter {
    void operator()(liq_histogram* histogram) const { liq_histogram_destroy(histogram); }
};
struct ResultDeleter {
    void operator()(liq_result* result) const { liq_result_destroy(result); }
};

struct Grid {
    const wxImage* image;
    int step;
    // Nonzero for each pixel left clear; empty when none is.
    const std::vector<unsigned char>* clear;
};

// Hands the library one row of the grid at a time, as RGBA.
void RgbaRow(liq_color rowOut[], int row, int width, void* user) {
    const Grid& grid = *static_cast<const Grid*>(user);
    const size_t start = static_cast<size_t>(row) * grid.step * grid.image->GetWidth();
    const unsigned char* rgb = grid.image->GetData() + 3 * start;
    const unsigned char* clear = grid.clear->empty() ? nullptr : grid.clear->data() + start;
    for (int x = 0; x < width; ++x, rgb += 3 * grid.step) {
        const bool seeThrough = clear && clear[static_cast<size_t>(x) * grid.step];
        rowOut[x] =
            liq_color{rgb[0], rgb[1], rgb[2], static_cast<unsigned char>(seeThrough ? 0 : 255)};
    }
}

// How grainy the picture is: the mean absolute second difference along the grid's rows.
double Grain(const wxImage& image, int step) {
    const int width = image.GetWidth();
    double sum = 0;
    size_t count = 0;
    for (int y = 0; y < image.GetHeight(); y += step) {
        const unsigned char* row = image.GetData() + static_cast<size_t>(y) * width * 3;
        for (int b = 3; b < 3 * (width - 1); ++b) {
            sum += std::abs(row[b - 3] - 2 * row[b] + row[b + 3]);
            ++count;
        }
    }
    return count ? sum / count : 0;
}

double Smoothness(const wxImage& image, int step) {
    return std::min(1.0, std::max(0.0, (kGrainy - Grain(image, step)) / (kGrainy - kSmooth)));
}

// libimagequant's palette for a picture, as the table takes it.
struct Palette {
    std::vector<GifColour> colours;
    int transparent = -1;
    // The opaque entries, and where each is in the table.
    std::vector<GifColour> opaque;
    std::vector<unsigned char> entryOf;
};

// The grid the palette is found from: every n-th pixel of every n-th row.
int SampleStep(const wxImage& image) {
    int step = 1;
    while (static_cast<double>(image.GetWidth() / (step + 1)) * (image.GetHeight() / (step + 1)) >=
           kSampledPixels) {
        ++step;
    }
    return step;
}

bool FindPalette(const wxImage& opaque, const ExportOptions& options, double smoothness,
                 const std::vector<unsigned char>& clear, int step, Palette* palette) {
    // The two export threads share the machine's cores; the library's own threads would only
    // compete with them, and one thread keeps its results the same from run to run.
    omp_set_num_threads(1);
    const std::unique_ptr<liq_attr, AttrDeleter> attr(liq_attr_create());
    // Below the highest quality the library may use fewer colours where they reach it.
    if (!attr ||
        liq_set_max_colors(attr.get(), std::max(2, std::min(options.colours, kBestModeColours))) !=
            LIQ_OK ||
        liq_set_speed(attr.get(), kSpeed) != LIQ_OK ||
        liq_set_quality(attr.get(), 0, PaletteQuality(options, smoothness)) != LIQ_OK) {
        return false;
    }
    Grid sample{&opaque, step, &clear};
    const std::unique_ptr<liq_image, ImageDeleter> sampled(
        liq_image_create_custom(attr.get(), RgbaRow, &sample, (opaque.GetWidth() - 1) / step + 1,
                                (opaque.GetHeight() - 1) / step + 1, 0));
    const std::unique_ptr<liq_histogram, HistogramDeleter> histogram(
        liq_histogram_create(attr.get()));
    liq_result* quantised = nullptr;
    if (!sampled || !histogram ||
        liq_histogram_add_image(histogram.get(), attr.get(), sampled.get()) != LIQ_OK ||
        liq_histogram_quantize(histogram.get(), attr.get(), &quantised) != LIQ_OK) {
        return false;
    }
    const std::unique_ptr<liq_result, ResultDeleter> result(quantised);
    const liq_palette* found = liq_get_palette(result.get());
    for (unsigned i = 0; i < found->count; ++i) {
        const liq_color& entry = found->entries[i];
        palette->colours.push_back(GifColour{entry.r, entry.g, entry.b});
        if (entry.a == 0 && palette->transparent < 0) {
            palette->transparent = static_cast<int>(i);
        } else {
            palette->opaque.push_back(palette->colours.back());
            palette->entryOf.push_back(static_cast<unsigned char>(i));
        }
    }
    return !(!clear.empty() && palette->transparent < 0) && !palette->opaque.empty();
}

// The picture mapped to the palette: each opaque pixel to the opaque entry nearest in red,
// green and blue, which is what the picture is judged by, with diffusion where it is smooth;
// clear pixels to the clear entry.
PalettedFrame MapFrame(const wxImage& opaque, const Palette& palette, NearestColour& nearest,
                       const ExportOptions& options, double smoothness,
                       const std::vector<unsigned char>& clear) {
    const float dithering =
        static_cast<float>(smoothness * kFullDithering * DitheringShare(options));
    PalettedFrame frame;
    frame.width = opaque.GetWidth();
    frame.height = opaque.GetHeight();
    frame.colours = palette.colours;
    frame.transparent = palette.transparent;
    frame.indices.resize(frame.Pixels());
    MapToPalette(opaque.GetData(), frame.width, frame.height, dithering, nearest,
                 frame.indices.data());
    for (size_t p = 0; p < frame.indices.size(); ++p) {
        frame.indices[p] = !clear.empty() && clear[p]
                               ? static_cast<unsigned char>(frame.transparent)
                               : palette.entryOf[frame.indices[p]];
    }
    // The entries then move to the mean of their pixels, where every pixel is shown.
    if (clear.empty()) {
        MoveToMeans(opaque.GetData(), frame.indices.data(), frame.Pixels(), &frame.colours);
    }
    const std::vector<GifColour> shown = frame.colours;
    IndexByFirstEntry(frame, shown);
    return frame;
}

// The mean squared distance of the grid's pixels from their nearest entries.
double GridError(const wxImage& opaque, int step, NearestColour& nearest) {
    const std::vector<GifColour>& entries = nearest.Palette();
    double sum = 0;
    size_t count = 0;
    for (int y = 0; y < opaque.GetHeight(); y += step) {
        const unsigned char* rgb =
            opaque.GetData() + static_cast<size_t>(y) * opaque.GetWidth() * 3;
        for (int x = 0; x < opaque.GetWidth(); x += step, rgb += 3 * step) {
            const GifColour& entry = entries[nearest.Find(rgb[0], rgb[1], rgb[2])];
            const int dr = rgb[0] - entry.red, dg = rgb[1] - entry.green, db = rgb[2] - entry.blue;
            sum += dr * dr + dg * dg + db * db;
            ++count;
        }
    }
    return count ? sum / count : 0;
}

} // namespace

double Smoothness(const wxImage& picture) {
    return picture.IsOk() ? Smoothness(picture, SampleStep(picture)) : 0;
}

PalettedFrame QuantiseBest(const wxImage& opaque, const ExportOptions& options,
                           const std::vector<unsigned char>& clear) {
    if (!opaque.IsOk()) {
        return PalettedFrame();
    }
    const int step = SampleStep(opaque);
    const double smoothness = Smoothness(opaque, step);
    Palette palette;
    if (!FindPalette(opaque, options, smoothness, clear, step, &palette)) {
        return PalettedFrame();
    }
    NearestColour nearest(palette.opaque);
    return MapFrame(opaque, palette, nearest, options, smoothness, clear);
}

// A run's palette, how far the run's first frame lay from it, and the nearest-entry finders of
// the threads that map frames to it (each keeps what it found out, from frame to frame).
struct PaletteRuns::Run {
    Palette palette;
    double error = 0;
    std::mutex mutex;
    std::vector<std::unique_ptr<NearestColour>> idle;

    std::unique_ptr<NearestColour> Take() {
        std::lock_guard<std::mutex> lock(mutex);
        if (idle.empty()) {
            return std::make_unique<NearestColour>(palette.opaque);
        }
        std::unique_ptr<NearestColour> nearest = std::move(idle.back());
        idle.pop_back();
        return nearest;
    }
    void Give(std::unique_ptr<NearestColour> nearest) {
        std::lock_guard<std::mutex> lock(mutex);
        idle.push_back(std::move(nearest));
    }
};

PaletteRuns::PaletteRuns(const ExportOptions& options) : m_options(options) {}

PaletteRuns::~PaletteRuns() = default;

std::shared_ptr<PaletteRuns::Run> PaletteRuns::RunBefore(int index) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_settled.wait(lock, [this, index] { return m_next >= index; });
    return m_run;
}

PalettedFrame PaletteRuns::Quantise(int index, const wxImage& opaque) {
    if (!opaque.IsOk()) {
        Settle(index);
        return PalettedFrame();
    }
    const int step = SampleStep(opaque);
    const double smoothness = Smoothness(opaque, step);
    std::shared_ptr<Run> run = RunBefore(index);
    std::unique_ptr<NearestColour> nearest;
    bool shared = false;
    if (run) {
        nearest = run->Take();
        shared = GridError(opaque, step * kErrorStep, *nearest) <=
                 run->error * (kSharedError + (kSmoothSharedError - kSharedError) * smoothness) +
                     kSharedSlack;
        if (!shared) {
            run->Give(std::move(nearest));
        }
    }
    if (!shared) {
        const std::shared_ptr<Run> fresh = std::make_shared<Run>();
        if (!FindPalette(opaque, m_options, smoothness, {}, step, &fresh->palette)) {
            Settle(index);
            return PalettedFrame();
        }
        nearest = fresh->Take();
        fresh->error = GridError(opaque, step * kErrorStep, *nearest);
        run = fresh;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!shared) {
            m_run = run;
        }
    }
    Settle(index);
    PalettedFrame frame = MapFrame(opaque, run->palette, *nearest, m_options, smoothness, {});
    run->Give(std::move(nearest));
    return frame;
}

void PaletteRuns::Settle(int index) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (index < m_next || std::find(m_early.begin(), m_early.end(), index) != m_early.end()) {
            return;
        }
        if (index > m_next) {
            m_early.push_back(index);
            return;
        }
        ++m_next;
        for (auto early = std::find(m_early.begin(), m_early.end(), m_next); early != m_early.end();
             early = std::find(m_early.begin(), m_early.end(), m_next)) {
            m_early.erase(early);
            ++m_next;
        }
    }
    m_settled.notify_all();
}
