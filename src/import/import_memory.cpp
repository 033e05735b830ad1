#include "import/import_memory.h"

#include "gif/gif_frames.h"
#include "import/frame_reference.h"
#include "import/image_source.h"
#include "import/picture_header.h"
#include "video/video_reference.h"

#include <wx/filefn.h>
#include <wx/log.h>

#include <algorithm>

namespace {
// A frame is kept as a bitmap of four bytes a pixel.
const unsigned long long kBytesPerPixel = 4;
} // namespace

unsigned long long PictureMemory(const wxSize& size) {
    return static_cast<unsigned long long>(size.GetWidth()) *
           static_cast<unsigned long long>(size.GetHeight()) * kBytesPerPixel;
}

unsigned long long FramesMemory(const wxString& path) {
    wxLogNull quiet;
    VideoName video;
    if (ParseVideoName(path, &video) || HasVideoExtension(path)) {
        // Counted from the packets' time stamps, before any frame is decoded.
        const SourceSurvey survey = SurveyImageSource(path);
        return static_cast<unsigned long long>(survey.pictures) * PictureMemory(survey.size);
    }
    const wxString source = StripFrameSuffix(path);
    if (!wxFileExists(source)) {
        return 0;
    }
    if (!IsGifContent(source)) {
        const PictureHeader header = ReadPictureHeader(source);
        return header.width * header.height * kBytesPerPixel;
    }
    const SourceSurvey survey = EstimateGifFrames(source, ParseFrameIndex(path));
    return static_cast<unsigned long long>(survey.pictures) * PictureMemory(survey.size);
}

unsigned long long FrameRunMemory(const std::vector<wxString>& run) {
    if (run.size() == 1) {
        return FramesMemory(run[0]);
    }
    VideoName video;
    if (ParseVideoName(run[0], &video)) {
        return run.size() * FramesMemory(run[0]);
    }
    const wxString source = StripFrameSuffix(run[0]);
    wxLogNull quiet;
    if (!wxFileExists(source)) {
        return 0;
    }
    // Frames beyond the file's end give nothing.
    const SourceSurvey survey = EstimateGifFrames(source, -1);
    return std::min<unsigned long long>(run.size(), survey.pictures) * PictureMemory(survey.size);
}
