// End-to-end import benchmark: starts the real main window, adds the given files through the
// Add Image command (the file dialog answered in code) and reports the time until the last frame
// is in the strip and the import has finished, with the process's peak memory. Run it under a
// display (xvfb-run), one process per measurement.
//
//   window_import_bench FILE...
#include "app/startup.h"
#include "window/gif_frame.h"
#include "window/thumbnailctrl.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/utils.h>

#include <chrono>
#include <cstdio>
#include <sys/resource.h>

namespace {
class BenchApp : public wxApp {
public:
    bool OnInit() override { return true; }
};
} // namespace

wxIMPLEMENT_APP_NO_MAIN(BenchApp);

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE...\n", argv[0]);
        return 2;
    }
    wxSetAssertHandler(nullptr);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
        return 2;
    }
    wxLog::EnableLogging(false);
    // The trace lines of the window would dominate the figures on a terminal.
    std::freopen("/dev/null", "w", stdout);
    wxArrayString files;
    for (int i = 1; i < argc; ++i) {
        files.push_back(wxString::FromUTF8(argv[i]));
    }
    int frames = 0;
    double seconds = 0;
    {
        wxGUIEventLoop loop;
        wxEventLoopActivator activate(&loop);
        PrepareResources();
        GifFrame* frame = CreateMainWindow();
        frame->Show(true);
        frame->SetFileDialogSeam([&](wxWindow*, const FileDialogRequest&, wxArrayString& paths) {
            paths = files;
            return true;
        });
        const auto start = std::chrono::steady_clock::now();
        wxCommandEvent add(wxEVT_MENU, frame->m_menuItem_add->GetId());
        frame->ProcessWindowEvent(add);
        while (frame->m_progressDialog != nullptr) {
            while (loop.Pending()) {
                loop.Dispatch();
            }
            wxTheApp->ProcessPendingEvents();
            wxMilliSleep(1);
        }
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        frames = frame->m_thumbnailCtrl->GetCount();
        frame->Destroy();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::fprintf(stderr, "%d frames in %.2f s, peak %.0f MiB\n", frames, seconds,
                 usage.ru_maxrss / 1024.0);
    wxEntryCleanup();
    return 0;
}
