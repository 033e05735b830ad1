#include "app/domain_option.h"
#include "app/paths.h"
#include "app/platform.h"
#include "app/product.h"

#include <gtest/gtest.h>
#include <wx/dir.h>
#include <wx/ffile.h>
#include <wx/filefn.h>
#include <wx/filename.h>

namespace {
wxString MakeTempFolder() {
    wxString path = wxFileName::CreateTempFileName("reelmont");
    wxRemoveFile(path);
    wxMkdir(path);
    return path;
}

void WriteText(const wxString& path, const char* text) {
    wxFFile file(path, "w");
    file.Write(wxString::FromUTF8(text));
}

struct OptionsFixture : ::testing::Test {
    wxString folder = MakeTempFolder();
    wxString path = folder + "/option.cfg";
    void SetUp() override { g_domainOption = new DomainOption(path); }
    void TearDown() override {
        delete g_domainOption;
        g_domainOption = nullptr;
        wxFileName::Rmdir(folder, wxPATH_RMDIR_RECURSIVE);
    }
};
} // namespace

TEST(StringToInt, FollowsTheRuntimeConversionRules) {
    EXPECT_EQ(StringToInt("58"), 58);
    EXPECT_EQ(StringToInt("  \t-12abc"), -12);
    EXPECT_EQ(StringToInt("+7"), 7);
    EXPECT_EQ(StringToInt("0089"), 89);
    EXPECT_EQ(StringToInt("abc"), 0);
    EXPECT_EQ(StringToInt(""), 0);
    EXPECT_EQ(StringToInt("- 5"), 0);
    EXPECT_EQ(StringToInt("12 34"), 12);
    EXPECT_EQ(StringToInt("99999999999"), 2147483647);
    EXPECT_EQ(StringToInt("-99999999999"), -2147483647 - 1);
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
    const wxString documents = MakeTempFolder();
    const wxString expected = documents + "/Tarnwell files/Reelmont";
    EXPECT_EQ(DataDirectoryBelow(documents), expected);
    EXPECT_TRUE(wxDirExists(expected));
    EXPECT_EQ(DataDirectoryBelow(documents), expected);
    EXPECT_TRUE(wxDirExists(expected));
    wxFileName::Rmdir(documents, wxPATH_RMDIR_RECURSIVE);
    // The program's own data folder lies below the documents folder of the test home.
    EXPECT_TRUE(GetDataDirectory().StartsWith(GetDocumentsFolder()));
    EXPECT_TRUE(wxDirExists(GetDataDirectory()));
    EXPECT_EQ(GetLanguageFilePath(), GetDataDirectory() + "/language.txt");
}

TEST(Product, IdentityTexts) {
    EXPECT_EQ(GetVendorName(), "Tarnwell");
    EXPECT_EQ(GetProductName(), "Reelmont");
    EXPECT_FALSE(GetProductName().Contains("+"));
    EXPECT_EQ(GetProductVersion(), "2.0.19");
}

TEST_F(OptionsFixture, SevenValuesInOrderWhateverTheElementNames) {
    WriteText(path, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a><b>\n"
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
    WriteText(path, "<r><o><a>1</a><b>2</b><c>3</c><d>4</d></o></r>");
    EXPECT_FALSE(LoadOptions());
    EXPECT_EQ(g_domainOption->m_helpUrl, "1");
    EXPECT_EQ(g_domainOption->m_option4, "4");
    EXPECT_EQ(g_domainOption->m_updateUrl, "");
    EXPECT_EQ(g_domainOption->m_option7, "");
}

TEST_F(OptionsFixture, NoFileOrNoXmlLeavesEverythingEmpty) {
    EXPECT_FALSE(LoadOptions());
    WriteText(path, "this is not xml at all");
    EXPECT_FALSE(LoadOptions());
    WriteText(path, "<r></r>");
    EXPECT_FALSE(LoadOptions());
    EXPECT_EQ(GetHelpUrl(), "");
    EXPECT_EQ(g_domainOption->m_updateUrl, "");
}
