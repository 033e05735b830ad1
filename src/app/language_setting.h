// The interface languages the program offers, and the per-user remembered choice, kept as
// decimal digits in the language file.
#pragma once

#include <wx/language.h>

// One entry of the Language menu. The stored value is the item's command id and what the
// language file holds; these values predate the toolkit's current language numbering, so they
// are mapped to the toolkit's own constants wherever a locale is made.
struct InterfaceLanguage {
    const char* label; // UTF-8, shown in the language itself, never translated
    int value;
    wxLanguage toolkit;
};

constexpr InterfaceLanguage kInterfaceLanguages[7] = {
    {"中文简体", 46, wxLANGUAGE_CHINESE_SIMPLIFIED},
    {"中文繁体", 47, wxLANGUAGE_CHINESE_TRADITIONAL},
    {"Deutsch", 89, wxLANGUAGE_GERMAN},
    {"English", 58, wxLANGUAGE_ENGLISH},
    {"Français", 80, wxLANGUAGE_FRENCH},
    {"Italiano", 110, wxLANGUAGE_ITALIAN},
    {"日本語", 112, wxLANGUAGE_JAPANESE},
};

// Default interface language: English.
constexpr int kDefaultLanguage = 58;

// The toolkit's language for a stored value; 0 and values no menu item carries give the
// system's language.
wxLanguage ToolkitLanguage(int value);

// The menu's language for a system locale name such as "de_DE.UTF-8" or "zh_TW"; English
// for every other.
int LanguageForLocaleName(const wxString& name);

// The remembered language; a missing file is created holding the system's language (or
// English when it is none of the seven) and gives it, a
// file that cannot be read or holds no number gives 0 (the system's language).
int ReadLanguageSetting();
void WriteLanguageSetting(int language);
