// A quick answer to "how large will the file be": a few frames encoded as the export encodes
// them and the size scaled to the whole animation.
#pragma once

#include "document/animation.h"

#include <functional>

// The bytes the GIF of `animation` would take with its options, any size limit left aside:
// exact for a short animation, otherwise told from a sample of its frames. On the calling
// thread alone; 0 when `stopRequested` said so before a frame or the frames could not be
// encoded.
unsigned long long EstimateGifBytes(const Animation& animation,
                                    const std::function<bool()>& stopRequested);
