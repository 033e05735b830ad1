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
        m_target.PutFrame(std::move(m_held[k]), m_first + k);
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
        m_held[k] = m_target.TakeFrame(m_first + k);
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
        m_held[k] = m_target.TakeFrame(m_positions[k]);
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
        m_target.PutFrame(std::move(m_held[k]), m_positions[k]);
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

namespace {
size_t BytesOf(const std::vector<AnimationFrame>& frames) {
    size_t bytes = 0;
    for (const AnimationFrame& frame : frames) {
        bytes += frame.pixels ? frame.pixels->CompressedBytes() : 0;
    }
    return bytes;
}
} // namespace

size_t InsertedFrames::HeldBytes() const {
    return BytesOf(m_held);
}

size_t RemovedFrames::HeldBytes() const {
    return BytesOf(m_held);
}

SettingsEdit::SettingsEdit(EditTarget& target, EditKind kind, const AnimationSettings& before,
                           const AnimationSettings& after, std::vector<int> frameDelays)
    : AnimationEdit(target, kind, before, after), m_frameDelays(std::move(frameDelays)) {}

bool SettingsEdit::Forward() {
    if (Kind() == EditKind::Delay) {
        for (int n = 0; n < m_target.FrameCount(); ++n) {
            m_target.SetFrameDelay(n, m_after.delay);
        }
    }
    return true;
}

bool SettingsEdit::Backward() {
    if (Kind() == EditKind::Delay && int(m_frameDelays.size()) == m_target.FrameCount()) {
        for (int n = 0; n < m_target.FrameCount(); ++n) {
            m_target.SetFrameDelay(n, m_frameDelays[n]);
        }
    }
    return true;
}

ChoicesEdit::ChoicesEdit(EditTarget& target, EditKind kind, const ExportChoices& before,
                         const ExportChoices& after)
    : AnimationEdit(target, kind), m_choicesBefore(before), m_choicesAfter(after) {}

bool ChoicesEdit::Forward() {
    m_target.ApplyChoices(m_choicesAfter);
    return true;
}

bool ChoicesEdit::Backward() {
    m_target.ApplyChoices(m_choicesBefore);
    return true;
}

FrameDelaysEdit::FrameDelaysEdit(EditTarget& target, std::vector<int> positions, int delay)
    : AnimationEdit(target, EditKind::FrameDelay), m_positions(std::move(positions)),
      m_delays(m_positions.size(), delay) {}

FrameDelaysEdit::FrameDelaysEdit(EditTarget& target, EditKind kind, std::vector<int> positions,
                                 std::vector<int> delays)
    : AnimationEdit(target, kind), m_positions(std::move(positions)), m_delays(std::move(delays)) {}

bool FrameDelaysEdit::Forward() {
    if (m_delays.size() != m_positions.size()) {
        return false;
    }
    for (int n : m_positions) {
        if (n < 0 || n >= m_target.FrameCount()) {
            return false;
        }
    }
    m_before.clear();
    for (size_t k = 0; k < m_positions.size(); ++k) {
        m_before.push_back(m_target.FrameDelay(m_positions[k]));
        m_target.SetFrameDelay(m_positions[k], m_delays[k]);
    }
    return true;
}

bool FrameDelaysEdit::Backward() {
    if (m_before.size() != m_positions.size()) {
        return false;
    }
    // Backwards, so that a position named twice gets its first delay back.
    for (size_t k = m_positions.size(); k-- > 0;) {
        if (m_positions[k] >= m_target.FrameCount()) {
            return false;
        }
        m_target.SetFrameDelay(m_positions[k], m_before[k]);
    }
    return true;
}

namespace {
// The frames after the first of each run.
std::vector<int> RepeatsIn(const std::vector<FrameRun>& runs) {
    std::vector<int> repeats;
    for (const FrameRun& run : runs) {
        for (int k = 1; k < run.count; ++k) {
            repeats.push_back(run.first + k);
        }
    }
    return repeats;
}
} // namespace

MergedFrames::MergedFrames(EditTarget& target, const std::vector<FrameRun>& runs)
    : RemovedFrames(target, EditKind::RemoveDuplicates, RepeatsIn(runs)) {
    for (const FrameRun& run : runs) {
        if (run.count > 1) {
            m_kept.push_back(run.first);
            m_delays.push_back(run.delay);
        }
    }
}

bool MergedFrames::Forward() {
    // The delays go to the frames' places before the repeats leave them.
    if (Positions().empty() || Positions().back() >= m_target.FrameCount()) {
        return false;
    }
    m_before.clear();
    for (size_t k = 0; k < m_kept.size(); ++k) {
        m_before.push_back(m_target.FrameDelay(m_kept[k]));
        m_target.SetFrameDelay(m_kept[k], m_delays[k]);
    }
    return RemovedFrames::Forward();
}

bool MergedFrames::Backward() {
    if (m_before.size() != m_kept.size() || !RemovedFrames::Backward()) {
        return false;
    }
    for (size_t k = 0; k < m_kept.size(); ++k) {
        m_target.SetFrameDelay(m_kept[k], m_before[k]);
    }
    m_target.SetSelection(m_kept);
    return true;
}

bool EditHistory::Submit(wxCommand* command, bool storeIt) {
    const bool done = wxCommandProcessor::Submit(command, storeIt);
    Trim();
    return done;
}

void EditHistory::Store(wxCommand* command) {
    wxCommandProcessor::Store(command);
    Trim();
}

size_t EditHistory::HeldBytes() const {
    size_t bytes = 0;
    for (const wxObject* object : m_commands) {
        if (const auto* edit = dynamic_cast<const AnimationEdit*>(object)) {
            bytes += edit->HeldBytes();
        }
    }
    return bytes;
}

void EditHistory::Trim() {
    // Only steps before the current one go: Redo must still find the step after it.
    while (m_currentCommand && m_commands.GetFirst() != m_currentCommand &&
           HeldBytes() > m_budget) {
        wxList::compatibility_iterator oldest = m_commands.GetFirst();
        if (m_lastSavedCommand == oldest) {
            m_lastSavedCommand = wxList::compatibility_iterator();
        }
        delete static_cast<wxCommand*>(oldest->GetData());
        m_commands.Erase(oldest);
    }
}
