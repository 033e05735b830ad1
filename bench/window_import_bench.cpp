// End-to-end import benchmark: starts the real main window, adds the given files through the
// Add Image command (or opens a project through Open Project; the file dialog answered in code,
// message boxes answered at once) and reports the time until the last frame is in the strip and
// the import has finished, with the process's CPU time and peak memory. Run it under a display
// (xvfb-run), one process per measurement.
//
// With --save, it then saves the opened project again through Save Project and reports that
// time too. With --insert, the files go in through Insert Image before the middle frame of the
// files given first, and the longest time the GUI thread did not come back to its event loop
// is reported (a timer ticking every 10 ms notes each gap between its ticks).
//
//   window_import_bench FILE...
//   window_import_bench --insert FIRST INSERTED...   (FIRST: a project or image to start from)
//   window_import_bench --edit-cycle FILE...   (then Clear All, Undo, Redo: resident memory)
//   window_import_bench --project FILE [--save]
#include "app/startup.h"
#include "window/gif_frame.h"
#include "window/thumbnailctrl.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/modalhook.h>
#include <wx/utils.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {
class BenchApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

// Answers every message box at once; the bench measures the work, not the reader of the box.
class AnswerDialogs : public wxModalDialogHook {
    int Enter(wxDialog*) override { return wxID_OK; }
};

// The process's resident memory now.
double ResidentMiB() {
    long pages = 0;
    long resident = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024.0) / 1024.0;
}

// The longest gap between the ticks of a 10 ms timer: how long the GUI thread was away from its
// event loop at most.
class GapProbe : public wxTimer {
public:
    void Begin() {
        m_last = std::chrono::steady_clock::now();
        Start(10);
    }
    void Notify() override {
        const auto now = std::chrono::steady_clock::now();
        m_longest = std::max(m_longest, std::chrono::duration<double>(now - m_last).count());
        m_last = now;
    }
    // Counting the time since the last tick too.
    double Longest() {
        Notify();
        Stop();
        return m_longest;
    }

private:
    std::chrono::steady_clock::time_point m_last;
    double m_longest = 0;
};

// CPU seconds of the process so far.
double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
           usage.ru_stime.tv_usec / 1e6;
}
} // namespace

wxIMPLEMENT_APP_NO_MAIN(BenchApp);

int main(int argc, char** argv) {
    const bool save = argc == 4 && std::string(argv[3]) == "--save";
    const bool project = (argc == 3 || save) && std::string(argv[1]) == "--project";
    const bool cycle = argc >= 3 && std::string(argv[1]) == "--edit-cycle";
    const bool insert = argc >= 4 && std::string(argv[1]) == "--insert";
    if (argc < 2 || (!project && std::string(argv[1]) == "--project")) {
        std::fprintf(stderr,
                     "usage: %s [--edit-cycle] FILE... | --project FILE [--save] | --insert "
                     "FIRST FILE...\n",
                     argv[0]);
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
    for (int i = project || cycle ? 2 : insert ? 3 : 1; i < (save ? 3 : argc); ++i) {
        files.push_back(wxString::FromUTF8(argv[i]));
    }
    AnswerDialogs answer;
    answer.Register();
    int frames = 0;
    double seconds = 0;
    double cpu = 0;
    double saveSeconds = 0;
    double longestPause = 0;
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
        const auto finish = [&] {
            while (frame->m_progressDialog != nullptr) {
                while (loop.Pending()) {
                    loop.Dispatch();
                }
                wxTheApp->ProcessPendingEvents();
                wxMilliSleep(1);
            }
        };
        GapProbe probe;
        if (insert) {
            // The frames to insert among, opened as a user would.
            frame->OpenFiles(wxArrayString(1, wxString::FromUTF8(argv[2])), -1, EditKind::Drop);
            finish();
            frame->m_thumbnailCtrl->SetSelection({frame->m_thumbnailCtrl->GetCount() / 2});
            probe.Begin();
        }
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = CpuSeconds();
        const int command = insert    ? int(ID_POPUP_INSERT)
                            : project ? frame->m_menuItem_open->GetId()
                                      : frame->m_menuItem_add->GetId();
        wxCommandEvent add(wxEVT_MENU, command);
        frame->ProcessWindowEvent(add);
        finish();
        if (insert) {
            longestPause = probe.Longest();
        }
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        cpu = CpuSeconds() - cpuStart;
        frames = frame->m_thumbnailCtrl->GetCount();
        if (save) {
            const auto saveStart = std::chrono::steady_clock::now();
            wxCommandEvent saveProject(wxEVT_MENU, frame->m_menuItem_saveproject->GetId());
            frame->ProcessWindowEvent(saveProject);
            saveSeconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - saveStart).count();
        }
        if (cycle) {
            // Clear All, Undo and Redo of every frame: the history holds the frames by reference.
            const double imported = ResidentMiB();
            for (wxMenuItem* item :
                 {frame->m_menuItem_clear, frame->m_menuItem_undo, frame->m_menuItem_redo}) {
                wxCommandEvent command(wxEVT_MENU, item->GetId());
                frame->ProcessWindowEvent(command);
                wxTheApp->ProcessPendingEvents();
            }
            std::fprintf(stderr,
                         "resident after import %.0f MiB, after Clear All, Undo, Redo %.0f MiB\n",
                         imported, ResidentMiB());
        }
        frame->Destroy();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::fprintf(stderr, "%d frames in %.2f s, CPU %.2f s, peak %.0f MiB\n", frames, seconds, cpu,
                 usage.ru_maxrss / 1024.0);
    if (save) {
        std::fprintf(stderr, "saved in %.2f s\n", saveSeconds);
    }
    if (insert) {
        std::fprintf(stderr, "longest GUI thread pause %.0f ms\n", longestPause * 1000);
    }
    wxEntryCleanup();
    return 0;
}
