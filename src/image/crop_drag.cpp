#include "image/crop_drag.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool Near(int value, int edge, int reach) {
    return std::abs(value - edge) <= reach;
}

bool Within(int value, int low, int high, int reach) {
    return value >= low - reach && value <= high + reach;
}

} // namespace

CropGrip GripAt(const wxRect& crop, const wxPoint& point, int reach) {
    if (crop.IsEmpty()) {
        return CropGrip::New;
    }
    const int left = crop.x, right = crop.x + crop.width;
    const int top = crop.y, bottom = crop.y + crop.height;
    const bool atLeft = Near(point.x, left, reach), atRight = Near(point.x, right, reach);
    const bool atTop = Near(point.y, top, reach), atBottom = Near(point.y, bottom, reach);
    // On a small rectangle both sides are near: the nearer one wins.
    const bool leftFirst = std::abs(point.x - left) <= std::abs(point.x - right);
    const bool topFirst = std::abs(point.y - top) <= std::abs(point.y - bottom);
    const bool horizontal = atLeft || atRight, vertical = atTop || atBottom;
    if (horizontal && vertical) {
        const bool isLeft = atLeft && (!atRight || leftFirst);
        const bool isTop = atTop && (!atBottom || topFirst);
        return isLeft ? (isTop ? CropGrip::TopLeft : CropGrip::BottomLeft)
                      : (isTop ? CropGrip::TopRight : CropGrip::BottomRight);
    }
    if (horizontal && Within(point.y, top, bottom, 0)) {
        return atLeft && (!atRight || leftFirst) ? CropGrip::Left : CropGrip::Right;
    }
    if (vertical && Within(point.x, left, right, 0)) {
        return atTop && (!atBottom || topFirst) ? CropGrip::Top : CropGrip::Bottom;
    }
    return crop.Contains(point) ? CropGrip::Move : CropGrip::New;
}

wxRect DraggedCrop(const wxRect& start, CropGrip grip, const wxPoint& from, const wxPoint& to,
                   const wxSize& bounds) {
    if (grip == CropGrip::New || start.IsEmpty()) {
        const int left = std::clamp(std::min(from.x, to.x), 0, bounds.x - 1);
        const int top = std::clamp(std::min(from.y, to.y), 0, bounds.y - 1);
        const int right = std::clamp(std::max(from.x, to.x) + 1, left + 1, bounds.x);
        const int bottom = std::clamp(std::max(from.y, to.y) + 1, top + 1, bounds.y);
        return wxRect(left, top, right - left, bottom - top);
    }
    const int dx = to.x - from.x, dy = to.y - from.y;
    if (grip == CropGrip::Move) {
        const int x = std::clamp(start.x + dx, 0, std::max(0, bounds.x - start.width));
        const int y = std::clamp(start.y + dy, 0, std::max(0, bounds.y - start.height));
        return wxRect(x, y, start.width, start.height);
    }
    int left = start.x, right = start.x + start.width;
    int top = start.y, bottom = start.y + start.height;
    if (grip == CropGrip::Left || grip == CropGrip::TopLeft || grip == CropGrip::BottomLeft) {
        left = std::clamp(left + dx, 0, right - 1);
    }
    if (grip == CropGrip::Right || grip == CropGrip::TopRight || grip == CropGrip::BottomRight) {
        right = std::clamp(right + dx, left + 1, bounds.x);
    }
    if (grip == CropGrip::Top || grip == CropGrip::TopLeft || grip == CropGrip::TopRight) {
        top = std::clamp(top + dy, 0, bottom - 1);
    }
    if (grip == CropGrip::Bottom || grip == CropGrip::BottomLeft || grip == CropGrip::BottomRight) {
        bottom = std::clamp(bottom + dy, top + 1, bounds.y);
    }
    return wxRect(left, top, right - left, bottom - top);
}
