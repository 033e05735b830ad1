// The quick reader of plain PNG files gives the toolkit's pixels, and leaves every other file,
// damaged ones above all, to the toolkit.
#include "import/plain_png.h"

#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/mstream.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string BigEndian(uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

uint32_t Crc(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFF;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
        }
    }
    return ~crc;
}

std::string Chunk(const std::string& type, const std::string& body) {
    return BigEndian(static_cast<uint32_t>(body.size())) + type + body +
           BigEndian(Crc(type + body));
}

// A zlib stream of stored blocks, with the window size field `window` (7 for 32 KB).
std::string Zlib(const std::string& raw, int window = 7) {
    std::string out;
    const int header = window << 12 | 8 << 8;
    out += static_cast<char>(header >> 8);
    out += static_cast<char>(header | (31 - header % 31));
    uint32_t a = 1, b = 0;
    for (size_t at = 0; at == 0 || at < raw.size(); at += 65535) {
        const size_t length = std::min<size_t>(65535, raw.size() - at);
        out += static_cast<char>(at + length >= raw.size() ? 1 : 0);
        const std::string sizes = {static_cast<char>(length), static_cast<char>(length >> 8),
                                   static_cast<char>(~length), static_cast<char>(~length >> 8)};
        out += sizes + raw.substr(at, length);
    }
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return out + BigEndian(b << 16 | a);
}

std::string Header(uint32_t width, uint32_t height, int depth = 8, int type = 2, int lace = 0) {
    return BigEndian(width) + BigEndian(height) +
           std::string{static_cast<char>(depth), static_cast<char>(type), 0, 0,
                       static_cast<char>(lace)};
}

const std::string kSignature = "\x89PNG\r\n\x1A\n";

// Rows of `width` RGB pixels, each with the filter byte the list gives (the last one repeated),
// and bytes that make every filter reach past 255.
std::string Rows(int width, int height, const std::vector<int>& filters) {
    std::string raw;
    for (int y = 0; y < height; ++y) {
        raw += static_cast<char>(filters[std::min<size_t>(y, filters.size() - 1)]);
        for (int i = 0; i < 3 * width; ++i) {
            raw += static_cast<char>((i * 97 + y * 61 + i * y * 13) & 0xFF);
        }
    }
    return raw;
}

std::string Plain(int width, int height, const std::vector<int>& filters,
                  const std::string& before = "", const std::string& after = "") {
    return kSignature + Chunk("IHDR", Header(width, height)) + before +
           Chunk("IDAT", Zlib(Rows(width, height, filters))) + after + Chunk("IEND", "");
}

wxImage ToolkitPicture(const std::string& file) {
    wxImage picture;
    wxMemoryInputStream in(file.data(), file.size());
    wxImage::FindHandler(wxBITMAP_TYPE_PNG)->LoadFile(&picture, in, false);
    return picture;
}

// Decoded from a copy of just the file's size, so that the sanitizer build sees any read past it.
bool Quick(const std::string& file, wxImage* picture) {
    const std::vector<unsigned char> bytes(file.begin(), file.end());
    return DecodePlainPng(bytes.data(), bytes.size(), picture);
}

} // namespace

TEST(PlainPng, GivesTheToolkitsPixels) {
    wxImage smooth(37, 23);
    for (int y = 0; y < smooth.GetHeight(); ++y) {
        for (int x = 0; x < smooth.GetWidth(); ++x) {
            smooth.SetRGB(x, y, x * 7, y * 11, (x * y) & 0xFF);
        }
    }
    wxMemoryOutputStream written;
    ASSERT_TRUE(smooth.SaveFile(written, wxBITMAP_TYPE_PNG));
    std::string byToolkit(written.GetLength(), '\0');
    written.CopyTo(&byToolkit[0], byToolkit.size());
    const std::string rows = Zlib(Rows(5, 4, {4}));
    const struct {
        const char* name;
        std::string file;
    } cases[] = {
        {"none", Plain(5, 4, {0})},
        {"sub", Plain(5, 4, {1})},
        {"up", Plain(5, 4, {2})},
        {"average", Plain(5, 4, {3})},
        {"paeth", Plain(5, 4, {4})},
        {"mixed", Plain(6, 7, {4, 3, 1, 2, 0, 4, 3})},
        {"one column", Plain(1, 5, {4, 3, 4, 1, 2})},
        {"chunks that change no pixel",
         Plain(4, 3, {4},
               Chunk("gAMA", BigEndian(45455)) + Chunk("sRGB", "\x01") +
                   Chunk("sBIT", "\x05\x06\x05") + Chunk("pHYs", std::string(9, '\x01')),
               Chunk("tEXt", std::string("Comment\0x", 9)))},
        {"data in three chunks", kSignature + Chunk("IHDR", Header(5, 4)) +
                                     Chunk("IDAT", rows.substr(0, 3)) + Chunk("IDAT", "") +
                                     Chunk("IDAT", rows.substr(3)) + Chunk("IEND", "")},
        {"written by the toolkit", byToolkit},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const wxImage expected = ToolkitPicture(c.file);
        ASSERT_TRUE(expected.IsOk());
        ASSERT_FALSE(expected.HasAlpha());
        wxImage picture;
        ASSERT_TRUE(Quick(c.file, &picture));
        ASSERT_EQ(picture.GetSize(), expected.GetSize());
        EXPECT_FALSE(picture.HasAlpha());
        EXPECT_FALSE(picture.HasMask());
        EXPECT_EQ(std::memcmp(picture.GetData(), expected.GetData(),
                              3 * static_cast<size_t>(picture.GetWidth()) * picture.GetHeight()),
                  0);
    }
}

