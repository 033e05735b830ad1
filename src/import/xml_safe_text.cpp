#include "import/xml_safe_text.h"

namespace {
// The length of a valid UTF-8 sequence of more than one byte at `i`; 0 when there is none.
size_t SequenceLength(std::string_view text, size_t i) {
    const auto byte = [&](size_t k) {
        return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0;
    };
    const unsigned char lead = byte(0);
    const size_t length = lead >= 0xc2 && lead <= 0xdf   ? 2
                          : lead >= 0xe0 && lead <= 0xef ? 3
                          : lead >= 0xf0 && lead <= 0xf4 ? 4
                                                         : 0;
    // The second byte's range rules out overlong forms, surrogates and code points past U+10FFFF.
    const unsigned char low = lead == 0xe0 ? 0xa0 : lead == 0xf0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xed ? 0x9f : lead == 0xf4 ? 0x8f : 0xbf;
    if (length == 0 || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (size_t k = 2; k < length; ++k) {
        if ((byte(k) & 0xc0) != 0x80) {
            return 0;
        }
    }
    return length;
}

// The sequence at `i`: how many bytes it takes and whether XML can carry it. Control
// characters, U+FFFE and U+FFFF are no XML characters, and a byte that is not UTF-8 (a file name
// may hold any byte but "/" and NUL) is none either.
struct Sequence {
    size_t length;
    bool unsafe;
};

Sequence SequenceAt(std::string_view text, size_t i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
        return {1, byte < 0x20 || byte == 0x7f};
    }
    const size_t length = SequenceLength(text, i);
    if (length == 0) {
        return {1, true};
    }
    // U+FFFE and U+FFFF: EF BF BE, EF BF BF.
    const bool noCharacter = byte == 0xef && static_cast<unsigned char>(text[i + 1]) == 0xbf &&
                             (static_cast<unsigned char>(text[i + 2]) & 0xfe) == 0xbe;
    return {length, noCharacter};
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
    for (size_t i = 0; i < utf8.size();) {
        const Sequence sequence = SequenceAt(utf8, i);
        if (sequence.unsafe) {
            return true;
        }
        i += sequence.length;
    }
    return false;
}

std::string EscapeForXml(std::string_view utf8) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(utf8.size() + 8);
    for (size_t i = 0; i < utf8.size();) {
        const Sequence sequence = SequenceAt(utf8, i);
        const bool unsafe = sequence.unsafe || utf8[i] == '%';
        for (size_t end = i + sequence.length; i < end; ++i) {
            if (!unsafe) {
                escaped += utf8[i];
                continue;
            }
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
