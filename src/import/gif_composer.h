// Composes the frames of a decoded GIF file onto the file's logical screen, the way a browser
// shows them: each frame is painted at its position, its transparent pixels let the canvas show
// through, and the disposal method of the frame shown before decides what it leaves behind.
// Only the current canvas is kept (and one saved canvas while a frame asks to restore what was
// under it), never all frames.
#pragma once

#include <wx/gifdecod.h>
#include <wx/image.h>

#include <memory>
#include <vector>

class GifComposer {
public:
    // The decoder must hold a loaded file and outlive the composer.
    explicit GifComposer(const wxGIFDecoder& decoder);

    // Disposes of the frame on the canvas and paints the next one; false when no frame is left.
    bool PaintNextFrame();

    // The 0-based number of the frame on the canvas; -1 before the first one is painted.
    int GetFrameIndex() const { return m_frame; }

    // A new picture of the canvas at the logical screen's size. It carries an alpha channel
    // only when some pixel has not been painted (alpha 0 there); null when memory runs out.
    std::unique_ptr<wxImage> MakePicture() const;

private:
    void Dispose(unsigned int frame);
    void Paint(unsigned int frame);
    // The frame's rectangle cut to the canvas.
    wxRect VisibleRect(unsigned int frame) const;

    const wxGIFDecoder& m_decoder;
    int m_frame = -1;
    int m_width;
    int m_height;
    std::vector<unsigned char> m_rgb;
    std::vector<unsigned char> m_alpha;
    std::vector<unsigned char> m_savedRgb;
    std::vector<unsigned char> m_savedAlpha;
};
