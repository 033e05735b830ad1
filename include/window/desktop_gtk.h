// What the window asks of the GTK desktop beyond the toolkit: the input method left alone
// when none is set up, key names in the language shown, and the desktop's list of recently
// used files.
#pragma once

#include <wx/string.h>

// Without a configured input method GTK falls back to XIM in Chinese, Japanese and Korean,
// which gives the strip a native window that stays black; the plain method is used instead.
void AvoidUnconfiguredInputMethod();

// Menus show their accelerators with GTK's modifier names, which GTK takes once at the first
// menu; after a language switch they are looked up again, so that "Strg+Einfg" never reads
// "Ctrl+Einfg".
void TranslateKeyNames();

// Registers a file in the desktop's recently-used list.
void AddToRecentFiles(const wxString& path);
