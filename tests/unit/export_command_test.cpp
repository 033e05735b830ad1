// reelmont-export as its users meet it: exit statuses and messages for wrong arguments and for
// inputs or targets it cannot use, and the GIF it writes from image files and from a project.
#include "cli/export_command.h"
#include "support/test_files.h"
#include "support/video_clips.h"

#include <gtest/gtest.h>
#include <wx/gifdecod.h>
#include <wx/mstream.h>

#include <wx/filefn.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <sys/stat.h>

namespace {

struct Outcome {
    int status;
    // Bytes: the GIF of "-o -".
    std::string out;
    wxString err;
};

// Runs the command with `in` on its standard input; standard input and output are terminals
// when asked.
Outcome RunCommand(const std::vector<wxString>& arguments, const std::string& in = "",
                   bool terminals = false) {
    char* outBuffer = nullptr;
    char* errBuffer = nullptr;
    size_t outSize = 0;
    size_t errSize = 0;
    CommandStreams streams;
    std::string input = in;
    streams.in = in.empty() ? std::fopen("/dev/null", "r") : fmemopen(&input[0], in.size(), "r");
    streams.out = open_memstream(&outBuffer, &outSize);
    streams.err = open_memstream(&errBuffer, &errSize);
    streams.inIsTerminal = streams.outIsTerminal = terminals;
    const int status = RunExportCommand(arguments, streams);
    std::fclose(streams.in);
    std::fclose(streams.out);
    std::fclose(streams.err);
    Outcome outcome{status, std::string(outBuffer, outSize),
                    wxString::FromUTF8(errBuffer, errSize)};
    free(outBuffer);
    free(errBuffer);
    return outcome;
}

class ExportCommand : public ::testing::Test {
protected:
    // A project whose own size and delay are 10 x 10 and 33; without images it is incomplete.
    wxString WriteProject(const wxString& name, const std::vector<wxString>& images) {
        wxString text =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<project><name>walk.gif</name>"
            "<gif><width>10</width><height>10</height><delay_time>33</delay_time></gif>";
        for (size_t i = 0; i < images.size(); ++i) {
            text += (i ? "" : "<images>") + ("<path>" + images[i] + "</path>");
        }
        text += images.empty() ? "</project>" : "</images></project>";
        return WriteBytes(folder.File(name), text.ToStdString());
    }

    TempFolder folder;
    const wxString wide = WritePng(folder.File("wide.png"), 100, 50);
    const wxString tall = WritePng(folder.File("tall.png"), 60, 80);
    const wxString high = WritePng(folder.File("high.png"), 1, 40000);
    const wxString gif = testgif::WriteAnimation(folder.File("two.gif"), 2, 30, 30);
    const wxString gone = folder.File("gone.png");
    const wxString out = folder.File("out.gif");
};

} // namespace

// The first `share` of a file's bytes, written to `cut`.
wxString CutShort(const wxString& whole, const wxString& cut, double share) {
    const std::string bytes = ReadBytes(whole);
    return WriteBytes(cut, bytes.substr(0, static_cast<size_t>(bytes.size() * share)));
}

// A file of a few bytes whose header declares 20000 x 20000 pixels.
std::string Bomb(const std::string& kind) {
    const std::string side("\x4E\x20", 2); // 20000, most significant byte first
    if (kind == "png") {
        return std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0", 18) + side +
               std::string("\0\0", 2) + side + std::string("\x01\0\0\0\0", 5) +
               std::string(4000, '\0');
    }
    if (kind == "jpg") {
        return std::string("\xFF\xD8\xFF\xC0\0\x11\x08", 7) + side + side +
               std::string("\x03\x01\x22\0\x02\x11\x01\x03\x11\x01", 10) + std::string(4000, '\0');
    }
    const std::string little("\x20\x4E", 2);
    if (kind == "tif") {
        // The directory after the pixels, as many writers place it: width and height as LONG.
        const std::string pixels(4000, '\0');
        const std::string entry =
            std::string("\x04\0\x01\0\0\0", 6) + little + std::string(2, '\0');
        return std::string("II*\0\xA0\x0F\0\0", 8) + pixels.substr(8) + std::string("\x02\0", 2) +
               std::string("\x00\x01", 2) + entry + std::string("\x01\x01", 2) + entry +
               std::string(4, '\0');
    }
    if (kind == "tga") {
        return std::string("\0\0\x02", 3) + std::string(9, '\0') + little + little +
               std::string("\x18\0", 2) + std::string(4000, '\0');
    }
    if (kind == "pnm") {
        return "P6\n# made by hand\n20000 20000\n255\n" + std::string(4000, '\0');
    }
    if (kind == "xpm") {
        return "/* XPM */\nstatic char* b[] = {\n/* \"1 1 1 1\" */\n\"20000 20000 1 1\",\n";
    }
    std::string bmp("BM", 2);
    bmp += std::string(12, '\0') + std::string("\x28\0\0\0", 4);
    bmp += little + std::string(2, '\0') + little + std::string("\0\0\x01\0\x18\0", 6) +
           std::string(4000, '\0');
    return bmp;
}

