// The export of an animation document: its frames, decoded one at a time on the export's own
// threads, with their own delays, at the animation's output size and with its choices. Used by
// the window's save worker and by the command-line exporter alike, so both write the same bytes.
#pragma once

#include "document/animation.h"
#include "export/gif_export.h"

// The job that writes `animation` to `path`; the animation must outlive the export.
GifExportJob AnimationExportJob(const Animation& animation, const wxString& path);
