// The bytes the GIF encoder writes for each block, and the frames it refuses.
#include "support/paletted_frames.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The bytes from `offset` on, `count` of them.
Bytes Slice(const Bytes& bytes, size_t offset, size_t count) {
    EXPECT_LE(offset + count, bytes.size());
    if (offset + count > bytes.size()) {
        return Bytes();
    }
    return Bytes(bytes.begin() + offset, bytes.begin() + offset + count);
}

// The colour table bytes for `colours`, padded with black to `entries`.
Bytes TableBytes(const std::vector<GifColour>& colours, size_t entries) {
    Bytes table(3 * entries, 0);
    for (size_t i = 0; i < colours.size() && i < entries; ++i) {
        table[3 * i] = colours[i].red;
        table[3 * i + 1] = colours[i].green;
        table[3 * i + 2] = colours[i].blue;
    }
    return table;
}

const Bytes kLooping = {0x21, 0xFF, 0x0B, 'N', 'E',  'T',  'S',  'C',  'A', 'P',
                        'E',  '2',  '.',  '0', 0x03, 0x01, 0x00, 0x00, 0x00};

// Checks a later frame's control block, descriptor and local table; returns where the image
// data begins.
size_t ExpectLaterFrameStart(const Bytes& bytes, int width, int height, unsigned char packed,
                             const Bytes& table) {
    EXPECT_EQ(Slice(bytes, 0, 3), (Bytes{0x21, 0xF9, 0x04}));
    EXPECT_EQ(Slice(bytes, 8, 10), (Bytes{0x2C, 0, 0, 0, 0, static_cast<unsigned char>(width), 0,
                                          static_cast<unsigned char>(height), 0, packed}));
    EXPECT_EQ(Slice(bytes, 18, table.size()), table);
    return 18 + table.size();
}

} // namespace

TEST(GifEncoderBytes, FullPaletteFramesUseTheGlobalThenALocalTable) {
    const std::vector<GifColour> colours = RampPalette(256);
    std::vector<wxImage> frames;
    for (int i = 0; i < 3; ++i) {
        frames.push_back(PalettedImage(5, 3, colours, CyclingIndices(15, 256)));
    }
    const std::vector<EncodedFrame> written = EncodeEachFrame(frames, 100);
    ASSERT_EQ(written.size(), 3u);
    for (const EncodedFrame& frame : written) {
        EXPECT_TRUE(frame.ok);
    }

    const Bytes& first = written[0].bytes;
    const Bytes header = {'G', 'I', 'F', '8', '9', 'a', 5, 0, 3, 0, 0xF7, 0x00, 0x00};
    EXPECT_EQ(Slice(first, 0, 13), header);
    EXPECT_EQ(Slice(first, 13, 768), TableBytes(colours, 256));
    EXPECT_EQ(Slice(first, 781, 19), kLooping);
    EXPECT_EQ(Slice(first, 800, 8), (Bytes{0x21, 0xF9, 0x04, 0x00, 10, 0, 0x00, 0x00}));
    EXPECT_EQ(Slice(first, 808, 11), (Bytes{0x2C, 0, 0, 0, 0, 5, 0, 3, 0, 0x00, 0x08}));

    // The local table is written even when it equals the global one; only the last frame
    // ends with the trailer.
    for (int i = 1; i < 3; ++i) {
        const Bytes& later = written[i].bytes;
        const size_t data = ExpectLaterFrameStart(later, 5, 3, 0x87, TableBytes(colours, 256));
        EXPECT_EQ(Slice(later, data, 1), Bytes{0x08});
    }
    EXPECT_EQ(first.back(), 0x00);
    EXPECT_EQ(written[1].bytes.back(), 0x00);
    EXPECT_EQ(Slice(written[2].bytes, written[2].bytes.size() - 2, 2), (Bytes{0x00, 0x3B}));
}

TEST(GifEncoderBytes, SmallTablesArePaddedToAPowerOfTwoAndKeepCodeSizeEight) {
    struct Case {
        int entries;
        size_t written;
        unsigned char headerPacked;
        unsigned char localPacked;
    };
    for (const Case& c : {Case{3, 4, 0x91, 0x81}, Case{2, 2, 0x80, 0x80}, Case{1, 2, 0x80, 0x80},
                          Case{5, 8, 0xA2, 0x82}, Case{129, 256, 0xF7, 0x87}}) {
        SCOPED_TRACE(c.entries);
        const std::vector<GifColour> colours = RampPalette(c.entries);
        std::vector<wxImage> frames = {PalettedImage(3, 2, colours, CyclingIndices(6, c.entries)),
                                       PalettedImage(3, 2, colours, CyclingIndices(6, c.entries))};
        const std::vector<EncodedFrame> written = EncodeEachFrame(frames, 50);

        const Bytes& first = written[0].bytes;
        EXPECT_EQ(first[10], c.headerPacked);
        EXPECT_EQ(Slice(first, 13, 3 * c.written), TableBytes(colours, c.written));
        const size_t looping = 13 + 3 * c.written;
        EXPECT_EQ(Slice(first, looping, 19), kLooping);
        EXPECT_EQ(Slice(first, looping + 19 + 8 + 9, 2), (Bytes{0x00, 0x08}));

        const Bytes& later = written[1].bytes;
        const size_t data =
            ExpectLaterFrameStart(later, 3, 2, c.localPacked, TableBytes(colours, c.written));
        EXPECT_EQ(Slice(later, data, 1), Bytes{0x08});
    }
}

