// The last few frames decoded, for the preview and playback: showing a frame again costs no
// decompression, and memory stays at a few full-size pictures however long the animation.
#pragma once

#include "document/frame_pixels.h"

#include <wx/image.h>

#include <list>
#include <utility>

class DecodedFrames {
public:
    explicit DecodedFrames(size_t capacity) : m_capacity(capacity) {}

    // The picture of `pixels`, decoded now unless it is one of the last kept; the one used
    // longest ago makes room. On the thread that owns the cache only.
    wxImage Get(const SharedPixels& pixels);
    void Clear() { m_kept.clear(); }
    size_t Size() const { return m_kept.size(); }

private:
    size_t m_capacity;
    // Most recently used first; the reference keeps the key's pictures alive.
    std::list<std::pair<SharedPixels, wxImage>> m_kept;
};
