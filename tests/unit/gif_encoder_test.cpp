// The bytes the GIF encoder writes block by block, its image data byte for byte the toolkit
// writer's, and the frames it refuses.
#include "gif/gif_gifhandler.h"

#include <gtest/gtest.h>
#include <wx/anidecod.h>
#include <wx/gifdecod.h>
#include <wx/image.h>
#include <wx/imaggif.h>
#include <wx/mstream.h>
#include <wx/palette.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::string;

Bytes B(std::initializer_list<int> bytes) {
    return Bytes(bytes.begin(), bytes.end());
}

const Bytes kLooping = "\x21\xFF\x0BNETSCAPE2.0" + B({0x03, 0x01, 0x00, 0x00, 0x00});

// A palette of `count` entries as the file stores it, entry i being (i, 255 - i, i / 2).
Bytes Ramp(int count) {
    Bytes palette;
    for (int i = 0; i < count; ++i) {
        palette += B({i, 255 - i, i / 2});
    }
    return palette;
}

// The palette padded with black to `entries`.
Bytes Padded(const Bytes& palette, size_t entries) {
    return palette + Bytes(3 * entries - palette.size(), '\0');
}

PalettedFrame Paletted(int width, int height, const Bytes& palette, const std::vector<int>& indices,
                       int transparent = -1) {
    PalettedFrame frame;
    frame.width = width;
    frame.height = height;
    frame.indices.assign(indices.begin(), indices.end());
    for (size_t i = 0; i + 2 < palette.size(); i += 3) {
        frame.colours.push_back(GifColour{static_cast<unsigned char>(palette[i]),
                                          static_cast<unsigned char>(palette[i + 1]),
                                          static_cast<unsigned char>(palette[i + 2])});
    }
    frame.transparent = transparent;
    return frame;
}

// The frame as the toolkit's own writer takes it: its pixels' colours, the palette attached.
wxImage ToolkitImage(const PalettedFrame& frame) {
    wxImage image(frame.width, frame.height, false);
    std::vector<unsigned char> rgb[3];
    for (const GifColour& entry : frame.colours) {
        rgb[0].push_back(entry.red);
        rgb[1].push_back(entry.green);
        rgb[2].push_back(entry.blue);
    }
    for (size_t p = 0; p < frame.indices.size(); ++p) {
        std::memcpy(image.GetData() + 3 * p, &frame.colours[frame.indices[p]], 3);
    }
    image.SetPalette(wxPalette(frame.colours.size(), rgb[0].data(), rgb[1].data(), rgb[2].data()));
    return image;
}

struct Encoded {
    Bytes bytes;
    bool ok;
};

// Writes every frame with the encoder, as an export does, keeping each call's bytes apart; with
// `layouts`, frame i is placed as layouts[i] says.
std::vector<Encoded> Encode(const std::vector<PalettedFrame>& frames, int delayMs,
                            const std::vector<GifFrameLayout>& layouts = {}) {
    std::vector<Encoded> written;
    for (size_t i = 0; i < frames.size(); ++i) {
        wxMemoryOutputStream stream;
        const bool ok = MyGifHandler().SaveFrame(stream, frames[i], delayMs / 10, frames.size(), i,
                                                 layouts.empty() ? GifFrameLayout() : layouts[i]);
        Bytes bytes(stream.GetLength(), '\0');
        stream.CopyTo(&bytes[0], bytes.size());
        written.push_back(Encoded{bytes, ok});
    }
    return written;
}

// A frame's control block, image descriptor and local table, as a later frame begins.
Bytes FrameStart(const Bytes& control, int width, int height, int packed, const Bytes& table) {
    return control + B({0x2C, 0, 0, 0, 0, width, 0, height, 0, packed}) + table;
}

} // namespace

