// The picture of the Crop dialog with the kept rectangle over it: the rest dimmed, handles at
// the corners and sides. A press outside the rectangle draws a new one, inside moves it, on a
// handle resizes it.
#pragma once

#include "image/crop_drag.h"

#include <wx/bitmap.h>
#include <wx/image.h>
#include <wx/window.h>

#include <functional>

class CropArea : public wxWindow {
public:
    CropArea(wxWindow* parent, const wxImage& picture, const wxRect& crop);

    void SetCrop(const wxRect& crop);
    wxRect GetCrop() const { return m_crop; }
    // Told every rectangle a drag gives.
    void OnCropDragged(std::function<void(const wxRect&)> told) { m_told = std::move(told); }

    // Where a pixel of the picture is drawn, in this window.
    wxPoint ToWindow(const wxPoint& pixel) const;

protected:
    wxSize DoGetBestClientSize() const override;

private:
    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnPress(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnRelease(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    // The picture shrunk to the window, a dimmed copy beside it.
    void Scale();
    wxPoint ToPicture(const wxPoint& point) const;
    wxRect OnWindow(const wxRect& crop) const;

    wxImage m_picture;
    wxRect m_crop;
    wxBitmap m_bright, m_dim;
    double m_scale = 1;
    wxPoint m_offset;
    bool m_dragging = false;
    bool m_moved = false;
    CropGrip m_grip = CropGrip::New;
    wxPoint m_pressedAt, m_pressedWindowAt;
    wxRect m_cropAtPress;
    std::function<void(const wxRect&)> m_told;
};
