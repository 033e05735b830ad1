// Interface language of the window: the locale, the switch from the Language menu and the
// refresh of every translatable window text.
#include "window/gif_frame.h"

#include "app/language_setting.h"
#include "app/paths.h"
#include "app/product.h"
#include "window/desktop_gtk.h"
#include "window/thumbnailctrl.h"

#include <wx/intl.h>
#include <wx/log.h>
#include <wx/statusbr.h>

void GifFrame::ApplyLanguage(int language) {
    delete m_uiLocale;
    wxLogNull quiet;
    m_uiLocale = new wxLocale();
    m_uiLocale->Init(ToolkitLanguage(language), wxLOCALE_LOAD_DEFAULT);
    wxLocale::AddCatalogLookupPathPrefix(GetInstallDirectory() + "/Language");
    m_uiLocale->AddCatalog("language");
    TranslateKeyNames();
}

void GifFrame::OnLanguage(wxCommandEvent& event) {
    m_language = event.GetId();
    WriteLanguageSetting(m_language);
    ApplyLanguage(m_language);
    BuildMenuBar();
    // The new bar's items start enabled and reading "Run animation": they take the state of
    // the frames and of the preview.
    SetEditControlsEnabled(m_thumbnailCtrl->GetCount() > 0);
    if (m_isPlaying) {
        ShowStopButton();
    }
    RefreshTexts();
}

void GifFrame::RefreshTexts() {
    SetLabelTexts();
    FitStatusBarHeight();
    const bool shown = m_currentPicture.IsOk();
    m_statusBar1->SetStatusText(FormatFrameStatus(m_currentFileName,
                                                  shown ? m_currentPicture.GetWidth() : 0,
                                                  shown ? m_currentPicture.GetHeight() : 0),
                                1);
    RefreshCanvasSize();
    SetTitle(GetProductName());
}
