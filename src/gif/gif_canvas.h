// The logical screen of an animated GIF, on which its frames are composed the way a browser
// shows them: each frame is painted at its position, its transparent pixels let the canvas show
// through, and the disposal method of the frame painted before decides what that frame leaves
// behind. Only the current canvas is kept, and what lies under a frame that asks to restore it.
#pragma once

#include <wx/animdecod.h>
#include <wx/gdicmn.h>
#include <wx/image.h>

#include <memory>
#include <vector>

// How one frame is drawn: its place on the screen, its colours and what happens after it.
struct GifFrameLook {
    wxRect rect;
    wxAnimationDisposal disposal = wxANIM_UNSPECIFIED;
    // The colour of each palette index; indexes beyond the frame's palette stay black.
    unsigned char colours[256][3] = {};
    // The index whose pixels are not painted; -1 when there is none.
    int transparentIndex = -1;
};

class GifCanvas {
public:
    // An empty (fully transparent) screen of the given size.
    GifCanvas(int width, int height);

    // Disposes of the frame painted before, as that frame asked, and starts painting a new one.
    void BeginFrame(const GifFrameLook& look);

    // Paints one row of the current frame: `row` counts from the frame's top, `indexes` holds
    // one palette index per pixel of the frame's width. Parts outside the screen are cut.
    void PaintRow(int row, const unsigned char* indexes);

    // A new picture of the screen, or of the part `part` of it. It carries an alpha channel only
    // when some pixel of it has not been painted (alpha 0 there); null when memory runs out.
    std::unique_ptr<wxImage> MakePicture() const;
    std::unique_ptr<wxImage> MakePicture(const wxRect& part) const;

    // The part of the screen that frames may have changed since the last call (the whole
    // screen at the first): what the frames painted and what their disposal cleared or
    // restored. Empty when nothing can have changed.
    wxRect TakeChanged();

private:
    void DisposeOfFrame();
    void Touch(const wxRect& rect);
    // The current frame's rectangle cut to the screen.
    wxRect OnScreen() const;
    // Copies the rectangle's pixels into the saved ones, or back when `save` is false.
    void CopyRows(const wxRect& rect, bool save);

    int m_width;
    int m_height;
    GifFrameLook m_look;
    bool m_painting = false;
    // The current frame is the first: restoring what was under it clears its rectangle.
    bool m_restoreClears = false;
    std::vector<unsigned char> m_rgb;
    std::vector<unsigned char> m_alpha;
    // Under the current frame's rectangle on the screen, while it asks to restore that.
    std::vector<unsigned char> m_savedRgb;
    std::vector<unsigned char> m_savedAlpha;
    wxRect m_changed;
};
