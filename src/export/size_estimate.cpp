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
    job.frameCount = static_cast<int>(sample.size());
    job.frameSource = [&whole, &sample](int i) { return whole.frameSource(sample[i]); };
    job.delays.clear();
    for (int index : sample) {
        job.delays.push_back(whole.delays[index]);
    }
    job.options.maxBytes = 0;
    job.stopRequested = stopRequested;
    // The other core stays with the window.
    job.threads = 1;
    std::vector<unsigned char> bytes;
    job.bytesOut = &bytes;
    if (!EncodeGif(job).ok) {
        return 0;
    }
    return static_cast<unsigned long long>(static_cast<double>(bytes.size()) * whole.frameCount /
                                           job.frameCount);
}
