#include "window/window_layout.h"

wxRect PreviewPlacement(const wxSize& frame, const wxSize& panel) {
    int w = frame.GetWidth();
    int h = frame.GetHeight();
    const double sx = double(panel.GetWidth()) / frame.GetWidth();
    const double sy = double(panel.GetHeight()) / frame.GetHeight();
    if (sx < 1 || sy < 1) {
        const double s = sx < sy ? sx : sy;
        w = static_cast<int>(frame.GetWidth() * s);
        h = static_cast<int>(frame.GetHeight() * s);
    }
    return wxRect((panel.GetWidth() - w) / 2, (panel.GetHeight() - h) / 2, w, h);
}

wxString FitFrameLabel(int number, float seconds, int width, const TextWidth& measure) {
    // From the full label down: one blank and "s", then fewer decimals, then the number alone.
    const wxString forms[] = {
        wxString::Format(wxS("#%d  %.2fsec"), number, seconds),
        wxString::Format(wxS("#%d %.2fs"), number, seconds),
        wxString::Format(wxS("#%d %.1fs"), number, seconds),
        wxString::Format(wxS("#%d %.0fs"), number, seconds),
    };
    for (const wxString& form : forms) {
        if (measure(form) <= width) {
            return form;
        }
    }
    return wxString::Format(wxS("#%d"), number);
}

wxString FitEntryName(const wxString& name, int width, const TextWidth& measure) {
    if (measure(name) <= width) {
        return name;
    }
    const wxString ellipsis = wxString::FromUTF8("\xE2\x80\xA6");
    const size_t reference = name.rfind(wxS(".gif_"));
    const size_t dot = name.rfind('.');
    const size_t tailStart = reference != wxString::npos ? reference
                             : dot != wxString::npos     ? dot
                                                         : name.length();
    const wxString base = name.Left(tailStart);
    const wxString tail = name.Mid(tailStart);
    // Names of one sequence differ at the end of the base ("frame_1", "frame_2"): the base
    // loses its middle.
    for (size_t keep = base.length(); keep-- > 0;) {
        const size_t end = keep / 2;
        const wxString shortened = base.Left(keep - end) + ellipsis + base.Right(end) + tail;
        if (measure(shortened) <= width) {
            return shortened;
        }
    }
    return ellipsis + tail;
}