// Answers that write no GIF: help and version on standard output, mistakes and unusable inputs
// or targets on standard error with their cause.
TEST_F(ExportCommand, AnswersAndFailuresWriteNothing) {
    const wxString notes = WriteBytes(folder.File("notes.png"), "not a picture");
    const wxString pipe = folder.File("pipe.xml");
    ASSERT_EQ(mkfifo(pipe.fn_str(), 0600), 0);
    ASSERT_TRUE(wxMkdir(folder.File("dir.xml")));
    wxImage photo = NoiseImage(64, 48, 7);
    ASSERT_TRUE(photo.SaveFile(folder.File("photo.jpg"), wxBITMAP_TYPE_JPEG));
    const wxString cutJpeg = CutShort(folder.File("photo.jpg"), folder.File("cut.jpg"), 0.5);
    const wxString cutPng =
        CutShort(WritePng(folder.File("noise.png"), 64, 48), folder.File("cut.png"), 0.5);
    const wxString cutGif = CutShort(gif, folder.File("cut.gif"), 0.7);
    ASSERT_TRUE(NoiseImage(300, 20, 5).SaveFile(folder.File("noise.xpm"), wxBITMAP_TYPE_XPM));
    const wxString cutXpm = CutShort(folder.File("noise.xpm"), folder.File("cut.xpm"), 0.7);
    // Damaged inside, its header and end whole: found only as the export decodes it.
    std::string inner = ReadBytes(WritePng(folder.File("inner-source.png"), 64, 48));
    for (size_t b = inner.size() / 3; b < inner.size() / 2; ++b) {
        inner[b] ^= 0x5A;
    }
    const wxString scrambled = WriteBytes(folder.File("inner.png"), inner);
    const std::string damaged = "\": it is damaged";
    const std::string huge = "its picture of 20000 x 20000 pixels is larger than the program";
    struct Answer {
        std::vector<wxString> arguments;
        int status;
        std::string message;
        // The message on standard output instead of standard error.
        bool onOut = false;
        std::string in = "";
        bool terminals = false;
    };
    const std::vector<Answer> answers = {
        {{"-h"}, 0, "Usage: reelmont-export [OPTION]...", true},
        {{"-o", out, "--help", wide}, 0, "  -d, --delay=DELAY ", true},
        {{"--vers"}, 0, "2.0.19\n", true},
        {{}, 2, "no output file given"},
        {{"-o", out}, 2, "no INPUT given"},
        {{"-d", "abc", "-o", out, wide}, 2, "-d needs a whole number from 1 to 65535, not \"abc\""},
        {{"-d65536", "-o", out, wide}, 2, "not \"65536\""},
        {{"-W", "-5", "-o", out, wide}, 2, "-W needs a whole number"},
        {{"-o", out, wide, "-H"}, 2, "-H needs a value"},
        {{"-Ox", "-o", out, wide}, 2, "unknown option \"-x\""},
        {{"--frame", "-o", out, wide}, 2, "unknown option \"--frame\""},
        {{"--optimize=yes", "-o", out, wide}, 2, "--optimize takes no value"},
        {{"--delay=0", "-o", out, wide}, 2, "--delay needs a whole number from 1 to 65535"},
        {{"-o", out, wide, "-Oq"}, 2, "-q needs a value"},
        {{"-o", out, "--", "-W"}, 1, "cannot read \"-W\": no such file"},
        {{"-q", "good", "-o", out, wide}, 2, "-q needs \"standard\" or \"best\", not \"good\""},
        {{"-o", out, wide, "--quality"}, 2, "--quality needs a value"},
        {{"--loop=-1", "-o", out, wide}, 2, "--loop needs a whole number from 0 to 65535"},
        {{"--loop", "65536", "-o", out, wide}, 2, "not \"65536\""},
        {{"-o", out, wide, folder.File("p.xml")}, 2, "must be the only INPUT"},
        {{"--crop=10x10", "-o", out, wide}, 2, "--crop needs WIDTHxHEIGHT+X+Y, not \"10x10\""},
        {{"--rotate=45", "-o", out, wide}, 2, "--rotate needs 90, 180 or 270, not \"45\""},
        {{"--flip", "x", "-o", out, wide}, 2, "--flip needs h or v, not \"x\""},
        {{"--speed=401", "-o", out, wide}, 2, "--speed needs a whole number from 25 to 400"},
        {{"--drop-duplicates", "5", "-o", out, wide}, 1, "cannot read \"5\""}, // only with "="
        {{"--drop-duplicates=x", "-o", out, wide}, 2, "from 0 to 100, not \"x\""},
        {{"-o", out, wide, gone}, 1, "cannot read \"" + gone.ToStdString() + "\": no such file"},
        {{"-o", out, notes}, 1, "holds no picture that can be read"},
        {{"-o", folder.File("missing/out.gif"), wide},
         1,
         "Cannot create \"" + folder.File("missing/out.gif").ToStdString()},
        {{"-o", out, WriteProject("whole.xml", {})}, 1, "is not a complete project file"},
        {{"-o", out, WriteProject("gone.xml", {gone})}, 1, "lists no picture that can be read"},
        // Standard input and output, and lists of inputs.
        {{"-o", "-", wide}, 2, "standard output is a terminal", false, "", true},
        {{"-o", out, "-"}, 2, "standard input is a terminal", false, "", true},
        {{"-o", out, "-"}, 1, "standard input is empty"},
        {{"-o", out, "-"}, 1, "standard input holds no GIF, PNG, JPEG or BMP", false, "text"},
        {{"-o", out, "-"}, 1, "\"-\" is not a project file", false, "<project"},
        {{"-o", out, wide, "-"}, 2, "standard input (\"-\") must be the only INPUT"},
        {{"--files-from=-", "-o", out, "-"}, 2, "not both"},
        {{"--files-from", gone, "-o", out}, 1, "cannot read the list \"" + gone.ToStdString()},
        {{"--files-from", folder.Path(), "-o", out}, 1, "Is a directory"},
        {{"--files-from", "-", "-o", out}, 1, "names no INPUT", false, "\n\n"},
        {{"--files-from", "-", "-o", out, wide}, 1, "must be the only INPUT", false, "x.xml\n"},
        {{"-d", "5", "--fps", "10", "-o", out, wide}, 2, "-d and --fps both set the delay"},
        {{"--fps=0", "-o", out, wide}, 2, "--fps needs a number of frames a second"},
        {{"--fps", "101", "-o", out, wide}, 2, "not \"101\""},
        {{"--start", "2s", "-o", out, wide}, 2, "--start needs a time such as 2.5 or 1:02.5"},
        {{"--start", "1:00", "--end", "59", "-o", out, wide}, 2, "--end must come after --start"},
        // Hostile inputs: refused by their type before they are opened, by their declared size
        // before they are decoded, and named when they are cut short.
        {{"-o", out, folder.File("dir.xml")}, 1, "dir.xml\": it is a folder"},
        {{"-o", out, pipe}, 1, "pipe.xml\": it is not a regular file"},
        {{"-o", out, "/dev/zero"}, 1, "\"/dev/zero\": it is not a regular file"},
        {{"-o", out, WriteBytes(folder.File("bomb.png"), Bomb("png"))}, 1, huge},
        {{"-o", out, WriteBytes(folder.File("bomb.jpg"), Bomb("jpg"))}, 1, huge},
        {{"-o", out, WriteBytes(folder.File("bomb.bmp"), Bomb("bmp"))}, 1, huge},
        {{"-o", out, WriteBytes(folder.File("bomb.tif"), Bomb("tif"))}, 1, huge},
        {{"-o", out, WriteBytes(folder.File("bomb.tga"), Bomb("tga"))}, 1, huge},
        {{"-o", out, WriteBytes(folder.File("bomb.ppm"), Bomb("pnm"))}, 1, huge},
        {{"-o", out, WriteBytes(folder.File("bomb.xpm"), Bomb("xpm"))}, 1, huge},
        {{"-o", out, wide, cutJpeg}, 1, "cut.jpg" + damaged},
        {{"-o", out, cutPng}, 1, "cut.png" + damaged},
        {{"-o", out, cutGif}, 1, "cut.gif" + damaged},
        {{"-o", out, cutXpm}, 1, "cut.xpm" + damaged},
        {{"-o", out, WriteBytes(folder.File("zero.ppm"), "P6\n4 3\n0\n" + std::string(36, 'x'))},
         1,
         "zero.ppm" + damaged},
        {{"-o", out, WriteProject("cut.xml", {wide, cutPng})}, 1, "cut.png" + damaged},
        {{"-o", out, wide, scrambled, wide}, 1, "inner.png" + damaged},
        {{"-q", "best", "--max-size", "2M", "-o", out, scrambled}, 1, "inner.png" + damaged},
        // Passed over undecoded by the size limit's sample, found by the whole encode.
        {{"-q", "best", "--max-size", "2M", "-o", out, wide, wide, wide, wide, scrambled, wide,
          wide, wide, wide, wide},
         1,
         "inner.png" + damaged},
        {{"-W", "65535", "-H", "65535", "-o", out, wide},
         1,
         "Cannot save \"" + out.ToStdString() +
             "\": there is not enough memory for a canvas of 65535 x 65535"},
    };
    WriteBytes(out, "old");
    for (const Answer& answer : answers) {
        const Outcome outcome = RunCommand(answer.arguments, answer.in, answer.terminals);
        EXPECT_EQ(outcome.status, answer.status) << answer.message;
        EXPECT_TRUE(
            (answer.onOut ? wxString::FromUTF8(outcome.out) : outcome.err).Contains(answer.message))
            << outcome.out << outcome.err;
        EXPECT_TRUE((answer.onOut ? outcome.err : outcome.out).empty()) << answer.message;
        if (answer.status == 2) {
            EXPECT_TRUE(outcome.err.StartsWith("reelmont-export: ")) << outcome.err;
            EXPECT_TRUE(outcome.err.Contains("Try 'reelmont-export --help'.")) << outcome.err;
        }
        EXPECT_EQ(ReadBytes(out), "old");
    }
}

