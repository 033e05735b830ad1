#include "window/export_options_dialog.h"

#include "export/size_estimate.h"
#include "export/size_fitting.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/intl.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

// Changes come in bursts (typing a number); the estimate waits for a pause.
const int kEstimatePauseMs = 300;
// Loop counts a GIF file can hold.
const int kMostPasses = 65535;
// The level offered first: it saves bytes without showing much.
const int kFirstLossyLevel = 20;

// A size limit as the field shows it: the exact bytes, in the shortest of M, K or bytes.
wxString SizeFieldText(long long bytes) {
    if (bytes <= 0) {
        return wxEmptyString;
    }
    if (bytes % 1000000 == 0) {
        return wxString::Format("%lldM", bytes / 1000000);
    }
    if (bytes % 1000 == 0) {
        return wxString::Format("%lldK", bytes / 1000);
    }
    return wxString::Format("%lld", bytes);
}

wxSpinCtrl* NewSpin(wxWindow* parent, int least, int most, const wxString& name) {
    auto* spin = new wxSpinCtrl(parent, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                wxSP_ARROW_KEYS, least, most, least);
    spin->SetName(name);
    return spin;
}

wxStaticText* NewLabel(wxWindow* parent, const wxString& text, wxWindow* control) {
    auto* label = new wxStaticText(parent, wxID_ANY, text);
    // A label's underlined letter moves to the control that follows it among its siblings, and
    // the control was made first.
    control->MoveAfterInTabOrder(label);
    return label;
}

void AddRow(wxFlexGridSizer* grid, wxWindow* parent, const wxString& label, wxWindow* control) {
    grid->Add(NewLabel(parent, label, control), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(control, 0, wxALIGN_CENTER_VERTICAL);
}

} // namespace

