#include "export/frame_optimiser.h"

#include "export/colour_map.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

const int kMaxColours = 256;
// Shares of unchanged pixels in the changed rectangle below and above which only one way of
// storing it is tried. Below 0.3 transparency never won on grainy frames, and coding them both
// ways nearly doubled the time of large ones.
const double kMostlyChanged = 0.3;
const double kMostlyUnchanged = 0.5;
// Pixels are held as red, green, blue and a fourth byte that is 1 for a pixel left clear (whose
// colour bytes are then 0), so that comparing four bytes compares what is shown.
const size_t kPixel = 4;
// A pixel of the changed rectangle that is clear on the canvas and in the frame: it must stay
// transparent (the other values of `same` are 0 and 1).
const unsigned char kStaysClear = 2;
// Pixels in a row whose source stays the same that make a still area.
const size_t kStillRun = 4;

bool IsClear(const unsigned char* pixel) {
    return pixel[3] != 0;
}

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

// Adds each new colour of the pixels to `colours` and `map`; the colour's entry, or -1 past 256
// colours.
int AddColour(const unsigned char* rgb, std::vector<GifColour>& colours, ColourMap& map) {
    bool found;
    const unsigned colour = ColourMap::Pack(rgb);
    const unsigned slot = map.Find(colour, &found);
    if (found) {
        return map.Value(slot);
    }
    if (colours.size() == kMaxColours) {
        return -1;
    }
    map.Put(slot, colour, static_cast<int>(colours.size()));
    colours.push_back(GifColour{rgb[0], rgb[1], rgb[2]});
    return static_cast<int>(colours.size()) - 1;
}

OptimisedFrame Refused() {
    return OptimisedFrame{PalettedFrame(), GifFrameLayout()};
}

std::vector<OptimisedFrame> Only(const OptimisedFrame& frame) {
    return frame.frame.IsOk() ? std::vector<OptimisedFrame>{frame} : std::vector<OptimisedFrame>();
}

// The pixels (RGB) as indices of `table`, which holds each of their colours as `map` says.
PalettedFrame Indexed(const unsigned char* rgb, int width, int height,
                      const std::vector<GifColour>& table, const ColourMap& map) {
    PalettedFrame frame;
    frame.width = width;
    frame.height = height;
    frame.colours = table;
    frame.indices.resize(frame.Pixels());
    unsigned last = ColourMap::Pack(rgb) ^ 1;
    unsigned char index = 0;
    for (size_t p = 0; p < frame.indices.size(); ++p, rgb += 3) {
        const unsigned colour = ColourMap::Pack(rgb);
        if (colour != last) {
            bool found;
            index = static_cast<unsigned char>(map.Value(map.Find(colour, &found)));
            last = colour;
        }
        frame.indices[p] = index;
    }
    return frame;
}

} // namespace

OptimisedFrame FrameOptimiser::First(const std::vector<unsigned char>& pixels) {
    m_shown = pixels;
    // Only the colours the pixels use, padded to the table's power of two with the colours of the
    // frames foreseen, then with colours no frame seen uses: each entry is then one colour, and
    // an entry that a later frame does not use can mark its transparent pixels. Clear pixels
    // take the first of those.
    ColourMap used;
    m_global.clear();
    bool clearPixels = false;
    const size_t count = pixels.size() / kPixel;
    std::vector<unsigned char> rgb(3 * count);
    for (size_t p = 0; p < count; ++p) {
        const unsigned char* pixel = &pixels[kPixel * p];
        std::memcpy(&rgb[3 * p], pixel, 3);
        if (IsClear(pixel)) {
            clearPixels = true;
        } else if (AddColour(pixel, m_global, used) < 0) {
            return Refused();
        }
    }
    const size_t colours = m_global.size();
    if (clearPixels && colours == kMaxColours) {
        return Refused();
    }
    // Room also for the colours the frames to come bring in, with an entry to spare for their
    // unchanged pixels, so that they need no table of their own: that table would cost more
    // than a wider one written once.
    size_t needed = colours + (clearPixels ? 1 : 0);
    ColourMap together = used;
    size_t withForeseen = colours;
    for (const GifColour& colour : m_foreseen) {
        bool found;
        const unsigned slot = together.Find(ColourMap::Pack(&colour.red), &found);
        if (!found && withForeseen < kMaxColours) {
            together.Put(slot, ColourMap::Pack(&colour.red), 0);
            ++withForeseen;
        }
    }
    if (withForeseen < kMaxColours) {
        needed = std::max(needed, withForeseen + 1);
    }
    size_t tableSize = 2;
    while (tableSize < needed) {
        tableSize *= 2;
    }
    for (size_t i = 0; i < m_foreseen.size() && m_global.size() < tableSize; ++i) {
        AddColour(&m_foreseen[i].red, m_global, used);
    }
    while (m_global.size() < tableSize) {
        const GifColour spare = UnusedColour(used);
        AddColour(&spare.red, m_global, used);
    }
    if (clearPixels) {
        for (size_t p = 0; p < count; ++p) {
            if (IsClear(&pixels[kPixel * p])) {
                std::memcpy(&rgb[3 * p], &m_global[colours], 3);
            }
        }
    }
    OptimisedFrame first{Indexed(rgb.data(), m_width, m_height, m_global, used), GifFrameLayout()};
    first.frame.transparent = clearPixels ? static_cast<int>(colours) : -1;
    first.layout.keep = true;
    first.layout.compactCodes = true;
    return first;
}

