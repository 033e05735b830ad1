#include "app/crash_report.h"

#include "app/paths.h"
#include "app/platform.h"

#include <wx/convauto.h>
#include <wx/datetime.h>
#include <wx/debugrpt.h>
#include <wx/ffile.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace {
// The toolkit names its report folder predictably inside the temporary folder; pointed at a
// fresh folder of random name in the user's own data folder, that name can be neither guessed
// nor planted beforehand. Empty when no such folder could be made.
std::string MakePrivateFolder() {
    std::string pattern = std::string(GetDataDirectory().fn_str()) + "/crash-report-XXXXXX";
    return mkdtemp(&pattern[0]) != nullptr ? pattern : std::string();
}

// Points the temporary folder at `folder` while it lives.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const std::string& folder) {
        const char* old = std::getenv("TMPDIR");
        m_had = old != nullptr;
        m_old = m_had ? old : "";
        setenv("TMPDIR", folder.c_str(), 1);
    }
    ~TemporaryFolder() {
        if (m_had) {
            setenv("TMPDIR", m_old.c_str(), 1);
        } else {
            unsetenv("TMPDIR");
        }
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

private:
    bool m_had;
    std::string m_old;
};
} // namespace

void GenerateCrashReport() {
    const std::string privateFolder = MakePrivateFolder();
    if (privateFolder.empty()) {
        return;
    }
    std::unique_ptr<wxDebugReportCompress> report;
    {
        const TemporaryFolder inside(privateFolder);
        report = std::make_unique<wxDebugReportCompress>();
    }
    const wxString folder = report->GetDirectory();
    if (folder.empty()) {
        rmdir(privateFolder.c_str());
        return;
    }
    report->AddAll(wxDebugReport::Context_Exception);
    const wxString stampName = "timestamp.my";
    {
        wxFFile stamp(folder + "/" + stampName, "w");
        if (stamp.IsOpened()) {
            const wxDateTime now = wxDateTime::Now();
            stamp.Write(now.FormatISODate() + " " + now.FormatISOTime(), wxConvAuto());
            stamp.Close();
        }
    }
    report->SetCompressedFileDirectory(folder);
    report->AddFile(stampName, "timestamp of this report");
    wxString message = _("Application have crashed due to some unknown reasons,\nPlease email "
                         "the zip crashing report file that is generated in \n%s\n to us.");
    message.Replace("%s", folder);
    if (report->Process()) {
        wxMessageBox(message, wxMessageBoxCaptionStr, wxOK | wxCENTRE);
        ExploreFolder(folder);
        report->Reset();
        return;
    }
    // The toolkit removes its own folder with the report.
    report.reset();
    rmdir(privateFolder.c_str());
}
