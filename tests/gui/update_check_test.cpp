// The update check's answers on a real main window, and the addresses it never asks.
#include "app/domain_option.h"
#include "app/update_event.h"
#include "gui/window_fixture.h"

TEST_F(WindowTest, UpdateCheckTellsWhatTheLatestVersionIs) {
    std::vector<wxString> opened;
    frame->SetBrowserSeam([&](const wxString& address) { opened.push_back(address); });
    const wxString page = g_domainOption->m_productPageUrl;
    const wxString newer = "A new version of Reelmont(2.1.0) is available. Click Yes to open "
                           "download page. [Yes/No]";
    const wxString latest = "This version of Reelmont(2.0.19) is the latest version.";
    const struct {
        const char* version; // as read from the server; empty when the download failed
        int answer;
        wxString box;
        std::vector<wxString> opened;
    } cases[] = {
        {"2.1.0", wxID_YES, newer, {page}},
        {"2.1.0", wxID_NO, newer, {}},
        {"2.0.19", wxID_OK, latest, {}},
        {"2.0.9", wxID_OK, latest, {}},
        {"", wxID_OK, "Update failed!Please check if the network is available.", {}},
    };
    for (const auto& c : cases) {
        opened.clear();
        wxString shown;
        wxCommandEvent result(UPDATE_RESULT_EVENT);
        result.SetString(c.version);
        wxTEST_DIALOG(frame->ProcessWindowEvent(result), ExpectMessage(c.answer, &shown));
        EXPECT_EQ(shown, c.box) << c.version;
        EXPECT_EQ(opened, c.opened) << c.version;
    }

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
