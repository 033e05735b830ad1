#include "import/xpm_picture.h"

#include "app/memory_budget.h"

#include <wx/xpmdecod.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <string_view>
#include <sys/stat.h>

namespace {
// The toolkit's decoder takes keys of fewer characters than this.
const unsigned long long kMostCharsPerPixel = 63;
const unsigned long long kLargestValue = 0xFFFFFFFFULL;
} // namespace

XpmStrings ReadXpmStrings(const char* text, size_t size, size_t most) {
    const std::string_view source(text, size);
    XpmStrings strings;
    size_t at = 0;
    while (at < size && strings.starts.size() < most) {
        const char c = source[at];
        const char next = at + 1 < size ? source[at + 1] : '\0';
        if (c == '/' && next == '*') {
            const size_t end = source.find("*/", at + 2);
            if (end == std::string_view::npos) {
                break;
            }
            at = end + 2;
        } else if (c == '/' && next == '/') {
            const size_t end = source.find('\n', at + 2);
            at = end == std::string_view::npos ? size : end + 1;
        } else if (c == '"' || c == '\'') {
            // A string, or a character constant, which holds none.
            const size_t start = strings.bytes.size();
            for (++at; at < size && source[at] != c; ++at) {
                if (source[at] == '\\' && at + 1 < size) {
                    ++at;
                }
                if (c == '"') {
                    strings.bytes += source[at];
                }
            }
            if (at >= size) {
                strings.bytes.resize(start);
                break; // left open: the file was cut short
            }
            ++at;
            if (c == '"') {
                strings.starts.push_back(start);
                strings.bytes += '\0';
            }
        } else {
            ++at;
        }
    }
    return strings;
}

bool ParseXpmValues(const char* first, XpmValues* values) {
    unsigned long long* const fields[] = {&values->width, &values->height, &values->colours,
                                          &values->charsPerPixel};
    const char* at = first;
    for (unsigned long long* field : fields) {
        while (std::isspace(static_cast<unsigned char>(*at))) {
            ++at;
        }
        if (!std::isdigit(static_cast<unsigned char>(*at))) {
            return false;
        }
        *field = 0;
        for (; std::isdigit(static_cast<unsigned char>(*at)); ++at) {
            *field =
                std::min(*field * 10 + static_cast<unsigned long long>(*at - '0'), kLargestValue);
        }
    }
    return true;
}

bool ReadXpmPicture(const wxString& path, unsigned long long width, unsigned long long height,
                    wxImage* picture) {
    FILE* file = std::fopen(path.fn_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    struct stat status;
    if (fstat(fileno(file), &status) != 0 || status.st_size <= 0) {
        std::fclose(file);
        return false;
    }
    const size_t size = static_cast<size_t>(status.st_size);
    // The file's text, then its strings beside it.
    MemoryCharge text(MemoryBudget::Process(), 2ULL * size);
    if (!text.Held()) {
        std::fclose(file);
        throw std::bad_alloc();
    }
    XpmStrings strings;
    {
        std::string content(size, '\0');
        const size_t got = std::fread(&content[0], 1, size, file);
        std::fclose(file);
        strings = ReadXpmStrings(content.data(), got, std::numeric_limits<size_t>::max());
    }
    XpmValues values;
    if (strings.starts.empty() || !ParseXpmValues(strings.bytes.data(), &values) ||
        values.width != width || values.height != height || width == 0 || height == 0 ||
        values.colours == 0 || values.charsPerPixel == 0 ||
        values.charsPerPixel > kMostCharsPerPixel ||
        strings.starts.size() < 1 + values.colours + height) {
        return false;
    }
    // Lines as the decoder reads them, ended by a null as the toolkit's own reader ends them.
    const size_t lines = static_cast<size_t>(1 + values.colours + height);
    std::vector<const char*> array(lines + 1, nullptr);
    for (size_t i = 0; i < lines; ++i) {
        array[i] = strings.bytes.data() + strings.starts[i];
        // A colour line holds its key and a colour after it; a row holds a key a pixel.
        const size_t needed = i == 0 ? 0
                              : i <= values.colours
                                  ? static_cast<size_t>(values.charsPerPixel) + 1
                                  : static_cast<size_t>(width * values.charsPerPixel);
        if (std::strlen(array[i]) < needed) {
            return false;
        }
    }
    *picture = wxXPMDecoder().ReadData(array.data());
    return picture->IsOk();
}
