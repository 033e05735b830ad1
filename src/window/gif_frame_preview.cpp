// Preview and playback in the lower panel. The frame on show is kept and painted by the panel's
// own paint handler, so it survives anything covering the panel.
#include "window/gif_frame.h"

#include "app/paths.h"
#include "app/platform.h"
#include "app/shown_text.h"
#include "window/menu_labels.h"
#include "window/thumbnailctrl.h"
#include "window/window_layout.h"

#include <wx/dcbuffer.h>
#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/spinctrl.h>
#include <wx/splitter.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/xrc/xmlres.h>

namespace {
// The play timer's interval; the delay control never offers less than 1 hundredth.
int PlayInterval(int delay) {
    return (delay < 1 ? 1 : delay) * 10;
}

} // namespace

wxString GifFrame::FormatFrameStatus(const wxString& name, int width, int height) {
    const wxString format =
        "%s " + _("Width") + ":" + "%d" + _("px") + "," + _("Height") + ":%d " + _("px");
    return wxString::Format(format, CappedText(EscapedText(name)), width, height);
}

void GifFrame::StopPreview() {
    m_timer.Stop();
    m_playIndex = 0;
    ShowRunButton();
    m_isPlaying = false;
}

void GifFrame::ShowRunButton() {
    {
        wxLogNull quiet;
        m_toolBar_button->SetToolNormalBitmap(
            XRCID("m_tool_play"),
            wxBitmap(GetInstallDirectory() + "/Themes/play.png", wxBITMAP_TYPE_ANY));
    }
    SetItemText(m_menuItem_run, _("Run animation"), "Run animation", "Ctrl+P");
}

void GifFrame::ShowStopButton() {
    {
        wxLogNull quiet;
        m_toolBar_button->SetToolNormalBitmap(
            XRCID("m_tool_play"),
            wxBitmap(GetInstallDirectory() + "/Themes/stop.png", wxBITMAP_TYPE_ANY));
    }
    SetItemText(m_menuItem_run, _("Stop animation"), "Stop animation", "Ctrl+T");
}

void GifFrame::OnRunAnimation(wxCommandEvent&) {
    if (m_isPlaying) {
        m_timer.Stop();
        m_playIndex = 0;
        ShowRunButton();
    } else {
        if (m_thumbnailCtrl->GetCount() == 0) {
            return;
        }
        // Each tick shows one frame and waits for that frame's delay; the waits are measured
        // from the start, so late ticks do not add up.
        m_playClock.Start();
        m_playDue = PlayInterval(m_animation.Frame(m_playIndex % m_animation.FrameCount()).delay);
        m_timer.StartOnce(static_cast<int>(m_playDue));
        ShowStopButton();
    }
    m_isPlaying = !m_isPlaying;
}

void GifFrame::OnTimer(wxTimerEvent&) {
    const int count = m_animation.FrameCount();
    if (count == 0) {
        StopPreview();
        return;
    }
    const int shown = m_playIndex < count ? m_playIndex : 0;
    PreviewFrame(shown);
    m_playIndex = shown + 1;
    if (m_playIndex >= count) {
        ++m_loopsPlayed;
        m_playIndex = 0;
        if (m_loopsPlayed == m_loopCount) {
            m_timer.Stop();
            m_loopsPlayed = 0;
            ShowRunButton();
            m_isPlaying = false;
            return;
        }
    }
    if (m_isPlaying) {
        m_playDue += PlayInterval(m_animation.Frame(shown).delay);
        const long long wait = m_playDue - m_playClock.TimeInMicro().GetValue() / 1000;
        m_timer.StartOnce(static_cast<int>(wait < 1 ? 1 : wait));
    }
}

void GifFrame::PreviewFrame(int index) {
    if (index < 0 || index >= m_animation.FrameCount()) {
        return;
    }
    const AnimationFrame& frame = m_animation.Frame(index);
    const wxImage picture = m_decodedFrames.Get(frame.pixels);
    // Only the picture at the size it is painted at becomes a bitmap, once (see PaintPreview):
    // playback of large frames then makes one small bitmap a frame, not two full-size ones.
    m_currentPicture = m_view.IsIdentity() ? picture : ApplyTransform(picture, m_view);
    m_currentFileName = wxFileNameFromPath(frame.source);
    m_previewScaled = wxBitmap();
    m_previewShown = true;
    m_panel_down->Refresh();
    const int bw = m_currentPicture.IsOk() ? m_currentPicture.GetWidth() : 0;
    const int bh = m_currentPicture.IsOk() ? m_currentPicture.GetHeight() : 0;
    m_statusBar1->SetStatusText(FormatFrameStatus(m_currentFileName, bw, bh), 1);
}

void GifFrame::ClearPreviewPanel() {
    m_previewShown = false;
    m_previewScaled = wxBitmap();
    m_panel_down->Refresh();
}

void GifFrame::OnPaintPreview(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(m_panel_down);
    PaintPreview(dc, m_panel_down->GetSize());
}

void GifFrame::PaintPreview(wxDC& dc, const wxSize& panel) {
    const StripPalette& palette = m_thumbnailCtrl->GetPalette();
    dc.SetBackground(wxBrush(ToColour(palette.preview)));
    dc.Clear();
    if (wxWindow::FindFocus() == m_panel_down) {
        DrawFocusFrame(dc, wxRect(panel).Deflate(1), ToColour(palette.previewFocus));
    }
    if (!m_previewShown || !m_currentPicture.IsOk() || m_currentPicture.GetWidth() <= 0 ||
        m_currentPicture.GetHeight() <= 0) {
        return;
    }
    const wxRect place = PreviewPlacement(m_currentPicture.GetSize(), panel);
    if (place.width <= 0 || place.height <= 0) {
        return;
    }
    // The bitmap is made once per frame and panel size, not on every repaint.
    if (!m_previewScaled.IsOk() || m_previewScaled.GetSize() != place.GetSize()) {
        m_previewScaled = wxBitmap(
            place.GetSize() == m_currentPicture.GetSize()
                ? m_currentPicture
                : m_currentPicture.Scale(place.width, place.height, wxIMAGE_QUALITY_NORMAL));
    }
    dc.DrawBitmap(m_previewScaled, place.x, place.y, true);
}

void GifFrame::OnThumbnailLeftClick(wxThumbnailEvent& event) {
    if (m_thumbnailCtrl->GetCount() == 0) {
        return;
    }
    StopPreview();
    PreviewFrame(event.GetItemIndex());
}

void GifFrame::OnThumbnailFocusMoved(wxThumbnailEvent& event) {
    StopPreview();
    PreviewFrame(event.GetItemIndex());
}

void GifFrame::OnChangeSplitterWindow(wxSplitterEvent& event) {
    TraceLine("OnChangeSplitterWindow");
    const wxArrayInt& selection = m_thumbnailCtrl->GetSelectedIndices();
    if (!selection.empty() && selection[0] >= 0) {
        PreviewFrame(selection[0]);
    }
    event.Skip();
}