TEST(PlainPng, LeavesAnyOtherFileToTheToolkit) {
    const std::string plain = Plain(5, 4, {4});
    std::string badCrc = plain;
    badCrc[kSignature.size() + 8 + 13] ^= 1;
    std::string badFilter = Rows(5, 4, {4});
    badFilter[16] = 5;
    const std::string rows = Zlib(Rows(5, 4, {1}));
    const struct {
        const char* name;
        std::string file;
    } cases[] = {
        {"a wrong checksum", badCrc},
        {"cut short", plain.substr(0, plain.size() - 12)},
        {"cut in its data", plain.substr(0, plain.size() - 30)},
        {"transparency", Plain(5, 4, {0}, Chunk("tRNS", std::string(6, '\0')))},
        {"a chunk unknown here", Plain(5, 4, {0}, Chunk("prVt", "x"))},
        {"16 bits", kSignature + Chunk("IHDR", Header(5, 4, 16)) +
                        Chunk("IDAT", Zlib(Rows(10, 4, {0}))) + Chunk("IEND", "")},
        {"a palette", kSignature + Chunk("IHDR", Header(5, 4, 8, 3)) +
                          Chunk("PLTE", std::string(768, '\x10')) +
                          Chunk("IDAT", Zlib(std::string(24, '\0'))) + Chunk("IEND", "")},
        {"alpha", kSignature + Chunk("IHDR", Header(3, 4, 8, 6)) +
                      Chunk("IDAT", Zlib(Rows(4, 4, {0}))) + Chunk("IEND", "")},
        {"interlaced", kSignature + Chunk("IHDR", Header(5, 4, 8, 2, 1)) +
                           Chunk("IDAT", Zlib(Rows(5, 4, {0}))) + Chunk("IEND", "")},
        {"a filter that is none", kSignature + Chunk("IHDR", Header(5, 4)) +
                                      Chunk("IDAT", Zlib(badFilter)) + Chunk("IEND", "")},
        {"a window smaller than its rows", kSignature + Chunk("IHDR", Header(5, 20)) +
                                               Chunk("IDAT", Zlib(Rows(5, 20, {1}), 0)) +
                                               Chunk("IEND", "")},
        {"too few bytes",
         kSignature + Chunk("IHDR", Header(5, 5)) + Chunk("IDAT", rows) + Chunk("IEND", "")},
        {"bytes after the data",
         kSignature + Chunk("IHDR", Header(5, 4)) + Chunk("IDAT", rows + "xx") + Chunk("IEND", "")},
        {"a chunk between its data", kSignature + Chunk("IHDR", Header(5, 4)) +
                                         Chunk("IDAT", rows.substr(0, 9)) +
                                         Chunk("tEXt", std::string("a\0b", 3)) +
                                         Chunk("IDAT", rows.substr(9)) + Chunk("IEND", "")},
        {"a header cut short", kSignature + Chunk("IHDR", "")},
        {"no header first",
         kSignature + Chunk("IDAT", rows) + Chunk("IHDR", Header(5, 4)) + Chunk("IEND", "")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        wxImage picture;
        EXPECT_FALSE(Quick(c.file, &picture));
    }
}
