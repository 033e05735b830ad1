#include "edit/frame_edits.h"

#include <algorithm>

AnimationEdit::AnimationEdit(EditTarget& target, EditKind kind)
    : wxCommand(true), m_target(target), m_kind(kind) {}

AnimationEdit::AnimationEdit(EditTarget& target, EditKind kind, const AnimationSettings& before,
                             const AnimationSettings& after)
    : wxCommand(true), m_target(target), m_after(after), m_kind(kind), m_before(before),
      m_settingsKnown(true) {}

bool AnimationEdit::Do() {
    if (!m_settingsKnown) {
        m_before = m_target.Settings();
    }
    if (!Forward()) {
        return false;
    }
    if (ChangesFrames()) {
        m_target.FramesChanged();
    }
    if (!m_settingsKnown) {
        m_after = KeepsSettings() ? m_before : m_target.Settings();
        m_settingsKnown = true;
    }
    m_target.ApplySettings(m_after);
    return true;
}

bool AnimationEdit::Undo() {
    if (!Backward()) {
        return false;
    }
    if (ChangesFrames()) {
        m_target.FramesChanged();
    }
    m_target.ApplySettings(m_before);
    return true;
}

InsertedFrames::InsertedFrames(EditTarget& target, EditKind kind, int first, int count,
                               const AnimationSettings& before, const AnimationSettings& after)
    : AnimationEdit(target, kind, before, after), m_first(first), m_count(count) {}

bool InsertedFrames::Forward() {
    if (m_held.size() != size_t(m_count) || m_first > m_target.FrameCount()) {
        return false;
    }
    std::vector<int> selection;
    for (int k = 0; k < m_count; ++k) {
        m_target.PutFrame(m_held[k].release(), m_first + k);
        selection.push_back(m_first + k);
    }
    m_held.clear();
    m_target.SetSelection(selection);
    return true;
}

bool InsertedFrames::Backward() {
    if (m_first < 0 || m_first + m_count > m_target.FrameCount()) {
        return false;
    }
    m_held.resize(m_count);
    for (int k = m_count - 1; k >= 0; --k) {
        m_held[k].reset(m_target.TakeFrame(m_first + k));
    }
    m_target.SetSelection({});
    return true;
}

RemovedFrames::RemovedFrames(EditTarget& target, EditKind kind, std::vector<int> positions)
    : AnimationEdit(target, kind), m_positions(std::move(positions)) {
    std::sort(m_positions.begin(), m_positions.end());
    m_positions.erase(std::unique(m_positions.begin(), m_positions.end()), m_positions.end());
}

bool RemovedFrames::Forward() {
    if (m_positions.empty() || m_positions.front() < 0 ||
        m_positions.back() >= m_target.FrameCount()) {
        return false;
    }
    m_held.resize(m_positions.size());
    for (size_t k = m_positions.size(); k-- > 0;) {
        m_held[k].reset(m_target.TakeFrame(m_positions[k]));
    }
    m_target.SetSelection({});
    return true;
}

bool RemovedFrames::Backward() {
    if (m_positions.empty() || m_held.size() != m_positions.size() ||
        m_positions.back() >= m_target.FrameCount() + int(m_positions.size())) {
        return false;
    }
    for (size_t k = 0; k < m_positions.size(); ++k) {
        m_target.PutFrame(m_held[k].release(), m_positions[k]);
    }
    m_held.clear();
    m_target.SetSelection(m_positions);
    return true;
}

ReorderedFrames::ReorderedFrames(EditTarget& target, EditKind kind, FrameOrder order)
    : AnimationEdit(target, kind), m_order(std::move(order)) {}

bool ReorderedFrames::Forward() {
    if (int(m_order.size()) != m_target.FrameCount()) {
        return false;
    }
    m_target.Reorder(m_order);
    return true;
}

bool ReorderedFrames::Backward() {
    if (int(m_order.size()) != m_target.FrameCount()) {
        return false;
    }
    m_target.Reorder(Inverse(m_order));
    return true;
}

SettingsEdit::SettingsEdit(EditTarget& target, EditKind kind, const AnimationSettings& before,
                           const AnimationSettings& after)
    : AnimationEdit(target, kind, before, after) {}
