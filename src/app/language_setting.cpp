#include "app/language_setting.h"

#include "app/paths.h"
#include "app/platform.h"

#include <wx/convauto.h>
#include <wx/file.h>

wxLanguage ToolkitLanguage(int value) {
    for (const InterfaceLanguage& language : kInterfaceLanguages) {
        if (language.value == value) {
            return language.toolkit;
        }
    }
    return wxLANGUAGE_DEFAULT;
}

int ReadLanguageSetting() {
    const wxString path = GetLanguageFilePath();
    if (!wxFile::Exists(path)) {
        WriteLanguageSetting(kDefaultLanguage);
        return kDefaultLanguage;
    }
    char buffer[9] = {};
    wxFile file;
    if (!file.Open(path, wxFile::read)) {
        return 0;
    }
    const ssize_t got = file.Read(buffer, 8);
    file.Close();
    if (got <= 0) {
        return 0;
    }
    return StringToInt(wxString(buffer, wxConvAuto()));
}

void WriteLanguageSetting(int language) {
    wxFile file(GetLanguageFilePath(), wxFile::write);
    if (file.IsOpened()) {
        file.Write(wxString::Format("%d", language), wxConvAuto());
        file.Close();
    }
}
