// Menu labels, built in one place: the translated text with a mnemonic of its own among its
// neighbours in every language, and after a tab the accelerator, which stays untranslated.
#pragma once

#include <wx/menu.h>
#include <wx/string.h>

// Appends an item labelled with the translation of `english` (the text extraction takes
// AddItem's second argument) and the accelerator.
wxMenuItem* AddItem(wxMenu* menu, const char* english, const char* accelerator = nullptr,
                    wxItemKind kind = wxITEM_NORMAL);
// The same for a text already translated: its mnemonic then takes no English letter.
wxMenuItem* AddItem(wxMenu* menu, const wxString& text, const char* accelerator = nullptr,
                    wxItemKind kind = wxITEM_NORMAL);
// Appends a submenu item, or a menu to the bar, under the translation of `english`.
wxMenuItem* AddSubmenu(wxMenu* menu, wxMenu* submenu, const char* english);
void AddMenu(wxMenuBar* bar, wxMenu* menu, const char* english);

// Gives every title of the bar and every item below it a mnemonic: a letter of its own text
// not yet taken in its menu, word starts first; a text without such a letter (Chinese,
// Japanese) gets its English word's letter in brackets after it, as GNOME does.
void AssignMnemonics(wxMenuBar* bar);

// The label an item shows for a text that changes while the program runs (Run and Stop,
// Undo of a named edit), with a mnemonic apart from its neighbours'; SetItemText sets it only
// when it differs.
wxString ItemLabel(const wxMenuItem* item, const wxString& text, const wxString& english,
                   const char* accelerator);
void SetItemText(wxMenuItem* item, const wxString& text, const wxString& english,
                 const char* accelerator);

// The mnemonic placed in one text, given the letters its neighbours took (lower case), which
// it adds to.
wxString PlaceMnemonic(const wxString& text, const wxString& english, wxString& taken);