TEST(GifEncoderBytes, ControlBlockCarriesDelayAndTransparentIndex) {
    // Three seconds are 300 hundredths.
    std::vector<GifColour> colours = RampPalette(16);
    std::vector<wxImage> frames = {PalettedImage(2, 2, colours, {0, 1, 2, 3}),
                                   PalettedImage(2, 2, colours, {0, 1, 2, 3})};
    Bytes later = EncodeEachFrame(frames, 3000)[1].bytes;
    EXPECT_EQ(Slice(later, 0, 8), (Bytes{0x21, 0xF9, 0x04, 0x00, 0x2C, 0x01, 0x00, 0x00}));

    // A mask colour listed twice takes the first entry.
    colours[9] = colours[5];
    frames[1] = PalettedImage(2, 2, colours, {0, 5, 9, 3});
    frames[1].SetMaskColour(colours[5].red, colours[5].green, colours[5].blue);
    later = EncodeEachFrame(frames, 100)[1].bytes;
    EXPECT_EQ(Slice(later, 0, 8), (Bytes{0x21, 0xF9, 0x04, 0x01, 10, 0, 5, 0x00}));
    ExpectLaterFrameStart(later, 2, 2, 0x83, TableBytes(colours, 16));

    // A full table has no room for a missing mask colour: no transparency.
    const std::vector<GifColour> full = RampPalette(256);
    frames[1] = PalettedImage(2, 2, full, {0, 1, 2, 3});
    frames[1].SetMaskColour(1, 2, 3);
    later = EncodeEachFrame(frames, 100)[1].bytes;
    EXPECT_EQ(Slice(later, 0, 8), (Bytes{0x21, 0xF9, 0x04, 0x00, 10, 0, 0, 0x00}));
    ExpectLaterFrameStart(later, 2, 2, 0x87, TableBytes(full, 256));

    // With room, the mask colour is appended as the transparent entry.
    std::vector<GifColour> partial = RampPalette(200);
    frames[1] = PalettedImage(2, 2, partial, {0, 1, 2, 3});
    frames[1].SetMaskColour(1, 2, 3);
    later = EncodeEachFrame(frames, 100)[1].bytes;
    EXPECT_EQ(Slice(later, 0, 8), (Bytes{0x21, 0xF9, 0x04, 0x01, 10, 0, 200, 0x00}));
    partial.push_back(GifColour{1, 2, 3});
    ExpectLaterFrameStart(later, 2, 2, 0x87, TableBytes(partial, 256));
}

TEST(GifEncoderBytes, CommentIsWrittenInSubBlocksBeforeTheControlBlock) {
    const std::vector<GifColour> colours = RampPalette(2);
    std::vector<wxImage> frames = {PalettedImage(2, 1, colours, {0, 1}),
                                   PalettedImage(2, 1, colours, {1, 0})};
    frames[0].SetOption(wxIMAGE_OPTION_GIF_COMMENT, wxString('c', 300));
    frames[1].SetOption(wxIMAGE_OPTION_GIF_COMMENT, " ");
    const std::vector<EncodedFrame> written = EncodeEachFrame(frames, 100);

    const size_t comment = 13 + 6 + 19;
    Bytes expected = {0x21, 0xFE, 0xFF};
    expected.insert(expected.end(), 255, 'c');
    expected.push_back(0x2D);
    expected.insert(expected.end(), 45, 'c');
    expected.push_back(0x00);
    EXPECT_EQ(Slice(written[0].bytes, comment, expected.size()), expected);
    EXPECT_EQ(Slice(written[0].bytes, comment + expected.size(), 2), (Bytes{0x21, 0xF9}));
    EXPECT_EQ(Slice(written[1].bytes, 0, 7), (Bytes{0x21, 0xFE, 0x01, ' ', 0x00, 0x21, 0xF9}));
}

TEST(GifEncoderBytes, RefusedFramesWriteNothingAndLeaveOutTheTrailer) {
    const std::vector<GifColour> colours = RampPalette(256);

    wxImage noPalette(4, 4);
    std::vector<wxImage> frames = {noPalette};
    std::vector<EncodedFrame> written = EncodeEachFrame(frames, 100);
    EXPECT_FALSE(written[0].ok);
    EXPECT_TRUE(written[0].bytes.empty());

    // 257 distinct colours cannot be written even with a palette attached.
    wxImage tooMany = PalettedImage(257, 1, colours, CyclingIndices(257, 256));
    tooMany.SetRGB(256, 0, 1, 1, 1);
    frames = {PalettedImage(2, 1, colours, {0, 1}), tooMany};
    written = EncodeEachFrame(frames, 100);
    EXPECT_TRUE(written[0].ok);
    EXPECT_FALSE(written[1].ok);
    EXPECT_TRUE(written[1].bytes.empty());
}
