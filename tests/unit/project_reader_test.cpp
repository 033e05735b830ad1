// Project files read step by step, keeping what was read up to the first mismatch.
#include "app/file_name_bytes.h"
#include "import/background_project_writer.h"
#include "import/image_source.h"
#include "import/project_reader.h"
#include "import/project_writer.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <wx/filefn.h>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {
struct ProjectReading : ::testing::Test {
    TempFolder folder;

    void Touch(const wxString& name) { WriteBytes(folder.File(name), "x"); }

    // Writes the text as the project file, with "$" standing for the test's folder.
    ProjectFile Read(wxString text) {
        text.Replace("$", folder.Path());
        return ReadProjectFile(WriteBytes(folder.File("project.xml"), text.utf8_string()));
    }
};

const char* const kHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<project>\n  <name>walk.gif</name>\n  <gif>\n    <width>320</width>\n"
                          "    <height>240</height>\n    <delay_time>15</delay_time>\n  </gif>\n";
} // namespace

TEST_F(ProjectReading, SavedProjectGivesItsValuesAndTheUsableSources) {
    Touch("a.png");
    Touch("b.gif");
    wxMkdir(folder.File("old.gif_files"));
    Touch("old.gif_files/c.png");
    const ProjectFile project = Read(wxString(kHead) + "  <images>\n"
                                                       "    <path>$/a.png</path>\n"
                                                       "    <path>$/b.gif_0</path>\n"
                                                       "    <path>$/b.gif_12</path>\n"
                                                       "    <path>$/b.gif</path>\n"
                                                       "    <path>$/gone.png</path>\n"
                                                       "    <path>$/gone.gif_1</path>\n"
                                                       "    <path>$/old.gif_files/c.png</path>\n"
                                                       "  </images>\n</project>\n");
    EXPECT_EQ(project.reached, ProjectStep::Paths);
    EXPECT_EQ(project.name, "walk.gif");
    EXPECT_EQ(project.width, 320);
    EXPECT_EQ(project.height, 240);
    EXPECT_EQ(project.delay, 15);
    wxArrayString expected;
    for (const char* name : {"a.png", "b.gif_0", "b.gif_12", "old.gif_files/c.png"}) {
        expected.push_back(folder.File(name));
    }
    EXPECT_EQ(project.paths, expected);
}

TEST_F(ProjectReading, SourcesAreFoundAsTheToolkitFindsThem) {
    // Looked up one by one, then among the folder's names: first too many to read at once,
    // then few enough.
    Touch("a.png");
    Touch("back\\slash.png");
    // Whether the toolkit finds it depends on the locale's file-name encoding.
    close(creat((folder.Path().utf8_string() + "/\xc3\xa9.png").c_str(), 0644));
    wxMkdir(folder.File("sub.png"));
    ASSERT_EQ(symlink("a.png", folder.File("link.png").fn_str()), 0);
    ASSERT_EQ(symlink("gone.png", folder.File("dangling.png").fn_str()), 0);
    ASSERT_EQ(symlink("sub.png", folder.File("folder-link.png").fn_str()), 0);
    const std::vector<wxString> odd = {"a.png",    "back\\slash.png", "\u00e9.png",
                                       "sub.png",  "link.png",        "dangling.png",
                                       "gone.png", "folder-link.png"};
    std::vector<wxString> names = odd;
    for (int i = 0; i < 370; ++i) {
        names.push_back(wxString::Format("f%03d.png", i));
        if (i >= 70) {
            Touch(names.back());
        }
    }
    names.insert(names.end(), odd.begin(), odd.end());
    wxString text = wxString(kHead) + "<images>";
    wxArrayString expected;
    for (const wxString& name : names) {
        text += "<path>" + folder.File(name) + "</path>";
        if (wxFileExists(folder.File(name))) {
            expected.push_back(folder.File(name));
        }
    }
    ASSERT_GE(expected.size(), 304u);
    EXPECT_EQ(Read(text + "</images></project>").paths, expected);
}

