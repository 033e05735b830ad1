#include "document/decoded_frames.h"

wxImage DecodedFrames::Get(const SharedPixels& pixels) {
    if (pixels == nullptr) {
        return wxImage();
    }
    for (auto kept = m_kept.begin(); kept != m_kept.end(); ++kept) {
        if (kept->first == pixels) {
            m_kept.splice(m_kept.begin(), m_kept, kept);
            return kept->second;
        }
    }
    const wxImage decoded = pixels->Decode();
    if (!decoded.IsOk() || m_capacity == 0) {
        return decoded;
    }
    if (m_kept.size() >= m_capacity) {
        m_kept.pop_back();
    }
    m_kept.emplace_front(pixels, decoded);
    return decoded;
}
