// Helpers for tests that drive real windows: running the event loop until something happened.
#pragma once

#include <functional>

// Runs the toolkit's event loop until the condition holds or the timeout passes; returns
// whether the condition held.
bool RunUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

// Runs the event loop for a while, handling whatever is pending.
void RunFor(int ms);

class GifFrame;

// Builds a real main window exactly as the program's start-up does (resources and options are
// prepared once per test program). The caller destroys it with DestroyMainWindow.
GifFrame* MakeMainWindow();
void DestroyMainWindow(GifFrame* frame);
