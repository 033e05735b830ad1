#include "export/best_palette.h"

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

} // namespace

PalettedFrame QuantiseBest(const wxImage& opaque, int quality, int colours,
                           const std::vector<unsigned char>& clear) {
    // The two export threads share the machine's cores; the library's own threads would only
    // compete with them, and one thread keeps its results the same from run to run.
    omp_set_num_threads(1);
    if (!opaque.IsOk()) {
        return PalettedFrame();
    }
    const int width = opaque.GetWidth();
    const int height = opaque.GetHeight();
    const std::unique_ptr<liq_attr, AttrDeleter> attr(liq_attr_create());
    // Below the highest quality the library may use fewer colours where they reach it.
    if (!attr ||
        liq_set_max_colors(attr.get(), std::max(2, std::min(colours, kBestModeColours))) !=
            LIQ_OK ||
        liq_set_speed(attr.get(), kSpeed) != LIQ_OK ||
        liq_set_quality(attr.get(), 0, std::max(1, std::min(quality, 100))) != LIQ_OK) {
        return PalettedFrame();
    }
    Grid sample{&opaque, 1, &clear};
    while (static_cast<double>(width / (sample.step + 1)) * (height / (sample.step + 1)) >=
           kSampledPixels) {
        ++sample.step;
    }
    const std::unique_ptr<liq_image, ImageDeleter> sampled(
        liq_image_create_custom(attr.get(), RgbaRow, &sample, (width - 1) / sample.step + 1,
                                (height - 1) / sample.step + 1, 0));
    const std::unique_ptr<liq_histogram, HistogramDeleter> histogram(
        liq_histogram_create(attr.get()));
    liq_result* quantised = nullptr;
    if (!sampled || !histogram ||
        liq_histogram_add_image(histogram.get(), attr.get(), sampled.get()) != LIQ_OK ||
        liq_histogram_quantize(histogram.get(), attr.get(), &quantised) != LIQ_OK) {
        return PalettedFrame();
    }
    const std::unique_ptr<liq_result, ResultDeleter> result(quantised);
    const double grain = Grain(opaque, sample.step);
    // Dithering costs bytes; it falls with the quality number.
    const float dithering =
        static_cast<float>(std::min(1.0, std::max(0.0, (kGrainy - grain) / (kGrainy - kSmooth))) *
                           kFullDithering * std::max(1, std::min(quality, 100)) / 100.0);
    // Each opaque pixel goes to the opaque entry nearest in red, green and blue, which is what
    // the picture is judged by; clear pixels to the clear entry.
    const liq_palette* found = liq_get_palette(result.get());
    PalettedFrame frame;
    frame.width = width;
    frame.height = height;
    frame.indices.resize(frame.Pixels());
    std::vector<GifColour> opaqueEntries;
    std::vector<unsigned char> entryOf;
    for (unsigned i = 0; i < found->count; ++i) {
        const liq_color& entry = found->entries[i];
        frame.colours.push_back(GifColour{entry.r, entry.g, entry.b});
        if (entry.a == 0 && frame.transparent < 0) {
            frame.transparent = static_cast<int>(i);
        } else {
            opaqueEntries.push_back(frame.colours.back());
            entryOf.push_back(static_cast<unsigned char>(i));
        }
    }
    if ((!clear.empty() && frame.transparent < 0) || opaqueEntries.empty()) {
        return PalettedFrame();
    }
    NearestColour nearest(std::move(opaqueEntries));
    MapToPalette(opaque.GetData(), width, height, dithering, nearest, frame.indices.data());
    for (size_t p = 0; p < frame.indices.size(); ++p) {
        frame.indices[p] = !clear.empty() && clear[p]
                               ? static_cast<unsigned char>(frame.transparent)
                               : entryOf[frame.indices[p]];
    }
    // The entries then move to the mean of their pixels, where every pixel is shown.
    if (clear.empty()) {
        MoveToMeans(opaque.GetData(), frame.indices.data(), frame.Pixels(), &frame.colours);
    }
    const std::vector<GifColour> shown = frame.colours;
    IndexByFirstEntry(frame, shown);
    return frame;
}
