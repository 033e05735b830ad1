#include "export/palette_conversion.h"

#include "export/best_palette.h"
#include "export/black_backdrop.h"
#include "export/colour_map.h"

#include <wx/log.h>
#include <wx/palette.h>
#include <wx/quantize.h>

#include <algorithm>
#include <memory>

namespace {

// The number of colours the toolkit's 8-bit BMP writer asks its quantiser for.
const int kQuantisedColours = 236;
const int kPaletteSize = 256;

// Records every colour of the picture in `seen` (with the value 0) and calls `onNew` with the
// pixel where each colour first appears.
template <typename OnNew>
void ForEachNewColour(const wxImage& image, ColourMap& seen, OnNew onNew) {
    const unsigned char* rgb = image.GetData();
    const size_t pixels = static_cast<size_t>(image.GetWidth()) * image.GetHeight();
    for (size_t p = 0; p < pixels; ++p, rgb += 3) {
        bool known;
        const unsigned colour = ColourMap::Pack(rgb);
        const unsigned slot = seen.Find(colour, &known);
        if (!known) {
            seen.Put(slot, colour, 0);
            onNew(rgb);
        }
    }
}

// A copy of the picture with a palette of its own colours, in order of first appearance.
wxImage WithExactPalette(const wxImage& opaque) {
    wxImage paletted = opaque.Copy();
    unsigned char red[kPaletteSize] = {};
    unsigned char green[kPaletteSize] = {};
    unsigned char blue[kPaletteSize] = {};
    int count = 0;
    ColourMap seen;
    ForEachNewColour(paletted, seen, [&](const unsigned char* rgb) {
        red[count] = rgb[0];
        green[count] = rgb[1];
        blue[count] = rgb[2];
        ++count;
    });
    paletted.SetPalette(wxPalette(count, red, green, blue));
    return paletted;
}

} // namespace

wxImage ConvertToPalettedImage(const wxImage& image) {
    return ConvertToPalettedImage(image, PaletteMode::Standard);
}

wxImage ConvertToPalettedImage(const wxImage& image, PaletteMode mode, bool* exact) {
    ExportOptions options;
    options.palette = mode;
    return ConvertToPalettedImage(image, options, exact);
}

wxImage ConvertToPalettedImage(const wxImage& image, const ExportOptions& options, bool* exact) {
    const PaletteMode mode = options.palette;
    // The colour count applies in the best mode only.
    const int keep = mode == PaletteMode::Best
                         ? std::max(2, std::min(options.colours, kPaletteSize))
                         : kPaletteSize;
    if (exact != nullptr) {
        *exact = false;
    }
    if (!image.IsOk()) {
        return wxImage();
    }
    // An opaque picture is quantised in place of a copy; its pixels are only read.
    const wxImage opaque =
        image.HasAlpha() || image.HasMask()
            ? OpaqueOverBlack(image)
            : wxImage(image.GetWidth(), image.GetHeight(), image.GetData(), true);

    // A frame of at most 256 colours keeps them exactly in every mode: quantising would move
    // flat colours and dither them.
    if (opaque.CountColours(keep) <= static_cast<unsigned long>(keep)) {
        if (exact != nullptr) {
            *exact = true;
        }
        return WithExactPalette(opaque);
    }
    if (mode == PaletteMode::Best) {
        return QuantiseBest(opaque, options.quality, keep);
    }

    // The BMP writer quantises exactly so and then searches the palette for every pixel, which
    // finds each pixel's own entry again; the quantised image is therefore taken directly.
    wxImage quantised;
    wxPalette* found = nullptr;
    bool ok;
    {
        wxLogNull quiet;
        ok = wxQuantize::Quantize(opaque, quantised, &found, kQuantisedColours, nullptr,
                                  wxQUANTIZE_FILL_DESTINATION_IMAGE);
    }
    const std::unique_ptr<wxPalette> palette(found);
    if (!ok || !palette || !quantised.IsOk()) {
        return wxImage();
    }

    // The quantiser leaves the entries past the colours it found unset; only the first entry of
    // each colour the pixels use is kept, so that no stray bytes reach the file.
    ColourMap used;
    ForEachNewColour(quantised, used, [](const unsigned char*) {});
    unsigned char red[kPaletteSize] = {};
    unsigned char green[kPaletteSize] = {};
    unsigned char blue[kPaletteSize] = {};
    for (int i = 0; i < kPaletteSize && i < palette->GetColoursCount(); ++i) {
        unsigned char entry[3];
        if (!palette->GetRGB(i, &entry[0], &entry[1], &entry[2])) {
            continue;
        }
        bool known;
        const unsigned colour = ColourMap::Pack(entry);
        const unsigned slot = used.Find(colour, &known);
        if (known && used.Value(slot) == 0) {
            used.Put(slot, colour, 1);
            red[i] = entry[0];
            green[i] = entry[1];
            blue[i] = entry[2];
        }
    }
    quantised.SetPalette(wxPalette(kPaletteSize, red, green, blue));
    return quantised;
}
