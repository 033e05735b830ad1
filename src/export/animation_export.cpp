#include "export/animation_export.h"

GifExportJob AnimationExportJob(const Animation& animation, const wxString& path) {
    GifExportJob job = AnimationExportJob(animation, path, [&animation](int index, wxRect*) {
        const SharedPixels& pixels = animation.Frame(index).pixels;
        return pixels ? pixels->Decode() : wxImage();
    });
    // The document holds whole pictures only.
    job.partSource = nullptr;
    return job;
}

GifExportJob AnimationExportJob(const Animation& animation, const wxString& path,
                                FramePictures pictures) {
    GifExportJob job;
    job.frameCount = animation.FrameCount();
    job.frameSource = [&animation, pictures](int index) {
        return ApplyTransform(pictures(index, nullptr), animation.view);
    };
    if (animation.view.IsIdentity()) {
        job.partSource = std::move(pictures);
    }
    job.delays = animation.Delays();
    job.canvasWidth = animation.output.width;
    job.canvasHeight = animation.output.height;
    job.path = path;
    job.options = animation.options;
    return job;
}
