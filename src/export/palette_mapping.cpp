#include "export/palette_mapping.h"

#include <algorithm>
#include <cstdlib>

namespace {

inline int Square(int value) {
    return value * value;
}

inline int ClampChannel(float value) {
    return static_cast<int>(std::min(std::max(value, 0.f), 255.f) + 0.5f);
}

} // namespace

NearestColour::Cells::Cells(int bits)
    : cellBits(bits), start(1 << (3 * (8 - bits)), -1), count(start.size(), 0) {}

int NearestColour::Cells::Of(int r, int g, int b) const {
    const int sideBits = 8 - cellBits;
    return ((r >> cellBits) << (2 * sideBits)) | ((g >> cellBits) << sideBits) | (b >> cellBits);
}

NearestColour::NearestColour(std::vector<GifColour> palette)
    : m_palette(std::move(palette)), m_coarse(kCoarseBits), m_fine(kFineBits),
      m_remembered(1 << kRememberedBits, 0), m_rememberedIndex(m_remembered.size(), 0) {
    for (size_t i = 0; i < m_palette.size(); ++i) {
        m_red.push_back(2 * m_palette[i].red);
        m_green.push_back(2 * m_palette[i].green);
        m_blue.push_back(2 * m_palette[i].blue);
        m_all.push_back(static_cast<unsigned char>(i));
    }
}

void NearestColour::List(Cells& cells, int cell, const unsigned char* from, int fromCount) {
    const int side = 1 << cells.cellBits;
    const int sideBits = 8 - cells.cellBits;
    const int mask = (1 << sideBits) - 1;
    // The cell's centre and half width, doubled so that they are whole numbers.
    const int centre[3] = {2 * (cell >> (2 * sideBits)) * side + side - 1,
                           2 * ((cell >> sideBits) & mask) * side + side - 1,
                           2 * (cell & mask) * side + side - 1};
    const int half = side - 1;
    // No colour of the cell is farther from its nearest entry than `bound`, so an entry
    // farther than that from the whole cell is never the nearest (all distances doubled).
    int closest[256];
    int bound = 4 * 3 * 256 * 256;
    for (int k = 0; k < fromCount; ++k) {
        const int i = from[k];
        const int dr = std::abs(m_red[i] - centre[0]);
        const int dg = std::abs(m_green[i] - centre[1]);
        const int db = std::abs(m_blue[i] - centre[2]);
        const int nr = std::max(0, dr - half), ng = std::max(0, dg - half),
                  nb = std::max(0, db - half);
        closest[k] = nr * nr + ng * ng + nb * nb;
        bound = std::min(bound, (dr + half) * (dr + half) + (dg + half) * (dg + half) +
                                    (db + half) * (db + half));
    }
    const size_t start = m_candidates.size();
    for (int k = 0; k < fromCount; ++k) {
        if (closest[k] <= bound) {
            m_candidates.push_back(from[k]);
        }
    }
    cells.start[cell] = static_cast<int>(start);
    cells.count[cell] = static_cast<unsigned short>(m_candidates.size() - start);
}

int NearestColour::Search(int r, int g, int b, unsigned colour, unsigned slot) {
    const int cell = m_fine.Of(r, g, b);
    if (m_fine.start[cell] < 0) {
        // A fine cell's candidates are among those of the coarse cell around it.
        const int coarse = m_coarse.Of(r, g, b);
        if (m_coarse.start[coarse] < 0) {
            List(m_coarse, coarse, m_all.data(), static_cast<int>(m_all.size()));
        }
        // Copied first: listing the fine cell may move the candidates.
        const std::vector<unsigned char> from(m_candidates.begin() + m_coarse.start[coarse],
                                              m_candidates.begin() + m_coarse.start[coarse] +
                                                  m_coarse.count[coarse]);
        List(m_fine, cell, from.data(), static_cast<int>(from.size()));
    }
    // Distance and index in one key, so that the smallest key is the nearest entry, the first
    // of equally near ones, found without a branch to mispredict.
    const unsigned char* candidate = m_candidates.data() + m_fine.start[cell];
    const unsigned char* const end = candidate + m_fine.count[cell];
    int bestKey = 1 << 30;
    for (; candidate != end; ++candidate) {
        const GifColour& c = m_palette[*candidate];
        const int distance = Square(c.red - r) + Square(c.green - g) + Square(c.blue - b);
        bestKey = std::min(bestKey, (distance << 8) | *candidate);
    }
    const int best = bestKey & 0xff;
    m_remembered[slot] = colour | kRememberedFlag;
    m_rememberedIndex[slot] = static_cast<unsigned char>(best);
    return best;
}