TEST_F(ProjectReading, ReadingStopsAtTheFirstMismatchKeepingWhatWasRead) {
    EXPECT_EQ(Read("not xml at all").reached, ProjectStep::None);
    EXPECT_EQ(ReadProjectFile(folder.File("missing.xml")).reached, ProjectStep::None);
    EXPECT_EQ(Read("<other><name/></other>").reached, ProjectStep::Document);

    ProjectFile project = Read("<project><name>a.gif</name><gif><width>abc</width>"
                               "<height>12px</height></gif></project>");
    EXPECT_EQ(project.reached, ProjectStep::Height);
    EXPECT_EQ(project.width, 0);
    EXPECT_EQ(project.height, 12);
    EXPECT_EQ(project.name, "a.gif");

    project = Read("<project><name>a.gif</name><gif><width>7</width><depth/></gif></project>");
    EXPECT_EQ(project.reached, ProjectStep::Width);
    EXPECT_EQ(project.width, 7);
    EXPECT_EQ(project.name, "");

    project = Read(wxString(kHead) + "<pictures/></project>");
    EXPECT_EQ(project.reached, ProjectStep::Delay);
    EXPECT_EQ(project.delay, 15);
    EXPECT_TRUE(project.error.Contains("is not a complete project file")) << project.error;

    project = Read("<project><name>");
    EXPECT_EQ(project.reached, ProjectStep::None);
    EXPECT_TRUE(project.error.Contains("cannot be read as XML (no element found at line 1)"))
        << project.error;

    wxString deep;
    for (int i = 0; i < 300; ++i) {
        deep = "<a>" + deep + "</a>";
    }
    project = Read("<project>" + deep + "</project>");
    EXPECT_TRUE(project.error.Contains("(elements nested too deeply at line 1)")) << project.error;

    // Larger files are refused unread.
    const wxString large = folder.File("large.xml");
    ASSERT_EQ(truncate(WriteBytes(large, "<project/>").fn_str(), kLargestProjectFile + 1), 0);
    project = ReadProjectFile(large);
    EXPECT_EQ(project.reached, ProjectStep::None);
    EXPECT_EQ(project.error, "\"" + large + "\" is not a project file: it is larger than 64 MB");
    const std::string spaces(kLargestProjectFile + 1, ' ');
    EXPECT_EQ(ReadProjectBytes(spaces.data(), spaces.size(), large).error, project.error);
}

TEST_F(ProjectReading, TextsInPiecesAreReadWhole) {
    // Lines, references and sections arrive from the parser in pieces: millions of them here.
    std::string name = " \n";
    for (int i = 0; i < 1000000; ++i) {
        name += "a\n&amp;";
    }
    std::string text = "<project><name>" + name + "</name><!-- note --><gif>" +
                       "<width>\n  32</width><height>\n4</height><delay_time>5</delay_time>" +
                       "</gif><images><path>/x.png</path></images></project>";
    const ProjectFile project = ReadProjectBytes(text.data(), text.size(), "p.xml");
    ASSERT_EQ(project.reached, ProjectStep::Document) << "a comment is a node of its own";
    text.replace(text.find("<!-- note -->"), 13, "");
    const ProjectFile whole = ReadProjectBytes(text.data(), text.size(), "p.xml");
    EXPECT_EQ(whole.reached, ProjectStep::Paths);
    EXPECT_EQ(whole.name.length(), 3000000u) << "white space before the text is no part of it";
    EXPECT_TRUE(whole.name.StartsWith("a\n&a\n&"));
    EXPECT_EQ(whole.width, 32);
    EXPECT_EQ(whole.height, 4);
}

TEST_F(ProjectReading, ImagesThatGiveNothingToImport) {
    Touch("a.png");
    ProjectFile project = Read(wxString(kHead) + "  <images>\n  </images>\n</project>");
    EXPECT_EQ(project.reached, ProjectStep::Images);
    EXPECT_TRUE(project.imagesEmpty);

    // A stray element among the paths cancels the whole list.
    project = Read(wxString(kHead) + "<images><path>$/a.png</path><frame>$/a.png</frame>"
                                     "<path>$/a.png</path></images></project>");
    EXPECT_EQ(project.reached, ProjectStep::Images);
    EXPECT_FALSE(project.imagesEmpty);
    EXPECT_TRUE(project.paths.empty());

    project = Read(wxString(kHead) + "<images><path>$/gone.png</path><path>$/a.gif</path>"
                                     "<path/></images></project>");
    EXPECT_EQ(project.reached, ProjectStep::Paths);
    EXPECT_TRUE(project.paths.empty());
}

