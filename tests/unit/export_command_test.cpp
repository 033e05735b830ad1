// reelmont-export as its users meet it: arguments, exit statuses, messages, and the GIF written
// from image files and from a project.
#include "cli/export_command.h"
#include "export/gif_export.h"
#include "import/image_source.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <wx/anidecod.h>
#include <wx/ffile.h>
#include <wx/gifdecod.h>
#include <wx/imaggif.h>
#include <wx/palette.h>
#include <wx/wfstream.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

// The text written to a memory stream, which holds it only once closed.
std::string Captured(std::FILE* stream, char** buffer, size_t* size) {
    std::fclose(stream);
    std::string text(*buffer, *size);
    free(*buffer);
    return text;
}

Outcome RunCommand(const std::vector<wxString>& arguments) {
    char* outBuffer = nullptr;
    char* errBuffer = nullptr;
    size_t outSize = 0;
    size_t errSize = 0;
    std::FILE* out = open_memstream(&outBuffer, &outSize);
    std::FILE* err = open_memstream(&errBuffer, &errSize);
    const int status = RunExportCommand(arguments, out, err, false);
    Outcome outcome{status, "", ""};
    outcome.out = Captured(out, &outBuffer, &outSize);
    outcome.err = Captured(err, &errBuffer, &errSize);
    return outcome;
}

wxString WritePng(const wxString& path, int width, int height, unsigned char shade) {
    wxImage image(width, height, false);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.SetRGB(x, y, shade, x * 255 / width, y * 255 / height);
        }
    }
    image.SaveFile(path, wxBITMAP_TYPE_PNG);
    return path;
}

// A GIF of two frames covering the whole picture, red then blue.
wxString WriteTwoFrameGif(const wxString& path, int width, int height) {
    wxImageArray images;
    for (int i = 0; i < 2; ++i) {
        wxImage frame(width, height, false);
        frame.SetRGB(wxRect(0, 0, width, height), i ? 0 : 255, 0, i ? 255 : 0);
        unsigned char red[2] = {static_cast<unsigned char>(i ? 0 : 255), 0};
        unsigned char green[2] = {0, 0};
        unsigned char blue[2] = {static_cast<unsigned char>(i ? 255 : 0), 0};
        frame.SetPalette(wxPalette(2, red, green, blue));
        images.Add(frame);
    }
    wxFileOutputStream out(path);
    wxGIFHandler().SaveAnimation(images, &out, false, 10);
    return path;
}

void WriteText(const wxString& path, const std::string& text) {
    wxFFile file(path, "wb");
    file.Write(text.data(), text.size());
}

std::string FileContents(const wxString& path) {
    wxFFile file(path, "rb");
    std::string contents;
    if (file.IsOpened()) {
        contents.resize(file.Length());
        file.Read(&contents[0], contents.size());
    }
    return contents;
}

struct Written {
    unsigned frames = 0;
    wxSize size;
    long delay = 0;
};

Written Decode(const wxString& path) {
    Written written;
    wxFileInputStream in(path);
    wxGIFDecoder decoder;
    if (!in.IsOk() || decoder.LoadGIF(in) != wxGIF_OK) {
        return written;
    }
    written.frames = decoder.GetFrameCount();
    written.size = decoder.GetAnimationSize();
    written.delay = decoder.GetDelay(0);
    return written;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class ExportCommand : public ::testing::Test {
protected:
    void SetUp() override {
        wide = WritePng(folder.File("wide.png"), 100, 50, 200);
        tall = WritePng(folder.File("tall.png"), 60, 80, 90);
        gif = WriteTwoFrameGif(folder.File("two.gif"), 30, 30);
        out = folder.File("out.gif");
    }

    TempFolder folder;
    wxString wide, tall, gif, out;
};

} // namespace

