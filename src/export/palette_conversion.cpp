#include "export/palette_conversion.h"

#include "export/best_palette.h"
#include "export/black_backdrop.h"
#include "export/colour_map.h"

#include <wx/log.h>
#include <wx/quantize.h>

#include <algorithm>
#include <vector>

namespace {

// The number of colours the toolkit's 8-bit BMP writer asks its quantiser for.
const int kQuantisedColours = 236;
const int kPaletteSize = 256;

// The picture with a table of its own colours, in order of first appearance.
PalettedFrame WithExactPalette(const wxImage& opaque) {
    PalettedFrame frame;
    frame.width = opaque.GetWidth();
    frame.height = opaque.GetHeight();
    frame.indices.resize(frame.Pixels());
    ColourMap seen;
    const unsigned char* rgb = opaque.GetData();
    for (size_t p = 0; p < frame.indices.size(); ++p, rgb += 3) {
        bool known;
        const unsigned colour = ColourMap::Pack(rgb);
        const unsigned slot = seen.Find(colour, &known);
        if (!known) {
            seen.Put(slot, colour, static_cast<int>(frame.colours.size()));
            frame.colours.push_back(GifColour{rgb[0], rgb[1], rgb[2]});
        }
        frame.indices[p] = static_cast<unsigned char>(seen.Value(slot));
    }
    return frame;
}

// The toolkit's quantiser, as the 8-bit BMP writer runs it.
PalettedFrame QuantiseStandard(const wxImage& opaque) {
    PalettedFrame frame;
    frame.width = opaque.GetWidth();
    frame.height = opaque.GetHeight();
    frame.indices.resize(frame.Pixels());
    std::vector<unsigned char*> in(frame.height), out(frame.height);
    for (int y = 0; y < frame.height; ++y) {
        in[y] = opaque.GetData() + 3 * static_cast<size_t>(y) * frame.width;
        out[y] = frame.indices.data() + static_cast<size_t>(y) * frame.width;
    }
    // Entries past the colours the quantiser finds stay unset; they are never used.
    unsigned char palette[3 * kPaletteSize] = {};
    {
        wxLogNull quiet;
        wxQuantize::DoQuantize(frame.width, frame.height, in.data(), out.data(), palette,
                               kQuantisedColours);
    }

    // Only the first entry of each colour the pixels use is kept, so that no stray bytes reach
    // the file; the others are black.
    bool usedIndex[kPaletteSize] = {};
    for (unsigned char index : frame.indices) {
        usedIndex[index] = true;
    }
    ColourMap used;
    for (int i = 0; i < kPaletteSize; ++i) {
        bool known;
        const unsigned colour = ColourMap::Pack(&palette[3 * i]);
        const unsigned slot = used.Find(colour, &known);
        if (usedIndex[i] && !known) {
            used.Put(slot, colour, 0);
        }
    }
    std::vector<GifColour> shown(kPaletteSize);
    frame.colours.assign(kPaletteSize, GifColour{0, 0, 0});
    for (int i = 0; i < kPaletteSize; ++i) {
        const unsigned char* entry = &palette[3 * i];
        shown[i] = GifColour{entry[0], entry[1], entry[2]};
        bool known;
        const unsigned colour = ColourMap::Pack(entry);
        const unsigned slot = used.Find(colour, &known);
        if (known && used.Value(slot) == 0) {
            used.Put(slot, colour, 1);
            frame.colours[i] = shown[i];
        }
    }
    IndexByFirstEntry(frame, shown);
    return frame;
}

} // namespace

void IndexByFirstEntry(PalettedFrame& frame, const std::vector<GifColour>& shown) {
    ColourMap first;
    for (int i = static_cast<int>(frame.colours.size()) - 1; i >= 0; --i) {
        bool found;
        const unsigned colour = ColourMap::Pack(&frame.colours[i].red);
        first.Put(first.Find(colour, &found), colour, i);
    }
    unsigned char entry[kPaletteSize];
    bool moves = false;
    for (size_t i = 0; i < shown.size() && i < kPaletteSize; ++i) {
        bool found;
        const unsigned slot = first.Find(ColourMap::Pack(&shown[i].red), &found);
        entry[i] = static_cast<unsigned char>(found ? first.Value(slot) : i);
        moves = moves || entry[i] != i;
    }
    if (moves) {
        for (unsigned char& index : frame.indices) {
            index = entry[index];
        }
    }
}

PalettedFrame ConvertToPalettedFrame(const wxImage& image, const ExportOptions& options,
                                     bool* exact) {
    const PaletteMode mode = options.palette;
    // The colour count applies in the best mode only.
    const int keep = mode == PaletteMode::Best
                         ? std::max(2, std::min(options.colours, kPaletteSize))
                         : kPaletteSize;
    if (exact != nullptr) {
        *exact = false;
    }
    if (!image.IsOk()) {
        return PalettedFrame();
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
    return QuantiseStandard(opaque);
}