TEST_F(ProjectReading, NamesOfAnyCaseGiveTheirFramesAndComeBackFromTheProject) {
    // Files are told apart by their content; the names of GIF files of any case make frame
    // references as lower-case ones do.
    struct Case {
        const char* name;
        bool gif;
        std::vector<const char*> entries;
    };
    const Case cases[] = {
        {"a.gif", true, {"a.gif_0", "a.gif_1", "a.gif_2"}},
        {"B.GIF", true, {"B.GIF_0", "B.GIF_1", "B.GIF_2"}},
        {"c.Gif", true, {"c.Gif_0", "c.Gif_1", "c.Gif_2"}},
        {"png-named.gif", false, {"png-named.gif_0"}},
        {"gif-named.png", true, {"gif-named.png_0", "gif-named.png_1", "gif-named.png_2"}},
        {"d.PNG", false, {"d.PNG"}},
    };
    ProjectContents contents;
    for (const Case& c : cases) {
        const wxString path = folder.File(c.name);
        if (c.gif) {
            testgif::WriteAnimation(path, 3, 4, 4);
        } else {
            WritePng(path, 4, 4);
        }
        wxArrayString entries;
        DecodeImageSource(
            path, [&](SourcePicture picture) { entries.push_back(picture.EntryPath()); }, {});
        wxArrayString expected;
        for (const char* entry : c.entries) {
            expected.push_back(folder.File(entry));
        }
        EXPECT_EQ(entries, expected) << c.name;
        for (const wxString& entry : entries) {
            contents.frames.push_back(entry);
            int pictures = 0;
            DecodeImageSource(entry, [&](SourcePicture) { ++pictures; }, {});
            EXPECT_EQ(pictures, 1) << entry;
        }
    }
    wxString error;
    ASSERT_TRUE(WriteProjectFile(folder.File("names.XML"), contents, &error)) << error;
    const ProjectFile project = ReadProjectFile(folder.File("names.XML"));
    EXPECT_EQ(project.paths, contents.frames);
    EXPECT_TRUE(project.missing.empty());

    // A GIF name standing alone, as earlier builds wrote upper-case ones, was one picture.
    EXPECT_EQ(Read(wxString(kHead) + "<images><path>$/B.GIF</path><path>$/a.gif</path>"
                                     "</images></project>")
                  .paths,
              wxArrayString(1, folder.File("B.GIF_0")));
}

TEST_F(ProjectReading, MovedAndMissingSourcesAreFoundBesideTheProjectOrKept) {
    wxMkdir(folder.File("old"));
    wxMkdir(folder.File("old/pics"));
    const char* const names[] = {"a.png", "b.png", "c\x01.png", "d.png"};
    for (const char* name : names) {
        WritePng(folder.File(wxString("old/pics/") + name), 2, 2);
    }
    testgif::WriteAnimation(folder.File("old/pics/e.gif"), 2, 2, 2);
    ProjectContents contents;
    for (const char* name : {"a.png", "e.gif_0", "e.gif_1", "b.png", "c\x01.png", "d.png"}) {
        contents.frames.push_back(folder.File(wxString("old/pics/") + name));
    }
    wxString error;
    ASSERT_TRUE(WriteProjectFile(folder.File("old/p.xml"), contents, &error)) << error;
    EXPECT_EQ(ReadProjectFile(folder.File("old/p.xml")).paths, contents.frames);
    // A name that is not UTF-8 is stored as its bytes and comes back as the same name.
    ProjectContents bytes;
    bytes.frames.push_back(folder.File(FileNameFromBytes("old/pics/bad\xFF.png")));
    ASSERT_EQ(rename(FileNameBytes(folder.File("old/pics/d.png")).c_str(),
                     FileNameBytes(bytes.frames[0]).c_str()),
              0);
    ASSERT_TRUE(WriteProjectFile(folder.File("bytes.xml"), bytes, &error)) << error;
    EXPECT_NE(ReadBytes(folder.File("bytes.xml")).find("bad%FF.png"), std::string::npos);
    EXPECT_EQ(ReadProjectFile(folder.File("bytes.xml")).paths, bytes.frames);
    ASSERT_EQ(rename(FileNameBytes(bytes.frames[0]).c_str(),
                     FileNameBytes(folder.File("old/pics/d.png")).c_str()),
              0);

    // The folder moves with its pictures, and two of them are gone.
    ASSERT_TRUE(wxRenameFile(folder.File("old"), folder.File("new")));
    ASSERT_TRUE(wxRemoveFile(folder.File("new/pics/b.png")));
    ASSERT_TRUE(wxRemoveFile(folder.File("new/pics/c\x01.png")));
    const ProjectFile moved = ReadProjectFile(folder.File("new/p.xml"));
    wxArrayString found;
    for (const char* name : {"a.png", "e.gif_0", "e.gif_1", "d.png"}) {
        found.push_back(folder.File(wxString("new/pics/") + name));
    }
    EXPECT_EQ(moved.paths, found);
    ASSERT_EQ(moved.missing.size(), 2u);
    EXPECT_EQ(moved.missing[0].path, folder.File("old/pics/b.png").utf8_string());
    EXPECT_EQ(moved.missing[1].path, folder.File("old/pics/c\x01.png").utf8_string());
    EXPECT_EQ(moved.missing[1].before, 3u);

    // Saved again, the missing sources stay at their places: restored, they are frames again.
    contents.frames = moved.paths;
    contents.missing = moved.missing;
    ASSERT_TRUE(WriteProjectFile(folder.File("new/p.xml"), contents, &error)) << error;
    WritePng(folder.File("new/pics/b.png"), 2, 2);
    WritePng(folder.File("new/pics/c\x01.png"), 2, 2);
    wxArrayString whole = found;
    whole.insert(whole.begin() + 3, folder.File("new/pics/b.png"));
    whole.insert(whole.begin() + 4, folder.File("new/pics/c\x01.png"));
    const ProjectFile restored = ReadProjectFile(folder.File("new/p.xml"));
    EXPECT_EQ(restored.paths, whole);
    EXPECT_TRUE(restored.missing.empty());
}

