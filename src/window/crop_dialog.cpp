#include "window/crop_dialog.h"

#include "image/view_transform.h"
#include "window/crop_area.h"

#include <wx/button.h>
#include <wx/intl.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

#include <algorithm>

CropDialog::CropDialog(wxWindow* parent, const wxImage& picture, const wxRect& crop)
    : wxDialog(parent, wxID_ANY, _("Crop"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_size(picture.GetSize()), m_crop(CropWithin(crop, picture.GetSize())) {
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(
        new wxStaticText(this, wxID_ANY,
                         _("Drag a rectangle on the picture, or type where it lies and its size.")),
        0, wxALL, 10);
    m_area = new CropArea(this, picture, m_crop);
    m_area->OnCropDragged([this](const wxRect& dragged) { ShowCrop(dragged); });
    column->Add(m_area, 1, wxEXPAND | wxLEFT | wxRIGHT, 10);

    auto* fields = new wxBoxSizer(wxHORIZONTAL);
    auto field = [&](const wxString& label, int least, int most) {
        fields->Add(new wxStaticText(this, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT,
                    4);
        auto* spin = new wxSpinCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                    wxSP_ARROW_KEYS, least, most, least);
        spin->Bind(wxEVT_SPINCTRL, &CropDialog::OnTyped, this);
        fields->Add(spin, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 12);
        return spin;
    };
    m_spin_x = field(_("Left"), 0, m_size.x - 1);
    m_spin_y = field(_("Top"), 0, m_size.y - 1);
    m_spin_width = field(_("Width"), 1, m_size.x);
    m_spin_height = field(_("Height"), 1, m_size.y);
    m_sizeText = new wxStaticText(this, wxID_ANY, wxEmptyString);
    fields->Add(m_sizeText, 0, wxALIGN_CENTER_VERTICAL);
    column->Add(fields, 0, wxALL, 10);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* whole = new wxButton(this, wxID_ANY, _("Whole Picture"));
    whole->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { SetCrop(wxRect(m_size)); });
    buttons->Add(whole, 0, wxRIGHT, 20);
    buttons->AddStretchSpacer();
    buttons->Add(CreateButtonSizer(wxOK | wxCANCEL), 0);
    column->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 10);

    SetSizerAndFit(column);
    ShowCrop(m_crop);
}

void CropDialog::SetCrop(const wxRect& crop) {
    ShowCrop(CropWithin(crop, m_size));
}

void CropDialog::OnTyped(wxSpinEvent&) {
    // A place typed near the far side leaves less room: the size shrinks to what still fits.
    const int x = m_spin_x->GetValue(), y = m_spin_y->GetValue();
    const wxRect typed(x, y, std::min(m_spin_width->GetValue(), m_size.x - x),
                       std::min(m_spin_height->GetValue(), m_size.y - y));
    ShowCrop(typed);
}

void CropDialog::ShowCrop(const wxRect& crop) {
    m_crop = crop;
    const struct {
        wxSpinCtrl* spin;
        int value;
    } fields[] = {{m_spin_x, crop.x},
                  {m_spin_y, crop.y},
                  {m_spin_width, crop.width},
                  {m_spin_height, crop.height}};
    for (const auto& field : fields) {
        if (field.spin->GetValue() != field.value) {
            field.spin->SetValue(field.value);
        }
    }
    m_sizeText->SetLabel(wxString::Format("%d x %d ", crop.width, crop.height) + _("px"));
    m_area->SetCrop(crop);
}
