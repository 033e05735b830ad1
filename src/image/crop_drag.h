// Drawing a crop rectangle with the pointer: which part of it a press takes, and the rectangle
// a drag gives, in picture pixels.
#pragma once

#include <wx/gdicmn.h>

enum class CropGrip {
    New, // outside the rectangle: a new one is drawn
    Move,
    Left,
    Right,
    Top,
    Bottom,
    TopLeft,
    TopRight,
    BottomLeft,
    BottomRight,
};

// What a press at `point` takes of `crop`: a corner or side within `reach` pixels of it,
// the inside, or nothing (a new rectangle).
CropGrip GripAt(const wxRect& crop, const wxPoint& point, int reach);

// The rectangle after dragging `grip` of `start` from `from` to `to`, inside a picture of
// `bounds` and never smaller than one pixel. A new rectangle spans the pixels of both points.
wxRect DraggedCrop(const wxRect& start, CropGrip grip, const wxPoint& from, const wxPoint& to,
                   const wxSize& bounds);