TEST_F(ExportCommand, ImagesOrAProjectGiveTheCanvasAndDelayOfTheWindowsRules) {
    VideoClip steady;
    steady.times = SteadyTimes(30, 30);
    const wxString clip = WriteVideoClip(folder.File("clip.mp4"), steady);
    // The project's own size and delay are written, as the window shows them after opening it;
    // its source-file entry and its missing file give no frames.
    const wxString project = WriteProject("walk.xml", {wide, gif + "_1", gif, gone});
    const wxString upper = WriteProject("WALK.XML", {wide, gif + "_1", gif});
    // Told apart by content: every frame, whatever the name says.
    const wxString anim = testgif::WriteAnimation(folder.File("ANIM.GIF"), 3, 30, 30);
    const wxString named = testgif::WriteAnimation(folder.File("named.png"), 3, 30, 30);
    // Rows longer than the text before them, as most pictures' are.
    const wxString xpm = folder.File("noise.xpm");
    ASSERT_TRUE(NoiseImage(300, 20, 5).SaveFile(xpm, wxBITMAP_TYPE_XPM));
    struct Export {
        std::vector<wxString> arguments;
        unsigned frames;
        wxSize size;
        // Of every frame; else `delays`, each frame's.
        int delay;
        std::string in = "";
        std::vector<int> delays = {};
    };
    const std::vector<Export> exports = {
        // 100x50 then 60x80: the taller frame replaces the pair; GIF frames are expanded.
        {{"-o", out, wide, tall, gif}, 4, wxSize(60, 80), 10},
        {{"-W", "30", "-d", "25", "-o", out, wide, tall}, 2, wxSize(30, 40), 25},
        {{"-H", "50", "-d", "25", "-o", out, wide, tall}, 2, wxSize(37, 50), 25},
        {{"-W", "20", "-H", "10", "-d", "25", "-o", out, wide, tall}, 2, wxSize(20, 10), 25},
        {{"-o", out, project}, 2, wxSize(10, 10), 33},
        {{"-o", out, upper}, 2, wxSize(10, 10), 33},
        {{"-o", out, anim, named}, 6, wxSize(30, 30), 10},
        {{"-o", out, xpm}, 1, wxSize(300, 20), 10},
        {{"-d", "5", "-W", "50", "-o", out, project}, 2, wxSize(50, 25), 5},
        // No side below 1 or above what a GIF header holds, proportions kept within that.
        {{"-W", "1", "-o", out, wide}, 1, wxSize(1, 1), 10},
        {{"-o", out, WritePng(folder.File("long.png"), 70000, 1)}, 1, wxSize(65535, 1), 10},
        {{"-W", "2", "-o", out, high}, 1, wxSize(1, 65535), 10},
        {{"-qbest", "-O", "--loop=0", "-o", out, wide, tall}, 2, wxSize(60, 80), 10},
        {{"--optimize", "--loop", "2", "-o", out, gif}, 2, wxSize(30, 30), 10},
        // Bundled short options, long names with "=" or a separate value, shortened names.
        {{"-Od5", "--width=30", "--outp", out, wide, tall}, 2, wxSize(30, 40), 5},
        {{wide, "-Od", "7", "--height", "50", "-o", out, tall}, 2, wxSize(37, 50), 7},
        // Standard input and output; a list of inputs; frames a second without drift.
        {{"-O", "-o", "-", "-"}, 2, wxSize(30, 30), 10, ReadBytes(gif)},
        {{"--quiet", "-o", out, "-"}, 2, wxSize(10, 10), 33, ReadBytes(project)},
        {{"--files-from", "-", "--fps", "12", "-o", out},
         4,
         wxSize(60, 80),
         0,
         (wide + "\n\n" + tall + "\r\n" + gif).ToStdString(),
         {8, 8, 9, 8}},
        // The part of a video at a rate.
        {{"--start", "0.5", "--end", "0:00.8", "--fps", "10", "-o", out, clip},
         3,
         wxSize(64, 48),
         0,
         "",
         {10, 10, 10}},
    };
    for (const Export& e : exports) {
        WriteBytes(out, "");
        const Outcome outcome = RunCommand(e.arguments, e.in);
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        // Only the summary, without progress off a terminal; nothing at all when quiet.
        const bool quiet = std::count(e.arguments.begin(), e.arguments.end(), "--quiet") > 0;
        EXPECT_EQ(outcome.err.Contains(
                      wxString::Format("%u frames of %d x %d", e.frames, e.size.x, e.size.y)),
                  !quiet)
            << outcome.err;
        EXPECT_FALSE(outcome.err.Contains("%") || (quiet && !outcome.err.empty())) << outcome.err;
        const bool toOut = e.arguments[e.arguments.size() - 2] == "-";
        const std::string written = toOut ? outcome.out : ReadBytes(out);
        EXPECT_EQ(outcome.out.empty(), !toOut);
        EXPECT_EQ(ReadBytes(out).empty(), toOut);
        wxMemoryInputStream in(written.data(), written.size());
        wxGIFDecoder decoder;
        ASSERT_EQ(decoder.LoadGIF(in), wxGIF_OK);
        EXPECT_EQ(decoder.GetFrameCount(), e.frames);
        EXPECT_EQ(decoder.GetAnimationSize(), e.size);
        EXPECT_EQ(decoder.GetFrameSize(0), e.size) << "frames are fitted";
        for (unsigned i = 0; i < e.frames; ++i) {
            EXPECT_EQ(decoder.GetDelay(i), 10 * (e.delays.empty() ? e.delay : e.delays[i])) << i;
        }
    }
    // Standard output receives the very bytes a file would.
    const std::vector<wxString> options = {"-qbest", "-O", "--loop=3", "-o"};
    std::vector<wxString> toFile = options;
    toFile.insert(toFile.end(), {out, gif});
    std::vector<wxString> toOut = options;
    toOut.insert(toOut.end(), {"-", "-"});
    ASSERT_EQ(RunCommand(toFile).status, 0);
    EXPECT_EQ(RunCommand(toOut, ReadBytes(gif)).out, ReadBytes(out));
    // Each missing source of a project is named; the GIF holds the others.
    const Outcome outcome = RunCommand({"-o", out, project});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_TRUE(outcome.err.Contains("missing \"" + gone + "\": no such file")) << outcome.err;
}

