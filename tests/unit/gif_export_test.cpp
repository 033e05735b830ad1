// The export pipeline end to end: the file it writes, its progress, the same bytes on one or
// two threads, and failures that leave the old file as it was.
#include "document/animation.h"
#include "export/gif_export.h"
#include "export/palette_conversion.h"
#include "export/size_estimate.h"
#include "export/size_fitting.h"
#include "gif/gif_frames.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <wx/gifdecod.h>
#include <wx/wfstream.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// The frames as an export job; frame `missing` has no picture.
GifExportJob JobFor(const std::vector<wxImage>& frames, int width, int height, const wxString& path,
                    int missing = -1) {
    GifExportJob job;
    job.frameCount = static_cast<int>(frames.size());
    job.frameSource = [&frames, missing](int i) { return i == missing ? wxImage() : frames[i]; };
    job.canvasWidth = width;
    job.canvasHeight = height;
    job.path = path;
    return job;
}

// The frames players show, as RGB bytes of the whole canvas: composed by the import's giflib
// reader and by ImageMagick.
std::vector<std::vector<std::string>> ShownFrames(const wxString& path) {
    std::vector<std::vector<std::string>> decoders(2);
    DecodeGifFrames(path, -1,
                    [&decoders](SourcePicture picture) {
                        const wxImage& image = *picture.image;
                        decoders[0].emplace_back(reinterpret_cast<const char*>(image.GetData()),
                                                 3 * image.GetWidth() * image.GetHeight());
                    },
                    {});
    const std::string raw =
        CommandOutput("convert '" + path + "' -coalesce -depth 8 rgb:- 2>/dev/null");
    const size_t frameBytes = decoders[0].empty() ? 1 : decoders[0][0].size();
    for (size_t at = 0; at + frameBytes <= raw.size(); at += frameBytes) {
        decoders[1].push_back(raw.substr(at, frameBytes));
    }
    return decoders;
}

// The same with transparency, four bytes a pixel, clear pixels as 0 0 0 0: composed by the
// import's giflib reader, by ImageMagick and, where it is installed, by ffmpeg.
std::vector<std::vector<std::string>> ShownWithAlpha(const wxString& path) {
    std::vector<std::vector<std::string>> decoders(1);
    DecodeGifFrames(path, -1,
                    [&decoders](SourcePicture picture) {
                        const wxImage& image = *picture.image;
                        std::string rgba;
                        for (int p = 0; p < image.GetWidth() * image.GetHeight(); ++p) {
                            const bool clear = image.HasAlpha() && image.GetAlpha()[p] == 0;
                            const unsigned char* rgb = image.GetData() + 3 * p;
                            rgba +=
                                clear ? std::string(4, '\0')
                                      : std::string(reinterpret_cast<const char*>(rgb), 3) + '\xFF';
                        }
                        decoders[0].push_back(rgba);
                    },
                    {});
    const size_t frameBytes = decoders[0].empty() ? 1 : decoders[0][0].size();
    for (const wxString& command : {"convert '" + path + "' -coalesce -depth 8 rgba:- 2>/dev/null",
                                    "command -v ffmpeg >/dev/null && ffmpeg -v error -i '" + path +
                                        "' -f rawvideo -pix_fmt rgba - 2>/dev/null"}) {
        std::string raw = CommandOutput(command);
        if (raw.rfind("failed", 0) == 0) {
            continue;
        }
        for (size_t p = 3; p < raw.size(); p += 4) {
            if (raw[p] == 0) {
                raw.replace(p - 3, 3, 3, '\0');
            }
        }
        decoders.emplace_back();
        for (size_t at = 0; at + frameBytes <= raw.size(); at += frameBytes) {
            decoders.back().push_back(raw.substr(at, frameBytes));
        }
    }
    return decoders;
}

} // namespace

