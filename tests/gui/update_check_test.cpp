// The update check's answers on a real main window, and the addresses it never asks.
#include "app/domain_option.h"
#include "app/update_check.h"
#include "app/update_event.h"
#include "gui/window_fixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

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

    // A real check runs on a worker: the window keeps handling events, a second check asked for
    // meanwhile is dropped, and the one answer shows its box.
    // The server takes the connection and never answers, so the download lasts until its bound.
    const int server = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(local);
    ASSERT_EQ(bind(server, reinterpret_cast<sockaddr*>(&local), length), 0);
    ASSERT_EQ(listen(server, 1), 0);
    getsockname(server, reinterpret_cast<sockaddr*>(&local), &length);
    g_domainOption->m_updateUrl =
        wxString::Format("http://127.0.0.1:%d/update.xml", ntohs(local.sin_port));
    {
        wxString shown;
        bool answered = false;
        wxTEST_DIALOG(
            {
                Command(frame->m_menuItem_update);
                EXPECT_FALSE(FetchLatestVersion(g_domainOption->m_updateUrl, frame));
                int handled = 0;
                wxTimer ticks(frame);
                frame->Bind(
                    wxEVT_TIMER, [&](wxTimerEvent&) { ++handled; }, ticks.GetId());
                ticks.Start(5);
                answered = RunUntil([&] { return !shown.empty(); }, 15000);
                ticks.Stop();
                EXPECT_GT(handled, 10);
            },
            ExpectMessage(wxID_OK, &shown));
        EXPECT_TRUE(answered);
        EXPECT_EQ(shown, "Update failed!Please check if the network is available.");
    }
    close(server);
    g_domainOption->m_updateUrl = saved;
}