void MapToPalette(const unsigned char* rgb, int width, int height, float dithering,
                  NearestColour& nearest, unsigned char* indices) {
    const size_t pixels = static_cast<size_t>(width) * height;
    if (dithering <= 0) {
        for (size_t p = 0; p < pixels; ++p, rgb += 3) {
            indices[p] = static_cast<unsigned char>(nearest.Find(rgb[0], rgb[1], rgb[2]));
        }
        return;
    }
    const std::vector<GifColour>& palette = nearest.Palette();
    // The error carried into this row and the next, one pixel of margin on either side.
    std::vector<float> here(3 * (static_cast<size_t>(width) + 2), 0.f);
    std::vector<float> below(here.size(), 0.f);
    for (int y = 0; y < height; ++y) {
        const bool forward = y % 2 == 0;
        const int step = forward ? 1 : -1;
        // Kept out of memory, where each pixel would wait for the one before to store them:
        // the share this pixel passes on to the next, and the shares so far of the two pixels
        // below that later pixels still add to (behind and under this one), each summed in the
        // same order as if stored.
        float ahead[3] = {0.f, 0.f, 0.f};
        float behind[3] = {0.f, 0.f, 0.f};
        float under[3] = {0.f, 0.f, 0.f};
        int x = forward ? 0 : width - 1;
        for (int i = 0; i < width; ++i, x += step) {
            const size_t p = static_cast<size_t>(y) * width + x;
            const unsigned char* source = rgb + 3 * p;
            const float* carried = &here[3 * (x + 1)];
            const int wanted[3] = {ClampChannel(source[0] + (carried[0] + ahead[0])),
                                   ClampChannel(source[1] + (carried[1] + ahead[1])),
                                   ClampChannel(source[2] + (carried[2] + ahead[2]))};
            const int index = nearest.Find(wanted[0], wanted[1], wanted[2]);
            indices[p] = static_cast<unsigned char>(index);
            const int got[3] = {palette[index].red, palette[index].green, palette[index].blue};
            float* done = &below[3 * (x + 1 - step)];
            for (int c = 0; c < 3; ++c) {
                const float miss = (wanted[c] - got[c]) * dithering;
                ahead[c] = miss * (7.f / 16);
                done[c] = behind[c] + miss * (3.f / 16);
                behind[c] = under[c] + miss * (5.f / 16);
                under[c] = miss * (1.f / 16);
            }
        }
        std::copy(behind, behind + 3, &below[3 * (x + 1 - step)]);
        here.swap(below);
    }
}

void MoveToMeans(const unsigned char* rgb, const unsigned char* indices, size_t pixels,
                 std::vector<GifColour>* palette) {
    struct Sum {
        unsigned long long r = 0, g = 0, b = 0, count = 0;
    };
    std::vector<Sum> sums(256);
    for (size_t p = 0; p < pixels; ++p, rgb += 3) {
        Sum& sum = sums[indices[p]];
        sum.r += rgb[0];
        sum.g += rgb[1];
        sum.b += rgb[2];
        ++sum.count;
    }
    for (size_t i = 0; i < palette->size(); ++i) {
        const Sum& sum = sums[i];
        if (sum.count > 0) {
            (*palette)[i] = {static_cast<unsigned char>((sum.r + sum.count / 2) / sum.count),
                             static_cast<unsigned char>((sum.g + sum.count / 2) / sum.count),
                             static_cast<unsigned char>((sum.b + sum.count / 2) / sum.count)};
        }
    }
}
