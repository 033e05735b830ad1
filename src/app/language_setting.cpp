#include "app/language_setting.h"

#include "app/paths.h"
#include "app/platform.h"

#include <wx/convauto.h>
#include <wx/file.h>
#include <wx/utils.h>

wxLanguage ToolkitLanguage(int value) {
    for (const InterfaceLanguage& language : kInterfaceLanguages) {
        if (language.value == value) {
            return language.toolkit;
        }
    }
    return wxLANGUAGE_DEFAULT;
}

int LanguageForLocaleName(const wxString& name) {
    const wxString code = name.BeforeFirst('.').BeforeFirst('@');
    const wxString language = code.BeforeFirst('_').Lower();
    if (language == "zh") {
        // Taiwan and Hong Kong write traditional characters.
        const wxString region = code.AfterFirst('_').Upper();
        return region == "TW" || region == "HK" || region == "MO" ? 47 : 46;
    }
    const struct {
        const char* code;
        int value;
    } others[] = {{"de", 89}, {"fr", 80}, {"it", 110}, {"ja", 112}};
    for (const auto& other : others) {
        if (language == other.code) {
            return other.value;
        }
    }
    return kDefaultLanguage;
}

int ReadLanguageSetting() {
    const wxString path = GetLanguageFilePath();
    if (!wxFile::Exists(path)) {
        // The first start speaks the system's language, as the exporter does.
        wxString name;
        for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
            if (wxGetEnv(variable, &name) && !name.empty()) {
                break;
            }
        }
        const int language = LanguageForLocaleName(name);
        WriteLanguageSetting(language);
        return language;
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