TEST_F(ExportCommand, FrameToolsShowWhatImageMagickShowsAndKeepTheTime) {
    // A picture that looks different from every side, in colours every palette keeps.
    const wxString marked = folder.File("marked.png");
    ASSERT_EQ(CommandOutput("convert -size 40x30 xc:white -fill red -draw 'rectangle 0,0 9,9' "
                            "-fill blue -draw 'rectangle 0,27 39,29' -fill lime "
                            "-draw 'rectangle 30,5 35,20' '" +
                            marked + "' && echo ok"),
              "ok\n");
    const auto rgb = [](const wxString& file, const wxString& change) {
        return CommandOutput("convert '" + file + "' -coalesce " + change + " -depth 8 rgb:-");
    };
    const struct {
        std::vector<wxString> tools;
        wxString magick; // the same for ImageMagick
        wxSize size;
    } views[] = {
        {{"--crop=20x10+5+3"}, "-crop 20x10+5+3 +repage", {20, 10}},
        {{"--rotate", "90"}, "-rotate 90", {30, 40}},
        {{"--rotate=270", "--flip=h", "--crop=20x12+5+3"},
         "-crop 20x12+5+3 +repage -rotate 270 -flop",
         {12, 20}},
        {{"--flip=v", "--rotate=90"}, "-rotate 90 -flip", {30, 40}},
        {{"--crop=100x100+30+20"}, "-crop 100x100+30+20 +repage", {10, 10}},
    };
    for (const auto& v : views) {
        std::vector<wxString> arguments = v.tools;
        arguments.insert(arguments.end(), {"-q", "best", "-o", out, marked});
        const Outcome outcome = RunCommand(arguments);
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_TRUE(outcome.err.Contains(wxString::Format("of %d x %d,", v.size.x, v.size.y)))
            << outcome.err;
        EXPECT_EQ(rgb(out, ""), rgb(marked, v.magick)) << v.magick;
    }

    // A project's own view, and a turn given on top of it.
    const wxString turned = WriteBytes(
        folder.File("turned.xml"),
        ("<project><name/><gif><width>20</width><height>10</height><delay_time>5</delay_time>"
         "</gif><images><path>" +
         marked + "</path></images><animation crop=\"10x20+5+3\" rotate=\"270\"/></project>")
            .ToStdString());
    ASSERT_EQ(RunCommand({"-q", "best", "-o", out, turned}).status, 0);
    EXPECT_EQ(rgb(out, ""), rgb(marked, "-crop 10x20+5+3 +repage -rotate 270"));
    ASSERT_EQ(RunCommand({"--rotate=90", "-q", "best", "-o", out, turned}).status, 0);
    EXPECT_EQ(rgb(out, ""), rgb(marked, "-crop 10x20+5+3 +repage"));

    // A project's export choices, with options given on top of them, write what the same
    // options write from its pictures; a quality given sets its size limit aside.
    const wxString grain[2] = {folder.File("grain0.png"), folder.File("grain1.png")};
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(NoiseImage(24, 16, 7 + i).SaveFile(grain[i], wxBITMAP_TYPE_PNG));
    }
    const wxString chosen = WriteBytes(
        folder.File("chosen.xml"),
        ("<project><name/><gif><width>24</width><height>16</height><delay_time>5</delay_time>"
         "</gif><images><path>" +
         grain[0] + "</path><path>" + grain[1] +
         "</path></images><animation best_colours=\"1\" quality=\"40\" colours=\"64\" "
         "optimise=\"1\" loop=\"3\" loop_in_file=\"1\" keep_transparency=\"1\" "
         "max_size=\"1500\"/></project>")
            .ToStdString());
    const std::vector<wxString> theirs = {"-Q", "40",     "--colours", "64",
                                          "-O", "--loop", "3",         "--keep-transparency"};
    const struct {
        std::vector<wxString> given, same;
        bool fits;
    } choices[] = {
        {{}, {"--max-size", "1500"}, true},
        {{"--lossy", "9", "--loop=0"}, {"--lossy", "9", "--loop=0"}, false},
        {{"-q", "standard", "--max-size", "1400"}, {"-q", "standard", "--max-size", "1400"}, true},
        {{"-Q", "70"}, {"-Q", "70"}, false},
    };
    for (const auto& c : choices) {
        std::vector<wxString> fromProject = c.given;
        fromProject.insert(fromProject.end(), {"-o", out, chosen});
        const Outcome project = RunCommand(fromProject);
        const std::string written = ReadBytes(out);
        std::vector<wxString> fromPictures = theirs;
        fromPictures.insert(fromPictures.end(), c.same.begin(), c.same.end());
        fromPictures.insert(fromPictures.end(), {"-d", "5", "-o", out, grain[0], grain[1]});
        const Outcome pictures = RunCommand(fromPictures);
        ASSERT_EQ(project.status, 0) << project.err;
        // What a size limit chose, before the summary.
        EXPECT_EQ(project.err.StartsWith("reelmont-export: chose"), c.fits) << project.err;
        if (c.fits) {
            EXPECT_EQ(project.err.BeforeFirst('\n'), pictures.err.BeforeFirst('\n'));
        }
        EXPECT_EQ(written, ReadBytes(out)) << project.err;
    }

    // Frames named by letter: two white, one with a red dot, one nearly that, one black.
    const std::map<char, wxString> pictures = {
        {'a', WritePng(folder.File("a.png"), 8, 6, 255, 255, 255)},
        {'b', WritePng(folder.File("b.png"), 8, 6, 255, 255, 255)},
        {'c', WritePng(folder.File("c.png"), 8, 6, 0, 0, 0)},
    };
    wxImage dot(pictures.at('a'), wxBITMAP_TYPE_PNG);
    dot.SetRGB(3, 3, 255, 0, 0);
    dot.SaveFile(pictures.at('b'), wxBITMAP_TYPE_PNG);
    dot.SetRGB(3, 3, 250, 0, 0);
    const wxString nearB = folder.File("n.png");
    dot.SaveFile(nearB, wxBITMAP_TYPE_PNG);
    const struct {
        std::vector<wxString> tools;
        std::string inputs, shown;
        std::vector<int> delays;
        int left; // repeated frames left out; -1 without that message
        wxString magick = "";
    } timings[] = {
        {{"--drop-duplicates"}, "aabbbc", "abc", {20, 30, 10}, 3},
        {{"--drop-duplicates", "--pingpong"}, "aabbbc", "abcb", {20, 30, 10, 30}, 3},
        {{"--drop-duplicates=2", "-d", "5"}, "abnbc", "abc", {5, 15, 5}, 2},
        {{"--drop-duplicates=1", "-d", "5"}, "abnbc", "abnbc", {5, 5, 5, 5, 5}, 0},
        {{"--pingpong"}, "abc", "abcb", {10, 10, 10, 10}, -1},
        {{"--pingpong"}, "ab", "ab", {10, 10}, -1},
        {{"--speed", "300", "-d", "7"}, "abc", "abc", {2, 2, 3}, -1},
        {{"--speed=50", "--pingpong", "--fps=20"}, "abc", "abcb", {10, 10, 10, 10}, -1},
        // The crop decides what repeats: the dot lies outside this one.
        {{"--drop-duplicates", "--crop=2x2+0+0"},
         "abc",
         "ac",
         {20, 10},
         1,
         "-crop 2x2+0+0 +repage"},
    };
    for (const auto& t : timings) {
        SCOPED_TRACE(t.inputs + " as " + t.shown);
        std::vector<wxString> arguments = t.tools;
        arguments.insert(arguments.end(), {"-o", out});
        for (char input : t.inputs) {
            arguments.push_back(input == 'n' ? nearB : pictures.at(input));
        }
        const Outcome outcome = RunCommand(arguments);
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.err.Contains(wxString::Format("%d repeated frames left out", t.left)),
                  t.left >= 0)
            << outcome.err;
        const std::string written = ReadBytes(out);
        wxMemoryInputStream in(written.data(), written.size());
        wxGIFDecoder decoder;
        ASSERT_EQ(decoder.LoadGIF(in), wxGIF_OK);
        ASSERT_EQ(decoder.GetFrameCount(), t.shown.size());
        std::string frames = rgb(out, "");
        const size_t frameBytes = frames.size() / t.shown.size();
        for (size_t n = 0; n < t.shown.size(); ++n) {
            const char shown = t.shown[n];
            EXPECT_EQ(frames.substr(n * frameBytes, frameBytes),
                      rgb(shown == 'n' ? nearB : pictures.at(shown), t.magick))
                << n;
            EXPECT_EQ(decoder.GetDelay(n), 10 * t.delays[n]) << n;
        }
    }
}
