#include "import/frame_reference.h"

#include "app/platform.h"

namespace {
const wxString kGifExtension = ".gif";

// Where the digits of a frame reference start, or wxString::npos when the path is none.
size_t FrameDigitsStart(const wxString& path) {
    size_t start = path.length();
    while (start > 0 && path[start - 1] >= '0' && path[start - 1] <= '9') {
        --start;
    }
    if (start == path.length() || start < 1 || path[start - 1] != '_') {
        return wxString::npos;
    }
    const size_t underscore = start - 1;
    if (underscore <= kGifExtension.length() ||
        path.compare(underscore - kGifExtension.length(), kGifExtension.length(), kGifExtension) !=
            0) {
        return wxString::npos;
    }
    return start;
}
} // namespace

bool IsGifSource(const wxString& path) {
    return path.EndsWith(kGifExtension);
}

int ParseFrameIndex(const wxString& path) {
    const size_t start = FrameDigitsStart(path);
    if (start == wxString::npos) {
        return -1;
    }
    return StringToInt(path.Mid(start));
}

wxString StripFrameSuffix(const wxString& path) {
    const size_t start = FrameDigitsStart(path);
    if (start == wxString::npos) {
        return path;
    }
    return path.Left(start - 1);
}
