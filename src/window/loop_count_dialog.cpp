#include "window/loop_count_dialog.h"

#include <algorithm>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/intl.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

namespace {
enum { ID_RADIO_TIMES = 0, ID_RADIO_INFINITE = 1, ID_SPIN_LOOP = 2 };
}

int LoopCountDialog::s_lastLoopCount = 0;

wxIMPLEMENT_DYNAMIC_CLASS(LoopCountDialog, wxDialog);

wxBEGIN_EVENT_TABLE(LoopCountDialog, wxDialog)
    EVT_RADIOBUTTON(ID_RADIO_TIMES, LoopCountDialog::OnPlayTimes)
    EVT_RADIOBUTTON(ID_RADIO_INFINITE, LoopCountDialog::OnPlayInfinite)
    EVT_BUTTON(wxID_OK, LoopCountDialog::OnButton)
    EVT_BUTTON(wxID_CANCEL, LoopCountDialog::OnButton)
wxEND_EVENT_TABLE()

LoopCountDialog::LoopCountDialog(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, _("Loop Counter"), wxDefaultPosition, wxSize(300, 180),
               wxDEFAULT_DIALOG_STYLE) {
    CreateControls();
    m_loop_count = 0;
}

void LoopCountDialog::CreateControls() {
    m_staticBox_loop = new wxStaticBox(this, wxID_STATIC, _("Animation Loop Count"),
                                       wxPoint(10, 10), wxSize(275, 70));
    m_radio_times = new wxRadioButton(this, ID_RADIO_TIMES, _("Play animation"), wxPoint(20, 30),
                                      wxDefaultSize, wxRB_GROUP);
    m_spinctrl_loop = new wxSpinCtrl(this, ID_SPIN_LOOP, wxEmptyString, wxPoint(195, 30),
                                     wxSize(45, 20), wxSP_ARROW_KEYS, 0, 100, 1, "wxSpinCtrl");
    m_staticText_times = new wxStaticText(this, wxID_ANY, _("time(s)"), wxPoint(240, 30));
    m_radio_infinite =
        new wxRadioButton(this, ID_RADIO_INFINITE, _("Play animation infinitely"), wxPoint(20, 55));
    if (s_lastLoopCount != 0) {
        m_radio_times->SetValue(true);
        m_spinctrl_loop->SetValue(s_lastLoopCount);
        m_spinctrl_loop->Enable(true);
    } else {
        m_spinctrl_loop->Enable(false);
        m_radio_infinite->SetValue(true);
    }
    m_checkBox_file =
        new wxCheckBox(this, wxID_ANY, _("Write the count into the GIF file"), wxPoint(20, 88));
    m_button_ok = new wxButton(this, wxID_OK, _("OK"), wxPoint(60, 115), wxSize(70, 25));
    m_button_cancel =
        new wxButton(this, wxID_CANCEL, _("Cancel"), wxPoint(170, 115), wxSize(70, 25));
    // Enter confirms the count, also from the number field.
    m_button_ok->SetDefault();
    FitControls();
}

void LoopCountDialog::FitControls() {
    // The fixed places suit small native controls; where the toolkit's controls are larger (a
    // GTK spin control with its two buttons), everything moves down and right just enough.
    const wxSize spin = m_spinctrl_loop->GetBestSize();
    const wxSize radio = m_radio_times->GetBestSize();
    const wxSize times = m_staticText_times->GetBestSize();
    const int rowHeight = std::max({spin.y, radio.y, 20});
    const int top = m_staticBox_loop->GetPosition().y + std::max(20, times.y + 6);
    const int spinX = std::max(195, 20 + radio.x + 10);
    const int spinWidth = std::max(45, spin.x);
    m_radio_times->SetPosition(wxPoint(20, top + (rowHeight - radio.y) / 2));
    m_spinctrl_loop->SetSize(spinX, top + (rowHeight - spin.y) / 2, spinWidth, spin.y);
    const int timesX = spinX + spinWidth + 6;
    m_staticText_times->SetPosition(wxPoint(timesX, top + (rowHeight - times.y) / 2));
    const wxSize forever = m_radio_infinite->GetBestSize();
    const int foreverY = top + rowHeight + 6;
    m_radio_infinite->SetPosition(wxPoint(20, foreverY));

    const int boxRight = std::max({10 + 275, timesX + times.x + 12, 20 + forever.x + 12});
    const int boxBottom = foreverY + forever.y + 10;
    m_staticBox_loop->SetSize(10, 10, boxRight - 10, boxBottom - 10);
    const wxSize check = m_checkBox_file->GetBestSize();
    m_checkBox_file->SetPosition(wxPoint(20, boxBottom + 8));

    const int buttonsY = boxBottom + 8 + check.y + 10;
    const int buttonWidth =
        std::max({70, m_button_ok->GetBestSize().x, m_button_cancel->GetBestSize().x});
    const int buttonHeight =
        std::max({25, m_button_ok->GetBestSize().y, m_button_cancel->GetBestSize().y});
    const int width = std::max({300, boxRight + 15, 20 + check.x + 15});
    const int gap = std::max(40, width - 2 * 60 - 2 * buttonWidth);
    const int okX = (width - 2 * buttonWidth - gap) / 2;
    m_button_ok->SetSize(okX, buttonsY, buttonWidth, buttonHeight);
    m_button_cancel->SetSize(okX + buttonWidth + gap, buttonsY, buttonWidth, buttonHeight);
    SetClientSize(width, buttonsY + buttonHeight + 10);
}

void LoopCountDialog::OnPlayTimes(wxCommandEvent&) {
    if (m_radio_times->GetValue()) {
        m_spinctrl_loop->Enable(true);
    }
}

void LoopCountDialog::OnPlayInfinite(wxCommandEvent&) {
    if (m_radio_infinite->GetValue()) {
        m_spinctrl_loop->Enable(false);
    }
}

void LoopCountDialog::OnButton(wxCommandEvent& event) {
    if (event.GetId() == wxID_OK) {
        const int count = m_radio_times->GetValue() ? m_spinctrl_loop->GetValue() : 0;
        s_lastLoopCount = count;
        m_loop_count = count;
    }
    EndModal(event.GetId());
}
