#include "export/animation_export.h"

GifExportJob AnimationExportJob(const Animation& animation, const wxString& path) {
    return AnimationExportJob(animation, path, [&animation](int index) {
        const SharedPixels& pixels = animation.Frame(index).pixels;
        return pixels ? pixels->Decode() : wxImage();
    });
}

GifExportJob AnimationExportJob(const Animation& animation, const wxString& path,
                                FramePictures pictures) {
    GifExportJob job;
    job.frameCount = animation.FrameCount();
    job.frameSource = [&animation, pictures = std::move(pictures)](int index) {
        return ApplyTransform(pictures(index), animation.view);
    };
    job.delays = animation.Delays();
    job.canvasWidth = animation.output.width;
    job.canvasHeight = animation.output.height;
    job.path = path;
    job.options = animation.options;
    return job;
}
