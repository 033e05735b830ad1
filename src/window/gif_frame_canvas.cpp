// The delay and the canvas size: one delay for all frames, and a width and height that keep
// the proportions of the canvas taken from the frames.
#include "window/gif_frame.h"

#include "app/canvas_size.h"
#include "app/platform.h"
#include "app/shown_text.h"
#include "edit/frame_edits.h"
#include "window/thumbnailctrl.h"

#include <wx/intl.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>

void GifFrame::ShowOutputSize(int width, int height) {
    m_statusBar1->SetStatusText(
        m_gifName.empty()
            ? wxString::Format("Untitled.gif (%d * %d)px", width, height)
            : wxString::Format("%s (%d * %d)px", CappedText(EscapedText(m_gifName)), width, height),
        0);
}

void GifFrame::ShowTypedSize(const FrameSize& size) {
    // The typed side changes too when the other would leave the range a GIF can hold; a
    // control is only set when it differs, so that typing in it is not disturbed.
    if (m_spinctrl_width->GetValue() != size.width) {
        m_spinctrl_width->SetValue(size.width);
    }
    if (m_spinctrl_height->GetValue() != size.height) {
        m_spinctrl_height->SetValue(size.height);
    }
    m_outputWidth = size.width;
    m_outputHeight = size.height;
    ShowOutputSize(size.width, size.height);
}

void GifFrame::OnSetDelay(wxCommandEvent&) {
    TraceLine("OnSetDelay");
    StopPreview();
    const AnimationSettings before{m_thumbnailCtrl->GetDelay(), m_outputWidth, m_outputHeight,
                                   m_view};
    const std::vector<int> delays = m_animation.Delays();
    const int delay = m_spinctrl_delay->GetValue();
    m_thumbnailCtrl->SetDelay(delay);
    // The control sets every frame's delay, as one edit with the typing that follows.
    for (int n = 0; n < m_animation.FrameCount(); ++n) {
        m_animation.SetDelay(n, delay);
    }
    m_thumbnailCtrl->Refresh();
    if (m_thumbnailCtrl->GetCount() > 0) {
        RecordSettingsEdit(EditKind::Delay, before, delays);
    }
}

void GifFrame::OnSetWidth(wxCommandEvent&) {
    ApplyTypedSide(m_spinctrl_width, m_imageWidth, SizeForWidth, EditKind::Width);
}

void GifFrame::OnSetHeight(wxCommandEvent&) {
    ApplyTypedSide(m_spinctrl_height, m_imageHeight, SizeForHeight, EditKind::Height);
}

void GifFrame::ApplyTypedSide(wxSpinCtrl* field, int imageSide,
                              FrameSize (*sizeFor)(int, const FrameSize&), EditKind kind) {
    // Without a canvas taken from the frames there is no proportion to keep.
    if (m_thumbnailCtrl->GetCount() == 0 || imageSide == 0) {
        return;
    }
    // A field emptied to type a new number reads 0: nothing follows until it holds one, so
    // that the field is not rewritten under the user's fingers.
    const int typed = field->GetValue();
    if (typed < 1) {
        return;
    }
    const AnimationSettings before = CurrentSettings();
    ShowTypedSize(sizeFor(typed, {m_imageWidth, m_imageHeight}));
    RecordSettingsEdit(kind, before);
}

void GifFrame::RefreshCanvasSize() {
    const int count = m_thumbnailCtrl->GetCount();
    if (count == 0) {
        m_statusBar1->SetStatusText(wxEmptyString, 0);
        m_spinctrl_width->SetValue(0);
        m_spinctrl_height->SetValue(0);
        return;
    }
    const FrameSize canvas = ViewedCanvas(m_view);
    const int w = canvas.width;
    const int h = canvas.height;
    m_imageWidth = m_outputWidth = w;
    m_imageHeight = m_outputHeight = h;
    m_spinctrl_width->SetValue(w);
    m_spinctrl_height->SetValue(h);
    ShowCanvasStatus();
}

FrameSize GifFrame::ViewedCanvas(const ViewTransform& view) const {
    std::vector<FrameSize> frames;
    frames.reserve(m_animation.FrameCount());
    for (const AnimationFrame& frame : m_animation.Frames()) {
        const wxSize shown =
            TransformedSize(wxSize(frame.pixels->Width(), frame.pixels->Height()), view);
        frames.push_back({shown.x, shown.y});
    }
    return CanvasOfFrames(frames);
}

void GifFrame::ShowCanvasStatus() {
    // The controls are read back: their range may have clamped what was set.
    const int shownWidth = m_spinctrl_width->GetValue();
    const int shownHeight = m_spinctrl_height->GetValue();
    const wxString format = m_gifName.empty() ? wxString("Untitled.gif (%d * %d)") + _("px")
                                              : wxString("%s (%d * %d)") + _("px");
    m_statusBar1->SetStatusText(
        m_gifName.empty()
            ? wxString::Format(format, shownWidth, shownHeight)
            : wxString::Format(format, CappedText(EscapedText(m_gifName)), shownWidth, shownHeight),
        0);
}
