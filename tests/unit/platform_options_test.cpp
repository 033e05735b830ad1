#include "app/domain_option.h"
#include "app/language_setting.h"
#include "app/places_setting.h"
#include "app/platform.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <wx/filefn.h>

#include <vector>

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

TEST(PlacesSetting, ReadsWhatItWroteSkipsOnlyTheDamagedLinesAndKeepsAnotherCopysChanges) {
    const std::pair<const char*, const char*> rows[] = {
        // Every place, a window maximised on a screen left of the first, paths with "=".
        {"images=/a\nopen-project=/b=c\nsave-gif=/c\nsave-project=/d\n"
         "window=-1200 20 800 600 maximised\nrecent=/p/1.xml\nrecent=/p/2.xml\n",
         nullptr},
        // Line ends of another system.
        {"images=/a\r\nrecent=/p/1.xml\r\n", "images=/a\nrecent=/p/1.xml\n"},
        // Sizes of nothing, words, lines without key or value, a project twice.
        {"window=10 20 0 600\nwindow=x 1 2 3\nnonsense\n=/x\nimages=\nrecent=/p/1.xml\n"
         "recent=/p/1.xml\nsave-gif=/c\n",
         "save-gif=/c\nrecent=/p/1.xml\n"},
        {"window=10 20 640 480\n", nullptr},
        // More projects than the menu lists: the newest stay.
        {"recent=/1\nrecent=/2\nrecent=/3\nrecent=/4\nrecent=/5\nrecent=/6\nrecent=/7\n"
         "recent=/8\nrecent=/9\n",
         "recent=/1\nrecent=/2\nrecent=/3\nrecent=/4\nrecent=/5\nrecent=/6\nrecent=/7\n"
         "recent=/8\n"},
    };
    for (const auto& [text, expected] : rows) {
        EXPECT_EQ(FormatPlaces(ParsePlaces(text)), expected ? expected : text) << text;
    }

    PlacesSetting places = ParsePlaces("recent=/a.xml\nrecent=/b.xml\nrecent=/c.xml\n");
    AddRecentProject(places, "/b.xml");
    EXPECT_EQ(places.recentProjects, (std::vector<wxString>{"/b.xml", "/a.xml", "/c.xml"}));
    for (int n = 0; n < 8; ++n) {
        AddRecentProject(places, wxString::Format("/%d.xml", n));
    }
    EXPECT_EQ(places.recentProjects.size(), kRecentProjects);
    EXPECT_EQ(places.recentProjects.front(), "/7.xml");
    // A name with a line break would read back as two lines: it is not kept.
    places.Folder(DialogPlace::Images) = "/new\nline";
    places.Folder(DialogPlace::SaveGif) = wxString::FromUTF8("/bilder/größe");
    WritePlacesSetting(places);
    const PlacesSetting read = ReadPlacesSetting();
    EXPECT_EQ(read.recentProjects, places.recentProjects);
    EXPECT_EQ(read.folders[int(DialogPlace::Images)], "");
    EXPECT_EQ(read.folders[int(DialogPlace::SaveGif)], wxString::FromUTF8("/bilder/größe"));

    // Two copies of the program: what this one read, what it holds now, what the other wrote
    // meanwhile; each keeps what the other changed.
    const struct {
        const char *read, *mine, *stored, *merged;
    } copies[] = {
        // A folder and a project each; the other's window place stays, this one's is unchanged.
        {"images=/a\nrecent=/p1\n", "images=/mine\nrecent=/m\nrecent=/p1\n",
         "images=/a\nopen-project=/o\nwindow=1 2 300 200\nrecent=/o\nrecent=/p1\n",
         "images=/mine\nopen-project=/o\nwindow=1 2 300 200\nrecent=/m\nrecent=/o\nrecent=/p1\n"},
        // A project opened again here goes first; one dropped here (gone) moves nothing.
        {"recent=/x\nrecent=/y\nrecent=/z\n", "recent=/z\nrecent=/y\n",
         "recent=/n\nrecent=/x\nrecent=/y\nrecent=/z\n",
         "recent=/z\nrecent=/n\nrecent=/x\nrecent=/y\n"},
        // The window moved here wins; the file gone meanwhile keeps only this copy's changes.
        {"window=1 2 300 200\nsave-gif=/g\n", "window=5 5 640 480 maximised\nsave-gif=/g\n", "",
         "window=5 5 640 480 maximised\n"},
    };
    for (const auto& row : copies) {
        EXPECT_EQ(FormatPlaces(MergePlaces(ParsePlaces(row.read), ParsePlaces(row.mine),
                                           ParsePlaces(row.stored))),
                  row.merged)
            << row.mine;
    }
    // Through the file: the second copy to write keeps the first one's project.
    PlacesSetting firstRead = ReadPlacesSetting(), first = firstRead;
    PlacesSetting secondRead = firstRead, second = firstRead;
    AddRecentProject(first, "/first.xml");
    UpdatePlacesSetting(firstRead, first);
    second.Folder(DialogPlace::Images) = "/second";
    UpdatePlacesSetting(secondRead, second);
    EXPECT_EQ(ReadPlacesSetting().recentProjects.front(), "/first.xml");
    EXPECT_EQ(second.recentProjects.front(), "/first.xml");
    EXPECT_EQ(ReadPlacesSetting().folders[int(DialogPlace::Images)], "/second");
}
