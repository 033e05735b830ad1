#include "document/frame_pixels.h"

#include <zstd.h>

#include <algorithm>
#include <new>

namespace {
// The fastest level: pictures are compressed while they are imported, and screen recordings
// still shrink to a few per cent of their size.
const int kLevel = 1;

// The guesses a colour byte is stored against, from bytes already known when it is decoded:
// the same colour of the pixel on the left (none in the first column), or twice that pixel, the
// one above and the one above on the right, over four (the pixel above alone in the first
// column; at the right edge, the one above stands for its neighbour).
int MeanGuess(const unsigned char* row, const unsigned char* above, size_t i, size_t rowBytes) {
    if (i < 3) {
        return above[i];
    }
    const int right = i + 3 < rowBytes ? above[i + 3] : above[i];
    return (2 * row[i - 3] + above[i] + right) / 4;
}

// How far a stored difference is from zero, the measure of how well a guess did.
unsigned char Magnitude(unsigned char difference) {
    const unsigned char negated = static_cast<unsigned char>(-difference);
    return difference < negated ? difference : negated;
}

// A row's differences to the left guess and their total magnitude. The first pixel is done on
// its own so that the loop over the rest has no branch and the compiler can vectorise it.
unsigned LeftDifferences(const unsigned char* __restrict source, unsigned char* __restrict out,
                         size_t rowBytes) {
    unsigned cost = 0;
    for (size_t i = 0; i < 3; ++i) {
        out[i] = source[i];
        cost += Magnitude(out[i]);
    }
    for (size_t i = 3; i < rowBytes; ++i) {
        out[i] = static_cast<unsigned char>(source[i] - source[i - 3]);
        cost += Magnitude(out[i]);
    }
    return cost;
}

// The same for the mean guess; the first and last pixels, whose neighbours are missing, are done
// on their own.
unsigned MeanDifferences(const unsigned char* __restrict source,
                         const unsigned char* __restrict above, unsigned char* __restrict out,
                         size_t rowBytes) {
    unsigned cost = 0;
    const size_t lastPixel = rowBytes > 3 ? rowBytes - 3 : rowBytes;
    for (size_t i = 0; i < 3; ++i) {
        out[i] = static_cast<unsigned char>(source[i] - MeanGuess(source, above, i, rowBytes));
        cost += Magnitude(out[i]);
    }
    for (size_t i = 3; i < lastPixel; ++i) {
        const int guess = (2 * source[i - 3] + above[i] + above[i + 3]) / 4;
        out[i] = static_cast<unsigned char>(source[i] - guess);
        cost += Magnitude(out[i]);
    }
    for (size_t i = std::max<size_t>(lastPixel, 3); i < rowBytes; ++i) {
        out[i] = static_cast<unsigned char>(source[i] - MeanGuess(source, above, i, rowBytes));
        cost += Magnitude(out[i]);
    }
    return cost;
}
} // namespace

