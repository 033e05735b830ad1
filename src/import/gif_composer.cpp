#include "import/gif_composer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {
constexpr unsigned char kOpaque = 255;
constexpr unsigned char kClear = 0;

// One colour lookup per frame: the palette, with indexes the palette does not hold shown black
// and the frame's transparent index marked.
struct FrameColours {
    unsigned char rgb[256][3] = {};
    bool transparent[256] = {};
};

FrameColours ColoursOf(const wxGIFDecoder& decoder, unsigned int frame) {
    FrameColours colours;
    const unsigned char* palette = decoder.GetPalette(frame);
    const unsigned int count = palette ? std::min(decoder.GetNcolours(frame), 256u) : 0;
    if (count > 0) {
        std::memcpy(colours.rgb, palette, count * 3);
    }
    const int transparentIndex = decoder.GetTransparentColourIndex(frame);
    if (transparentIndex >= 0 && transparentIndex < 256) {
        colours.transparent[transparentIndex] = true;
    }
    return colours;
}
} // namespace

GifComposer::GifComposer(const wxGIFDecoder& decoder) : m_decoder(decoder) {
    wxSize screen = decoder.GetAnimationSize();
    // A file that names no usable screen is shown at the size of its first frame.
    if ((screen.x <= 0 || screen.y <= 0) && decoder.GetFrameCount() > 0) {
        const wxPoint position = decoder.GetFramePosition(0);
        const wxSize size = decoder.GetFrameSize(0);
        screen = wxSize(position.x + size.x, position.y + size.y);
    }
    m_width = std::max(screen.x, 0);
    m_height = std::max(screen.y, 0);
    const size_t pixels = static_cast<size_t>(m_width) * m_height;
    m_rgb.assign(pixels * 3, 0);
    m_alpha.assign(pixels, kClear);
}

bool GifComposer::PaintNextFrame() {
    if (m_frame >= 0) {
        Dispose(m_frame);
    }
    if (m_frame + 1 >= static_cast<int>(m_decoder.GetFrameCount())) {
        return false;
    }
    ++m_frame;
    if (m_decoder.GetDisposalMethod(m_frame) == wxANIM_TOPREVIOUS) {
        m_savedRgb = m_rgb;
        m_savedAlpha = m_alpha;
    }
    Paint(m_frame);
    return true;
}

std::unique_ptr<wxImage> GifComposer::MakePicture() const {
    if (m_width == 0 || m_height == 0) {
        return nullptr;
    }
    const size_t pixels = m_alpha.size();
    auto* rgb = static_cast<unsigned char*>(std::malloc(m_rgb.size()));
    if (!rgb) {
        return nullptr;
    }
    std::memcpy(rgb, m_rgb.data(), m_rgb.size());
    unsigned char* alpha = nullptr;
    if (std::memchr(m_alpha.data(), kClear, pixels)) {
        alpha = static_cast<unsigned char*>(std::malloc(pixels));
        if (!alpha) {
            std::free(rgb);
            return nullptr;
        }
        std::memcpy(alpha, m_alpha.data(), pixels);
    }
    // The picture takes over both buffers.
    return std::make_unique<wxImage>(m_width, m_height, rgb, alpha, false);
}

void GifComposer::Dispose(unsigned int frame) {
    switch (m_decoder.GetDisposalMethod(frame)) {
    case wxANIM_TOBACKGROUND: {
        // Browsers clear to transparent rather than to the file's background colour.
        const wxRect rect = VisibleRect(frame);
        for (int y = rect.y; y < rect.y + rect.height; ++y) {
            const size_t start = static_cast<size_t>(y) * m_width + rect.x;
            std::fill_n(m_rgb.begin() + start * 3, static_cast<size_t>(rect.width) * 3, 0);
            std::fill_n(m_alpha.begin() + start, rect.width, kClear);
        }
        break;
    }
    case wxANIM_TOPREVIOUS:
        m_rgb.swap(m_savedRgb);
        m_alpha.swap(m_savedAlpha);
        break;
    case wxANIM_DONOTREMOVE:
    case wxANIM_UNSPECIFIED:
        break;
    }
}

void GifComposer::Paint(unsigned int frame) {
    const unsigned char* indexes = m_decoder.GetData(frame);
    const wxRect rect = VisibleRect(frame);
    if (!indexes || rect.IsEmpty()) {
        return;
    }
    const FrameColours colours = ColoursOf(m_decoder, frame);
    const wxPoint position = m_decoder.GetFramePosition(frame);
    const int frameWidth = m_decoder.GetFrameSize(frame).x;
    for (int y = rect.y; y < rect.y + rect.height; ++y) {
        const unsigned char* source =
            indexes + static_cast<size_t>(y - position.y) * frameWidth + (rect.x - position.x);
        const size_t start = static_cast<size_t>(y) * m_width + rect.x;
        unsigned char* rgb = m_rgb.data() + start * 3;
        unsigned char* alpha = m_alpha.data() + start;
        for (int x = 0; x < rect.width; ++x) {
            const unsigned char index = source[x];
            if (colours.transparent[index]) {
                continue;
            }
            std::memcpy(rgb + x * 3, colours.rgb[index], 3);
            alpha[x] = kOpaque;
        }
    }
}

wxRect GifComposer::VisibleRect(unsigned int frame) const {
    const wxRect rect(m_decoder.GetFramePosition(frame), m_decoder.GetFrameSize(frame));
    return rect.Intersect(wxRect(0, 0, m_width, m_height));
}
