// The Language menu on a real main window: each language's locale and catalog, the rebuilt
// menu bar, the choice surviving a restart, and the About dialog centred once translated.
#include "app/language_setting.h"
#include "gui/window_fixture.h"

#include <gtk/gtk.h>
#include <wx/intl.h>
#include <wx/stattext.h>

namespace {
// Other window tests start in English: whatever happens here, the remembered choice is put back.
struct Languages : WindowTest {
    void TearDown() override {
        WriteLanguageSetting(kDefaultLanguage);
        WindowTest::TearDown();
    }
};

wxUniChar MnemonicIn(const wxString& label) {
    const int at = label.BeforeFirst('\t').Find('&');
    return at == wxNOT_FOUND ? wxUniChar(0) : wxUniChar(wxTolower(label[at + 1]));
}

void ExpectOwnMnemonics(const wxMenuItemList& items) {
    wxString taken;
    for (const wxMenuItem* item : items) {
        if (item->IsSeparator()) {
            continue;
        }
        const wxUniChar letter = MnemonicIn(item->GetItemLabel());
        EXPECT_NE(letter, 0) << item->GetItemLabel();
        EXPECT_EQ(taken.Find(letter), wxNOT_FOUND) << item->GetItemLabel();
        taken += letter;
        if (item->IsSubMenu()) {
            ExpectOwnMnemonics(item->GetSubMenu()->GetMenuItems());
        }
    }
}

void ExpectOwnMnemonics(const wxMenuBar& bar) {
    wxString taken;
    for (size_t i = 0; i < bar.GetMenuCount(); ++i) {
        const wxUniChar letter = MnemonicIn(bar.GetMenuLabel(i));
        EXPECT_NE(letter, 0) << bar.GetMenuLabel(i);
        EXPECT_EQ(taken.Find(letter), wxNOT_FOUND) << bar.GetMenuLabel(i);
        taken += letter;
        ExpectOwnMnemonics(bar.GetMenu(i)->GetMenuItems());
    }
}

// Notes the About dialog's title and place once it is shown, then closes it.
struct ExpectAbout : wxExpectDismissableModal<wxDialog> {
    ExpectAbout() : wxExpectDismissableModal<wxDialog>(wxID_OK) {}
    int OnInvoked(wxDialog* dialog) const override {
        title = dialog->GetTitle();
        box = dialog->GetScreenRect();
        return wxID_OK;
    }
    mutable wxString title;
    mutable wxRect box;
};
} // namespace

TEST_F(Languages, EachLanguageTranslatesTheWindowAndKeepsTheCommandsState) {
    // The rebuilt bar's commands follow the frames, not the new items' defaults; the old bar goes.
    wxMenuBar* previous = frame->GetMenuBar();
    bool previousDestroyed = false;
    previous->Bind(wxEVT_DESTROY, [&](wxWindowDestroyEvent& event) {
        previousDestroyed = event.GetEventObject() == previous;
        event.Skip();
    });
    Command(89);
    RunFor(10);
    EXPECT_TRUE(previousDestroyed);
    EXPECT_FALSE(frame->m_menuItem_delete->IsEnabled());
    EXPECT_FALSE(frame->m_menuItem_saveproject->IsEnabled());

    Import(frame->m_menuItem_add, {WritePng(folder.File("a.png"), 40, 30)});
    const struct {
        int value;
        const char* canonical;
        const char* file;   // File menu title
        const char* status; // status text of the previewed frame
        const char* keys;   // how the menus name Ctrl+Ins, where GTK translates it
    } rows[] = {
        {46, "zh_CN", "文件", "a.png 宽度:40像素,高度:30 像素", nullptr},
        {47, "zh_TW", "檔案", "a.png 寬度:40像素,高度:30 像素", nullptr},
        {89, "de", "Datei", "a.png Breite:40px,Höhe:30 px", "Strg+Einfg"},
        {58, "en", "File", "a.png Width:40px,Height:30 px", "Ctrl+Insert"},
        {80, "fr", "Fichier", "a.png Largeur:40px,Hauteur:30 px", nullptr},
        {110, "it", "File", "a.png Larghezza:40px,Altezza:30 px", nullptr},
        {112, "ja", "ファイル", "a.png 幅:40px,高さ:30 px", nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.canonical);
        Command(row.value);
        EXPECT_EQ(wxLocale::GetLanguageCanonicalName(frame->m_uiLocale->GetLanguage()),
                  row.canonical);
        EXPECT_EQ(frame->GetMenuBar()->GetMenuLabelText(0), wxString::FromUTF8(row.file));
        EXPECT_EQ(Status(1), wxString::FromUTF8(row.status));
        // The toolkit's own texts come from its own catalog.
        EXPECT_EQ(wxGetTranslation("Elapsed time:") != "Elapsed time:", row.value != 58);
        EXPECT_TRUE(frame->m_menuItem_delete->IsEnabled());
        if (row.keys != nullptr) {
            gchar* keys = gtk_accelerator_get_label(GDK_KEY_Insert, GDK_CONTROL_MASK);
            EXPECT_EQ(wxString::FromUTF8(keys), wxString::FromUTF8(row.keys));
            g_free(keys);
        }
        // Every title and item can be reached by Alt and a letter of its own.
        ExpectOwnMnemonics(*frame->GetMenuBar());
    }

    // The choice is remembered: a new start comes up in German, and About is centred on the
    // window once its translated texts have given it its size.
    Command(89);
    Restart();
    EXPECT_TRUE(frame->m_menuItem_languages[2]->IsChecked());
    EXPECT_EQ(frame->m_staticText_delay->GetLabel(), wxString::FromUTF8("Verzögerung:"));
    const ExpectAbout about;
    wxTEST_DIALOG(Command(frame->m_menuItem_about), about);
    EXPECT_EQ(about.title, wxString::FromUTF8("Über"));
    const wxRect window = frame->GetScreenRect();
    EXPECT_NEAR(about.box.x + about.box.width / 2, window.x + window.width / 2, 1);
    EXPECT_NEAR(about.box.y + about.box.height / 2, window.y + window.height / 2, 1);
}
