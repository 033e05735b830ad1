#include "document/animation.h"

#include <utility>

void Animation::Insert(int n, AnimationFrame frame) {
    m_frames.insert(m_frames.begin() + n, std::move(frame));
}

AnimationFrame Animation::Take(int n) {
    AnimationFrame frame = std::move(m_frames[n]);
    m_frames.erase(m_frames.begin() + n);
    return frame;
}

void Animation::Reorder(const std::vector<int>& order) {
    std::vector<AnimationFrame> reordered;
    reordered.reserve(order.size());
    for (int from : order) {
        reordered.push_back(m_frames[from]);
    }
    m_frames = std::move(reordered);
}

long long Animation::StartTime(int n) const {
    long long start = 0;
    for (int k = 0; k < n && k < FrameCount(); ++k) {
        start += m_frames[k].delay;
    }
    return start;
}

std::vector<int> Animation::Delays() const {
    std::vector<int> delays;
    delays.reserve(m_frames.size());
    for (const AnimationFrame& frame : m_frames) {
        delays.push_back(frame.delay);
    }
    return delays;
}

size_t Animation::CompressedBytes() const {
    size_t bytes = 0;
    for (const AnimationFrame& frame : m_frames) {
        bytes += frame.pixels ? frame.pixels->CompressedBytes() : 0;
    }
    return bytes;
}
