#include "export/best_palette.h"

#include <libimagequant.h>
#include <omp.h>
#include <wx/palette.h>

#include <memory>
#include <vector>

namespace {

// Speed 1 (slowest) to 10: 6 still refines the palette with a few passes of k-means, well
// beyond the toolkit's quantiser, at a fraction of the default's time.
const int kSpeed = 6;
// Full dithering blurs noise-free gradients least; lower levels trade banding for grain.
const float kDitheringLevel = 1.0f;

struct AttrDeleter {
    void operator()(liq_attr* attr) const { liq_attr_destroy(attr); }
};
struct ImageDeleter {
    void operator()(liq_image* image) const { liq_image_destroy(image); }
};
struct ResultDeleter {
    void operator()(liq_result* result) const { liq_result_destroy(result); }
};

// Hands the library one row of the picture at a time, as opaque RGBA.
void RgbaRow(liq_color rowOut[], int row, int width, void* user) {
    const wxImage& image = *static_cast<const wxImage*>(user);
    const unsigned char* rgb = image.GetData() + static_cast<size_t>(row) * width * 3;
    for (int x = 0; x < width; ++x, rgb += 3) {
        rowOut[x] = liq_color{rgb[0], rgb[1], rgb[2], 255};
    }
}

} // namespace

wxImage QuantiseBest(const wxImage& opaque) {
    // The two export threads share the machine's cores; the library's own threads would only
    // compete with them, and one thread keeps its results the same from run to run.
    omp_set_num_threads(1);
    const int width = opaque.GetWidth();
    const int height = opaque.GetHeight();
    const std::unique_ptr<liq_attr, AttrDeleter> attr(liq_attr_create());
    if (!attr || liq_set_max_colors(attr.get(), kBestModeColours) != LIQ_OK ||
        liq_set_speed(attr.get(), kSpeed) != LIQ_OK) {
        return wxImage();
    }
    const std::unique_ptr<liq_image, ImageDeleter> image(liq_image_create_custom(
        attr.get(), RgbaRow, const_cast<wxImage*>(&opaque), width, height, 0));
    liq_result* quantised = nullptr;
    if (!image || liq_image_quantize(image.get(), attr.get(), &quantised) != LIQ_OK) {
        return wxImage();
    }
    const std::unique_ptr<liq_result, ResultDeleter> result(quantised);
    liq_set_dithering_level(result.get(), kDitheringLevel);
    std::vector<unsigned char> indices(static_cast<size_t>(width) * height);
    if (liq_write_remapped_image(result.get(), image.get(), indices.data(), indices.size()) !=
        LIQ_OK) {
        return wxImage();
    }
    const liq_palette* palette = liq_get_palette(result.get());
    const int count = static_cast<int>(palette->count);
    unsigned char red[256], green[256], blue[256];
    for (int i = 0; i < count; ++i) {
        red[i] = palette->entries[i].r;
        green[i] = palette->entries[i].g;
        blue[i] = palette->entries[i].b;
    }
    wxImage paletted(width, height, false);
    unsigned char* rgb = paletted.GetData();
    for (unsigned char index : indices) {
        *rgb++ = red[index];
        *rgb++ = green[index];
        *rgb++ = blue[index];
    }
    paletted.SetPalette(wxPalette(count, red, green, blue));
    return paletted;
}
