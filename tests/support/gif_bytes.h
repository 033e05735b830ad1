// Writes small GIF files with giflib, so that tests decide every frame's position, size,
// transparency, disposal method, palette and row order.
#pragma once

#include <wx/string.h>

#include <gif_lib.h>

#include <array>
#include <vector>

namespace testgif {

using Rgb = std::array<unsigned char, 3>;

// The disposal codes as the file stores them.
enum Disposal { kUnspecified = 0, kKeep = 1, kToBackground = 2, kToPrevious = 3 };

struct Frame {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<unsigned char> indexes; // width * height palette indexes, rows as stored
    int transparentIndex = -1;
    Disposal disposal = kUnspecified;
    bool interlaced = false;
    std::vector<Rgb> localPalette; // used instead of the global one when not empty
    int delay = 10;                // hundredths of a second
};

struct File {
    int width = 0, height = 0;
    std::vector<Rgb> palette; // the global colour table, at most 256 entries
    std::vector<Frame> frames;
};

// A frame of one colour index.
inline Frame Patch(int left, int top, int width, int height, unsigned char index,
                   Disposal disposal = kUnspecified) {
    Frame frame{left, top, width, height, {}, -1, disposal, false, {}};
    frame.indexes.assign(static_cast<size_t>(width) * height, index);
    return frame;
}

// The table padded with black to a power of two; null for an empty one.
inline ColorMapObject* MakeMap(const std::vector<Rgb>& palette) {
    const int size = 1 << GifBitSize(palette.size());
    std::vector<GifColorType> colours(size, GifColorType{0, 0, 0});
    for (size_t i = 0; i < palette.size(); ++i) {
        colours[i] = GifColorType{palette[i][0], palette[i][1], palette[i][2]};
    }
    return palette.empty() ? nullptr : GifMakeMapObject(size, colours.data());
}

inline bool PutFrame(GifFileType* gif, const Frame& frame) {
    const GraphicsControlBlock control{frame.disposal, false, frame.delay, frame.transparentIndex};
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    ColorMapObject* local = MakeMap(frame.localPalette);
    bool ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_OK &&
              EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height,
                               frame.interlaced, local) == GIF_OK;
    GifFreeMapObject(local);
    std::vector<GifPixelType> pixels(frame.indexes.begin(), frame.indexes.end());
    return ok && EGifPutLine(gif, pixels.data(), pixels.size()) == GIF_OK;
}

inline bool Write(const wxString& path, const File& file) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.utf8_str(), false, &error);
    if (gif == nullptr) {
        return false;
    }
    EGifSetGifVersion(gif, true);
    ColorMapObject* global = MakeMap(file.palette);
    bool ok = EGifPutScreenDesc(gif, file.width, file.height, 8, 0, global) == GIF_OK;
    GifFreeMapObject(global);
    for (const Frame& frame : file.frames) {
        ok = ok && PutFrame(gif, frame);
    }
    return EGifCloseFile(gif, &error) == GIF_OK && ok;
}

// An animation whose first frame fills the screen and whose later frames are one-pixel
// patches, in red, green, blue and white.
inline wxString WriteAnimation(const wxString& path, int frames, int width, int height) {
    File file{width, height, {{200, 0, 0}, {0, 180, 0}, {0, 0, 220}, {255, 255, 255}}, {}};
    file.frames.push_back(Patch(0, 0, width, height, 0));
    for (int f = 1; f < frames; ++f) {
        file.frames.push_back(Patch(f % width, 0, 1, 1, f % 3 + 1));
    }
    Write(path, file);
    return path;
}

} // namespace testgif
