// The event that delivers the update check's answer to the main window.
#pragma once

#include <wx/event.h>

extern const wxEventType UPDATE_RESULT_EVENT;
