#include "app/file_name_bytes.h"

#include <wx/strconv.h>

#include <cstring>
#include <langinfo.h>

namespace {
wxMBConvUTF8& ByteKeepingUtf8() {
    static wxMBConvUTF8 conversion(wxMBConvUTF8::MAP_INVALID_UTF8_TO_PUA);
    return conversion;
}
} // namespace

void KeepFileNameBytes() {
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0) {
        wxConvFileName = &ByteKeepingUtf8();
    }
}

std::string FileNameBytes(const wxString& name) {
    const wxCharBuffer bytes = name.mb_str(ByteKeepingUtf8());
    return std::string(bytes.data(), bytes.length());
}

wxString FileNameFromBytes(std::string_view bytes) {
    return wxString(bytes.data(), ByteKeepingUtf8(), bytes.size());
}
