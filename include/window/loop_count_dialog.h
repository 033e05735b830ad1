// The small dialog that sets how many passes the preview plays (0 plays without end), and
// whether saved files play as many.
#pragma once

#include <wx/dialog.h>

class wxButton;
class wxCheckBox;
class wxRadioButton;
class wxSpinCtrl;
class wxStaticBox;
class wxStaticText;

class LoopCountDialog : public wxDialog {
public:
    explicit LoopCountDialog(wxWindow* parent);

    bool TransferDataToWindow() override { return true; }
    bool TransferDataFromWindow() override { return true; }

    void CreateControls();
    // Places the controls so that each shows whole, as near the fixed places as it can.
    void FitControls();
    void OnPlayTimes(wxCommandEvent& event);
    void OnPlayInfinite(wxCommandEvent& event);
    void OnButton(wxCommandEvent& event);

    wxButton* m_button_ok = nullptr;
    wxButton* m_button_cancel = nullptr;
    wxRadioButton* m_radio_times = nullptr;
    wxRadioButton* m_radio_infinite = nullptr;
    wxStaticBox* m_staticBox_loop = nullptr;
    wxStaticText* m_staticText_times = nullptr;
    wxSpinCtrl* m_spinctrl_loop = nullptr;
    // Whether the count is also written into the GIF files saved from now on; the caller sets
    // and reads it.
    wxCheckBox* m_checkBox_file = nullptr;
    int m_loop_count = 0;

    // The count last confirmed in any dialog of this run; it sets up the next dialog.
    static int s_lastLoopCount;

private:
    wxDECLARE_DYNAMIC_CLASS_NO_COPY(LoopCountDialog);
    wxDECLARE_EVENT_TABLE();
    LoopCountDialog() = default;
};
