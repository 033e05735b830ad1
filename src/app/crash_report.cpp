#include "app/crash_report.h"

#include "app/platform.h"

#include <wx/convauto.h>
#include <wx/datetime.h>
#include <wx/debugrpt.h>
#include <wx/ffile.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>

#include <memory>

void GenerateCrashReport() {
    auto report = std::make_unique<wxDebugReportCompress>();
    report->AddAll(wxDebugReport::Context_Exception);
    const wxString folder = report->GetDirectory();
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
    }
}
