#include "export/frame_optimiser.h"

#include "export/colour_map.h"

#include <wx/palette.h>

#include <algorithm>
#include <cstring>

namespace {

const int kMaxColours = 256;

// The colours of a table, each with its first entry.
void MapColours(const std::vector<GifColour>& colours, ColourMap& map) {
    for (int i = static_cast<int>(colours.size()) - 1; i >= 0; --i) {
        bool found;
        const unsigned colour = ColourMap::Pack(&colours[i].red);
        map.Put(map.Find(colour, &found), colour, i);
    }
}

// A colour that `used` does not hold; at most 255 colours are in it, so one of 256 greys is free.
GifColour UnusedColour(const ColourMap& used) {
    for (int grey = 0;; ++grey) {
        const unsigned char rgb[3] = {static_cast<unsigned char>(grey),
                                      static_cast<unsigned char>(grey),
                                      static_cast<unsigned char>(grey)};
        bool found;
        used.Find(ColourMap::Pack(rgb), &found);
        if (!found) {
            return GifColour{rgb[0], rgb[1], rgb[2]};
        }
    }
}

wxPalette PaletteOf(const std::vector<GifColour>& colours) {
    unsigned char red[kMaxColours], green[kMaxColours], blue[kMaxColours];
    for (size_t i = 0; i < colours.size(); ++i) {
        red[i] = colours[i].red;
        green[i] = colours[i].green;
        blue[i] = colours[i].blue;
    }
    return wxPalette(static_cast<int>(colours.size()), red, green, blue);
}

// Adds each new colour of the pixels to `colours` and `map`; false past 256 colours.
bool AddColour(const unsigned char* rgb, std::vector<GifColour>& colours, ColourMap& map) {
    bool found;
    const unsigned colour = ColourMap::Pack(rgb);
    const unsigned slot = map.Find(colour, &found);
    if (found) {
        return true;
    }
    if (colours.size() == kMaxColours) {
        return false;
    }
    map.Put(slot, colour, static_cast<int>(colours.size()));
    colours.push_back(GifColour{rgb[0], rgb[1], rgb[2]});
    return true;
}

OptimisedFrame Refused() {
    return OptimisedFrame{wxImage(), GifFrameLayout()};
}

} // namespace

OptimisedFrame FrameOptimiser::First(const wxImage& frame) {
    m_width = frame.GetWidth();
    m_height = frame.GetHeight();
    const size_t bytes = static_cast<size_t>(m_width) * m_height * 3;
    m_shown.assign(frame.GetData(), frame.GetData() + bytes);
    // Only the colours the pixels use, padded to the table's power of two with colours they do
    // not use: each entry is then one colour, and an entry that a later frame does not use can
    // mark its transparent pixels.
    ColourMap used;
    m_global.clear();
    for (size_t p = 0; p < bytes; p += 3) {
        if (!AddColour(&m_shown[p], m_global, used)) {
            return Refused();
        }
    }
    size_t tableSize = 2;
    while (tableSize < m_global.size()) {
        tableSize *= 2;
    }
    while (m_global.size() < tableSize) {
        const GifColour spare = UnusedColour(used);
        AddColour(&spare.red, m_global, used);
    }
    OptimisedFrame first{frame.Copy(), GifFrameLayout()};
    first.image.SetPalette(PaletteOf(m_global));
    first.layout.keep = true;
    first.layout.compactCodes = true;
    return first;
}

