#include "window/number_dialog.h"

#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

NumberDialog::NumberDialog(wxWindow* parent, const wxString& title, const wxString& text,
                           const wxString& label, int least, int most, int value,
                           const wxString& onlySelected)
    : wxDialog(parent, wxID_ANY, title, wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE) {
    auto* column = new wxBoxSizer(wxVERTICAL);
    auto* explanation = new wxStaticText(this, wxID_ANY, text);
    explanation->Wrap(420);
    column->Add(explanation, 0, wxALL, 10);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(this, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    m_spin_number = new wxSpinCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                   wxSP_ARROW_KEYS, least, most, value);
    row->Add(m_spin_number, 0, wxALIGN_CENTER_VERTICAL);
    column->Add(row, 0, wxLEFT | wxRIGHT, 10);
    if (!onlySelected.empty()) {
        m_check_selected = new wxCheckBox(this, wxID_ANY, onlySelected);
        column->Add(m_check_selected, 0, wxLEFT | wxRIGHT | wxTOP, 10);
    }
    column->Add(CreateButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 10);
    SetSizerAndFit(column);
    m_spin_number->SetFocus();
}

int NumberDialog::GetNumber() const {
    return m_spin_number->GetValue();
}

bool NumberDialog::OnlySelected() const {
    return m_check_selected != nullptr && m_check_selected->GetValue();
}
