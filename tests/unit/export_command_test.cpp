// reelmont-export as its users meet it: exit statuses and messages for wrong arguments and for
// inputs or targets it cannot use, and the GIF it writes from image files and from a project.
#include "cli/export_command.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <wx/gifdecod.h>
#include <wx/wfstream.h>

#include <cstdio>
#include <string>

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

// Answers that write no GIF: help and version on standard output, mistakes and unusable inputs
// or targets on standard error with their cause.
TEST_F(ExportCommand, AnswersAndFailuresWriteNothing) {
    const wxString notes = WriteBytes(folder.File("notes.png"), "not a picture");
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
