#include "export/size_estimate.h"

#include "export/animation_export.h"
#include "export/size_fitting.h"

#include <vector>

unsigned long long EstimateGifBytes(const Animation& animation,
                                    const std::function<bool()>& stopRequested) {
    if (animation.FrameCount() == 0) {
        return 0;
    }
    const GifExportJob whole = AnimationExportJob(animation, wxEmptyString);
    const std::vector<int> sample = SampleFrames(whole.frameCount);
    GifExportJob job = whole;
    job.frameSource = [&whole, &sample](int i) { return whole.frameSource(sample[i]); };
    job.stopRequested = stopRequested;
    // The other core stays with the window.
    job.threads = 1;
    return static_cast<unsigned long long>(SampledBytes(job, sample));
}
