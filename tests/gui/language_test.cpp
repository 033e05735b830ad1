// The Language menu on a real main window: each language's locale and catalog, the rebuilt
// menu bar, and the choice surviving a restart.
#include "app/domain_option.h"
#include "app/language_setting.h"
#include "app/product.h"
#include "gui/window_fixture.h"

#include <wx/hyperlink.h>
#include <wx/intl.h>
#include <wx/stattext.h>

#include <functional>

namespace {
// Other window tests start in English: whatever happens here, the remembered choice is put back.
struct Languages : WindowTest {
    void TearDown() override {
        WriteLanguageSetting(kDefaultLanguage);
        WindowTest::TearDown();
    }
    wxString Label(wxStaticText* text) { return text->GetLabel(); }
};

// Looks at the About dialog while it is shown, then closes it.
class ExpectAbout : public wxExpectDismissableModal<wxDialog> {
public:
    explicit ExpectAbout(std::function<void(wxDialog*)> look)
        : wxExpectDismissableModal<wxDialog>(wxID_OK), m_look(std::move(look)) {}

protected:
    int OnInvoked(wxDialog* dialog) const override {
        m_look(dialog);
        return wxID_OK;
    }

private:
    std::function<void(wxDialog*)> m_look;
};
} // namespace

TEST_F(Languages, EachLanguageTranslatesMenusLabelsAndStatusAndKeepsTheCommandsState) {
    const struct {
        int value;
        const char* canonical;
        const char* file;  // File menu title
        const char* delay; // label beside the delay control
        const char* width; // status text of the previewed frame
    } rows[] = {
        {46, "zh_CN", "文件", "延迟:", "a.png 宽度:40像素,高度:30 像素"},
        {47, "zh_TW", "檔案", "延遲:", "a.png 寬度:40像素,高度:30 像素"},
        {89, "de", "Datei", "Verzögerung:", "a.png Breite:40px,Höhe:30 px"},
        {58, "en", "File", "Delay :", "a.png Width:40px,Height:30 px"},
        {80, "fr", "Fichier", "Délai :", "a.png Largeur:40px,Hauteur:30 px"},
        {110, "it", "File", "Ritardo:", "a.png Larghezza:40px,Altezza:30 px"},
        {112, "ja", "ファイル", "遅延:", "a.png 幅:40px,高さ:30 px"},
    };
    for (bool withFrames : {false, true}) {
        if (withFrames) {
            Import(frame->m_menuItem_add, {WritePng(folder.File("a.png"), 40, 30)});
        }
        for (const auto& row : rows) {
            SCOPED_TRACE(row.canonical);
            wxMenuBar* previous = frame->GetMenuBar();
            bool previousDestroyed = false;
            previous->Bind(wxEVT_DESTROY, [&](wxWindowDestroyEvent& event) {
                previousDestroyed = event.GetEventObject() == previous;
                event.Skip();
            });
            Command(row.value);
            RunFor(10);
            EXPECT_TRUE(previousDestroyed);

            EXPECT_EQ(frame->m_language, row.value);
            EXPECT_EQ(ReadLanguageSetting(), row.value);
            ASSERT_NE(frame->m_uiLocale, nullptr);
            EXPECT_EQ(wxLocale::GetLanguageCanonicalName(frame->m_uiLocale->GetLanguage()),
                      row.canonical);
            wxMenuBar* bar = frame->GetMenuBar();
            EXPECT_EQ(bar->GetMenuLabelText(0), wxString::FromUTF8(row.file));
            EXPECT_EQ(Label(frame->m_staticText_delay), wxString::FromUTF8(row.delay));
            // The toolkit's own texts come from its own catalog.
            EXPECT_EQ(wxGetTranslation("Elapsed time:") != "Elapsed time:", row.value != 58);
            for (wxMenuItem* item : frame->m_menuItem_languages) {
                EXPECT_EQ(item->IsChecked(), item->GetId() == row.value);
            }
            // The rebuilt bar's edit commands follow the frames, not the new items' defaults.
            for (wxMenuItem* item : {frame->m_menuItem_save, frame->m_menuItem_delete,
                                     frame->m_menuItem_run, frame->m_menuItem_saveproject}) {
                EXPECT_EQ(item->IsEnabled(), withFrames) << item->GetItemLabel();
            }
            EXPECT_TRUE(frame->m_menuItem_add->IsEnabled());
            if (withFrames) {
                EXPECT_EQ(Status(1), wxString::FromUTF8(row.width));
            }
        }
    }

    // The choice is remembered: a new start comes up in German with "Deutsch" checked.
    Command(89);
    DestroyMainWindow(frame);
    frame = MakeMainWindow();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->m_language, 89);
    wxMenuBar* bar = frame->GetMenuBar();
    EXPECT_EQ(bar->GetMenuLabelText(bar->GetMenuCount() - 1), "Hilfe");
    EXPECT_TRUE(frame->m_menuItem_languages[2]->IsChecked());
    EXPECT_EQ(frame->m_menuItem_about->GetItemLabel(), wxString::FromUTF8("Über"));
}

TEST_F(Languages, AboutIsTranslatedFilledAndCentredOnTheWindow) {
    Command(89);
    wxString title, version, notice, link, url;
    wxPoint centre;
    wxTEST_DIALOG(Command(frame->m_menuItem_about), ExpectAbout([&](wxDialog* dialog) {
                      title = dialog->GetTitle();
                      version = XRCCTRL(*dialog, "m_static_version_name", wxStaticText)->GetLabel();
                      notice = XRCCTRL(*dialog, "m_static_information", wxStaticText)->GetLabel();
                      link = XRCCTRL(*dialog, "m_hyperlink", wxHyperlinkCtrl)->GetLabel();
                      url = XRCCTRL(*dialog, "m_hyperlink", wxHyperlinkCtrl)->GetURL();
                      const wxRect box = dialog->GetScreenRect();
                      centre = box.GetPosition() + box.GetSize() / 2;
                  }));
    EXPECT_EQ(title, wxString::FromUTF8("Über"));
    EXPECT_EQ(version, GetProductName() + " 2.0.19");
    EXPECT_EQ(notice, "Copyright (C) " + GetVendorName() + ". Alle Rechte vorbehalten.");
    EXPECT_EQ(link, GetProductPageUrl());
    EXPECT_EQ(url, GetProductPageUrl());
    const wxRect window = frame->GetScreenRect();
    const wxPoint windowCentre = window.GetPosition() + window.GetSize() / 2;
    EXPECT_NEAR(centre.x, windowCentre.x, 1);
    EXPECT_NEAR(centre.y, windowCentre.y, 1);
}
