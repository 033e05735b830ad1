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

// The pixels left clear, as OpaqueOverBlack leaves them where transparency is kept; empty when
// there are none.
std::vector<unsigned char> ClearPixels(const wxImage& image) {
    std::vector<unsigned char> clear;
    if (!image.HasAlpha()) {
        return clear;
    }
    const unsigned char* alpha = image.GetAlpha();
    const size_t pixels = static_cast<size_t>(image.GetWidth()) * image.GetHeight();
    for (size_t p = 0; p < pixels; ++p) {
        if (alpha[p] == wxIMAGE_ALPHA_TRANSPARENT) {
            if (clear.empty()) {
                clear.assign(pixels, 0);
            }
            clear[p] = 1;
        }
    }
    return clear;
}

// Makes `entry` the transparent one, black, and gives it the clear pixels.
void MarkClear(PalettedFrame& frame, const std::vector<unsigned char>& clear, int entry) {
    if (entry == static_cast<int>(frame.colours.size())) {
        frame.colours.push_back(GifColour{0, 0, 0});
    }
    frame.transparent = entry;
    for (size_t p = 0; p < clear.size(); ++p) {
        if (clear[p]) {
            frame.indices[p] = static_cast<unsigned char>(entry);
        }
    }
}

// The picture with a table of its own colours, in order of first appearance, the pixels marked
// in `clear` (when given) taking an entry of their own after them; false for more than `limit`
// colours besides that entry.
bool WithExactPalette(const wxImage& opaque, const std::vector<unsigned char>& clear, int limit,
                      PalettedFrame* frame) {
    frame->width = opaque.GetWidth();
    frame->height = opaque.GetHeight();
    frame->indices.resize(frame->Pixels());
    ColourMap seen;
    const unsigned char* rgb = opaque.GetData();
    // Neighbours mostly share their colour: the last one found is looked up first.
    unsigned lastColour = ColourMap::Pack(rgb) ^ 1;
    unsigned char lastIndex = 0;
    for (size_t p = 0; p < frame->indices.size(); ++p, rgb += 3) {
        if (!clear.empty() && clear[p]) {
            continue;
        }
        const unsigned colour = ColourMap::Pack(rgb);
        if (colour != lastColour) {
            bool known;
            const unsigned slot = seen.Find(colour, &known);
            if (!known) {
                if (static_cast<int>(frame->colours.size()) == limit) {
                    return false;
                }
                seen.Put(slot, colour, static_cast<int>(frame->colours.size()));
                frame->colours.push_back(GifColour{rgb[0], rgb[1], rgb[2]});
            }
            lastColour = colour;
            lastIndex = static_cast<unsigned char>(seen.Value(slot));
        }
        frame->indices[p] = lastIndex;
    }
    if (!clear.empty()) {
        MarkClear(*frame, clear, static_cast<int>(frame->colours.size()));
    }
    return true;
}

// The toolkit's quantiser, as the 8-bit BMP writer runs it; the pixels marked in `clear` take
// the last entry, which it leaves unused.
PalettedFrame QuantiseStandard(const wxImage& opaque, const std::vector<unsigned char>& clear) {
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

    if (!clear.empty()) {
        MarkClear(frame, clear, kPaletteSize - 1);
    }
    // Only the first entry of each colour the pixels use is kept, so that no stray bytes reach
    // the file; the others are black.
    bool usedIndex[kPaletteSize] = {};
    for (unsigned char index : frame.indices) {
        usedIndex[index] = true;
    }
    usedIndex[kPaletteSize - 1] = false;
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
        if (i != frame.transparent) {
            first.Put(first.Find(colour, &found), colour, i);
        }
    }
    unsigned char entry[kPaletteSize];
    bool moves = false;
    for (size_t i = 0; i < shown.size() && i < kPaletteSize; ++i) {
        bool found;
        const unsigned slot = first.Find(ColourMap::Pack(&shown[i].red), &found);
        entry[i] = static_cast<unsigned char>(
            found && static_cast<int>(i) != frame.transparent ? first.Value(slot) : i);
        moves = moves || entry[i] != i;
    }
    if (moves) {
        for (unsigned char& index : frame.indices) {
            index = entry[index];
        }
    }
}

PalettedFrame ConvertToPalettedFrame(const wxImage& image, const ExportOptions& options,
                                     bool* exact, PaletteRuns* runs, int index) {
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
            ? OpaqueOverBlack(image, options.keepTransparency)
            : wxImage(image.GetWidth(), image.GetHeight(), image.GetData(), true);
    const std::vector<unsigned char> clear =
        options.keepTransparency ? ClearPixels(opaque) : std::vector<unsigned char>();

    // A frame of at most 256 colours keeps them exactly in every mode: quantising would move
    // flat colours and dither them. Clear pixels take one entry of the table.
    PalettedFrame frame;
    if (WithExactPalette(opaque, clear, clear.empty() ? keep : keep - 1, &frame)) {
        if (exact != nullptr) {
            *exact = true;
        }
        return frame;
    }
    if (mode == PaletteMode::Best) {
        return runs != nullptr && clear.empty() ? runs->Quantise(index, opaque)
                                                : QuantiseBest(opaque, options, clear);
    }
    return QuantiseStandard(opaque, clear);
}
