#include "import/xml_safe_text.h"

namespace {
// The length of the sequence at `i` that XML cannot carry, 0 when there is none.
size_t UnsafeLength(std::string_view text, size_t i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x20 || byte == 0x7f) {
        return 1;
    }
    // U+FFFE and U+FFFF: EF BF BE, EF BF BF.
    if (byte == 0xef && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xbf &&
        (static_cast<unsigned char>(text[i + 2]) & 0xfe) == 0xbe) {
        return 3;
    }
    return 0;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}
} // namespace

bool NeedsXmlEscape(std::string_view utf8) {
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (UnsafeLength(utf8, i) > 0) {
            return true;
        }
    }
    return false;
}

std::string EscapeForXml(std::string_view utf8) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(utf8.size() + 8);
    for (size_t i = 0; i < utf8.size();) {
        const size_t unsafe = utf8[i] == '%' ? 1 : UnsafeLength(utf8, i);
        if (unsafe == 0) {
            escaped += utf8[i++];
            continue;
        }
        for (size_t end = i + unsafe; i < end; ++i) {
            const auto byte = static_cast<unsigned char>(utf8[i]);
            escaped += '%';
            escaped += kDigits[byte >> 4];
            escaped += kDigits[byte & 0xf];
        }
    }
    return escaped;
}

std::string UnescapeFromXml(std::string_view escaped) {
    std::string text;
    text.reserve(escaped.size());
    for (size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] == '%' && i + 2 < escaped.size() && HexValue(escaped[i + 1]) >= 0 &&
            HexValue(escaped[i + 2]) >= 0) {
            text += static_cast<char>(HexValue(escaped[i + 1]) * 16 + HexValue(escaped[i + 2]));
            i += 2;
        } else {
            text += escaped[i];
        }
    }
    return text;
}