TEST(GifExport, OptimisedFramesShowTheWholeFramesInEveryDecoder) {
    TempFolder folder;
    // Noise of many colours, the same again, a patch of it changed, flat colours everywhere, one
    // pixel changed, 256 colours everywhere, flat colours again, then four new pixels.
    std::vector<wxImage> frames = {NoiseImage(48, 32, 1), NoiseImage(48, 32, 1)};
    frames.push_back(frames[0].Copy());
    frames.back().Paste(NoiseImage(10, 10, 2), 5, 7);
    frames.push_back(FilledImage(48, 32, 20, 30, 40));
    frames.back().SetRGB(wxRect(0, 0, 24, 16), 250, 250, 0);
    frames.push_back(frames.back().Copy());
    frames.back().SetRGB(40, 30, 250, 250, 0);
    frames.push_back(wxImage(48, 32));
    for (int p = 0; p < 48 * 32; ++p) {
        std::memset(frames.back().GetData() + 3 * p, (p * 7 + 3) % 256, 2);
        frames.back().GetData()[3 * p + 2] = 9;
    }
    frames.push_back(frames[3]);
    // Four corners of a mostly unchanged rectangle in a colour the global table lacks.
    frames.push_back(frames[3].Copy());
    for (const wxPoint& corner :
         {wxPoint(10, 10), wxPoint(30, 10), wxPoint(10, 20), wxPoint(30, 20)}) {
        frames.back().SetRGB(corner.x, corner.y, 0, 200, 100);
    }

    for (PaletteMode mode : {PaletteMode::Standard, PaletteMode::Best}) {
        SCOPED_TRACE(static_cast<int>(mode));
        GifExportJob job = JobFor(frames, 48, 32, folder.File("whole.gif"));
        job.options.palette = mode;
        // Frames are asked for in order, so that a source may read its input from start to end.
        std::vector<int> asked, progress;
        const auto source = job.frameSource;
        job.frameSource = [&asked, source](int i) {
            asked.push_back(i);
            return source(i);
        };
        job.progress = [&progress](int percent) { progress.push_back(percent); };
        ASSERT_TRUE(ExportGif(job).ok);
        EXPECT_EQ(asked, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
        EXPECT_EQ(progress, (std::vector<int>{12, 25, 37, 50, 62, 75, 87, 100}));
        job.options.optimize = true;
        job.path = folder.File("optimised.gif");
        ASSERT_TRUE(ExportGif(job).ok);
        job.threads = 1;
        job.path = folder.File("one-thread.gif");
        ASSERT_TRUE(ExportGif(job).ok);
        EXPECT_TRUE(ReadBytes(job.path) == ReadBytes(folder.File("optimised.gif")));
        EXPECT_LT(ReadBytes(job.path).size(), ReadBytes(folder.File("whole.gif")).size());

        wxFileInputStream in(job.path);
        wxGIFDecoder decoder;
        ASSERT_EQ(decoder.LoadGIF(in), wxGIF_OK);
        // Unchanged frames store one pixel; in the best mode a changed patch stores no more.
        EXPECT_EQ(decoder.GetFrameSize(1), wxSize(1, 1));
        EXPECT_EQ(decoder.GetFrameSize(4), wxSize(1, 1));
        EXPECT_EQ(decoder.GetFramePosition(4), wxPoint(40, 30));
        if (mode == PaletteMode::Best) {
            EXPECT_TRUE(
                wxRect(5, 7, 10, 10)
                    .Contains(wxRect(decoder.GetFramePosition(2), decoder.GetFrameSize(2))));
        }

        // The best mode keeps what is shown where the source did not change; elsewhere both
        // files show the same colours.
        std::vector<std::string> expected = ShownFrames(folder.File("whole.gif"))[0];
        ASSERT_EQ(expected.size(), frames.size());
        for (size_t i = 1; mode == PaletteMode::Best && i < frames.size(); ++i) {
            for (size_t b = 0; b < expected[i].size(); b += 3) {
                if (std::memcmp(frames[i].GetData() + b, frames[i - 1].GetData() + b, 3) == 0) {
                    expected[i].replace(b, 3, expected[i - 1], b, 3);
                }
            }
        }
        const auto decoded = ShownFrames(job.path);
        for (size_t d = 0; d < decoded.size(); ++d) {
            EXPECT_TRUE(decoded[d] == expected) << "decoder " << d;
        }
    }
}

// Three frames of `colours` colours each, every pixel's colour moving on from frame to frame.
std::vector<wxImage> FramesOfColours(int colours) {
    std::vector<wxImage> frames;
    for (int f = 0; f < 3; ++f) {
        wxImage frame(40, 30, false);
        for (int p = 0; p < 40 * 30; ++p) {
            const int c = (p / 3 + f * (p % 2 + 1)) % colours;
            frame.SetRGB(p % 40, p / 40, c % 256, c / 256 * 90 + 40, 255 - c % 256);
        }
        frames.push_back(frame);
    }
    return frames;
}

TEST(GifExport, FramesOfAtMost256ColoursDecodeToThemselvesInEveryMode) {
    TempFolder folder;
    for (int colours : {1, 2, 18, 256, 257}) {
        const std::vector<wxImage> frames = FramesOfColours(colours);
        // A lower quality number brings lossy codes, but not to exact colours.
        for (int quality : {0, 100, 40}) {
            for (bool optimize : {false, true}) {
                const PaletteMode mode = quality ? PaletteMode::Best : PaletteMode::Standard;
                SCOPED_TRACE(testing::Message()
                             << colours << " colours, quality " << quality << ", " << optimize);
                GifExportJob job = JobFor(frames, 40, 30, folder.File("exact.gif"));
                job.options.palette = mode;
                job.options.quality = quality ? quality : kHighestQuality;
                job.options.optimize = optimize;
                ASSERT_TRUE(ExportGif(job).ok);
                const auto decoded = ShownFrames(job.path);
                // Alike frames share the palette of their run, taken in order.
                PaletteRuns runs(job.options);
                for (size_t i = 0; i < frames.size(); ++i) {
                    // More colours than a table holds go through the palette as before.
                    std::string bytes(reinterpret_cast<const char*>(frames[i].GetData()),
                                      3 * 40 * 30);
                    if (colours > 256) {
                        const PalettedFrame paletted = ConvertToPalettedFrame(
                            frames[i], job.options, nullptr,
                            mode == PaletteMode::Best ? &runs : nullptr, static_cast<int>(i));
                        for (size_t p = 0; p < paletted.indices.size(); ++p) {
                            bytes.replace(3 * p, 3,
                                          reinterpret_cast<const char*>(
                                              &paletted.colours[paletted.indices[p]]),
                                          3);
                        }
                    }
                    for (const auto& frames : decoded) {
                        ASSERT_EQ(frames.size(), 3u);
                        EXPECT_TRUE(frames[i] == bytes ||
                                    (colours > 256 && (optimize || quality == 40)))
                            << i;
                    }
                }
            }
        }
    }
}

TEST(GifExport, FramesGivenAsTheirChangedPartsShowTheWholeFrames) {
    TempFolder folder;
    // A frame, one pixel changed, a patch changed, nothing changed.
    std::vector<wxImage> frames = {FilledImage(48, 32, 20, 30, 40)};
    frames.back().SetRGB(wxRect(0, 0, 24, 16), 250, 250, 0);
    const std::vector<wxRect> parts = {wxRect(), wxRect(40, 30, 1, 1), wxRect(3, 4, 5, 6),
                                       wxRect(0, 0, 1, 1)};
    frames.push_back(frames.back().Copy());
    frames.back().SetRGB(40, 30, 0, 0, 250);
    frames.push_back(frames.back().Copy());
    frames.back().SetRGB(parts[2], 0, 250, 0);
    frames.push_back(frames.back());
    for (PaletteMode mode : {PaletteMode::Standard, PaletteMode::Best}) {
        for (bool optimize : {false, true}) {
            SCOPED_TRACE(testing::Message() << static_cast<int>(mode) << ", " << optimize);
            GifExportJob job = JobFor(frames, 48, 32, folder.File("parts.gif"));
            job.partSource = [&](int i, wxRect* part) {
                *part = parts[i];
                return part->IsEmpty() ? frames[i] : frames[i].GetSubImage(*part);
            };
            job.options.palette = mode;
            job.options.optimize = optimize;
            ASSERT_TRUE(ExportGif(job).ok);
            for (const auto& shown : ShownFrames(job.path)) {
                ASSERT_EQ(shown.size(), frames.size());
                for (size_t i = 0; i < frames.size(); ++i) {
                    EXPECT_EQ(shown[i],
                              std::string(reinterpret_cast<const char*>(frames[i].GetData()),
                                          3 * 48 * 32))
                        << i;
                }
            }
            wxFileInputStream in(job.path);
            wxGIFDecoder decoder;
            ASSERT_EQ(decoder.LoadGIF(in), wxGIF_OK);
            for (size_t i = 1; i < parts.size(); ++i) {
                EXPECT_EQ(wxRect(decoder.GetFramePosition(i), decoder.GetFrameSize(i)), parts[i]);
            }
        }
    }
}

// Photo-like frames: smooth colour fields with grain, moving a little from frame to frame.
std::vector<wxImage> PhotoFrames(int count, int width, int height) {
    std::vector<wxImage> frames;
    unsigned seed = 5;
    for (int f = 0; f < count; ++f) {
        wxImage frame(width, height, false);
        unsigned char* rgb = frame.GetData();
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                seed = seed * 1103515245u + 12345u;
                const int grain = static_cast<int>((seed >> 16) % 17) - 8;
                *rgb++ = static_cast<unsigned char>(std::max(0, std::min(255, 2 * x + f + grain)));
                *rgb++ = static_cast<unsigned char>(std::max(0, std::min(255, 3 * y + grain)));
                *rgb++ =
                    static_cast<unsigned char>(std::max(0, std::min(255, 120 + x - y + grain)));
            }
        }
        frames.push_back(frame);
    }
    return frames;
}

