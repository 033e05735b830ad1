// The one way tests let the toolkit work until something happened.
#pragma once

#include <functional>

// Handles pending events (and, with an active loop, idle work) until the condition holds or the
// timeout passes; returns whether the condition held.
bool RunUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

// Handles whatever is pending for a while.
void RunFor(int ms);
