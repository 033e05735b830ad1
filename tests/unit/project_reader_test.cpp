// Project files read step by step, keeping what was read up to the first mismatch.
#include "import/project_reader.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <wx/filefn.h>

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

TEST_F(ProjectReading, ReadingStopsAtTheFirstMismatchKeepingWhatWasRead) {
    EXPECT_EQ(Read("not xml at all").reached, ProjectStep::None);
    EXPECT_EQ(ReadProjectFile(folder.File("missing.xml")).reached, ProjectStep::None);
    EXPECT_EQ(Read("<other><name/></other>").reached, ProjectStep::Document);
    EXPECT_EQ(
        Read("<project><name>a</name><!-- note --><gif><width>5</width></gif></project>").reached,
        ProjectStep::Document);

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