TEST(GifExport, KeptTransparencyShowsInEveryDecoderWithAndWithoutOptimisedFrames) {
    TempFolder folder;
    // An opaque flat picture, then a clear hole in it that moves, with a pixel just below and
    // one at half alpha; then a corner that stayed as it was goes clear too, and the frame
    // repeats. The same over noise of many colours, where only what is clear is compared.
    for (bool many : {false, true}) {
        std::vector<wxImage> frames;
        for (int f = 0; f < 4; ++f) {
            wxImage frame = many ? NoiseImage(40, 30, 3) : FilledImage(40, 30, 200, 40, 90);
            frame.SetRGB(wxRect(30, 20, 6, 6), 10, 250, 10);
            frame.InitAlpha();
            for (int p = 0; p < 40 * 30; ++p) {
                const int x = p % 40, y = p / 40;
                const bool hole = f > 0 && x >= 4 + 8 * std::min(f, 2) &&
                                  x < 12 + 8 * std::min(f, 2) && y >= 4 && y < 14;
                const bool corner = f >= 2 && x < 10 && y >= 20;
                frame.GetAlpha()[p] = hole || corner ? 0 : 255;
            }
            frame.SetAlpha(38, 1, f > 0 ? 127 : 255);
            frame.SetAlpha(38, 2, 128);
            frames.push_back(frame);
        }
        for (PaletteMode mode : {PaletteMode::Standard, PaletteMode::Best}) {
            for (bool optimize : {false, true}) {
                SCOPED_TRACE(testing::Message()
                             << many << " " << static_cast<int>(mode) << " " << optimize);
                GifExportJob job = JobFor(frames, 40, 30, folder.File("clear.gif"));
                job.options.palette = mode;
                job.options.optimize = optimize;
                job.options.keepTransparency = true;
                ASSERT_TRUE(ExportGif(job).ok);
                const auto decoded = ShownWithAlpha(job.path);
                EXPECT_GE(decoded.size(), 2u);
                for (size_t d = 0; d < decoded.size(); ++d) {
                    ASSERT_EQ(decoded[d].size(), frames.size()) << "decoder " << d;
                    for (size_t i = 0; i < frames.size(); ++i) {
                        int wrong = 0;
                        for (int p = 0; p < 40 * 30; ++p) {
                            const bool clear = frames[i].GetAlpha()[p] < 128;
                            const char* shown = &decoded[d][i][4 * p];
                            wrong += (shown[3] == 0) != clear ||
                                     (!clear && !many &&
                                      std::memcmp(shown, frames[i].GetData() + 3 * p, 3) != 0);
                        }
                        EXPECT_EQ(wrong, 0) << "decoder " << d << " frame " << i;
                    }
                }
            }
        }
    }
}