OptimisedFrame FrameOptimiser::Next(const wxImage& frame, const wxImage* source) {
    if (!frame.IsOk()) {
        return Refused();
    }
    const bool first = m_shown.empty();
    if (source != nullptr) {
        const unsigned char* now = source->GetData();
        const size_t bytes = static_cast<size_t>(source->GetWidth()) * source->GetHeight() * 3;
        if (!first && bytes == m_source.size()) {
            // Still pixels keep what is shown; the palette's colours are not needed there.
            wxImage steadied = frame.Copy();
            unsigned char* rgb = steadied.GetData();
            for (size_t p = 0; p < bytes; p += 3) {
                if (std::memcmp(now + p, &m_source[p], 3) == 0) {
                    std::memcpy(rgb + p, &m_shown[p], 3);
                }
            }
            m_source.assign(now, now + bytes);
            return Next(steadied);
        }
        m_source.assign(now, now + bytes);
    }
    if (first) {
        return First(frame);
    }
    if (frame.GetWidth() != m_width || frame.GetHeight() != m_height) {
        return Refused();
    }

    // The rectangle of changed pixels; a frame that changes nothing stores one clear pixel.
    const unsigned char* rgb = frame.GetData();
    int left = m_width, right = -1, top = m_height, bottom = -1;
    for (int y = 0; y < m_height; ++y) {
        const size_t row = static_cast<size_t>(y) * m_width * 3;
        int x0 = 0;
        while (x0 < m_width && std::memcmp(rgb + row + 3 * x0, &m_shown[row + 3 * x0], 3) == 0) {
            ++x0;
        }
        if (x0 == m_width) {
            continue;
        }
        int x1 = m_width - 1;
        while (std::memcmp(rgb + row + 3 * x1, &m_shown[row + 3 * x1], 3) == 0) {
            --x1;
        }
        left = std::min(left, x0);
        right = std::max(right, x1);
        top = std::min(top, y);
        bottom = y;
    }
    if (right < 0) {
        left = right = top = bottom = 0;
    }
    const int width = right - left + 1;
    const int height = bottom - top + 1;

    // The colours of the changed pixels.
    std::vector<GifColour> colours;
    ColourMap used;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            const size_t p = (static_cast<size_t>(y) * m_width + x) * 3;
            if (std::memcmp(rgb + p, &m_shown[p], 3) != 0 && !AddColour(rgb + p, colours, used)) {
                return Refused();
            }
        }
    }

    // The table: the global one when it holds every changed colour and one more for the
    // transparent pixels; else the changed colours and a colour they do not use; with 256
    // changed colours there is no room for transparency, and the whole rectangle is stored.
    OptimisedFrame stored{wxImage(width, height, false), GifFrameLayout()};
    stored.layout.left = left;
    stored.layout.top = top;
    stored.layout.keep = true;
    stored.layout.compactCodes = true;
    bool transparent = true;
    GifColour clear{0, 0, 0};
    ColourMap global;
    MapColours(m_global, global);
    bool fitsGlobal = colours.size() < m_global.size();
    for (size_t i = 0; fitsGlobal && i < colours.size(); ++i) {
        global.Find(ColourMap::Pack(&colours[i].red), &fitsGlobal);
    }
    if (fitsGlobal) {
        for (const GifColour& entry : m_global) {
            bool inUse;
            used.Find(ColourMap::Pack(&entry.red), &inUse);
            if (!inUse) {
                clear = entry;
                break;
            }
        }
        stored.image.SetPalette(PaletteOf(m_global));
        stored.layout.globalTable = true;
    } else if (colours.size() < kMaxColours) {
        clear = UnusedColour(used);
        colours.push_back(clear);
        stored.image.SetPalette(PaletteOf(colours));
    } else {
        transparent = false;
        for (int y = top; y <= bottom; ++y) {
            for (int x = left; x <= right; ++x) {
                if (!AddColour(rgb + (static_cast<size_t>(y) * m_width + x) * 3, colours, used)) {
                    return Refused();
                }
            }
        }
        stored.image.SetPalette(PaletteOf(colours));
    }
    if (transparent) {
        stored.image.SetMaskColour(clear.red, clear.green, clear.blue);
    }

    unsigned char* out = stored.image.GetData();
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x, out += 3) {
            const size_t p = (static_cast<size_t>(y) * m_width + x) * 3;
            if (transparent && std::memcmp(rgb + p, &m_shown[p], 3) == 0) {
                std::memcpy(out, &clear.red, 3);
            } else {
                std::memcpy(out, rgb + p, 3);
                std::memcpy(&m_shown[p], rgb + p, 3);
            }
        }
    }
    return stored;
}
