// The Crop dialog: the first frame as it is shown (turned and flipped, not yet cropped), on
// which the kept rectangle is drawn with the pointer, moved and resized by its handles, or
// typed as its place and size.
#pragma once

#include <wx/dialog.h>
#include <wx/image.h>

class CropArea;
class wxSpinCtrl;
class wxSpinEvent;
class wxStaticText;

class CropDialog : public wxDialog {
public:
    // `crop` is in the pixels of `picture`; an empty one keeps the whole picture.
    CropDialog(wxWindow* parent, const wxImage& picture, const wxRect& crop);

    // The rectangle kept, inside the picture.
    wxRect GetCrop() const { return m_crop; }
    // Sets the rectangle as typing it would (tests use this).
    void SetCrop(const wxRect& crop);

    wxSpinCtrl* m_spin_x = nullptr;
    wxSpinCtrl* m_spin_y = nullptr;
    wxSpinCtrl* m_spin_width = nullptr;
    wxSpinCtrl* m_spin_height = nullptr;
    CropArea* m_area = nullptr;

private:
    void OnTyped(wxSpinEvent& event);
    // Shows `crop` in the fields (only those that differ, so typing is not disturbed), the
    // size text and the picture.
    void ShowCrop(const wxRect& crop);

    wxSize m_size;
    wxRect m_crop;
    wxStaticText* m_sizeText = nullptr;
};
