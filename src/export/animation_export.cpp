#include "export/animation_export.h"

GifExportJob AnimationExportJob(const Animation& animation, const wxString& path) {
    GifExportJob job;
    job.frameCount = animation.FrameCount();
    job.frameSource = [&animation](int index) {
        const SharedPixels& pixels = animation.Frame(index).pixels;
        return pixels ? ApplyTransform(pixels->Decode(), animation.view) : wxImage();
    };
    job.delays = animation.Delays();
    job.canvasWidth = animation.output.width;
    job.canvasHeight = animation.output.height;
    job.path = path;
    job.options = animation.options;
    return job;
}
