#include "gif/gif_canvas.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {
constexpr unsigned char kOpaque = 255;
constexpr unsigned char kClear = 0;
} // namespace

GifCanvas::GifCanvas(int width, int height)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)),
      m_rgb(static_cast<size_t>(m_width) * m_height * 3, 0),
      m_alpha(static_cast<size_t>(m_width) * m_height, kClear), m_changed(0, 0, m_width, m_height) {
}

void GifCanvas::BeginFrame(const GifFrameLook& look) {
    if (m_painting) {
        DisposeOfFrame();
    }
    m_look = look;
    // Under the first frame the screen is empty: restoring it is clearing it, nothing to keep.
    m_restoreClears = !m_painting;
    m_painting = true;
    Touch(OnScreen());
    if (look.disposal == wxANIM_TOPREVIOUS && !m_restoreClears) {
        // Only the frame's rectangle changes until it is disposed of, so only that is kept.
        const wxRect rect = OnScreen();
        m_savedRgb.resize(static_cast<size_t>(rect.width) * rect.height * 3);
        m_savedAlpha.resize(static_cast<size_t>(rect.width) * rect.height);
        CopyRows(rect, true);
    }
}

wxRect GifCanvas::OnScreen() const {
    return wxRect(m_look.rect).Intersect(wxRect(0, 0, m_width, m_height));
}

void GifCanvas::CopyRows(const wxRect& rect, bool save) {
    for (int row = 0; row < rect.height; ++row) {
        const size_t canvas = static_cast<size_t>(rect.y + row) * m_width + rect.x;
        const size_t saved = static_cast<size_t>(row) * rect.width;
        unsigned char* rgbFrom = &m_rgb[canvas * 3];
        unsigned char* rgbTo = &m_savedRgb[saved * 3];
        unsigned char* alphaFrom = &m_alpha[canvas];
        unsigned char* alphaTo = &m_savedAlpha[saved];
        if (!save) {
            std::swap(rgbFrom, rgbTo);
            std::swap(alphaFrom, alphaTo);
        }
        std::memcpy(rgbTo, rgbFrom, static_cast<size_t>(rect.width) * 3);
        std::memcpy(alphaTo, alphaFrom, rect.width);
    }
}

void GifCanvas::PaintRow(int row, const unsigned char* indexes) {
    const wxRect& frame = m_look.rect;
    const int y = frame.y + row;
    if (!m_painting || y < 0 || y >= m_height) {
        return;
    }
    const int left = std::max(frame.x, 0);
    const int right = std::min(frame.x + frame.width, m_width);
    const size_t start = static_cast<size_t>(y) * m_width;
    for (int x = left; x < right; ++x) {
        const unsigned char index = indexes[x - frame.x];
        if (index == m_look.transparentIndex) {
            continue;
        }
        std::memcpy(&m_rgb[(start + x) * 3], m_look.colours[index], 3);
        m_alpha[start + x] = kOpaque;
    }
}

std::unique_ptr<wxImage> GifCanvas::MakePicture() const {
    return MakePicture(wxRect(0, 0, m_width, m_height));
}

std::unique_ptr<wxImage> GifCanvas::MakePicture(const wxRect& part) const {
    const wxRect rect = wxRect(part).Intersect(wxRect(0, 0, m_width, m_height));
    if (rect.IsEmpty()) {
        return nullptr;
    }
    const size_t width = rect.width;
    const size_t pixels = width * rect.height;
    auto* rgb = static_cast<unsigned char*>(std::malloc(pixels * 3));
    auto* alpha = static_cast<unsigned char*>(std::malloc(pixels));
    if (!rgb || !alpha) {
        std::free(rgb);
        std::free(alpha);
        return nullptr;
    }
    bool clear = false;
    for (int row = 0; row < rect.height; ++row) {
        const size_t from = static_cast<size_t>(rect.y + row) * m_width + rect.x;
        std::memcpy(rgb + row * width * 3, &m_rgb[from * 3], width * 3);
        std::memcpy(alpha + row * width, &m_alpha[from], width);
        clear = clear || std::memchr(&m_alpha[from], kClear, width) != nullptr;
    }
    if (!clear) {
        std::free(alpha);
        alpha = nullptr;
    }
    // The picture takes over both buffers.
    return std::make_unique<wxImage>(rect.width, rect.height, rgb, alpha, false);
}

wxRect GifCanvas::TakeChanged() {
    const wxRect changed = m_changed;
    m_changed = wxRect();
    return changed;
}

void GifCanvas::Touch(const wxRect& rect) {
    // An empty rectangle neither grows the changed part nor starts it at the top left.
    if (!rect.IsEmpty()) {
        m_changed = m_changed.IsEmpty() ? rect : m_changed.Union(rect);
    }
}

void GifCanvas::DisposeOfFrame() {
    switch (m_look.disposal) {
    case wxANIM_TOPREVIOUS:
        if (!m_restoreClears) {
            CopyRows(OnScreen(), false);
            Touch(OnScreen());
            break;
        }
        [[fallthrough]]; // the screen was empty under the first frame
    case wxANIM_TOBACKGROUND: {
        // Browsers clear to transparent rather than to the file's background colour.
        const wxRect rect = OnScreen();
        Touch(rect);
        for (int y = rect.y; y < rect.y + rect.height; ++y) {
            const size_t start = static_cast<size_t>(y) * m_width + rect.x;
            std::fill_n(m_rgb.begin() + start * 3, static_cast<size_t>(rect.width) * 3, 0);
            std::fill_n(m_alpha.begin() + start, rect.width, kClear);
        }
        break;
    }
    case wxANIM_DONOTREMOVE:
    case wxANIM_UNSPECIFIED:
        break;
    }
}
