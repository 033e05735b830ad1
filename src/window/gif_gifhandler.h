// The animated GIF encoder: writes paletted frames, one call per frame, as one GIF89a file that
// loops forever. Built on the toolkit's GIF handler only for its LZW compressor.
#pragma once

#include <wx/image.h>
#include <wx/imaggif.h>
#include <wx/stream.h>

// The stream that the running export writes to. Only one export runs at a time.
extern wxOutputStream* g_gifOutputStream;

// One colour table entry as it is written to the file.
struct GifColour {
    unsigned char red;
    unsigned char green;
    unsigned char blue;
};

class MyGifHandler : public wxGIFHandler {
public:
    MyGifHandler() = default;
    ~MyGifHandler() override;

    // Writes frame `index` (0-based) of `frameCount` to g_gifOutputStream: the file header and
    // looping block before frame 0, the trailer after the last frame. The image must carry a
    // palette holding every colour of its pixels. False when anything failed.
    bool SaveFrame(wxImage& image, int delayMs, int frameCount, int index);

protected:
    // Writes one image (with the file header before it when `first`), using the colour table
    // `colours` of `count` entries and the transparent index (-1 for none).
    bool DoSaveFile(const wxImage& image, bool first, int delayMs, const GifColour* colours,
                    int count, int transparentIndex);
};