TEST(GifExport, LossyFramesStayWithinTheirBoundAndKeepTheirMeanColour) {
    TempFolder folder;
    std::vector<wxImage> frames = PhotoFrames(3, 96, 64);
    // Grain leaves some single pixels as they were.
    for (int p = 0; p < 96 * 64; p += 23) {
        std::memcpy(frames[2].GetData() + 3 * p, frames[1].GetData() + 3 * p, 3);
    }
    size_t whole = 0;
    for (bool optimize : {false, true}) {
        SCOPED_TRACE(optimize);
        GifExportJob job = JobFor(frames, 96, 64, folder.File("lossless.gif"));
        job.options.palette = PaletteMode::Best;
        job.options.optimize = optimize;
        ASSERT_TRUE(ExportGif(job).ok);
        // Storing what changed never costs more than whole frames, not even on grain.
        whole = optimize ? whole : ReadBytes(job.path).size();
        EXPECT_LE(ReadBytes(job.path).size(), whole);
        const int bound = 24;
        job.options.lossy = bound;
        job.path = folder.File("lossy.gif");
        ASSERT_TRUE(ExportGif(job).ok);
        EXPECT_LT(ReadBytes(job.path).size(),
                  ReadBytes(folder.File("lossless.gif")).size() * 3 / 4);

        const auto exact = ShownFrames(folder.File("lossless.gif"));
        const auto lossy = ShownFrames(job.path);
        for (size_t d = 0; d < exact.size(); ++d) {
            ASSERT_EQ(lossy[d].size(), frames.size());
            for (size_t i = 0; i < frames.size(); ++i) {
                // No pixel moves further than the bound; blocks of 8 x 8 keep their mean.
                int worst = 0, worstMean = 0;
                for (int by = 0; by < 64; by += 8) {
                    for (int bx = 0; bx < 96; bx += 8) {
                        int sum[3] = {};
                        for (int p = 0; p < 64; ++p) {
                            const size_t at = 3 * ((by + p / 8) * 96 + bx + p % 8);
                            for (int c = 0; c < 3; ++c) {
                                const int moved = static_cast<unsigned char>(lossy[d][i][at + c]) -
                                                  static_cast<unsigned char>(exact[d][i][at + c]);
                                worst = std::max(worst, std::abs(moved));
                                sum[c] += moved;
                            }
                        }
                        for (int c = 0; c < 3; ++c) {
                            worstMean = std::max(worstMean, std::abs(sum[c]) / 64);
                        }
                    }
                }
                EXPECT_LE(worst, bound) << "decoder " << d << " frame " << i;
                EXPECT_LE(worstMean, 4) << "decoder " << d << " frame " << i;
            }
        }
    }

    // A low quality number gives smooth pictures no lossy codes: they would break their bands
    // into dither.
    std::vector<wxImage> smooth;
    for (int f = 0; f < 3; ++f) {
        smooth.emplace_back(96, 64, false);
        unsigned char* rgb = smooth.back().GetData();
        for (int p = 0; p < 96 * 64; ++p, rgb += 3) {
            rgb[0] = static_cast<unsigned char>(2 * (p % 96) + f);
            rgb[1] = static_cast<unsigned char>(3 * (p / 96));
            rgb[2] = static_cast<unsigned char>(120 + p % 96 - p / 96);
        }
    }
    GifExportJob job = JobFor(smooth, 96, 64, folder.File("smooth.gif"));
    job.options.palette = PaletteMode::Best;
    job.options.quality = 20;
    ASSERT_TRUE(ExportGif(job).ok);
    job.options.lossy = 0;
    job.path = folder.File("smooth-lossless.gif");
    ASSERT_TRUE(ExportGif(job).ok);
    EXPECT_EQ(ReadBytes(folder.File("smooth.gif")), ReadBytes(job.path));
    // A lossy level asked for takes their dithering away, which is what makes them large.
    job.options.quality = kHighestQuality;
    ASSERT_TRUE(ExportGif(job).ok);
    job.options.lossy = 8;
    job.path = folder.File("smooth-lossy.gif");
    ASSERT_TRUE(ExportGif(job).ok);
    EXPECT_LT(ReadBytes(job.path).size(),
              ReadBytes(folder.File("smooth-lossless.gif")).size() * 3 / 4);
}