ExportOptionsDialog::ExportOptionsDialog(wxWindow* parent, const ExportChoices& choices,
                                         Animation animation)
    : wxDialog(parent, wxID_ANY, _("Export Options"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE),
      m_animation(std::move(animation)) {
    auto* column = new wxBoxSizer(wxVERTICAL);

    auto* colours = new wxStaticBoxSizer(wxVERTICAL, this, _("Colours"));
    wxWindow* box = colours->GetStaticBox();
    m_radio_standard = new wxRadioButton(box, wxID_ANY, _("&Standard palette (fast)"),
                                         wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    m_radio_best = new wxRadioButton(box, wxID_ANY, _("&Best colours (closer, slower)"));
    colours->Add(m_radio_standard, 0, wxALL, 4);
    colours->Add(m_radio_best, 0, wxALL, 4);
    auto* best = new wxFlexGridSizer(2, 4, 10);
    m_spin_quality = NewSpin(box, kLowestQuality, kHighestQuality, "export_quality");
    AddRow(best, box, _("&Quality (1 to 100):"), m_spin_quality);
    m_spin_colours = NewSpin(box, kFewestColours, kMostColours, "export_colours");
    AddRow(best, box, _("&Number of colours (2 to 256):"), m_spin_colours);
    colours->Add(best, 0, wxLEFT | wxBOTTOM, 24);
    m_check_transparency = new wxCheckBox(box, wxID_ANY, _("Keep &transparency"));
    colours->Add(m_check_transparency, 0, wxALL, 4);
    column->Add(colours, 0, wxEXPAND | wxALL, 10);

    auto* size = new wxStaticBoxSizer(wxVERTICAL, this, _("File size"));
    box = size->GetStaticBox();
    auto* lossy = new wxBoxSizer(wxHORIZONTAL);
    m_choice_lossy = new wxChoice(box, wxID_ANY);
    lossy->Add(NewLabel(box, _("Lossy &compression:"), m_choice_lossy), 0,
               wxALIGN_CENTER_VERTICAL | wxRIGHT, 10);
    m_choice_lossy->Append(_("Off"));
    m_choice_lossy->Append(_("Following the quality"));
    m_choice_lossy->Append(_("At the level"));
    m_choice_lossy->SetName("export_lossy");
    lossy->Add(m_choice_lossy, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    m_spin_lossy = NewSpin(box, 1, kHighestLossy, "export_lossy_level");
    lossy->Add(m_spin_lossy, 0, wxALIGN_CENTER_VERTICAL);
    size->Add(lossy, 0, wxALL, 4);
    m_check_optimize = new wxCheckBox(box, wxID_ANY, _("Store only what c&hanged between frames"));
    size->Add(m_check_optimize, 0, wxALL, 4);
    auto* limit = new wxBoxSizer(wxHORIZONTAL);
    m_check_maxsize = new wxCheckBox(box, wxID_ANY, _("&Fit under a size of"));
    limit->Add(m_check_maxsize, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    m_text_maxsize = new wxTextCtrl(box, wxID_ANY);
    m_text_maxsize->SetName("export_max_size");
    m_text_maxsize->SetHint(_("such as 800K or 2M"));
    limit->Add(m_text_maxsize, 1, wxALIGN_CENTER_VERTICAL);
    size->Add(limit, 0, wxEXPAND | wxALL, 4);
    column->Add(size, 0, wxEXPAND | wxLEFT | wxRIGHT, 10);

    auto* looping = new wxStaticBoxSizer(wxVERTICAL, this, _("Looping"));
    box = looping->GetStaticBox();
    auto* passes = new wxFlexGridSizer(2, 4, 10);
    m_spin_loop = NewSpin(box, 0, kMostPasses, "export_loop_count");
    AddRow(passes, box, _("Loop c&ount (0 plays without end):"), m_spin_loop);
    looping->Add(passes, 0, wxALL, 4);
    m_check_loopinfile = new wxCheckBox(box, wxID_ANY, _("&Write the count into the GIF file"));
    looping->Add(m_check_loopinfile, 0, wxALL, 4);
    column->Add(looping, 0, wxEXPAND | wxALL, 10);

    m_text_estimate = new wxStaticText(this, wxID_ANY, wxEmptyString, wxDefaultPosition,
                                       wxDefaultSize, wxST_NO_AUTORESIZE);
    m_text_estimate->SetName("export_estimate");
    column->Add(m_text_estimate, 0, wxEXPAND | wxLEFT | wxRIGHT, 10);
    column->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 10);
    m_button_ok = static_cast<wxButton*>(FindWindow(wxID_OK));
    m_button_ok->SetDefault();

    ShowChoices(choices);
    SetSizerAndFit(column);
    // Two lines of the dialog's width for what the estimate says, so that it never resizes.
    m_lineWidth = GetClientSize().x - 20;
    m_text_estimate->SetMinSize(wxSize(m_lineWidth, 2 * GetCharHeight() + 4));
    Fit();

    const auto changed = [this](wxEvent&) { Changed(); };
    for (wxRadioButton* radio : {m_radio_standard, m_radio_best}) {
        radio->Bind(wxEVT_RADIOBUTTON, changed);
    }
    for (wxSpinCtrl* spin : {m_spin_quality, m_spin_colours, m_spin_lossy, m_spin_loop}) {
        spin->Bind(wxEVT_SPINCTRL, changed);
        spin->Bind(wxEVT_TEXT, changed);
    }
    m_choice_lossy->Bind(wxEVT_CHOICE, changed);
    for (wxCheckBox* check :
         {m_check_transparency, m_check_optimize, m_check_maxsize, m_check_loopinfile}) {
        check->Bind(wxEVT_CHECKBOX, changed);
    }
    // Typing a size asks for it.
    m_text_maxsize->Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
        if (!m_text_maxsize->IsEmpty()) {
            m_check_maxsize->SetValue(true);
        }
        Changed();
    });
    m_estimateTimer.SetOwner(this);
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { StartEstimate(); });
    Bind(wxEVT_THREAD, &ExportOptionsDialog::OnEstimated, this);
    Changed();
}

ExportOptionsDialog::~ExportOptionsDialog() {
    m_estimateTimer.Stop();
    JoinEstimates(true);
}

void ExportOptionsDialog::ShowChoices(const ExportChoices& choices) {
    const ExportOptions& options = choices.options;
    (options.palette == PaletteMode::Best ? m_radio_best : m_radio_standard)->SetValue(true);
    m_spin_quality->SetValue(options.quality);
    m_spin_colours->SetValue(options.colours);
    m_choice_lossy->SetSelection(options.lossy == kLossyOfQuality ? kLossyFollowing
                                 : options.lossy == 0             ? kLossyOff
                                                                  : kLossyAtLevel);
    m_spin_lossy->SetValue(options.lossy > 0 ? options.lossy : kFirstLossyLevel);
    m_check_transparency->SetValue(options.keepTransparency);
    m_check_optimize->SetValue(options.optimize);
    m_check_maxsize->SetValue(options.maxBytes > 0);
    m_text_maxsize->ChangeValue(SizeFieldText(options.maxBytes));
    m_spin_loop->SetValue(choices.loopCount);
    m_check_loopinfile->SetValue(choices.loopInFile);
}

