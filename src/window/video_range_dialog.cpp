#include "window/video_range_dialog.h"

#include "app/memory_budget.h"
#include "export/size_fitting.h"
#include "image/thumbnail_fit.h"
#include "import/import_memory.h"
#include "video/video_time.h"

#include <wx/bitmap.h>
#include <wx/button.h>
#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <cmath>

namespace {
// The picture at the start is shown within this box.
const wxSize kPictureBox(320, 240);
} // namespace

VideoRangeDialog::VideoRangeDialog(wxWindow* parent, const wxString& path, const VideoProbe& probe)
    : wxDialog(parent, wxID_ANY, _("Import Video"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE),
      m_path(path), m_probe(probe) {
    m_range = ResolveVideoRange(probe, VideoRange());
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(new wxStaticText(this, wxID_ANY, wxFileNameFromPath(path)), 0, wxALL, 10);
    m_picture = new wxStaticBitmap(this, wxID_ANY, wxBitmap(kPictureBox.x, kPictureBox.y));
    m_picture->SetMinSize(kPictureBox);
    column->Add(m_picture, 0, wxALIGN_CENTER_HORIZONTAL | wxLEFT | wxRIGHT, 10);
    const wxString facts = wxString::Format(
        _("Length %s, %d x %d pixels, %s frames a second"), FormatVideoTime(probe.duration),
        probe.size.GetWidth(), probe.size.GetHeight(), wxString::FromCDouble(probe.frameRate, 2));
    column->Add(new wxStaticText(this, wxID_ANY, facts), 0, wxALL, 10);

    auto* grid = new wxFlexGridSizer(2, 6, 10);
    m_start = new wxTextCtrl(this, wxID_ANY, FormatVideoTime(m_range.start));
    m_start->SetName("video_start");
    m_end = new wxTextCtrl(this, wxID_ANY, FormatVideoTime(m_range.end));
    m_end->SetName("video_end");
    // A rate of 0 would give no frame at all; GIF delays end at 50 a second.
    m_rate = new wxSpinCtrlDouble(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                  wxSP_ARROW_KEYS, 1, kFastestVideoRate, m_range.fps, 1);
    m_rate->SetDigits(2);
    m_rate->SetName("video_rate");
    grid->Add(new wxStaticText(this, wxID_ANY, _("Start")), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(m_start, 1, wxEXPAND);
    grid->Add(new wxStaticText(this, wxID_ANY, _("End")), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(m_end, 1, wxEXPAND);
    grid->Add(new wxStaticText(this, wxID_ANY, _("Frames a second")), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(m_rate, 1, wxEXPAND);
    grid->AddGrowableCol(1);
    column->Add(grid, 0, wxEXPAND | wxLEFT | wxRIGHT, 10);
    m_count = new wxStaticText(this, wxID_ANY, wxEmptyString);
    column->Add(m_count, 0, wxEXPAND | wxALL, 10);
    column->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 10);
    m_ok = static_cast<wxButton*>(FindWindow(wxID_OK));
    SetSizerAndFit(column);

    m_start->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { Check(); });
    m_end->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { Check(); });
    m_rate->Bind(wxEVT_SPINCTRLDOUBLE, [this](wxSpinDoubleEvent&) { Check(); });
    m_rate->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { Check(); });
    Check();
}

VideoRange VideoRangeDialog::GetRange() const {
    VideoRange range = m_range;
    range.fps = m_rate->GetValue();
    return range;
}

void VideoRangeDialog::Check() {
    double start = 0;
    double end = 0;
    const bool times =
        ParseVideoTime(m_start->GetValue(), &start) && ParseVideoTime(m_end->GetValue(), &end);
    // A part past the end would bring in nothing.
    const double length = m_probe.duration > 0 ? m_probe.duration : INFINITY;
    wxString problem;
    if (!times) {
        problem = _("Write the times as minutes and seconds, such as 1:05.50, or as seconds.");
    } else if (end <= start) {
        problem = _("The end must come after the start.");
    } else if (start >= length) {
        problem = wxString::Format(_("The video ends at %s."), FormatVideoTime(length));
    }
    VideoRange range{start, std::min(end, length), m_rate->GetValue()};
    const int count = problem.empty() ? CountVideoPictures(m_probe, range) : 0;
    // The import takes room for every frame of the part before it decodes one; a part that
    // cannot have it is refused here, where a shorter part or a lower rate can be chosen.
    const unsigned long long needed = count * PictureMemory(m_probe.size);
    const MemoryBudget& budget = MemoryBudget::Process();
    if (problem.empty() && budget.InUse() + needed > budget.Limit()) {
        problem = wxString::Format(_("These %d frames would take %s, more memory than this "
                                     "computer can spare."),
                                   count, FormatByteSize(needed));
    }
    m_ok->Enable(problem.empty());
    if (!problem.empty()) {
        m_count->SetLabel(problem);
        return;
    }
    m_range = range;
    m_count->SetLabel(wxString::Format(_("%d frames will come in."), count));
    ShowPictureAt(start);
}

void VideoRangeDialog::ShowPictureAt(double time) {
    if (time == m_shownTime) {
        return;
    }
    m_shownTime = time;
    wxImage picture;
    ReadVideoTimes(
        m_path, {time}, [&picture](VideoPicture taken) { picture = *taken.image; },
        VideoStopRequest());
    wxBitmap shown(kPictureBox.x, kPictureBox.y);
    if (picture.IsOk()) {
        shown = wxBitmap(ShrinkToFit(picture, kPictureBox));
    }
    m_picture->SetBitmap(shown);
    Layout();
}
