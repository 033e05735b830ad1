#include "window/menu_labels.h"

#include <wx/intl.h>

#include <map>

namespace {
// The English text each item and menu was made from, for the letter a translation without
// Latin letters borrows.
std::map<int, wxString>& ItemEnglish() {
    static std::map<int, wxString> texts;
    return texts;
}
std::map<const wxMenu*, wxString>& MenuEnglish() {
    static std::map<const wxMenu*, wxString> texts;
    return texts;
}

bool IsLatinLetterOrDigit(wxUniChar c) {
    return c.IsAscii() && wxIsalnum(c);
}

wxString WithAccelerator(const wxString& text, const char* accelerator) {
    return accelerator == nullptr ? text : text + "\t" + accelerator;
}

// The text before the tab, and the mnemonic letter it already carries (0 if none).
wxString TextPart(const wxString& label) {
    return label.BeforeFirst('\t');
}
wxUniChar MnemonicOf(const wxString& label) {
    const wxString text = TextPart(label);
    for (size_t i = 0; i + 1 < text.length(); ++i) {
        if (text[i] == '&') {
            if (text[i + 1] != '&') {
                return wxTolower(text[i + 1]);
            }
            ++i;
        }
    }
    return 0;
}

wxString Taken(const wxMenu* menu, const wxMenuItem* except) {
    wxString taken;
    for (const wxMenuItem* other : menu->GetMenuItems()) {
        const wxUniChar c = other == except ? wxUniChar(0) : MnemonicOf(other->GetItemLabel());
        if (c != 0) {
            taken += c;
        }
    }
    return taken;
}

void AssignInMenu(wxMenu* menu) {
    wxString taken = Taken(menu, nullptr);
    for (wxMenuItem* item : menu->GetMenuItems()) {
        if (item->IsSeparator()) {
            continue;
        }
        const wxString label = item->GetItemLabel();
        if (MnemonicOf(label) == 0) {
            const auto english = ItemEnglish().find(item->GetId());
            const wxString hint = english == ItemEnglish().end() ? wxString() : english->second;
            const wxString accelerator = label.AfterFirst('\t');
            const wxString text = PlaceMnemonic(TextPart(label), hint, taken);
            item->SetItemLabel(accelerator.empty() ? text : text + "\t" + accelerator);
        }
        if (item->IsSubMenu()) {
            AssignInMenu(item->GetSubMenu());
        }
    }
}
} // namespace

wxString PlaceMnemonic(const wxString& text, const wxString& english, wxString& taken) {
    const auto isFree = [&taken](wxUniChar c) {
        return IsLatinLetterOrDigit(c) && taken.Find(wxUniChar(wxTolower(c))) == wxNOT_FOUND;
    };
    for (const bool wordStartsOnly : {true, false}) {
        for (size_t i = 0; i < text.length(); ++i) {
            const bool wordStart = i == 0 || !wxIsalnum(text[i - 1]);
            if ((wordStart || !wordStartsOnly) && isFree(text[i])) {
                taken += wxUniChar(wxTolower(text[i]));
                return text.Left(i) + "&" + text.Mid(i);
            }
        }
    }
    for (const wxUniChar c : english + "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789") {
        if (isFree(c)) {
            taken += wxUniChar(wxTolower(c));
            return text + "(&" + wxUniChar(wxToupper(c)) + ")";
        }
    }
    return text;
}

wxMenuItem* AddItem(wxMenu* menu, const char* english, const char* accelerator, wxItemKind kind) {
    wxMenuItem* item = menu->Append(
        new wxMenuItem(menu, wxID_ANY, WithAccelerator(wxGetTranslation(english), accelerator),
                       wxEmptyString, kind));
    ItemEnglish()[item->GetId()] = english;
    return item;
}

wxMenuItem* AddItem(wxMenu* menu, const wxString& text, const char* accelerator, wxItemKind kind) {
    return menu->Append(
        new wxMenuItem(menu, wxID_ANY, WithAccelerator(text, accelerator), wxEmptyString, kind));
}

wxMenuItem* AddSubmenu(wxMenu* menu, wxMenu* submenu, const char* english) {
    const wxString text = wxString::FromUTF8(english);
    wxMenuItem* item = menu->Append(new wxMenuItem(menu, wxID_ANY, wxGetTranslation(text),
                                                   wxEmptyString, wxITEM_NORMAL, submenu));
    ItemEnglish()[item->GetId()] = text;
    return item;
}

void AddMenu(wxMenuBar* bar, wxMenu* menu, const char* english) {
    const wxString text = wxString::FromUTF8(english);
    MenuEnglish()[menu] = text;
    bar->Append(menu, wxGetTranslation(text));
}

void AssignMnemonics(wxMenuBar* bar) {
    wxString taken;
    for (size_t i = 0; i < bar->GetMenuCount(); ++i) {
        const wxUniChar c = MnemonicOf(bar->GetMenuLabel(i));
        if (c != 0) {
            taken += c;
        }
    }
    for (size_t i = 0; i < bar->GetMenuCount(); ++i) {
        wxMenu* menu = bar->GetMenu(i);
        const wxString title = bar->GetMenuLabel(i);
        if (MnemonicOf(title) == 0) {
            const auto english = MenuEnglish().find(menu);
            bar->SetMenuLabel(
                i,
                PlaceMnemonic(title, english == MenuEnglish().end() ? wxString() : english->second,
                              taken));
        }
        AssignInMenu(menu);
    }
}

wxString ItemLabel(const wxMenuItem* item, const wxString& text, const wxString& english,
                   const char* accelerator) {
    wxString taken = item->GetMenu() == nullptr ? wxString() : Taken(item->GetMenu(), item);
    return WithAccelerator(PlaceMnemonic(text, english, taken), accelerator);
}

void SetItemText(wxMenuItem* item, const wxString& text, const wxString& english,
                 const char* accelerator) {
    const wxString label = ItemLabel(item, text, english, accelerator);
    if (item->GetItemLabel() != label) {
        item->SetItemLabel(label);
    }
}