TEST_F(ProjectReading, TheViewOfTheFramesComesBackAsWritten) {
    Touch("a.png");
    const std::string defaults =
        " loop=\"0\" best_colours=\"0\" optimise=\"0\" loop_in_file=\"0\"/>";
    const struct {
        ViewTransform view;
        std::string element; // what follows "images"
    } cases[] = {
        {{}, "<animation" + defaults},
        {{{}, {1, false}}, "<animation rotate=\"90\"" + defaults},
        {{{10, 20, 300, 200}, {3, true}},
         "<animation crop=\"300x200+10+20\" rotate=\"270\" flip=\"h\"" + defaults},
        {{{0, 0, 5, 5}, {}}, "<animation crop=\"5x5+0+0\"" + defaults},
    };
    for (const auto& c : cases) {
        ProjectContents contents;
        contents.width = 300;
        contents.height = 200;
        contents.delay = 10;
        contents.frames.push_back(folder.File("a.png"));
        contents.view = c.view;
        const wxString path = folder.File("view.xml");
        wxString error;
        ASSERT_TRUE(WriteProjectFile(path, contents, &error)) << error;
        const std::string written = ReadBytes(path);
        EXPECT_NE(written.find("</images>\n  " + c.element), std::string::npos) << written;
        const ProjectFile project = ReadProjectFile(path);
        EXPECT_EQ(project.reached, ProjectStep::Paths);
        EXPECT_EQ(project.view, c.view) << c.element;
        EXPECT_EQ(project.keepTransparency, 0);
    }
    // Values this version does not know leave their part of the view as it is.
    const ProjectFile odd =
        Read(wxString(kHead) + "<images><path>$/a.png</path></images>"
                               "<animation crop=\"big\" rotate=\"45\" flip=\"v\" loop=\"x\"/>"
                               "</project>");
    EXPECT_EQ(odd.reached, ProjectStep::Paths);
    EXPECT_EQ(odd.view, ViewTransform());
    EXPECT_EQ(odd.loopCount, -1);
}

