// The Help menu's web commands: pages opened through the browser seam, and the update check
// against a server on this machine, answered as the user would.
#include "app/domain_option.h"
#include "gui/window_fixture.h"
#include "support/loopback_server.h"

namespace {
using Reply = LoopbackServer::Reply;

struct WebCommands : WindowTest {
    std::vector<wxString> opened;
    wxString savedUpdateUrl;
    void SetUp() override {
        WindowTest::SetUp();
        savedUpdateUrl = g_domainOption->m_updateUrl;
        frame->SetBrowserSeam([this](const wxString& address) { opened.push_back(address); });
    }
    void TearDown() override {
        g_domainOption->m_updateUrl = savedUpdateUrl;
        WindowTest::TearDown();
    }
};
} // namespace

TEST_F(WebCommands, HelpAndSupportOpenTheirPages) {
    Command(frame->m_menuItem_help);
    Command(frame->m_menuItem_support);
    EXPECT_EQ(opened,
              (std::vector<wxString>{g_domainOption->m_helpUrl, g_domainOption->m_supportUrl}));
}

TEST_F(WebCommands, UpdateCheckTellsWhatTheServerAnswered) {
    const wxString failed = "Update failed!Please check if the network is available.";
    const wxString latest = "This version of Reelmont(2.0.19) is the latest version.";
    const wxString newer = "A new version of Reelmont(2.1.0) is available. Click Yes to open "
                           "download page. [Yes/No]";
    const wxString page = g_domainOption->m_productPageUrl;
    const auto names = [](const std::string& version) {
        return R"(<u><p n="Reelmont" v=")" + version + R"("/></u>)";
    };
    // clang-format off
    const struct {
        const char* what;
        Reply reply;
        std::string document;
        int answer;
        wxString box;
        std::vector<wxString> opened;
    } cases[] = {
        {"newer, Yes", Reply::Document, names("2.1.0"), wxID_YES, newer, {page}},
        {"newer, No", Reply::Document, names("2.1.0"), wxID_NO, newer, {}},
        {"same", Reply::Document, names("2.0.19"), wxID_OK, latest, {}},
        {"older", Reply::Document, names("2.0.9"), wxID_OK, latest, {}},
        {"the later of two wins", Reply::Document,
         R"(<u><p n="Reelmont" v="9.0.0"/><q x="Other" y="9.0.0"/><p k="Reelmont" w="1.0"/></u>)",
         wxID_OK, latest, {}},
        {"name as last attribute", Reply::Document, R"(<u><p v="2.1.0" n="Reelmont"/></u>)",
         wxID_OK, failed, {}},
        {"not XML", Reply::Document, "Reelmont 2.1.0", wxID_OK, failed, {}},
        {"closes without answering", Reply::CloseAtOnce, "", wxID_OK, failed, {}},
        {"never answers", Reply::Silent, "", wxID_OK, failed, {}},
        {"endless document", Reply::Endless, "", wxID_OK, failed, {}},
        // clang-format on
    };
    for (const auto& c : cases) {
        LoopbackServer server(c.reply, c.document);
        g_domainOption->m_updateUrl = server.address;
        opened.clear();
        wxString shown;
        wxTEST_DIALOG(([&] {
                          Command(frame->m_menuItem_update);
                          EXPECT_TRUE(shown.empty()) << c.what << ": shown inside the command";
                          EXPECT_TRUE(RunUntil([&] { return !shown.empty(); }, 20000)) << c.what;
                          RunFor(20);
                      })(),
                      ExpectMessage(c.answer, &shown));
        EXPECT_EQ(shown, c.box) << c.what;
        EXPECT_EQ(opened, c.opened) << c.what;
        EXPECT_EQ(server.connections.load(), 1) << c.what;
        EXPECT_LT(server.bytesSent.load(), 16 << 20) << c.what;
    }

    // No options file, or an address that is not a web address: nothing is asked or shown.
    LoopbackServer server(Reply::Document, "<u/>");
    const std::string web = server.address;
    for (const std::string& address : {std::string(), web.substr(7), "ftp" + web.substr(4)}) {
        g_domainOption->m_updateUrl = address;
        FailingDialogHook noDialog;
        Command(frame->m_menuItem_update);
        RunFor(50);
    }
    EXPECT_EQ(server.connections.load(), 0);
}
