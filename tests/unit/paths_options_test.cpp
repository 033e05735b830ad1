#include "app/domain_option.h"
#include "app/paths.h"
#include "app/platform.h"
#include "app/product.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <wx/filefn.h>

namespace {
struct OptionsFixture : ::testing::Test {
    TempFolder folder;
    wxString path = folder.File("option.cfg");
    void SetUp() override { g_domainOption = new DomainOption(path); }
    void TearDown() override {
        delete g_domainOption;
        g_domainOption = nullptr;
    }
};
} // namespace

TEST(StringToInt, FollowsTheRuntimeConversionRules) {
    const std::pair<const char*, int> cases[] = {{"58", 58},
                                                 {"  \t-12abc", -12},
                                                 {"+7", 7},
                                                 {"0089", 89},
                                                 {"abc", 0},
                                                 {"", 0},
                                                 {"- 5", 0},
                                                 {"12 34", 12},
                                                 {"99999999999", 2147483647},
                                                 {"-99999999999", -2147483647 - 1}};
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(StringToInt(text), value) << text;
    }
}

TEST(Paths, InstallationIsTheParentOfTheProgramFolder) {
    EXPECT_EQ(AppDirectoryOf("/opt/reelmont/bin/reelmont"), "/opt/reelmont/bin");
    EXPECT_EQ(InstallDirectoryOf(AppDirectoryOf("/opt/reelmont/bin/reelmont")), "/opt/reelmont");
    EXPECT_EQ(AppDirectoryOf("C:\\Tools\\Reelmont\\bin\\reelmont.exe"), "C:/Tools/Reelmont/bin");
    // A bare name has the current folder as program folder and no installation folder, so the
    // layout folder becomes "/Themes".
    EXPECT_EQ(AppDirectoryOf("reelmont"), ".");
    EXPECT_EQ(InstallDirectoryOf("."), "");
    EXPECT_EQ(InstallDirectoryOf("bin"), "");
    // The running test program sits one folder below the staged installation.
    EXPECT_TRUE(GetOptionFilePath().EndsWith("/option.cfg"));
    EXPECT_EQ(GetOptionFilePath(), GetInstallDirectory() + "/option.cfg");
}

TEST(Paths, DataFolderIsCreatedBelowTheDocumentsFolderAndCanBeAskedForAgain) {
    const TempFolder documents;
    const wxString expected = documents.File("Tarnwell files/Reelmont");
    for (int time = 0; time < 2; ++time) {
        EXPECT_EQ(DataDirectoryBelow(documents.Path()), expected);
        EXPECT_TRUE(wxDirExists(expected));
    }
    // The program's own data folder lies below the documents folder of the test home.
    EXPECT_TRUE(GetDataDirectory().StartsWith(GetDocumentsFolder()));
    EXPECT_TRUE(wxDirExists(GetDataDirectory()));
    EXPECT_EQ(GetLanguageFilePath(), GetDataDirectory() + "/language.txt");
}

TEST(Product, NameAsShownWithPlusSignsAsBlanks) {
    EXPECT_EQ(GetProductName(), "Reelmont");
}

TEST_F(OptionsFixture, SevenValuesInOrderWhateverTheElementNames) {
    WriteBytes(path, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a><b>\n"
                     "<x>help</x><y>two</y><z>support</z><x>four</x>\n"
                     "<q>http://u.example/r</q><x>page</x><x>seven</x><x>eight</x></b></a>");
    EXPECT_TRUE(LoadOptions());
    EXPECT_EQ(g_domainOption->m_helpUrl, "help");
    EXPECT_EQ(g_domainOption->m_option2, "two");
    EXPECT_EQ(GetSupportUrl(), "support");
    EXPECT_EQ(g_domainOption->m_option4, "four");
    EXPECT_EQ(g_domainOption->m_updateUrl, "http://u.example/r-update.xml");
    EXPECT_EQ(GetProductPageUrl(), "page");
    EXPECT_EQ(g_domainOption->m_option7, "seven");
    EXPECT_EQ(GetHelpUrl(), "help");
}

TEST_F(OptionsFixture, FourValuesKeepWhatWasReadAndFail) {
    WriteBytes(path, "<r><o><a>1</a><b>2</b><c>3</c><d>4</d></o></r>");
    EXPECT_FALSE(LoadOptions());
    EXPECT_EQ(g_domainOption->m_helpUrl, "1");
    EXPECT_EQ(g_domainOption->m_option4, "4");
    EXPECT_EQ(g_domainOption->m_updateUrl, "");
    EXPECT_EQ(g_domainOption->m_option7, "");
}

TEST_F(OptionsFixture, NoFileOrNoXmlLeavesEverythingEmpty) {
    EXPECT_FALSE(LoadOptions());
    WriteBytes(path, "this is not xml at all");
    EXPECT_FALSE(LoadOptions());
    WriteBytes(path, "<r></r>");
    EXPECT_FALSE(LoadOptions());
    EXPECT_EQ(GetHelpUrl(), "");
    EXPECT_EQ(g_domainOption->m_updateUrl, "");
}
