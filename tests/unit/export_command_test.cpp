// reelmont-export as its users meet it: exit statuses and messages for wrong arguments and for
// inputs or targets it cannot use, and the GIF it writes from image files and from a project.
#include "cli/export_command.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <wx/gifdecod.h>
#include <wx/wfstream.h>

#include <wx/filefn.h>

#include <cstdio>
#include <string>
#include <sys/stat.h>

namespace {

struct Outcome {
    int status;
    wxString out;
    wxString err;
};

Outcome RunCommand(const std::vector<wxString>& arguments) {
    char* outBuffer = nullptr;
    char* errBuffer = nullptr;
    size_t outSize = 0;
    size_t errSize = 0;
    std::FILE* out = open_memstream(&outBuffer, &outSize);
    std::FILE* err = open_memstream(&errBuffer, &errSize);
    const int status = RunExportCommand(arguments, out, err, false);
    std::fclose(out);
    std::fclose(err);
    Outcome outcome{status, wxString::FromUTF8(outBuffer, outSize),
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
    std::string bmp("BM", 2);
    bmp += std::string(12, '\0') + std::string("\x28\0\0\0", 4);
    bmp += std::string("\x20\x4E\0\0\x20\x4E\0\0\x01\0\x18\0", 12) + std::string(4000, '\0');
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
    const std::string damaged = "\": it is damaged";
    const std::string huge = "its picture of 20000 x 20000 pixels is larger than the program";
    struct Answer {
        std::vector<wxString> arguments;
        int status;
        std::string message;
        // The message on standard output instead of standard error.
        bool onOut = false;
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
        {{"-o", out, wide, gone}, 1, "cannot read \"" + gone.ToStdString() + "\": no such file"},
        {{"-o", out, notes}, 1, "holds no picture that can be read"},
        {{"-o", folder.File("missing/out.gif"), wide}, 1, "Cannot create"},
        {{"-o", out, WriteProject("whole.xml", {})}, 1, "is not a complete project file"},
        {{"-o", out, WriteProject("gone.xml", {gone})}, 1, "lists no picture that can be read"},
        // Hostile inputs: refused by their type before they are opened, by their declared size
        // before they are decoded, and named when they are cut short.
        {{"-o", out, folder.File("dir.xml")}, 1, "dir.xml\": it is a folder"},
        {{"-o", out, pipe}, 1, "pipe.xml\": it is not a regular file"},
        {{"-o", out, "/dev/zero"}, 1, "\"/dev/zero\": it is not a regular file"},
        {{"-o", out, WriteBytes(folder.File("bomb.png"), Bomb("png"))}, 1, huge},
        {{"-o", out, WriteBytes(folder.File("bomb.jpg"), Bomb("jpg"))}, 1, huge},
        {{"-o", out, WriteBytes(folder.File("bomb.bmp"), Bomb("bmp"))}, 1, huge},
        {{"-o", out, wide, cutJpeg}, 1, "cut.jpg" + damaged},
        {{"-o", out, cutPng}, 1, "cut.png" + damaged},
        {{"-o", out, cutGif}, 1, "cut.gif" + damaged},
        {{"-o", out, WriteProject("cut.xml", {wide, cutPng})}, 1, "cut.png" + damaged},
    };
    WriteBytes(out, "old");
    for (const Answer& answer : answers) {
        const Outcome outcome = RunCommand(answer.arguments);
        EXPECT_EQ(outcome.status, answer.status) << answer.message;
        EXPECT_TRUE((answer.onOut ? outcome.out : outcome.err).Contains(answer.message))
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
    // The project's own size and delay are written, as the window shows them after opening it;
    // its source-file entry and its missing file give no frames.
    const wxString project = WriteProject("walk.xml", {wide, gif + "_1", gif, gone});
    const wxString upper = WriteProject("WALK.XML", {wide, gif + "_1", gif});
    // Told apart by content: every frame, whatever the name says.
    const wxString anim = testgif::WriteAnimation(folder.File("ANIM.GIF"), 3, 30, 30);
    const wxString named = testgif::WriteAnimation(folder.File("named.png"), 3, 30, 30);
    struct Export {
        std::vector<wxString> arguments;
        unsigned frames;
        wxSize size;
        int delay;
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
    };
    for (const Export& e : exports) {
        const Outcome outcome = RunCommand(e.arguments);
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_TRUE(outcome.err.Contains(wxString::Format("%u frames of %d x %d, delay %d",
                                                          e.frames, e.size.x, e.size.y, e.delay)))
            << outcome.err;
        wxFileInputStream in(out);
        wxGIFDecoder decoder;
        ASSERT_EQ(decoder.LoadGIF(in), wxGIF_OK);
        EXPECT_EQ(decoder.GetFrameCount(), e.frames);
        EXPECT_EQ(decoder.GetAnimationSize(), e.size);
        EXPECT_EQ(decoder.GetFrameSize(0), e.size) << "frames are fitted";
        EXPECT_EQ(decoder.GetDelay(0), 10 * e.delay);
    }
    // Each missing source of a project is named; the GIF holds the others.
    const Outcome outcome = RunCommand({"-o", out, project});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_TRUE(outcome.err.Contains("missing \"" + gone + "\": no such file")) << outcome.err;
}
