#include "import/frame_reference.h"

#include "app/platform.h"

namespace {
constexpr std::string_view kGifExtension = ".gif";
// Names a GIF file may carry and still be read by its content: a frame reference may follow
// any of them.
constexpr std::string_view kPictureExtensions[] = {".gif", ".png", ".jpg", ".jpeg", ".bmp"};

// Whether path[0, end) ends with the lower-case extension, in any case of its letters.
template <typename Text>
bool EndsWithExtension(const Text& path, size_t end, std::string_view extension) {
    if (end < extension.length()) {
        return false;
    }
    for (size_t i = 0; i < extension.length(); ++i) {
        const char lower = extension[i];
        const char upper =
            lower >= 'a' && lower <= 'z' ? static_cast<char>(lower - 'a' + 'A') : lower;
        const auto c = path[end - extension.length() + i];
        if (c != lower && c != upper) {
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
    for (std::string_view extension : kPictureExtensions) {
        if (underscore > extension.length() && EndsWithExtension(path, underscore, extension)) {
            return start;
        }
    }
    return Text::npos;
}
} // namespace

bool IsGifSource(const wxString& path) {
    return EndsWithExtension(path, path.length(), kGifExtension);
}

bool IsLowerCaseGifSource(std::string_view path) {
    return path.length() >= kGifExtension.length() &&
           path.substr(path.length() - kGifExtension.length()) == kGifExtension;
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

wxString FrameReference(const wxString& source, int frameIndex) {
    return source + wxString::Format("_%d", frameIndex);
}

bool IsGifSourceUtf8(std::string_view path) {
    return EndsWithExtension(path, path.length(), kGifExtension);
}

std::string_view StripFrameSuffixUtf8(std::string_view path) {
    const size_t start = FrameDigitsStart(path);
    return start == std::string_view::npos ? path : path.substr(0, start - 1);
}
