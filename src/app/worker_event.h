// The event that the import and save workers post to the main window, told apart by id.
#pragma once

#include <wx/event.h>

extern const wxEventType wxEVT_WORKER_UPDATE;

enum {
    ID_IMPORT_WORKER = 6,
    ID_SAVE_WORKER = 10,
};
