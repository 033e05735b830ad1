// The per-user remembered interface language, kept as decimal digits in the language file.
#pragma once

// Default interface language: English.
constexpr int kDefaultLanguage = 58;

// The remembered language; a missing file is created holding the default and gives it, a
// file that cannot be read or holds no number gives 0 (the system's language).
int ReadLanguageSetting();
void WriteLanguageSetting(int language);
