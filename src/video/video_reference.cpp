#include "video/video_reference.h"

#include <wx/filefn.h>
#include <wx/filename.h>

#include <cmath>

namespace {
const char* const kMarker = "#t=";
const char* const kRate = "&fps=";
const char* const kExtensions[] = {"mp4", "m4v", "mkv",  "webm", "mov", "avi", "mpg", "mpeg",
                                   "ts",  "mts", "m2ts", "ogv",  "wmv", "flv", "3gp"};

// Enough digits to find the same frame again, without trailing zeros.
wxString Seconds(double seconds) {
    wxString text = wxString::FromCDouble(seconds, 6);
    text = text.Strip(wxString::trailing);
    while (text.EndsWith("0")) {
        text.RemoveLast();
    }
    if (text.EndsWith(".")) {
        text.RemoveLast();
    }
    return text;
}

bool ReadSeconds(const wxString& text, double* seconds) {
    return !text.empty() && text.find_first_not_of("0123456789.") == wxString::npos &&
           text.ToCDouble(seconds) && std::isfinite(*seconds);
}
} // namespace

wxString VideoFrameName(const wxString& path, double time) {
    return path + kMarker + Seconds(time);
}

wxString VideoPartName(const wxString& path, const VideoRange& range) {
    wxString name = path + kMarker + Seconds(range.start) + ",";
    if (std::isfinite(range.end)) {
        name += Seconds(range.end);
    }
    if (range.fps > 0) {
        name += kRate + Seconds(range.fps);
    }
    return name;
}

bool ParseVideoName(const wxString& name, VideoName* parsed) {
    const size_t marker = name.rfind(kMarker);
    if (marker == wxString::npos || marker == 0 || wxFileExists(name)) {
        return false;
    }
    VideoName read;
    read.path = name.substr(0, marker);
    wxString times = name.substr(marker + wxStrlen(kMarker));
    const size_t rate = times.find(kRate);
    if (rate != wxString::npos) {
        if (!ReadSeconds(times.substr(rate + wxStrlen(kRate)), &read.range.fps) ||
            read.range.fps <= 0) {
            return false;
        }
        times = times.substr(0, rate);
    }
    if (!times.Contains(",")) {
        read.frame = true;
        if (rate != wxString::npos || !ReadSeconds(times, &read.time)) {
            return false;
        }
    } else {
        const wxString end = times.AfterFirst(',');
        if (!ReadSeconds(times.BeforeFirst(','), &read.range.start) ||
            (!end.empty() && !ReadSeconds(end, &read.range.end))) {
            return false;
        }
    }
    *parsed = read;
    return true;
}

bool HasVideoExtension(const wxString& path) {
    const wxString extension = wxFileName(path).GetExt().Lower();
    for (const char* known : kExtensions) {
        if (extension == known) {
            return true;
        }
    }
    return false;
}

wxString VideoFilePatterns() {
    wxString patterns;
    for (const char* known : kExtensions) {
        patterns += (patterns.empty() ? "*." : ";*.") + wxString(known);
    }
    return patterns;
}
