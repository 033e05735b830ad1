// Where the window puts what it shows: the preview's place in its panel, and the strip's cell
// texts fitted to their lines.
#pragma once

#include <wx/gdicmn.h>
#include <wx/string.h>

#include <functional>

// The width a text takes when drawn.
using TextWidth = std::function<int(const wxString&)>;

// A frame in the preview panel: never enlarged, shrunk to fit, centred both ways.
wxRect PreviewPlacement(const wxSize& frame, const wxSize& panel);

// The frame label "#12  2.20sec" when it fits the width, else shorter forms of it; the frame
// number always stays.
wxString FitFrameLabel(int number, float seconds, int width, const TextWidth& measure);

// The entry's name when it fits, else with an ellipsis in the middle of its base and the end
// kept whole: the frame number of a frame reference, or the extension.
wxString FitEntryName(const wxString& name, int width, const TextWidth& measure);
