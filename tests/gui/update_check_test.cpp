// The update check's answers on a real main window, and the addresses it never asks.
#include "app/domain_option.h"
#include "app/update_event.h"
#include "gui/window_fixture.h"

TEST_F(WindowTest, UpdateCheckTellsWhatTheLatestVersionIs) {
    std::vector<wxString> opened;
    frame->SetBrowserSeam([&](const wxString& address) { opened.push_back(address); });
    // The version read from the server (none when the download failed), and the box shown.
    const std::pair<const char*, const char*> cases[] = {
        {"2.1.0", "A new version of Reelmont(2.1.0) is available. Click Yes to open download "
                  "page. [Yes/No]"},
        {"2.0.9", "This version of Reelmont(2.0.19) is the latest version."},
        {"", "Update failed!Please check if the network is available."},
        // A server's endless version is cut where it is shown.
        {"9.0.0-aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
         "A new version of Reelmont(9.0.0-aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\u2026) is available. "
         "Click Yes to open download page. [Yes/No]"},
    };
    for (const auto& [version, box] : cases) {
        wxString shown;
        wxCommandEvent result(UPDATE_RESULT_EVENT);
        result.SetString(version);
        wxTEST_DIALOG(frame->ProcessWindowEvent(result), ExpectMessage(wxID_YES, &shown));
        EXPECT_EQ(shown, wxString::FromUTF8(box));
    }
    // Only Yes to a newer version opens the product page.
    EXPECT_EQ(opened, std::vector<wxString>(2, g_domainOption->m_productPageUrl));

    // No options file, or an address that is not a web address: nothing is asked or shown.
    const wxString saved = g_domainOption->m_updateUrl;
    for (const char* address : {"", "127.0.0.1:1/update.xml", "ftp://127.0.0.1:1/update.xml"}) {
        g_domainOption->m_updateUrl = address;
        FailingDialogHook noDialog;
        Command(frame->m_menuItem_update);
        RunFor(50);
    }
    g_domainOption->m_updateUrl = saved;
}
