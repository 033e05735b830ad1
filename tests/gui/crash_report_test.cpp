// The crash report of the real program dying of a fatal signal: the message names the report's
// folder, that folder is opened, and it holds the archive with the time stamp.
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <wx/dir.h>
#include <wx/regex.h>
#include <wx/stdpaths.h>
#include <wx/wfstream.h>
#include <wx/zipstrm.h>

#include <cstdio>
#include <memory>

namespace {
// Runs the crashing program with its temporary files in the given folder; its report lines.
wxArrayString RunCrashingProgram(const wxString& temp) {
    const wxString program =
        wxPathOnly(wxStandardPaths::Get().GetExecutablePath()) + "/reelmont_crash_child";
    const wxString command = "TMPDIR='" + temp + "' '" + program + "' 2>/dev/null";
    wxArrayString lines;
    FILE* pipe = popen(command.utf8_str(), "r");
    if (pipe == nullptr) {
        return lines;
    }
    char line[4096];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        lines.push_back(wxString::FromUTF8(line).Trim());
    }
    pclose(pipe);
    return lines;
}

wxString Reported(const wxArrayString& lines, const wxString& what) {
    for (const wxString& line : lines) {
        if (line.StartsWith(what + ":")) {
            return line.Mid(what.length() + 1);
        }
    }
    return wxEmptyString;
}

// The content of one file of a zip archive; empty when there is no such file.
wxString ZipEntry(const wxString& archive, const wxString& name, bool& found) {
    found = false;
    wxFFileInputStream file(archive);
    wxZipInputStream zip(file);
    for (std::unique_ptr<wxZipEntry> entry(zip.GetNextEntry()); entry;
         entry.reset(zip.GetNextEntry())) {
        if (entry->GetName() == name) {
            found = true;
            wxString text;
            char buffer[256];
            while (zip.Read(buffer, sizeof buffer).LastRead() > 0) {
                text += wxString::FromUTF8(buffer, zip.LastRead());
            }
            return text;
        }
    }
    return wxEmptyString;
}
} // namespace

TEST(CrashReport, AFatalSignalLeavesTheArchiveNamesItsFolderAndOpensIt) {
    TempFolder temp;
    const wxArrayString lines = RunCrashingProgram(temp.Path());
    const wxString folder = Reported(lines, "explore");
    ASSERT_TRUE(folder.StartsWith(temp.Path() + "/")) << "opened: " << folder;
    EXPECT_EQ(Reported(lines, "message"),
              "Application have crashed due to some unknown reasons,|Please email the zip "
              "crashing report file that is generated in |" +
                  folder + "| to us.");

    wxArrayString archives;
    wxDir::GetAllFiles(folder, &archives, "*.zip", wxDIR_FILES);
    ASSERT_EQ(archives.size(), 1u);
    bool found = false;
    const wxString stamp = ZipEntry(archives[0], "timestamp.my", found);
    ASSERT_TRUE(found);
    EXPECT_TRUE(wxRegEx("^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}$").Matches(stamp))
        << stamp;
    EXPECT_EQ(stamp.length(), 19u);
}
