// A small dialog that asks for one number in a range, with a line saying what it does and,
// where the command can act on the selected frames alone, a box for that: Change Speed and
// Remove Duplicate Frames.
#pragma once

#include <wx/dialog.h>

class wxCheckBox;
class wxSpinCtrl;

class NumberDialog : public wxDialog {
public:
    // `onlySelected` labels the box; without a label there is none.
    NumberDialog(wxWindow* parent, const wxString& title, const wxString& text,
                 const wxString& label, int least, int most, int value,
                 const wxString& onlySelected = wxEmptyString);

    int GetNumber() const;
    bool OnlySelected() const;

    wxSpinCtrl* m_spin_number = nullptr;
    wxCheckBox* m_check_selected = nullptr;
};