void FrameOptimiser::Foresee(const PalettedFrame& frame) {
    ColourMap seen;
    MapColours(m_foreseen, seen);
    for (size_t p = 0; p < frame.indices.size(); ++p) {
        if (frame.indices[p] != frame.transparent &&
            AddColour(&frame.colours[frame.indices[p]].red, m_foreseen, seen) < 0) {
            return;
        }
    }
}

void FrameOptimiser::Shown(const PalettedFrame& frame, int left, int top) {
    const wxRect rect =
        wxRect(left, top, frame.width, frame.height).Intersect(wxRect(0, 0, m_width, m_height));
    for (int y = rect.GetTop(); y <= rect.GetBottom(); ++y) {
        for (int x = rect.GetLeft(); x <= rect.GetRight(); ++x) {
            const unsigned char index =
                frame.indices[static_cast<size_t>(y - top) * frame.width + (x - left)];
            if (index != frame.transparent) {
                unsigned char* shown = &m_shown[(static_cast<size_t>(y) * m_width + x) * kPixel];
                std::memcpy(shown, &frame.colours[index], 3);
                shown[3] = 0;
            }
        }
    }
    m_source.clear();
    m_cleared = wxRect();
}

FrameChange FrameOptimiser::Next(const PalettedFrame& frame, const wxImage* source,
                                 const PalettedFrame* next) {
    if (!frame.IsOk()) {
        return {};
    }
    const bool first = m_shown.empty();
    if (first) {
        m_width = frame.width;
        m_height = frame.height;
    } else if (frame.width != m_width || frame.height != m_height) {
        return {};
    }
    // Each entry's pixel, looked up instead of composed again for every pixel.
    unsigned char entries[kMaxColours][kPixel] = {};
    for (size_t i = 0; i < frame.colours.size(); ++i) {
        if (static_cast<int>(i) == frame.transparent) {
            entries[i][3] = 1;
        } else {
            std::memcpy(entries[i], &frame.colours[i], 3);
        }
    }
    std::vector<unsigned char> pixels(kPixel * frame.Pixels());
    for (size_t p = 0; p < frame.indices.size(); ++p) {
        std::memcpy(&pixels[kPixel * p], entries[frame.indices[p]], kPixel);
    }
    if (source == nullptr) {
        // What the next frame's source is compared with must be what is shown.
        m_source.clear();
    } else {
        const size_t count = static_cast<size_t>(source->GetWidth()) * source->GetHeight();
        std::vector<unsigned char> now(kPixel * count);
        const unsigned char* rgb = source->GetData();
        const unsigned char* alpha = source->HasAlpha() ? source->GetAlpha() : nullptr;
        for (size_t p = 0; p < count; ++p) {
            std::memcpy(&now[kPixel * p], rgb + 3 * p, 3);
            now[kPixel * p + 3] = alpha && alpha[p] == wxIMAGE_ALPHA_TRANSPARENT;
        }
        if (!first && now.size() == m_source.size()) {
            // Still areas keep what is shown; the palette's colours are not needed there. Where
            // the frame before is cleared, the frame is stored anyway, in its own colours.
            // Grain leaves single pixels the same by chance: kept as shown, they would only
            // break the strings and bring in the colours of the frame before.
            const auto still = [&](size_t p) {
                const size_t at = kPixel * p;
                return !IsClear(&pixels[at]) && std::memcmp(&now[at], &m_source[at], kPixel) == 0 &&
                       !m_cleared.Contains(static_cast<int>(p % m_width),
                                           static_cast<int>(p / m_width));
            };
            for (size_t row = 0; row < count; row += m_width) {
                for (size_t p = row, end = row + m_width; p < end;) {
                    size_t run = p;
                    while (run < end && still(run)) {
                        ++run;
                    }
                    if (run - p >= kStillRun) {
                        std::memcpy(&pixels[kPixel * p], &m_shown[kPixel * p], kPixel * (run - p));
                    }
                    p = std::max(run, p + 1);
                }
            }
        }
        m_source.swap(now);
    }
    if (!first && !m_cleared.IsEmpty()) {
        // The frame before is gone from its rectangle.
        for (int y = m_cleared.GetTop(); y <= m_cleared.GetBottom(); ++y) {
            const size_t row = (static_cast<size_t>(y) * m_width + m_cleared.GetLeft()) * kPixel;
            for (int x = 0; x < m_cleared.GetWidth(); ++x) {
                static const unsigned char kClear[kPixel] = {0, 0, 0, 1};
                std::memcpy(&m_shown[row + kPixel * x], kClear, kPixel);
            }
        }
    }
    // Pixels the next frame leaves clear where this one shows a colour: this frame's rectangle
    // must reach over them, to clear them once it has been shown.
    wxRect toClear;
    if (next != nullptr && next->transparent >= 0 && next->Pixels() == frame.Pixels()) {
        int left = m_width, right = -1, top = m_height, bottom = -1;
        for (size_t p = 0; p < next->indices.size(); ++p) {
            if (next->indices[p] == next->transparent && !IsClear(&pixels[kPixel * p])) {
                const int x = static_cast<int>(p % m_width), y = static_cast<int>(p / m_width);
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = y;
            }
        }
        if (right >= 0) {
            toClear = wxRect(left, top, right - left + 1, bottom - top + 1);
        }
    }
    FrameChange change = first ? FrameChange(Only(First(pixels))) : NextShown(pixels, toClear);
    m_cleared = wxRect();
    if (!toClear.IsEmpty()) {
        change.m_clearAfter = true;
        m_cleared = change.m_rect;
        for (OptimisedFrame& way : change.m_ways) {
            way.layout.clearAfter = true;
            m_cleared = wxRect(way.layout.left, way.layout.top, way.frame.width, way.frame.height);
        }
    }
    return change;
}

