// Save and Save As: writing the animation as a GIF file on the save worker.
#include "window/gif_frame.h"

void GifFrame::OnSaveAnimator(wxCommandEvent&) {}

void GifFrame::OnSaveAsAnimator(wxCommandEvent&) {}

void GifFrame::WorkSaveAsGifThreadUpdate(wxCommandEvent&) {}