TEST(GifExport, ASizeLimitWritesTheBestFileUnderItOrNothing) {
    TempFolder folder;
    const std::vector<wxImage> frames = PhotoFrames(14, 96, 64);
    GifExportJob job = JobFor(frames, 96, 64, folder.File("whole.gif"));
    job.options.palette = PaletteMode::Best;
    job.options.optimize = true;
    ASSERT_TRUE(ExportGif(job).ok);
    const long long whole = static_cast<long long>(ReadBytes(job.path).size());
    // The estimate the options dialog shows, from a sample of the frames, is near it.
    Animation animation;
    for (const wxImage& picture : frames) {
        animation.Insert(animation.FrameCount(), MakeAnimationFrame(picture, "f.png", 10));
    }
    animation.output = {96, 64};
    animation.options = job.options;
    const double estimate = static_cast<double>(EstimateGifBytes(animation, nullptr));
    EXPECT_NEAR(estimate / whole, 1.0, 0.2) << estimate << " for " << whole;
    EXPECT_EQ(EstimateGifBytes(animation, [] { return true; }), 0u);
    job.path = folder.File("limited.gif");
    // The sample is read once and the whole animation at most three times.
    size_t asked = 0;
    const std::function<wxImage(int)> source = job.frameSource;
    job.frameSource = [&](int i) {
        ++asked;
        return source(i);
    };
    // Below the smallest quality the lossy level, not fewer colours, keeps the file near the
    // limit.
    for (long long limit : {whole * 2, whole * 6 / 10, whole * 3 / 10, whole / 8}) {
        SCOPED_TRACE(limit);
        job.options.maxBytes = limit;
        asked = 0;
        std::vector<int> progress;
        job.progress = [&progress](int percent) { progress.push_back(percent); };
        const GifExportResult result = ExportGif(job);
        ASSERT_TRUE(result.ok) << result.message;
        const long long size = static_cast<long long>(ReadBytes(job.path).size());
        EXPECT_EQ(static_cast<long long>(result.bytes), size);
        EXPECT_LE(size, limit);
        EXPECT_TRUE(limit > whole || size >= limit * 9 / 10) << size;
        EXPECT_EQ(result.chosen.quality == kHighestQuality, limit > whole);
        EXPECT_EQ(progress.back(), 100);
        EXPECT_EQ(ShownFrames(job.path)[1].size(), frames.size());
        EXPECT_LE(asked, 4 * frames.size());
    }
    job.progress = nullptr;
    // Even the smallest setting does not fit: nothing is written, and the size it gives is told.
    job.options.maxBytes = kSmallestGifBytes + 100;
    job.path = folder.File("none.gif");
    const GifExportResult refused = ExportGif(job);
    EXPECT_FALSE(refused.ok);
    EXPECT_GT(refused.bytes, static_cast<unsigned long long>(job.options.maxBytes));
    EXPECT_TRUE(refused.message.Contains(FormatByteSize(refused.bytes))) << refused.message;
    EXPECT_FALSE(wxFileExists(job.path));
    // Frames of few colours are smallest kept exact, though the sample cannot tell that from
    // fewer colours: the size told is no more than the exact file's.
    std::vector<wxImage> flat;
    for (int run = 0; run < 4; ++run) {
        for (const wxImage& frame : FramesOfColours(18)) {
            flat.push_back(frame);
        }
    }
    GifExportJob exact = JobFor(flat, 40, 30, folder.File("exact.gif"));
    exact.options = job.options;
    exact.options.maxBytes = 0;
    ASSERT_TRUE(ExportGif(exact).ok);
    exact.options.maxBytes = static_cast<long long>(ReadBytes(exact.path).size() / 2);
    EXPECT_LE(ExportGif(exact).bytes, ReadBytes(exact.path).size());

    long long bytes = 0;
    for (const char* good : {"800K", "2M", "10MB", "1.5 mb", "5000"}) {
        EXPECT_TRUE(ParseByteSize(good, &bytes)) << good;
    }
    EXPECT_EQ(bytes, 5000);
    ASSERT_TRUE(ParseByteSize("1.5 mb", &bytes));
    EXPECT_EQ(bytes, 1500000);
    for (const char* bad : {"", "M", "-2M", "2X", "38", "1e9"}) {
        EXPECT_FALSE(ParseByteSize(bad, &bytes)) << bad;
    }
}