TEST(GifEncoder, FramesAreWrittenBlockByBlockAsTheToolkitCodesThem) {
    struct Frame {
        int entries, width, height;
        size_t written; // table entries, padded with black to a power of two
        int packed;     // of the screen descriptor for the first frame, else the local one
    };
    struct File {
        int delayMs;
        std::vector<Frame> frames;
    };
    // A large random frame runs the compressor through full code tables; odd widths pad the
    // pixel count; the local table is written even when it equals the global one.
    const std::vector<File> files = {
        {250,
         {{256, 151, 97, 256, 0xF7},
          {256, 5, 3, 256, 0x87},
          {3, 7, 5, 4, 0x81},
          {2, 7, 5, 2, 0x80}}},
        {3000, {{3, 3, 2, 4, 0x91}, {5, 3, 2, 8, 0x82}}},
        {50, {{2, 3, 2, 2, 0x80}, {1, 3, 2, 2, 0x80}, {129, 3, 2, 256, 0x87}}},
        {50, {{5, 3, 2, 8, 0xA2}, {3, 3, 2, 4, 0x81}}},
    };
    for (const File& file : files) {
        const std::vector<Frame>& frames = file.frames;
        SCOPED_TRACE(frames[0].entries);
        std::vector<PalettedFrame> images;
        unsigned seed = 12345;
        for (const Frame& f : frames) {
            std::vector<int> indices;
            for (int p = 0; p < f.width * f.height; ++p) {
                seed = seed * 1103515245u + 12345u;
                indices.push_back((seed >> 16) % f.entries);
            }
            images.push_back(Paletted(f.width, f.height, Ramp(f.entries), indices));
        }
        const std::vector<Encoded> written = Encode(images, file.delayMs);

        const int hundredths = file.delayMs / 10;
        const Bytes control = B({0x21, 0xF9, 0x04, 0x00, hundredths & 0xFF, hundredths >> 8, 0, 0});
        for (unsigned i = 0; i < frames.size(); ++i) {
            SCOPED_TRACE(i);
            const Frame& f = frames[i];
            const Bytes& bytes = written[i].bytes;
            EXPECT_TRUE(written[i].ok);
            const Bytes table = Padded(Ramp(f.entries), f.written);
            const Bytes start = i > 0 ? FrameStart(control, f.width, f.height, f.packed, table)
                                      : "GIF89a" + B({f.width, 0, f.height, 0, f.packed, 0, 0}) +
                                            table + kLooping +
                                            FrameStart(control, f.width, f.height, 0x00, "");
            EXPECT_EQ(bytes.substr(0, start.size() + 1), start + B({0x08}));
            // Only the last frame ends with the trailer.
            const bool last = i + 1 == frames.size();
            EXPECT_EQ(bytes.substr(bytes.size() - (last ? 2 : 1)),
                      last ? B({0x00, 0x3B}) : B({0x00}));
            // The image data is byte for byte what the toolkit's own writer makes of the frame.
            const Bytes image = bytes.substr(start.size(), bytes.size() - start.size() - last);
            wxImageArray toolkitFrames;
            toolkitFrames.Add(ToolkitImage(images[i]));
            wxMemoryOutputStream toolkitFile;
            wxGIFHandler().SaveAnimation(toolkitFrames, &toolkitFile, false, 100);
            Bytes toolkit(toolkitFile.GetLength(), '\0');
            toolkitFile.CopyTo(&toolkit[0], toolkit.size());
            EXPECT_TRUE(toolkit.size() > image.size() &&
                        toolkit.compare(toolkit.size() - 1 - image.size(), image.size(), image) ==
                            0);
        }
    }
}

TEST(GifEncoder, PixelsThatMayBeTransparentDecodeToTheirColourOrTransparentAndCodeShorter) {
    // Runs of three colours; entry 3 is the transparent one. Runs of pixels that the canvas
    // shows already, some to be written in their colour first, some transparent first.
    const int width = 97, height = 61;
    std::vector<int> indices;
    GifFrameLayout either;
    either.compactCodes = true;
    unsigned seed = 99;
    for (int p = 0; p < width * height; ++p) {
        if (p % 5 == 0) {
            seed = seed * 1103515245u + 12345u;
        }
        indices.push_back((seed >> 16) % 3);
        either.unchanged.push_back((seed >> 20) % 3);
    }
    GifFrameLayout plain = either;
    plain.unchanged.clear();
    const Bytes table = Ramp(4);
    std::vector<Bytes> written;
    for (const GifFrameLayout& layout : {plain, either}) {
        const std::vector<PalettedFrame> frames = {Paletted(width, height, table, indices),
                                                   Paletted(width, height, table, indices, 3)};
        const std::vector<Encoded> encoded = Encode(frames, 100, {GifFrameLayout(), layout});
        written.push_back(encoded[0].bytes + encoded[1].bytes);
    }
    EXPECT_LT(written[1].size(), written[0].size());

    wxMemoryInputStream in(written[1].data(), written[1].size());
    wxGIFDecoder decoder;
    ASSERT_EQ(decoder.LoadGIF(in), wxGIF_OK);
    const unsigned char* decoded = decoder.GetData(1);
    int clear = 0;
    for (size_t p = 0; p < indices.size(); ++p) {
        clear += decoded[p] == 3;
        if (decoded[p] != indices[p] && !(decoded[p] == 3 && either.unchanged[p] != kChanged)) {
            ADD_FAILURE() << "pixel " << p << " decoded as " << int(decoded[p]);
            break;
        }
    }
    EXPECT_GT(clear, 0);
}

