#include "cli/interruption.h"

#include "app/shown_text.h"
#include "export/replacing_file.h"

#include <wx/filename.h>
#include <wx/intl.h>

#include <csignal>
#include <cstdio>
#include <mutex>
#include <pthread.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

std::mutex s_lock;
wxString s_target;
wxString s_scratch;

[[noreturn]] void EndOn(int signal) {
    // Waits for a file being moved into place: the target is then either old or whole.
    const bool replaced = AbandonReplacements();
    wxString target;
    wxString scratch;
    {
        std::lock_guard<std::mutex> lock(s_lock);
        target = s_target;
        scratch = s_scratch;
    }
    if (!scratch.empty()) {
        wxFileName::Rmdir(scratch, wxPATH_RMDIR_RECURSIVE);
    }
    const wxString name = signal == SIGINT ? "SIGINT" : "SIGTERM";
    const wxString message =
        target.empty() || replaced
            ? wxString::Format(_("stopped by %s"), name)
            : wxString::Format(_("stopped by %s; \"%s\" was left as it was"), name, target);
    std::fprintf(stderr, "reelmont-export: %s\n",
                 static_cast<const char*>(EscapedText(message).utf8_str()));
    std::fflush(stderr);
    // The other threads are still at work: nothing of the process may run after this.
    _exit(128 + signal);
}

} // namespace

void WatchInterruptions() {
    sigset_t watched;
    sigemptyset(&watched);
    int count = 0;
    for (int signal : {SIGINT, SIGTERM}) {
        struct sigaction current {};
        if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
            sigaddset(&watched, signal);
            ++count;
        }
    }
    if (count == 0) {
        return;
    }
    pthread_sigmask(SIG_BLOCK, &watched, nullptr);
    try {
        std::thread([watched] {
            int signal = 0;
            while (sigwait(&watched, &signal) != 0) {
            }
            EndOn(signal);
        }).detach();
    } catch (const std::system_error&) {
        // Without a watcher the signals end the process as usual; an unfinished target has no
        // name and goes with it.
        pthread_sigmask(SIG_UNBLOCK, &watched, nullptr);
    }
}

void SetInterruptedTarget(const wxString& target) {
    std::lock_guard<std::mutex> lock(s_lock);
    s_target = target;
}

void SetInterruptedScratch(const wxString& folder) {
    std::lock_guard<std::mutex> lock(s_lock);
    s_scratch = folder;
}
