// Real main windows for the window tests.
#pragma once

#include "support/event_loop.h"

class GifFrame;

// Builds a real main window exactly as the program's start-up does (resources and options are
// prepared once per test program). The caller destroys it with DestroyMainWindow.
GifFrame* MakeMainWindow();
void DestroyMainWindow(GifFrame* frame);