TEST(GifEncoder, LargeFramesCodedLossilyDecodeWithinTheirBound) {
    // Large enough to be coded as bands of rows: a grainy ramp of entries one step apart.
    const int width = 1024, height = 1024, bound = 4;
    std::vector<int> indices;
    unsigned seed = 7;
    for (int p = 0; p < width * height; ++p) {
        seed = seed * 1103515245u + 12345u;
        indices.push_back((p % width / 64 + p / width / 64) % 12 + (seed >> 16) % 3);
    }
    GifFrameLayout lossy;
    lossy.lossy = bound;
    const std::vector<PalettedFrame> frames = {Paletted(width, height, Ramp(16), indices)};
    const Bytes exact = Encode(frames, 100)[0].bytes;
    const Bytes written = Encode(frames, 100, {lossy})[0].bytes;
    EXPECT_LT(written.size(), exact.size() * 3 / 4);
    // The bands are the same whether one thread codes them or two.
    lossy.threads = 1;
    EXPECT_EQ(Encode(frames, 100, {lossy})[0].bytes, written);

    wxMemoryInputStream in(written.data(), written.size());
    wxGIFDecoder decoder;
    ASSERT_EQ(decoder.LoadGIF(in), wxGIF_OK);
    const unsigned char* decoded = decoder.GetData(0);
    for (size_t p = 0; p < indices.size(); ++p) {
        if (std::abs(decoded[p] - indices[p]) > bound) {
            ADD_FAILURE() << "pixel " << p << " decoded as " << int(decoded[p]);
            break;
        }
    }
}

TEST(GifEncoder, RefusedFramesWriteNothingAndLeaveOutTheTrailer) {
    // No table, an index past the table, a transparent entry past it, no pixels.
    const PalettedFrame good = Paletted(2, 1, Ramp(2), {0, 1});
    for (const PalettedFrame& bad :
         {Paletted(2, 1, "", {0, 0}), Paletted(2, 1, Ramp(2), {0, 2}),
          Paletted(2, 1, Ramp(2), {0, 1}, 2), Paletted(0, 1, Ramp(2), {})}) {
        const std::vector<Encoded> written = Encode({good, bad}, 100);
        EXPECT_TRUE(written[0].ok);
        EXPECT_FALSE(written[1].ok);
        EXPECT_TRUE(written[1].bytes.empty());
    }
}

TEST(GifEncoder, LayoutAndTransparencyShapeFrameStartsAndTheFirstFrameCarriesThePasses) {
    const Bytes table = Ramp(2);
    struct Case {
        GifFrameLayout layout;
        Bytes colours; // frame 1's palette
        int transparent;
        std::vector<int> indices;
        Bytes looping;     // after frame 0's table
        Bytes frame1Start; // frame 1's control flags, descriptor, local table
    };
    // Fields: left, top, keep, clear after, global table, compact codes, passes, lossy,
    // unchanged pixels, the picture lossy codes aim at.
    const GifFrameLayout plain, placed{3, 258, true, false, true, true, 1, 0, {}, {}},
        thrice{0, 0, false, false, false, true, 3, 0, {}, {}},
        cleared{0, 0, true, true, false, false, 0, 0, {}, {}};
    const std::vector<int> stripes = {1, 0, 1, 0}, some = {0, 5, 9, 3};
    const std::vector<Case> cases = {
        {plain, table, -1, stripes, kLooping,
         B({0x00, 10, 0, 0, 0, 0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0x80}) + table + B({0x08})},
        // Placed and kept; one pass: no looping block at all; the global table: no local one;
        // narrow codes.
        {placed, table, -1, stripes, "",
         B({0x04, 10, 0, 0, 0, 0x2C, 3, 0, 2, 1, 2, 0, 2, 0, 0x00, 0x02})},
        {thrice, table, -1, stripes, "\x21\xFF\x0BNETSCAPE2.0" + B({0x03, 0x01, 0x02, 0x00, 0x00}),
         B({0x00, 10, 0, 0, 0, 0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0x80}) + table + B({0x02})},
        // Cleared once shown, whatever `keep` says.
        {cleared, table, 1, stripes, kLooping,
         B({0x09, 10, 0, 1, 0, 0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0x80}) + table + B({0x08})},
        {plain, Ramp(16), 5, some, kLooping,
         B({0x01, 10, 0, 5, 0, 0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0x83}) + Ramp(16)},
        // 201 entries are written as 256, padded with black.
        {plain, Ramp(201), 200, some, kLooping,
         B({0x01, 10, 0, 200, 0, 0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0x87}) + Padded(Ramp(201), 256)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - &cases[0]);
        // Frame 0 takes only the passes: it always fills the screen.
        GifFrameLayout first;
        first.passes = c.layout.passes;
        const std::vector<PalettedFrame> frames = {
            Paletted(8, 300, table, std::vector<int>(2400, 1)),
            Paletted(2, 2, c.colours, c.indices, c.transparent)};
        Bytes whole;
        for (const Encoded& frame : Encode(frames, 100, {first, c.layout})) {
            EXPECT_TRUE(frame.ok);
            whole += frame.bytes;
        }
        const Bytes header = "GIF89a" + B({8, 0, 0x2C, 0x01, 0x80, 0, 0}) + table + c.looping;
        EXPECT_EQ(whole.substr(0, header.size()), header);
        const size_t frame1 = whole.find("\x21\xF9\x04", header.size() + 8);
        ASSERT_NE(frame1, Bytes::npos);
        EXPECT_EQ(whole.substr(frame1 + 3, c.frame1Start.size()), c.frame1Start);
    }
}
