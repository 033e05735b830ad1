// The crash report of the real program dying of a fatal signal: the message names the report's
// folder, that folder is opened, and it holds the archive with the time stamp.
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <wx/dir.h>
#include <wx/regex.h>
#include <wx/sstream.h>
#include <wx/stdpaths.h>
#include <wx/wfstream.h>
#include <wx/zipstrm.h>

#include <memory>

TEST(CrashReport, AFatalSignalLeavesTheArchiveNamesItsFolderAndOpensIt) {
    TempFolder temp;
    const wxString program =
        wxPathOnly(wxStandardPaths::Get().GetExecutablePath()) + "/reelmont_crash_child";
    // The program reports the message box's text and the folder it opened, one line each.
    const std::string output =
        CommandOutput("TMPDIR='" + temp.Path() + "' '" + program + "' 2>/dev/null");
    const auto reported = [&output](const std::string& what) {
        const size_t start = output.find(what + ":") + what.size() + 1;
        return wxString::FromUTF8(output.substr(start, output.find('\n', start) - start));
    };
    const wxString folder = reported("explore");
    ASSERT_TRUE(folder.StartsWith(temp.Path() + "/")) << output;
    EXPECT_EQ(reported("message"),
              "Application have crashed due to some unknown reasons,|Please email the zip "
              "crashing report file that is generated in |" +
                  folder + "| to us.");

    wxArrayString archives;
    wxDir::GetAllFiles(folder, &archives, "*.zip", wxDIR_FILES);
    ASSERT_EQ(archives.size(), 1u);
    wxFFileInputStream file(archives[0]);
    wxZipInputStream zip(file);
    wxStringOutputStream stamp;
    for (std::unique_ptr<wxZipEntry> entry(zip.GetNextEntry()); entry;
         entry.reset(zip.GetNextEntry())) {
        if (entry->GetName() == "timestamp.my") {
            zip.Read(stamp);
        }
    }
    EXPECT_TRUE(wxRegEx("^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}$")
                    .Matches(stamp.GetString()))
        << stamp.GetString();
}
