#include "app/domain_option.h"
#include "app/language_setting.h"
#include "app/platform.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <wx/filefn.h>

TEST(StringToInt, FollowsTheRuntimeConversionRules) {
    // The project reader's tests read plain numbers, letters and trailing text through it.
    const std::pair<const char*, int> cases[] = {{"  \t-12", -12},
                                                 {"+7", 7},
                                                 {"0089", 89},
                                                 {"", 0},
                                                 {"- 5", 0},
                                                 {"99999999999", 2147483647},
                                                 {"-99999999999", -2147483647 - 1}};
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(StringToInt(text), value) << text;
    }
}

// The option file's values are taken by position, whatever the elements are named.
TEST(Options, SevenValuesInOrderAndFewerFail) {
    const TempFolder folder;
    const wxString path = folder.File("option.cfg");
    const struct {
        const char* text; // nullptr: no file
        bool loaded;
        const char *help, *support, *update, *page;
    } cases[] = {
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a><b>\n<x>https://h.example/</x><y>two</y>"
         "<z>http://s.example/s</z><x>four</x>\n<q>http://u.example/r</q>"
         "<x>HTTPS://p.example/p</x><x>seven</x><x>eight</x></b></a>",
         true, "https://h.example/", "http://s.example/s", "http://u.example/r-update.xml",
         "HTTPS://p.example/p"},
        // Addresses other than http and https are no addresses.
        {"<a><b><x>file:///etc/passwd</x><y>2</y><z>javascript:alert(1)</z><x>4</x>"
         "<q>ftp://u.example/r</q><x>help</x><x>7</x></b></a>",
         true, "", "", "ftp://u.example/r-update.xml", ""},
        // What was read before the values ran out is kept.
        {"<r><o><a>http://1.example/</a><b>2</b><c>3</c><d>4</d></o></r>", false,
         "http://1.example/", "", "", ""},
        {nullptr, false, "", "", "", ""},
        {"this is not xml at all", false, "", "", "", ""},
    };
    for (const auto& c : cases) {
        delete g_domainOption;
        g_domainOption = new DomainOption(path);
        wxRemoveFile(path);
        if (c.text) {
            WriteBytes(path, c.text);
        }
        SCOPED_TRACE(c.text ? c.text : "no file");
        EXPECT_EQ(LoadOptions(), c.loaded);
        EXPECT_EQ(GetHelpUrl(), c.help);
        EXPECT_EQ(GetSupportUrl(), c.support);
        EXPECT_EQ(g_domainOption->m_updateUrl, c.update);
        EXPECT_EQ(GetProductPageUrl(), c.page);
    }
    delete g_domainOption;
    g_domainOption = nullptr;
}

TEST(LanguageSetting, FirstStartTakesTheSystemsLanguageWhenItIsOneOfTheSeven) {
    const std::pair<const char*, int> rows[] = {
        {"de_DE.UTF-8", 89},  {"de_AT", 89},       {"fr_CA.UTF-8", 80}, {"it_IT", 110},
        {"ja_JP.UTF-8", 112}, {"zh_CN.UTF-8", 46}, {"zh_TW.UTF-8", 47}, {"zh_HK", 47},
        {"en_GB.UTF-8", 58},  {"C.UTF-8", 58},     {"pt_BR.UTF-8", 58}, {"", 58},
    };
    for (const auto& [name, language] : rows) {
        EXPECT_EQ(LanguageForLocaleName(name), language) << name;
    }
}
