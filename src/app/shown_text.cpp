#include "app/shown_text.h"

namespace {
// Where wxMBConvUTF8::MAP_INVALID_UTF8_TO_PUA puts the bytes it cannot decode.
const wxUint32 kFirstByteCharacter = 0x100000;
} // namespace

wxString EscapedText(const wxString& text) {
    wxString shown;
    shown.reserve(text.length());
    for (const wxUniChar c : text) {
        const wxUint32 code = c.GetValue();
        if (code >= kFirstByteCharacter && code < kFirstByteCharacter + 0x100) {
            shown += wxString::Format("\\x%02X", code - kFirstByteCharacter);
        } else {
            shown += c;
        }
    }
    return shown;
}

wxString CappedText(const wxString& text, size_t longest) {
    if (text.length() <= longest) {
        return text;
    }
    return text.Left(longest > 0 ? longest - 1 : 0) + wxString::FromUTF8("\xE2\x80\xA6");
}
