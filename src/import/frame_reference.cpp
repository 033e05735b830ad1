#include "import/frame_reference.h"

#include "app/platform.h"

namespace {
constexpr std::string_view kGifExtension = ".gif";

template <typename Text> bool EndsWithGifExtension(const Text& path, size_t end) {
    if (end < kGifExtension.length()) {
        return false;
    }
    for (size_t i = 0; i < kGifExtension.length(); ++i) {
        if (path[end - kGifExtension.length() + i] != kGifExtension[i]) {
            return false;
        }
    }
    return true;
}

// Where the digits of a frame reference start, or npos when the path is none.
template <typename Text> size_t FrameDigitsStart(const Text& path) {
    size_t start = path.length();
    while (start > 0 && path[start - 1] >= '0' && path[start - 1] <= '9') {
        --start;
    }
    if (start == path.length() || start < 1 || path[start - 1] != '_') {
        return Text::npos;
    }
    const size_t underscore = start - 1;
    if (underscore <= kGifExtension.length() || !EndsWithGifExtension(path, underscore)) {
        return Text::npos;
    }
    return start;
}
} // namespace

bool IsGifSource(const wxString& path) {
    return EndsWithGifExtension(path, path.length());
}

int ParseFrameIndex(const wxString& path) {
    const size_t start = FrameDigitsStart(path);
    if (start == wxString::npos) {
        return -1;
    }
    return StringToInt(path.Mid(start));
}

wxString FrameSourceName(const wxString& path, int index) {
    return IsGifSource(path) ? path + wxString::Format(wxS("_%d"), index) : path;
}

wxString StripFrameSuffix(const wxString& path) {
    const size_t start = FrameDigitsStart(path);
    if (start == wxString::npos) {
        return path;
    }
    return path.Left(start - 1);
}

bool IsGifSourceUtf8(std::string_view path) {
    return EndsWithGifExtension(path, path.length());
}

std::string_view StripFrameSuffixUtf8(std::string_view path) {
    const size_t start = FrameDigitsStart(path);
    return start == std::string_view::npos ? path : path.substr(0, start - 1);
}