TEST_F(ExportCommand, HelpVersionAndMistakenArguments) {
    Outcome outcome = RunCommand({"--version"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "2.0.19\n");
    EXPECT_EQ(outcome.err, "");
    outcome = RunCommand({"--help"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(
        outcome.out.rfind(
            "Usage: reelmont-export [-d DELAY] [-W WIDTH] [-H HEIGHT] -o OUT.gif INPUT...\n", 0),
        0u)
        << outcome.out;

    struct Mistake {
        std::vector<wxString> arguments;
        std::string message;
    };
    const std::vector<Mistake> mistakes = {
        {{}, "no output file given"},
        {{"-o", out}, "no INPUT given"},
        {{"-d", "abc", "-o", out, wide}, "-d needs a whole number from 1 to 65535, not \"abc\""},
        {{"-d", "0", "-o", out, wide}, "not \"0\""},
        {{"-d65536", "-o", out, wide}, "not \"65536\""},
        {{"-W", "-5", "-o", out, wide}, "-W needs a whole number"},
        {{"-H", "12px", "-o", out, wide}, "not \"12px\""},
        {{"-o", out, wide, "-H"}, "-H needs a value"},
        {{"-x", "-o", out, wide}, "unknown option \"-x\""},
        {{"-o", out, wide, folder.File("p.xml")}, "must be the only INPUT"},
    };
    for (const Mistake& mistake : mistakes) {
        outcome = RunCommand(mistake.arguments);
        EXPECT_EQ(outcome.status, 2) << mistake.message;
        EXPECT_EQ(outcome.err.rfind("reelmont-export: ", 0), 0u) << outcome.err;
        EXPECT_TRUE(Contains(outcome.err, mistake.message)) << outcome.err;
        EXPECT_TRUE(Contains(outcome.err, "Try 'reelmont-export --help'.")) << outcome.err;
    }
    EXPECT_FALSE(wxFileExists(out));
}

TEST_F(ExportCommand, UnusableInputsAndTargetsFailWithTheirCause) {
    WriteText(folder.File("notes.png"), "not a picture");
    WriteText(out, "old");
    struct Failure {
        std::vector<wxString> arguments;
        std::string message;
    };
    const std::vector<Failure> failures = {
        {{"-o", out, wide, folder.File("gone.png")},
         "cannot read \"" + folder.File("gone.png").ToStdString() + "\": no such file"},
        {{"-o", out, folder.File("notes.png")}, "holds no picture that can be read"},
        {{"-o", folder.File("missing/out.gif"), wide}, "Cannot create"},
    };
    for (const Failure& failure : failures) {
        const Outcome outcome = RunCommand(failure.arguments);
        EXPECT_EQ(outcome.status, 1) << failure.message;
        EXPECT_TRUE(Contains(outcome.err, failure.message)) << outcome.err;
        EXPECT_EQ(FileContents(out), "old");
    }
    // A side that keeps the proportions can come out as 0, which no GIF can have.
    const Outcome flat = RunCommand({"-o", out, "-W", "1", wide});
    EXPECT_EQ(flat.status, 1);
    EXPECT_TRUE(Contains(flat.err, "canvas size 1 x 0")) << flat.err;
    EXPECT_EQ(FileContents(out), "old");
}

TEST_F(ExportCommand, ImageFilesGiveTheCanvasSizeAndDelayOfTheWindowsRules) {
    // 100x50 then 60x80: the taller frame replaces the pair; GIF frames are expanded.
    Outcome outcome = RunCommand({"-o", out, wide, tall, gif});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(Contains(outcome.err, "4 frames of 60 x 80, delay 10")) << outcome.err;
    Written written = Decode(out);
    EXPECT_EQ(written.frames, 4u);
    EXPECT_EQ(written.size, wxSize(60, 80));
    EXPECT_EQ(written.delay, 100);

    // The same frames through the export directly give the same bytes.
    std::vector<std::unique_ptr<wxImage>> frames;
    for (const wxString& path : {wide, tall, gif}) {
        DecodeImageSource(
            path, [&frames](SourcePicture picture) { frames.push_back(std::move(picture.image)); },
            StopRequest());
    }
    GifExportJob job;
    job.frameCount = static_cast<int>(frames.size());
    job.frameSource = [&frames](int i) { return *frames[i]; };
    job.canvasWidth = 60;
    job.canvasHeight = 80;
    job.path = folder.File("direct.gif");
    ASSERT_TRUE(ExportGif(job).ok);
    EXPECT_TRUE(FileContents(out) == FileContents(job.path));

    struct Sizing {
        std::vector<wxString> options;
        wxSize size;
    };
    for (const Sizing& sizing :
         {Sizing{{"-W", "30"}, wxSize(30, 40)}, Sizing{{"-H", "50"}, wxSize(37, 50)},
          Sizing{{"-W", "20", "-H", "10"}, wxSize(20, 10)}}) {
        std::vector<wxString> arguments = sizing.options;
        arguments.insert(arguments.end(), {"-d", "25", "-o", out, wide, tall});
        outcome = RunCommand(arguments);
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        written = Decode(out);
        EXPECT_EQ(written.size, sizing.size);
        EXPECT_EQ(written.delay, 250);
    }
}

TEST_F(ExportCommand, ProjectFileGivesItsFramesAndDelay) {
    const wxString project = folder.File("walk.xml");
    const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<project>\n"
                             "  <name>walk.gif</name>\n  <gif>\n    <width>10</width>\n"
                             "    <height>10</height>\n    <delay_time>33</delay_time>\n"
                             "  </gif>\n";
    WriteText(project, head + "  <images>\n    <path>" + wide.ToStdString() + "</path>\n" +
                           "    <path>" + gif.ToStdString() + "_1</path>\n    <path>" +
                           gif.ToStdString() + "</path>\n    <path>" +
                           folder.File("gone.png").ToStdString() +
                           "</path>\n  </images>\n</project>\n");

    // The project's own size is replaced by the frames' canvas, as the window does after the
    // import; its source-file entry and its missing file give no frames.
    Outcome outcome = RunCommand({"-o", out, project});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    Written written = Decode(out);
    EXPECT_EQ(written.frames, 2u);
    EXPECT_EQ(written.size, wxSize(100, 50));
    EXPECT_EQ(written.delay, 330);

    outcome = RunCommand({"-d", "5", "-o", out, project});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(Decode(out).delay, 50);

    WriteText(project, head + "</project>\n");
    outcome = RunCommand({"-o", out, project});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_TRUE(Contains(outcome.err, "is not a complete project file")) << outcome.err;

    WriteText(project, head + "  <images>\n    <path>" + folder.File("gone.png").ToStdString() +
                           "</path>\n  </images>\n</project>\n");
    outcome = RunCommand({"-o", out, project});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_TRUE(Contains(outcome.err, "lists no picture that can be read")) << outcome.err;

    WriteText(project, "plain text");
    outcome = RunCommand({"-o", out, project});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_TRUE(Contains(outcome.err, "cannot be read as XML")) << outcome.err;
}
