// The Change Speed dialog: the percentage of its speed the animation plays at.
#pragma once

#include <wx/dialog.h>

class wxSpinCtrl;

class SpeedDialog : public wxDialog {
public:
    explicit SpeedDialog(wxWindow* parent);

    // 25 to 400; 100 leaves the speed as it is.
    int GetPercent() const;

    wxSpinCtrl* m_spin_percent = nullptr;
};
