#include "import/import_memory.h"

#include "import/frame_reference.h"
#include "import/gif_frames.h"
#include "import/image_source.h"

#include <wx/filefn.h>
#include <wx/log.h>

#include <unistd.h>

namespace {
// A frame is kept as a bitmap of four bytes a pixel.
const unsigned long long kBytesPerPixel = 4;
} // namespace

unsigned long long ImportMemoryLimit() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) {
        return 1ULL << 31;
    }
    return static_cast<unsigned long long>(pages) * static_cast<unsigned long long>(pageSize) / 2;
}

unsigned long long GifFramesMemory(const wxString& path) {
    const wxString source = StripFrameSuffix(path);
    wxLogNull quiet;
    if (!wxFileExists(source) || !IsGifContent(source)) {
        return 0;
    }
    const SourceSurvey survey = EstimateGifFrames(source, ParseFrameIndex(path));
    return static_cast<unsigned long long>(survey.pictures) *
           static_cast<unsigned long long>(survey.size.GetWidth()) *
           static_cast<unsigned long long>(survey.size.GetHeight()) * kBytesPerPixel;
}
