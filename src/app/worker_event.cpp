#include "app/worker_event.h"

const wxEventType wxEVT_WORKER_UPDATE = wxNewEventType();
