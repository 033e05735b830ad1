// The Export Options dialog: every choice about the GIF file in one place (colours, quality
// number, colour count, transparency, lossy codes, optimised frames, a size limit, the loop
// count), with a line estimating the file's size. The estimate is worked out on threads of its
// own, anew a moment after each change, so that the dialog never waits for it.
#pragma once

#include "document/animation.h"
#include "document/export_choices.h"

#include <wx/dialog.h>
#include <wx/timer.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

class wxButton;
class wxCheckBox;
class wxChoice;
class wxRadioButton;
class wxSpinCtrl;
class wxStaticText;
class wxTextCtrl;
class wxThreadEvent;

// The entries of the lossy choice.
enum LossyEntry { kLossyOff, kLossyFollowing, kLossyAtLevel };

class ExportOptionsDialog : public wxDialog {
public:
    // The controls show `choices`; `animation` is what the estimate encodes: the frames, size
    // and view the next export writes.
    ExportOptionsDialog(wxWindow* parent, const ExportChoices& choices, Animation animation);
    // Stops the estimates still running and waits for them, a frame's work at most.
    ~ExportOptionsDialog() override;

    // The choices the controls hold; OK is enabled only while they are complete.
    ExportChoices GetChoices() const;
    // Whether the size line shows an estimate made (not one being made).
    bool HasEstimate() const { return m_estimated; }

    wxRadioButton* m_radio_standard = nullptr;
    wxRadioButton* m_radio_best = nullptr;
    wxSpinCtrl* m_spin_quality = nullptr;
    wxSpinCtrl* m_spin_colours = nullptr;
    wxCheckBox* m_check_transparency = nullptr;
    wxChoice* m_choice_lossy = nullptr;
    wxSpinCtrl* m_spin_lossy = nullptr;
    wxCheckBox* m_check_optimize = nullptr;
    wxCheckBox* m_check_maxsize = nullptr;
    wxTextCtrl* m_text_maxsize = nullptr;
    wxSpinCtrl* m_spin_loop = nullptr;
    wxCheckBox* m_check_loopinfile = nullptr;
    wxStaticText* m_text_estimate = nullptr;
    wxButton* m_button_ok = nullptr;

private:
    struct Estimate {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> stop;
        std::shared_ptr<std::atomic<bool>> done;
    };

    void ShowChoices(const ExportChoices& choices);
    // After any change: which controls apply, whether OK may act, and a new estimate soon.
    void Changed();
    void ShowLine(const wxString& text);
    void StartEstimate();
    void OnEstimated(wxThreadEvent& event);
    // The estimates that ended are joined; `all` stops and joins the others too.
    void JoinEstimates(bool all);

    Animation m_animation;
    wxTimer m_estimateTimer;
    std::vector<Estimate> m_estimates;
    // Only the answer of the latest estimate is shown.
    int m_generation = 0;
    bool m_estimated = false;
    int m_lineWidth = 0;
    // The standard palette was chosen when a size limit, which writes the best colours, came.
    bool m_standardUnderLimit = false;
};
