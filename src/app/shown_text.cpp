#include "app/shown_text.h"

wxString CappedText(const wxString& text, size_t longest) {
    if (text.length() <= longest) {
        return text;
    }
    return text.Left(longest > 0 ? longest - 1 : 0) + wxString::FromUTF8("\xE2\x80\xA6");
}