TEST(GifExport, FailuresAndStopsLeaveTheOldFileAndNoUnfinishedOne) {
    TempFolder folder;
    const wxString path = WriteBytes(folder.File("old.gif"), "old");
    // A folder in a target's place is not replaced.
    const wxString occupied = folder.File("occupied.gif");
    ASSERT_TRUE(wxMkdir(occupied));
    const std::vector<wxImage> frames = {NoiseImage(64, 64, 1), FilledImage(64, 64, 1, 2, 3),
                                         NoiseImage(64, 64, 2)};

    struct Failure {
        int width, height, missingFrame, stopAtFrame;
        rlim_t sizeLimit;
        wxString path, start, cause; // the message starts with `start` and the quoted path
    };
    const std::vector<Failure> failures = {
        {0, 64, -1, -1, 0, path, "Cannot save", "canvas size 0 x 64"},
        {65536, 64, -1, -1, 0, path, "Cannot save", "65536 x 64 is larger than a GIF can hold"},
        {65535, 65535, -1, -1, 0, path, "Cannot save", "memory for a canvas of 65535 x 65535"},
        {64, 64, 0, -1, 0, path, "Cannot save", "frame 1 has no picture"},
        {64, 64, 2, -1, 0, path, "Cannot save", "frame 3 has no picture"},
        {64, 64, -1, 1, 0, path, "Saving", "stopped"},
        {64, 64, -1, -1, 4096, path, "Cannot write", "too large"},
        {64, 64, -1, -1, 0, occupied, "Cannot create", "it is a folder"},
        // A target in a folder that cannot hold it, root or not.
        {64, 64, -1, -1, 0, folder.File("old.gif/inside.gif"), "Cannot create", "Not a directory"},
    };
    for (const Failure& f : failures) {
        GifExportJob job = JobFor(frames, f.width, f.height, f.path, f.missingFrame);
        int asked = 0;
        job.stopRequested = [&asked, &f] { return asked++ == f.stopAtFrame; };
        GifExportResult result;
        {
            FileSizeLimit full(f.sizeLimit);
            result = ExportGif(job);
        }

        SCOPED_TRACE(result.message);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.stopped, f.stopAtFrame >= 0);
        EXPECT_TRUE(result.message.StartsWith(f.start + " \"" + f.path + "\""));
        EXPECT_TRUE(result.message.Contains(f.cause));
        EXPECT_EQ(ReadBytes(path), "old");
        EXPECT_TRUE(wxDirExists(occupied));
        EXPECT_EQ(FilesIn(folder.Path()), path);
    }
}