std::shared_ptr<const FramePixels> FramePixels::Compress(const wxImage& picture) {
    if (!picture.IsOk() || picture.GetWidth() <= 0 || picture.GetHeight() <= 0) {
        return nullptr;
    }
    try {
        std::shared_ptr<FramePixels> pixels(new FramePixels);
        pixels->m_width = picture.GetWidth();
        pixels->m_height = picture.GetHeight();
        pixels->m_hasAlpha = picture.HasAlpha();
        pixels->m_hasMask = picture.HasMask();
        if (pixels->m_hasMask) {
            pixels->m_mask[0] = picture.GetMaskRed();
            pixels->m_mask[1] = picture.GetMaskGreen();
            pixels->m_mask[2] = picture.GetMaskBlue();
        }
        const size_t area = static_cast<size_t>(pixels->m_width) * pixels->m_height;
        const size_t colourBytes = 3 * area;
        // Colours and alpha go into one frame, so that the stream is compressed in one pass.
        // The output buffer holds the worst case, so compressing never waits for room.
        const size_t bound = ZSTD_compressBound(colourBytes + area);
        const std::unique_ptr<unsigned char[]> out(new unsigned char[bound]);
        ZSTD_outBuffer output{out.get(), bound, 0};
        std::vector<unsigned char> row(3 * static_cast<size_t>(pixels->m_width));
        ZSTD_CCtx* context = ZSTD_createCCtx();
        if (context == nullptr) {
            return nullptr;
        }
        ZSTD_CCtx_setParameter(context, ZSTD_c_compressionLevel, kLevel);
        ZSTD_CCtx_setPledgedSrcSize(context, colourBytes + (pixels->m_hasAlpha ? area : 0));
        // Each colour byte is stored as its difference to a guess from its neighbours, chosen
        // row by row: the pixel on its left (exact for screens, whose flat areas become
        // zeros), or a weighted mean of that pixel and the two above, which halves the noise
        // of photographs and video frames in the guess.
        const size_t rowBytes = row.size();
        std::vector<unsigned char> averaged(rowBytes);
        pixels->m_rowMeans.assign(static_cast<size_t>(pixels->m_height), 0);
        size_t status = 0;
        for (int y = 0; y < pixels->m_height && !ZSTD_isError(status); ++y) {
            const unsigned char* source = picture.GetData() + y * rowBytes;
            const unsigned char* above = y > 0 ? source - rowBytes : nullptr;
            const unsigned leftCost = LeftDifferences(source, row.data(), rowBytes);
            const bool mean = above != nullptr &&
                              MeanDifferences(source, above, averaged.data(), rowBytes) < leftCost;
            pixels->m_rowMeans[static_cast<size_t>(y)] = mean;
            const bool last = y + 1 == pixels->m_height && !pixels->m_hasAlpha;
            ZSTD_inBuffer colours{mean ? averaged.data() : row.data(), rowBytes, 0};
            do {
                status = ZSTD_compressStream2(context, &output, &colours,
                                              last ? ZSTD_e_end : ZSTD_e_continue);
            } while (!ZSTD_isError(status) && (last ? status != 0 : colours.pos < rowBytes));
        }
        if (!ZSTD_isError(status) && pixels->m_hasAlpha) {
            ZSTD_inBuffer alpha{picture.GetAlpha(), area, 0};
            do {
                status = ZSTD_compressStream2(context, &output, &alpha, ZSTD_e_end);
            } while (!ZSTD_isError(status) && status != 0);
        }
        ZSTD_freeCCtx(context);
        if (ZSTD_isError(status) || status != 0) {
            return nullptr;
        }
        pixels->m_bytes.assign(out.get(), out.get() + output.pos);
        // The import charged the decoded picture before it was decoded, so the smaller
        // compressed one is kept even in the rare case that it does not fit beside it.
        pixels->m_charge = MemoryCharge(MemoryBudget::Process(), pixels->m_bytes.size());
        return pixels;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

namespace {
// Decompresses into the whole of `output`; false when the data ends early or is damaged.
bool Fill(ZSTD_DCtx* context, ZSTD_inBuffer& input, void* data, size_t size) {
    ZSTD_outBuffer output{data, size, 0};
    while (output.pos < output.size) {
        const size_t before = output.pos;
        const size_t status = ZSTD_decompressStream(context, &output, &input);
        if (ZSTD_isError(status) || (output.pos == before && input.pos == input.size)) {
            return false;
        }
    }
    return true;
}
} // namespace

wxImage FramePixels::Decode() const {
    const size_t area = static_cast<size_t>(m_width) * m_height;
    wxImage picture;
    if (!picture.Create(m_width, m_height, false)) {
        return wxImage();
    }
    if (m_hasAlpha) {
        picture.InitAlpha();
    }
    ZSTD_DCtx* context = ZSTD_createDCtx();
    if (context == nullptr) {
        return wxImage();
    }
    ZSTD_inBuffer input{m_bytes.data(), m_bytes.size(), 0};
    const bool whole = Fill(context, input, picture.GetData(), 3 * area) &&
                       (!m_hasAlpha || Fill(context, input, picture.GetAlpha(), area));
    ZSTD_freeDCtx(context);
    if (!whole) {
        return wxImage();
    }
    const size_t rowBytes = 3 * static_cast<size_t>(m_width);
    for (int y = 0; y < m_height; ++y) {
        unsigned char* row = picture.GetData() + y * rowBytes;
        if (m_rowMeans[static_cast<size_t>(y)]) {
            const unsigned char* above = row - rowBytes;
            for (size_t i = 0; i < rowBytes; ++i) {
                row[i] = static_cast<unsigned char>(row[i] + MeanGuess(row, above, i, rowBytes));
            }
        } else {
            for (size_t i = 3; i < rowBytes; ++i) {
                row[i] = static_cast<unsigned char>(row[i] + row[i - 3]);
            }
        }
    }
    if (m_hasMask) {
        picture.SetMaskColour(m_mask[0], m_mask[1], m_mask[2]);
    }
    return picture;
}
