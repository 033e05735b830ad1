#include "edit/frame_order.h"

#include <algorithm>

namespace {
std::vector<bool> Marks(int count, const std::vector<int>& selection) {
    std::vector<bool> marked(count, false);
    for (int index : selection) {
        if (index >= 0 && index < count) {
            marked[index] = true;
        }
    }
    return marked;
}

FrameOrder Identity(int count) {
    FrameOrder order(count);
    for (int i = 0; i < count; ++i) {
        order[i] = i;
    }
    return order;
}
} // namespace

FrameOrder MoveToGap(int count, const std::vector<int>& selection, int gap) {
    const std::vector<bool> marked = Marks(count, selection);
    FrameOrder order;
    order.reserve(count);
    auto putSelected = [&] {
        for (int i = 0; i < count; ++i) {
            if (marked[i]) {
                order.push_back(i);
            }
        }
    };
    for (int i = 0; i < count; ++i) {
        if (i == gap) {
            putSelected();
        }
        if (!marked[i]) {
            order.push_back(i);
        }
    }
    if (gap >= count) {
        putSelected();
    }
    return order;
}

FrameOrder MoveByOne(int count, const std::vector<int>& selection, int step) {
    const std::vector<bool> marked = Marks(count, selection);
    const bool any = std::find(marked.begin(), marked.end(), true) != marked.end();
    const int edge = step < 0 ? 0 : count - 1;
    if (!any || marked[edge]) {
        return {};
    }
    FrameOrder order = Identity(count);
    // Walking toward the moving direction's far end, each selected frame swaps with the frame
    // beyond it, so a run moves as a whole past its neighbour.
    for (int k = 0; k < count; ++k) {
        const int i = step < 0 ? k : count - 1 - k;
        if (marked[order[i]]) {
            std::swap(order[i], order[i + step]);
        }
    }
    return order;
}

FrameOrder Reversed(int count, const std::vector<int>& selection) {
    std::vector<int> places;
    const std::vector<bool> marked = Marks(count, selection);
    for (int i = 0; i < count; ++i) {
        if (marked[i]) {
            places.push_back(i);
        }
    }
    if (places.size() < 2) {
        places = Identity(count);
    }
    FrameOrder order = Identity(count);
    for (size_t k = 0; k < places.size(); ++k) {
        order[places[k]] = places[places.size() - 1 - k];
    }
    return order;
}

FrameOrder PingPong(int count) {
    FrameOrder order = Identity(count);
    for (int i = count - 2; i > 0; --i) {
        order.push_back(i);
    }
    return order;
}

FrameOrder Duplicated(int count, const std::vector<int>& selection) {
    const std::vector<bool> marked = Marks(count, selection);
    FrameOrder order = Identity(count);
    const auto last = std::find(marked.rbegin(), marked.rend(), true);
    const int after = int(marked.rend() - last); // just behind the last selected frame
    // Inserted from the back at one place, the copies end up in their order.
    for (int i = after - 1; i >= 0; --i) {
        if (marked[i]) {
            order.insert(order.begin() + after, i);
        }
    }
    return order;
}

bool KeepsEveryFrame(const FrameOrder& order) {
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i] != int(i)) {
            return false;
        }
    }
    return true;
}

FrameOrder Inverse(const FrameOrder& order) {
    FrameOrder inverse(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        inverse[order[i]] = int(i);
    }
    return inverse;
}
