#include "support/gui_harness.h"

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
    wxTheApp->ProcessPendingEvents();
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
    wxStopWatch watch;
    while (watch.Time() < ms) {
        DispatchPending();
        wxMilliSleep(2);
    }
}

#include "app/startup.h"
#include "window/gif_frame.h"

GifFrame* MakeMainWindow() {
    static bool prepared = false;
    if (!prepared) {
        PrepareResources();
        prepared = true;
    }
    GifFrame* frame = CreateMainWindow();
    if (frame != nullptr) {
        frame->Show(true);
        RunFor(50);
    }
    return frame;
}

void DestroyMainWindow(GifFrame* frame) {
    if (frame == nullptr) {
        return;
    }
    frame->Destroy();
    RunFor(20);
}