ExportChoices ExportOptionsDialog::GetChoices() const {
    ExportChoices choices;
    ExportOptions& options = choices.options;
    options.palette = m_radio_best->GetValue() && !m_standardUnderLimit ? PaletteMode::Best
                                                                        : PaletteMode::Standard;
    options.quality = m_spin_quality->GetValue();
    options.colours = m_spin_colours->GetValue();
    switch (m_choice_lossy->GetSelection()) {
    case kLossyOff:
        options.lossy = 0;
        break;
    case kLossyAtLevel:
        options.lossy = m_spin_lossy->GetValue();
        break;
    default:
        options.lossy = kLossyOfQuality;
    }
    options.keepTransparency = m_check_transparency->GetValue();
    options.optimize = m_check_optimize->GetValue();
    if (m_check_maxsize->GetValue() &&
        !ParseByteSize(m_text_maxsize->GetValue(), &options.maxBytes)) {
        options.maxBytes = 0;
    }
    choices.loopCount = m_spin_loop->GetValue();
    choices.loopInFile = m_check_loopinfile->GetValue();
    return choices;
}

void ExportOptionsDialog::Changed() {
    const bool limited = m_check_maxsize->GetValue();
    long long bytes = 0;
    const bool sizeKnown = !limited || ParseByteSize(m_text_maxsize->GetValue(), &bytes);
    // Under a size limit the export chooses the colours, quality and lossy level itself, always
    // among the best colours: shown so, with the standard palette back when the limit goes.
    if (limited && m_radio_standard->GetValue()) {
        m_standardUnderLimit = true;
        m_radio_best->SetValue(true);
    } else if (!limited && m_standardUnderLimit) {
        m_standardUnderLimit = false;
        m_radio_standard->SetValue(true);
    }
    const bool best = m_radio_best->GetValue();
    m_radio_standard->Enable(!limited);
    m_radio_best->Enable(!limited);
    m_spin_quality->Enable(best && !limited);
    m_spin_colours->Enable(best && !limited);
    m_choice_lossy->Enable(!limited);
    m_spin_lossy->Enable(!limited && m_choice_lossy->GetSelection() == kLossyAtLevel);
    m_button_ok->Enable(sizeKnown);

    m_estimateTimer.Stop();
    // An answer still to come no longer fits the choices.
    ++m_generation;
    m_estimated = false;
    wxString line;
    if (!sizeKnown) {
        line = wxString::Format(_("Write the size as a number with K or M, such as 800K or 2M, "
                                  "of at least %lld bytes."),
                                kSmallestGifBytes);
    } else if (limited) {
        line = wxString::Format(
            _("At most %s: the quality, lossy level and colours are chosen to fit."),
            FormatByteSize(bytes));
    } else if (m_animation.FrameCount() > 0) {
        line = _("Estimating the size…");
        m_estimateTimer.StartOnce(kEstimatePauseMs);
    }
    ShowLine(line);
}

void ExportOptionsDialog::ShowLine(const wxString& text) {
    m_text_estimate->SetLabel(text);
    m_text_estimate->Wrap(m_lineWidth);
}

void ExportOptionsDialog::StartEstimate() {
    JoinEstimates(false);
    for (Estimate& running : m_estimates) {
        running.stop->store(true);
    }
    Animation animation = m_animation;
    animation.options = GetChoices().FileOptions();
    Estimate estimate;
    estimate.stop = std::make_shared<std::atomic<bool>>(false);
    estimate.done = std::make_shared<std::atomic<bool>>(false);
    const int generation = m_generation;
    estimate.thread = std::thread([this, animation = std::move(animation), generation,
                                   stop = estimate.stop, done = estimate.done] {
        const unsigned long long bytes =
            EstimateGifBytes(animation, [&stop] { return stop->load(); });
        if (!stop->load()) {
            auto* event = new wxThreadEvent();
            event->SetInt(generation);
            event->SetExtraLong(static_cast<long>(bytes));
            wxQueueEvent(this, event);
        }
        done->store(true);
    });
    m_estimates.push_back(std::move(estimate));
}

void ExportOptionsDialog::OnEstimated(wxThreadEvent& event) {
    if (event.GetInt() != m_generation) {
        return;
    }
    const long bytes = event.GetExtraLong();
    m_estimated = bytes > 0;
    ShowLine(bytes > 0 ? wxString::Format(_("Estimated size: about %s"), FormatByteSize(bytes))
                       : _("The size cannot be estimated."));
}

void ExportOptionsDialog::JoinEstimates(bool all) {
    for (auto estimate = m_estimates.begin(); estimate != m_estimates.end();) {
        if (all) {
            estimate->stop->store(true);
        }
        if (all || estimate->done->load()) {
            estimate->thread.join();
            estimate = m_estimates.erase(estimate);
        } else {
            ++estimate;
        }
    }
}
