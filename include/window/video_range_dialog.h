// The small dialog shown before a video comes in: which part of it (start and end, as times)
// and how many frames a second, with the video's length and size, the number of frames that
// will come in and the picture at the start. OK takes only a part that can be read: an end
// after the start, within the video.
#pragma once

#include "video/video_probe.h"
#include "video/video_reading.h"

#include <wx/dialog.h>

class wxButton;
class wxSpinCtrlDouble;
class wxStaticBitmap;
class wxStaticText;
class wxTextCtrl;

class VideoRangeDialog : public wxDialog {
public:
    // `probe` is what ProbeVideo said of `path`, readable.
    VideoRangeDialog(wxWindow* parent, const wxString& path, const VideoProbe& probe);

    // The part and rate chosen; valid once the dialog ended with OK.
    VideoRange GetRange() const;

    wxTextCtrl* StartControl() const { return m_start; }
    wxTextCtrl* EndControl() const { return m_end; }
    wxSpinCtrlDouble* RateControl() const { return m_rate; }
    wxStaticText* CountText() const { return m_count; }

private:
    // Reads the controls into m_range; the OK button and the count follow whether they hold
    // a part that can be read.
    void Check();
    void ShowPictureAt(double time);

    wxString m_path;
    VideoProbe m_probe;
    VideoRange m_range;
    double m_shownTime = -1;
    wxTextCtrl* m_start = nullptr;
    wxTextCtrl* m_end = nullptr;
    wxSpinCtrlDouble* m_rate = nullptr;
    wxStaticText* m_count = nullptr;
    wxStaticBitmap* m_picture = nullptr;
    wxButton* m_ok = nullptr;
};
