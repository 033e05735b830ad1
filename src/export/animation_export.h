// The export of an animation document: its frames, decoded one at a time on the export's own
// threads, with their own delays, at the animation's output size and with its choices. Used by
// the window's save worker and by the command-line exporter alike, so both write the same bytes.
#pragma once

#include "document/animation.h"
#include "export/gif_export.h"

#include <functional>

// Frame i's picture as it was imported, before the animation's view is applied; asked for as
// GifExportJob::frameSource is. With `part`, as GifExportJob::partSource is: it may be only the
// part that changed since frame i - 1, `*part` saying where it lies (empty for the whole).
using FramePictures = std::function<wxImage(int index, wxRect* part)>;

// The job that writes `animation` to `path`, each frame's picture decoded from the document;
// the animation must outlive the export.
GifExportJob AnimationExportJob(const Animation& animation, const wxString& path);
// The same with the pictures from `pictures`, for a document whose frames hold no pictures:
// the command-line exporter reads them from its inputs again while the export takes them, and
// where the view leaves them as they are, takes parts of them.
GifExportJob AnimationExportJob(const Animation& animation, const wxString& path,
                                FramePictures pictures);