// Each frame's own delay goes on its "path" where it differs from delay_time, and the loop count
// and export choices on "animation" after "images": files of earlier versions open as before,
// and earlier readers, which stop at the first child of "images" that is not "path", read every
// frame of a file written now.
TEST_F(ProjectReading, FrameDelaysAndChoicesComeBackAndEarlierFilesKeepTheirDelay) {
    Touch("a.png");
    Touch("b.gif");
    ProjectContents contents;
    contents.delay = 10;
    contents.frames = wxArrayString();
    for (const char* frame : {"a.png", "b.gif_0", "b.gif_1", "a.png"}) {
        contents.frames.push_back(folder.File(frame));
    }
    contents.frameDelays = {10, 50, 0, 200};
    contents.choices.loopCount = 3;
    contents.choices.options.optimize = true;
    contents.choices.loopInFile = true;
    contents.choices.options.quality = 40;
    contents.choices.options.lossy = 0;
    contents.choices.options.colours = 64;
    contents.choices.options.maxBytes = 12000000000LL;
    contents.choices.options.keepTransparency = true;
    const wxString path = folder.File("timed.xml");
    wxString error;
    {
        // As the window saves: on the writer's own thread, and a save that fails says why.
        BackgroundProjectWriter writer(path);
        BackgroundProjectWriter failing(folder.File("gone/timed.xml"));
        writer.Write(contents);
        failing.Write(contents);
        while (!writer.WaitFor(10) || !failing.WaitFor(10)) {
        }
        ASSERT_TRUE(writer.Succeeded(&error)) << error;
        EXPECT_EQ(writer.Percent(), 100);
        EXPECT_FALSE(failing.Succeeded(&error));
        EXPECT_TRUE(error.Contains("gone/timed.xml")) << error;
    }
    const std::string written = ReadBytes(path);
    EXPECT_NE(written.find("<path delay=\"50\" "), std::string::npos) << written;
    EXPECT_LT(written.find("</images>"),
              written.find("<animation loop=\"3\" best_colours=\"0\" optimise=\"1\" "
                           "loop_in_file=\"1\" quality=\"40\" lossy=\"0\" colours=\"64\" "
                           "max_size=\"12000000000\" keep_transparency=\"1\"/>"));
    const ProjectFile project = ReadProjectFile(path);
    EXPECT_EQ(project.reached, ProjectStep::Paths);
    EXPECT_EQ(project.paths.size(), 4u);
    EXPECT_EQ(project.delays, (std::vector<int>{-1, 50, 0, 200}));
    EXPECT_EQ(project.loopCount, 3);
    EXPECT_EQ(project.bestColours, 0);
    EXPECT_EQ(project.optimise, 1);
    EXPECT_EQ(project.loopInFile, 1);
    EXPECT_EQ(project.quality, 40);
    EXPECT_EQ(project.lossy, 0);
    EXPECT_EQ(project.colours, 64);
    EXPECT_EQ(project.maxBytes, 12000000000LL);
    EXPECT_EQ(project.keepTransparency, 1);

    // Choices out of their ranges, or no numbers, are read as their defaults.
    const ProjectFile odd =
        Read(wxString(kHead) + "<images><path>$/a.png</path></images><animation quality=\"0\" "
                               "lossy=\"256\" colours=\"1\" max_size=\"38\"/></project>");
    const ExportOptions defaults;
    EXPECT_EQ(odd.quality, defaults.quality);
    EXPECT_EQ(odd.lossy, defaults.lossy);
    EXPECT_EQ(odd.colours, defaults.colours);
    EXPECT_EQ(odd.maxBytes, defaults.maxBytes);
    const ProjectFile words =
        Read(wxString(kHead) + "<images><path>$/a.png</path></images><animation quality=\"x\" "
                               "max_size=\"2M\" colours=\"-8\"/></project>");
    EXPECT_EQ(words.quality, defaults.quality);
    EXPECT_EQ(words.maxBytes, defaults.maxBytes);
    EXPECT_EQ(words.colours, defaults.colours);

    // A file of an earlier version, and delays that are no whole number of hundredths from 0
    // to 65535, leave the frames to delay_time.
    const ProjectFile earlier = Read(
        wxString(kHead) + "<images><path>$/a.png</path><path delay=\"x\">$/a.png</path>"
                          "<path delay=\"-5\">$/a.png</path><path delay=\"70000\">$/a.png</path>"
                          "<path delay=\"\">$/a.png</path><path delay=\"65535\">$/a.png</path>"
                          "</images></project>");
    EXPECT_EQ(earlier.delays, (std::vector<int>{-1, -1, -1, -1, -1, 65535}));
    EXPECT_EQ(earlier.loopCount, -1);
    EXPECT_EQ(earlier.optimise, -1);
    EXPECT_EQ(earlier.keepTransparency, -1);
}