FrameChange FrameOptimiser::NextShown(const std::vector<unsigned char>& pixels,
                                      const wxRect& toClear) {
    // The rectangle of changed pixels; a frame that changes nothing stores one clear pixel.
    const unsigned char* shown = pixels.data();
    int left = m_width, right = -1, top = m_height, bottom = -1;
    for (int y = 0; y < m_height; ++y) {
        const size_t row = static_cast<size_t>(y) * m_width * kPixel;
        int x0 = 0;
        while (x0 < m_width &&
               std::memcmp(shown + row + kPixel * x0, &m_shown[row + kPixel * x0], kPixel) == 0) {
            ++x0;
        }
        if (x0 == m_width) {
            continue;
        }
        int x1 = m_width - 1;
        while (std::memcmp(shown + row + kPixel * x1, &m_shown[row + kPixel * x1], kPixel) == 0) {
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
    wxRect changed(left, top, right - left + 1, bottom - top + 1);
    if (!toClear.IsEmpty()) {
        changed = right < 0 ? toClear : changed.Union(toClear);
    }
    // Pixels clear before and after stay transparent whichever way the frame is stored.
    FrameChange change;
    change.m_rect = changed;
    change.m_global = m_global;
    const size_t count = static_cast<size_t>(changed.GetWidth()) * changed.GetHeight();
    change.m_pixels.resize(kPixel * count);
    change.m_same.resize(count);
    std::vector<unsigned char>& same = change.m_same;
    std::vector<unsigned char>& staysClear = change.m_staysClear;
    size_t sameCount = 0;
    size_t i = 0;
    for (int y = changed.GetTop(); y <= changed.GetBottom(); ++y) {
        const size_t row = (static_cast<size_t>(y) * m_width + changed.GetLeft()) * kPixel;
        std::memcpy(&change.m_pixels[kPixel * i], shown + row,
                    kPixel * static_cast<size_t>(changed.GetWidth()));
        for (int x = changed.GetLeft(); x <= changed.GetRight(); ++x, ++i) {
            const size_t p = (static_cast<size_t>(y) * m_width + x) * kPixel;
            const bool unchanged = std::memcmp(shown + p, &m_shown[p], kPixel) == 0;
            if (IsClear(shown + p) && !unchanged) {
                // Only a rectangle cleared after the frame before can show it.
                return FrameChange();
            }
            same[i] = unchanged && IsClear(shown + p) ? kStaysClear : unchanged;
            sameCount += unchanged;
            if (same[i] == kStaysClear && staysClear.empty()) {
                staysClear.assign(same.size(), 0);
            }
            if (!staysClear.empty()) {
                staysClear[i] = same[i] == kStaysClear ? kStaysClear : 0;
            }
        }
    }
    change.m_share = static_cast<double>(sameCount) / count;
    for (int y = changed.GetTop(); y <= changed.GetBottom(); ++y) {
        const size_t row = (static_cast<size_t>(y) * m_width + changed.GetLeft()) * kPixel;
        std::memcpy(&m_shown[row], shown + row, kPixel * static_cast<size_t>(changed.GetWidth()));
    }
    return change;
}

std::vector<OptimisedFrame> FrameChange::Ways() {
    if (m_rect.IsEmpty()) {
        return std::move(m_ways);
    }
    // A mostly unchanged rectangle codes shortest with transparency, a mostly changed one
    // whole; in between both are coded. The other way serves when the one tried cannot be.
    // With transparency, which of the pixels that may go either way at no cost in runs are
    // best left transparent varies from frame to frame: both are coded.
    std::vector<OptimisedFrame> stored;
    if (m_share >= kMostlyChanged) {
        stored = Store(m_same.data(), {true, false});
    }
    if (m_share <= kMostlyUnchanged || stored.empty()) {
        for (OptimisedFrame& way :
             Store(m_staysClear.empty() ? nullptr : m_staysClear.data(), {true})) {
            stored.push_back(std::move(way));
        }
    }
    if (stored.empty() && m_share < kMostlyChanged) {
        stored = Store(m_same.data(), {true, false});
    }
    for (OptimisedFrame& way : stored) {
        way.layout.clearAfter = m_clearAfter;
    }
    *this = FrameChange();
    return stored;
}

std::vector<OptimisedFrame> FrameChange::Store(const unsigned char* same,
                                               std::initializer_list<bool> clearTies) const {
    // The colours the stored pixels need, and each stored pixel's colour among them.
    const bool clearUnchanged = same != nullptr;
    const size_t count = m_same.size();
    std::vector<GifColour> colours;
    ColourMap used;
    PalettedFrame frame;
    frame.width = m_rect.GetWidth();
    frame.height = m_rect.GetHeight();
    frame.indices.resize(count);
    const unsigned char* last = nullptr;
    unsigned char lastColour = 0;
    for (size_t i = 0; i < count; ++i) {
        const unsigned char* pixel = &m_pixels[kPixel * i];
        if (clearUnchanged && same[i]) {
            continue;
        }
        if (!last || std::memcmp(last, pixel, 3) != 0) {
            const int entry = AddColour(pixel, colours, used);
            if (entry < 0) {
                return {};
            }
            lastColour = static_cast<unsigned char>(entry);
            last = pixel;
        }
        frame.indices[i] = lastColour;
    }

    // The table: the global one when it holds every colour (and, for transparency, one more);
    // else the colours themselves and, for transparency, a colour they do not use.
    GifFrameLayout layout;
    layout.left = m_rect.GetLeft();
    layout.top = m_rect.GetTop();
    layout.keep = true;
    layout.compactCodes = true;
    GifColour clear{0, 0, 0};
    ColourMap global;
    MapColours(m_global, global);
    bool fitsGlobal = colours.size() + (clearUnchanged ? 1 : 0) <= m_global.size();
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
        layout.globalTable = true;
    } else if (clearUnchanged) {
        if (colours.size() == kMaxColours) {
            return {};
        }
        clear = UnusedColour(used);
        colours.push_back(clear);
    }
    ColourMap& table = fitsGlobal ? global : used;
    // The stored pixels take the global table's first entry of their colour; the pixels that
    // stay take theirs as the stretches are found, where the table holds it.
    if (fitsGlobal) {
        unsigned char entry[kMaxColours];
        for (size_t k = 0; k < colours.size(); ++k) {
            bool found;
            entry[k] = static_cast<unsigned char>(
                global.Value(global.Find(ColourMap::Pack(&colours[k].red), &found)));
        }
        for (size_t i = 0; i < count; ++i) {
            if (!clearUnchanged || !same[i]) {
                frame.indices[i] = entry[frame.indices[i]];
            }
        }
    }
    std::vector<Stretch> stretches;
    if (clearUnchanged) {
        stretches = Stretches(same, table, clear, frame.indices.data());
        bool found;
        const unsigned slot = table.Find(ColourMap::Pack(&clear.red), &found);
        if (!found) {
            table.Put(slot, ColourMap::Pack(&clear.red), static_cast<int>(colours.size()) - 1);
        }
    }
    frame.colours = fitsGlobal ? m_global : colours;
    std::vector<OptimisedFrame> ways;
    if (!clearUnchanged) {
        ways.push_back(OptimisedFrame{std::move(frame), layout});
        return ways;
    }
    bool found;
    frame.transparent = table.Value(table.Find(ColourMap::Pack(&clear.red), &found));
    for (bool ties : clearTies) {
        ways.push_back(OptimisedFrame{frame, layout});
        ChooseUnchanged(stretches, ColourMap::Pack(&clear.red), ties, ways.back());
        // Where no tie goes either way, the ways are one: it is coded once.
        if (ways.size() > 1 && ways.back().frame.indices == ways.front().frame.indices &&
            ways.back().layout.unchanged == ways.front().layout.unchanged) {
            ways.pop_back();
        }
    }
    return ways;
}

std::vector<FrameChange::Stretch> FrameChange::Stretches(const unsigned char* same,
                                                         const ColourMap& table,
                                                         const GifColour& clear,
                                                         unsigned char* indices) const {
    // An unchanged pixel may be stored either way where its colour is in the table. Pixels of
    // one colour that all may or may not be transparent go the same way: they are taken as one
    // stretch, those that must be transparent in the colour `clear`.
    const unsigned clearColour = ColourMap::Pack(&clear.red);
    std::vector<Stretch> stretches;
    unsigned lastColour = clearColour;
    bool lastInTable = true;
    unsigned char lastIndex = 0;
    for (size_t i = 0; i < m_same.size(); ++i) {
        unsigned colour = ColourMap::Pack(&m_pixels[kPixel * i]);
        bool either = false;
        if (same[i] == kStaysClear) {
            colour = clearColour;
        } else if (same[i]) {
            if (colour != lastColour) {
                lastIndex =
                    static_cast<unsigned char>(table.Value(table.Find(colour, &lastInTable)));
                lastColour = colour;
            }
            either = lastInTable;
            colour = lastInTable ? colour : clearColour;
            indices[i] = lastIndex;
        }
        if (stretches.empty() || stretches.back().colour != colour ||
            stretches.back().either != either) {
            stretches.push_back(Stretch{static_cast<uint32_t>(i), colour, either});
        }
    }
    return stretches;
}

void FrameChange::ChooseUnchanged(const std::vector<Stretch>& stretches, unsigned clearColour,
                                  bool clearTies, OptimisedFrame& way) {
    // The compressor codes runs shortest, so the pixels take the ways that make the fewest
    // runs, where that makes none more transparent with `clearTies`, else in their colour; the
    // encoder may still take the other way.
    // from[s] bit k: whether, with stretch s stored in its colour (k = 0) or transparent, the
    // fewest runs come with the stretch before it transparent.
    std::vector<unsigned char> from(stretches.size(), 0);
    // runs[k]: the fewest runs up to a stretch, with it in its colour (k = 0) or transparent.
    const size_t kNever = static_cast<size_t>(-1) / 2;
    size_t runs[2] = {1, stretches[0].either ? 1 : kNever};
    for (size_t s = 1; s < stretches.size(); ++s) {
        size_t next[2] = {kNever, kNever};
        for (int k = 0; k < (stretches[s].either ? 2 : 1); ++k) {
            const unsigned colour = k ? clearColour : stretches[s].colour;
            const size_t viaOwn = runs[0] + (stretches[s - 1].colour != colour);
            const size_t viaClear = runs[1] + (clearColour != colour);
            next[k] = std::min(viaOwn, viaClear);
            from[s] |= (viaClear < viaOwn || (clearTies && viaClear == viaOwn)) << k;
        }
        runs[0] = next[0];
        runs[1] = next[1];
    }
    unsigned char* indices = way.frame.indices.data();
    const unsigned char clear = static_cast<unsigned char>(way.frame.transparent);
    std::vector<unsigned char>& ways = way.layout.unchanged;
    ways.assign(way.frame.indices.size(), kChanged);
    size_t end = ways.size();
    const bool lastClear = runs[1] < runs[0] || (clearTies && runs[1] == runs[0]);
    for (size_t s = stretches.size(), k = lastClear ? 1 : 0; s-- > 0;) {
        const Stretch& stretch = stretches[s];
        const bool toClear = k || stretch.colour == clearColour;
        for (size_t i = stretch.start; i < end; ++i) {
            if (toClear) {
                indices[i] = clear;
            }
            if (stretch.either) {
                ways[i] = k ? kUnchangedClear : kUnchangedShown;
            }
        }
        end = stretch.start;
        k = (from[s] >> k) & 1;
    }
}
