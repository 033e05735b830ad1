#include "support/gui_harness.h"

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
