#include "support/event_loop.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

namespace {
void DispatchPending() {
    wxEventLoopBase* loop = wxEventLoopBase::GetActive();
    while (loop != nullptr && loop->Pending()) {
        loop->Dispatch();
    }
    wxAppConsole::GetInstance()->ProcessPendingEvents();
    if (loop != nullptr) {
        loop->ProcessIdle();
    }
}
} // namespace

bool RunUntil(const std::function<bool()>& condition, int timeoutMs) {
    wxStopWatch watch;
    while (!condition()) {
        if (watch.Time() > timeoutMs) {
            return false;
        }
        DispatchPending();
        wxMilliSleep(2);
    }
    return true;
}

void RunFor(int ms) {
    RunUntil([] { return false; }, ms);
}
