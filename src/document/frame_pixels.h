// A frame's picture, kept zstd-compressed in memory and decoded when it is looked at. Never
// changed once made, so any number of frames, edits and threads may share one by reference.
#pragma once

#include "app/memory_budget.h"

#include <wx/image.h>

#include <cstddef>
#include <memory>
#include <vector>

class FramePixels {
public:
    // The picture compressed, its bytes charged to the process's memory budget for as long as
    // it lives; null when it holds no pixels or memory ran out.
    static std::shared_ptr<const FramePixels> Compress(const wxImage& picture);

    // The picture exactly as it was given: colours, alpha and mask colour. Safe on any thread;
    // an invalid image when memory ran out.
    wxImage Decode() const;

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // What the compressed picture takes in memory.
    size_t CompressedBytes() const { return m_bytes.size(); }

    FramePixels(const FramePixels&) = delete;
    FramePixels& operator=(const FramePixels&) = delete;

private:
    FramePixels() = default;

    int m_width = 0;
    int m_height = 0;
    bool m_hasAlpha = false;
    bool m_hasMask = false;
    unsigned char m_mask[3] = {};
    // The colour bytes followed by the alpha bytes when there are any, as one zstd frame.
    std::vector<unsigned char> m_bytes;
    // For each row, whether its colours are stored against the mean of neighbours above and
    // on the left rather than against the pixel on the left alone.
    std::vector<bool> m_rowMeans;
    MemoryCharge m_charge;
};

using SharedPixels = std::shared_ptr<const FramePixels>;
