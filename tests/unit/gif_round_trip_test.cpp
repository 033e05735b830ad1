// Files from the encoder decode back to exactly the paletted frames written, with the
// toolkit's decoder and with the command-line GIF tools.
#include "support/paletted_frames.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <wx/gifdecod.h>
#include <wx/wfstream.h>

#include <cstdio>
#include <string>

namespace {

std::string CommandOutput(const wxString& command) {
    std::string output;
    FILE* pipe = popen(command.utf8_str(), "r");
    if (!pipe) {
        return output;
    }
    char buffer[4096];
    size_t read;
    while ((read = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, read);
    }
    pclose(pipe);
    return output;
}

size_t Occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

struct Frame {
    int width;
    int height;
    std::vector<GifColour> colours;
    std::vector<int> indices;
};

} // namespace

TEST(GifRoundTrip, WrittenFramesDecodeToTheSameIndicesColoursAndDelay) {
    // A large random frame runs the compressor through full code tables; odd widths pad the
    // pixel count; a colour listed twice must always be coded with its first entry.
    std::vector<Frame> frames;
    std::vector<GifColour> duplicated = RampPalette(256);
    duplicated[7] = duplicated[2];
    Frame noisy{151, 97, duplicated, {}};
    unsigned seed = 12345;
    for (int p = 0; p < noisy.width * noisy.height; ++p) {
        seed = seed * 1103515245u + 12345u;
        noisy.indices.push_back((seed >> 16) & 0xFF);
    }
    frames.push_back(noisy);
    frames.push_back(Frame{7, 5, RampPalette(3), CyclingIndices(35, 3)});
    frames.push_back(Frame{7, 5, RampPalette(2), CyclingIndices(35, 2)});

    std::vector<wxImage> images;
    for (const Frame& f : frames) {
        images.push_back(PalettedImage(f.width, f.height, f.colours, f.indices));
    }
    const Bytes file = EncodeFrames(images, 250);

    TempFolder folder;
    const wxString path =
        WriteBytes(folder.File("round.gif"), std::string(file.begin(), file.end()));

    wxFileInputStream in(path);
    wxGIFDecoder decoder;
    ASSERT_EQ(decoder.LoadGIF(in), wxGIF_OK);
    ASSERT_EQ(decoder.GetFrameCount(), frames.size());
    for (unsigned i = 0; i < frames.size(); ++i) {
        SCOPED_TRACE(i);
        const Frame& f = frames[i];
        EXPECT_EQ(decoder.GetFrameSize(i), wxSize(f.width, f.height));
        EXPECT_EQ(decoder.GetDelay(i), 250);
        EXPECT_EQ(decoder.GetTransparentColourIndex(i), -1);
        const unsigned char* data = decoder.GetData(i);
        int wrong = 0;
        for (size_t p = 0; p < f.indices.size(); ++p) {
            const int expected = f.indices[p] == 7 && f.colours.size() == 256 ? 2 : f.indices[p];
            wrong += data[p] != expected;
        }
        EXPECT_EQ(wrong, 0);
        const unsigned char* palette = decoder.GetPalette(i);
        for (size_t c = 0; c < f.colours.size(); ++c) {
            EXPECT_EQ(palette[3 * c], f.colours[c].red);
            EXPECT_EQ(palette[3 * c + 1], f.colours[c].green);
            EXPECT_EQ(palette[3 * c + 2], f.colours[c].blue);
        }

        wxImage decoded;
        ASSERT_TRUE(decoded.LoadFile(path, wxBITMAP_TYPE_GIF, static_cast<int>(i)));
        EXPECT_EQ(0, memcmp(decoded.GetData(), images[i].GetData(), 3 * f.indices.size()));
    }

    const std::string info = CommandOutput("gifsicle --info '" + path + "' 2>&1");
    EXPECT_NE(info.find("3 images"), std::string::npos) << info;
    EXPECT_NE(info.find("loop forever"), std::string::npos) << info;
    EXPECT_EQ(Occurrences(info, "delay 0.25s"), 3u) << info;
    EXPECT_EQ(CommandOutput("identify -format '%T %w %h\\n' '" + path + "' 2>&1"),
              "25 151 97\n25 7 5\n25 7 5\n");
}
