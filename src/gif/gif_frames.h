// Reading the frames of a GIF file one after the other with giflib, composing each onto the
// file's logical screen (GifCanvas). Only the canvas and one row of the frame being read are in
// memory, never the whole file's frames. giflib also reads the files whose LZW table fills up
// before a clear code, as GIF optimisers write them.
#pragma once

#include "import/image_source.h"

#include <vector>

// Delivers every composed frame of the GIF file at `path` when `onlyFrame` is -1, otherwise only
// composed frame `onlyFrame` (the frames before it are composed, not delivered).
// `stopRequested` is asked before each frame. A damaged file gives the frames read before the
// damage and says so in `problem` (may be null). With PictureParts::OfHugeScreens, frames
// after the first delivered may come as their changed parts. Returns whether any picture was
// delivered.
bool DecodeGifFrames(const wxString& path, int onlyFrame, const PictureSink& deliver,
                     const StopRequest& stopRequested, SourceProblem* problem = nullptr,
                     PictureParts parts = PictureParts::Whole);

// The same for a set of frames, in rising order, read in one pass: the frames of a project that
// lists thousands of one file's frames are read once, not once each.
bool DecodeGifFrameSet(const wxString& path, const std::vector<int>& frames,
                       const PictureSink& deliver, const StopRequest& stopRequested,
                       SourceProblem* problem, PictureParts parts = PictureParts::Whole);

// How many pictures DecodeGifFrames would deliver for the same arguments, and their size, found
// by reading the whole file without composing anything. A picture that then cannot be composed
// for lack of memory is the only difference.
SourceSurvey SurveyGifFrames(const wxString& path, int onlyFrame);
SourceSurvey SurveyGifFrameSet(const wxString& path, const std::vector<int>& frames);

// The same without decoding the frames' pixels, which is much quicker: frames whose pixel data
// is damaged are counted too, so the number may be higher than the pictures decoding gives.
SourceSurvey EstimateGifFrames(const wxString& path, int onlyFrame);
