#include "window/speed_dialog.h"

#include <wx/intl.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

SpeedDialog::SpeedDialog(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, _("Change Speed"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE) {
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(new wxStaticText(this, wxID_ANY,
                                 _("Play the animation faster or slower: at 200 percent every "
                                   "delay is halved, at 50 percent doubled.")),
                0, wxALL, 10);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(this, wxID_ANY, _("Percent of the speed:")), 0,
             wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    m_spin_percent = new wxSpinCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                    wxSP_ARROW_KEYS, 25, 400, 100);
    row->Add(m_spin_percent, 0, wxALIGN_CENTER_VERTICAL);
    column->Add(row, 0, wxLEFT | wxRIGHT, 10);
    column->Add(CreateButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 10);
    SetSizerAndFit(column);
    m_spin_percent->SetFocus();
}

int SpeedDialog::GetPercent() const {
    return m_spin_percent->GetValue();
}
