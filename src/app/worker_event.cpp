#include "app/worker_event.h"

const wxEventType wxEVT_WORKER_UPDATE = wxNewEventType();

#include "app/update_event.h"

const wxEventType UPDATE_RESULT_EVENT = wxNewEventType();
