// Shrinking pictures to fit a thumbnail box, keeping their proportions.
#pragma once

#include <wx/gdicmn.h>
#include <wx/image.h>

// The size a picture of `picture` gets in a box of `box`: shrunk by the smaller of the two
// ratios (each side truncated, but at least 1 pixel), or its own size when it fits already.
wxSize FitThumbnailSize(const wxSize& picture, const wxSize& box);

// The picture scaled to FitThumbnailSize; small pictures are never enlarged. The source is not
// changed. An invalid picture gives an invalid result.
wxImage ShrinkToFit(const wxImage& image, const wxSize& box);
