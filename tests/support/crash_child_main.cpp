// The real program, started by the crash report test only: once its window is up it dies of a
// fatal signal. The crash report's message box is answered here and reported on standard
// output together with the folder the report would open.
#include "app/platform.h"

#include <wx/app.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/testing.h>

#include <csignal>
#include <cstdio>

namespace {
void Report(const char* what, wxString text) {
    text.Replace("\n", "|");
    std::printf("%s:%s\n", what, static_cast<const char*>(text.utf8_str()));
    std::fflush(stdout);
}

class AnswerCrashMessage : public wxExpectDismissableModal<wxMessageDialog> {
public:
    AnswerCrashMessage() : wxExpectDismissableModal<wxMessageDialog>(wxID_OK) {}

protected:
    int OnInvoked(wxMessageDialog* dialog) const override {
        Report("message", dialog->GetMessage());
        return wxID_OK;
    }
};

void ReportExplored(const wxString& path) {
    Report("explore", path);
}
} // namespace

int main(int argc, char** argv) {
    wxSetAssertHandler(nullptr);
    SetExploreFolderSeam(ReportExplored);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
        return 2;
    }
    wxTestingModalHook hook;
    const AnswerCrashMessage answer;
    hook.AddExpectation(answer);
    wxTheApp->CallAfter([] { std::raise(SIGSEGV); });
    wxTheApp->OnRun();
    return 3; // the crash ends the process before this
}
