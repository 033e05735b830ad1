// The export choices the window remembers per user, in a file beside the language file: the
// last ones made become those of every new animation.
#pragma once

#include "document/export_choices.h"

// The remembered choices, with the preview's loop count at 0 (it is not remembered); the
// defaults for what was not remembered, cannot be read or is out of its range.
ExportChoices ReadExportSetting();
// Remembers the choices; a file that cannot be written is left alone.
void WriteExportSetting(const ExportChoices& choices);
