// Save Project, Open Project and the question at close on a real main window.
#include "gui/window_fixture.h"
#include "import/frame_reference.h"
#include "import/project_reader.h"

#include <wx/gifdecod.h>
#include <wx/numdlg.h>
#include <wx/spinctrl.h>
#include <wx/wfstream.h>

#include <fcntl.h>
#include <regex>
#include <sys/file.h>
#include <unistd.h>

using Project = WindowTest;

TEST_F(Project, SavedAndReopenedProjectKeepsFramesSizeDelayAndNameAndClosesWithoutAsking) {
    Import(frame->m_menuItem_add, {WritePng(folder.File("a.png"), 40, 30),
                                   testgif::WriteAnimation(folder.File("b.gif"), 3, 40, 30),
                                   WritePng(folder.File("c.png"), 40, 30)});
    Type(frame->m_spinctrl_width, 20);
    Type(frame->m_spinctrl_delay, 25);
    answer = {folder.File("walk")};
    Save(frame->m_menuItem_save);
    Command(frame->m_menuItem_saveproject);
    EXPECT_EQ(frame->GetTitle(), "walk - Reelmont");
    // Every frame, and each GIF file once after its frames.
    const std::string saved = ReadBytes(folder.File("walk.xml"));
    const std::regex path("<path[^>]*>[^<]*/([^/<]*)</path>");
    std::string stored;
    for (std::sregex_iterator i(saved.begin(), saved.end(), path), end; i != end; ++i) {
        stored += (*i)[1].str() + " ";
    }
    EXPECT_EQ(stored, "a.png b.gif_0 b.gif_1 b.gif_2 b.gif c.png ");

    // Unchanged since saved: no question; the strip is replaced, not added to, and the GIF
    // file's own entry adds no frame.
    Import(frame->m_menuItem_open, {folder.File("walk.xml")});
    EXPECT_EQ(Names(), (std::vector<wxString>{"a.png", "b.gif_0", "b.gif_1", "b.gif_2", "c.png"}));
    EXPECT_EQ(frame->m_spinctrl_height->GetValue(), 15);
    EXPECT_EQ(frame->m_spinctrl_delay->GetValue(), 25);
    EXPECT_EQ(Status(0), "walk.gif (20 * 15)px");
    EXPECT_TRUE(frame->m_gifPath.empty()) << "the first Save after opening asks for a file";
    Command(frame->m_menuItem_saveproject);
    EXPECT_EQ(ReadBytes(folder.File("walk.xml")), saved);
    Command(frame->m_menuItem_exit);
    EXPECT_TRUE(IsClosing());
}

TEST_F(Project, ClosingAsksOnlyWhenTheProjectIsUnsavedAndNeverLosesWork) {
    Import(frame->m_menuItem_add, {WritePng(folder.File("a.png"), 20, 10)});
    // Yes with the save cancelled, or Cancel: the window stays.
    answer.clear();
    for (int choice : {wxID_YES, wxID_CANCEL}) {
        wxTEST_DIALOG(Command(frame->m_menuItem_exit), wxExpectModal<wxMessageDialog>(choice));
        EXPECT_FALSE(IsClosing());
    }
    answer = {folder.File("kept.xml")};
    Command(frame->m_menuItem_saveproject);
    // Changed and changed back: nothing to save.
    frame->m_spinctrl_delay->SetValue(30);
    EXPECT_FALSE(frame->IsProjectUnchanged());
    frame->m_spinctrl_delay->SetValue(10);
    EXPECT_TRUE(frame->IsProjectUnchanged());
    frame->m_spinctrl_delay->SetValue(30);
    wxTEST_DIALOG(frame->Close(), wxExpectModal<wxMessageDialog>(wxID_NO));
    EXPECT_TRUE(IsClosing());
}

TEST_F(Project, OpeningChangesNothingUntilAProjectWasRead) {
    const wxString a = WritePng(folder.File("a.png"), 20, 10);
    Import(frame->m_menuItem_add, {a});
    const size_t dialogs = asked.size();
    // Cancel at the question, then No and Cancel in the file dialog: the frames stay.
    wxTEST_DIALOG(Command(frame->m_menuItem_open), wxExpectModal<wxMessageDialog>(wxID_CANCEL));
    EXPECT_EQ(asked.size(), dialogs);
    answer.clear();
    wxTEST_DIALOG(Command(frame->m_menuItem_open), wxExpectModal<wxMessageDialog>(wxID_NO));
    EXPECT_EQ(Strip().GetCount(), 1);
    EXPECT_EQ(frame->m_spinctrl_width->GetValue(), 20);

    // A file that is no project says why; it never becomes the project file.
    const wxString other = WriteBytes(folder.File("other.xml"), "<settings><name/></settings>");
    answer = {other};
    wxString message;
    wxTEST_DIALOG(Command(frame->m_menuItem_open), wxExpectModal<wxMessageDialog>(wxID_NO),
                  ExpectMessage(wxID_OK, &message));
    EXPECT_TRUE(message.Contains(other)) << message;
    EXPECT_EQ(Strip().GetCount(), 1);
    EXPECT_EQ(frame->GetTitle(), "Reelmont");
    answer.clear();
    Command(frame->m_menuItem_saveproject);
    EXPECT_EQ(asked.size(), dialogs + 3) << "Save Project asks for a file";
    EXPECT_EQ(ReadBytes(other), "<settings><name/></settings>");

    // Delay 0 and a size of its own: the controls' values are the project as opened.
    const wxString zero = WriteBytes(folder.File("zero.xml"),
                                     "<project><name/><gif><width>8</width><height>4</height>"
                                     "<delay_time>0</delay_time></gif><images><path>" +
                                         a.ToStdString() + "</path></images></project>");
    answer = {zero};
    wxTEST_DIALOG(Command(frame->m_menuItem_open), wxExpectModal<wxMessageDialog>(wxID_NO));
    ASSERT_TRUE(RunUntil([this] { return frame->m_progressDialog == nullptr; }));
    EXPECT_EQ(Strip().GetCount(), 1);
    EXPECT_EQ(frame->m_spinctrl_delay->GetValue(), 1);
    EXPECT_EQ(Status(0), "Untitled.gif (8 * 4)px");
    EXPECT_EQ(frame->GetTitle(), "zero - Reelmont");
    Command(frame->m_menuItem_exit);
    EXPECT_TRUE(IsClosing());
}

TEST_F(Project, AFailedSaveSaysWhyKeepsTheOldFileAndAsksForAFileNextTime) {
    Import(frame->m_menuItem_add, {WritePng(folder.File("a.png"), 20, 10)});
    wxString message;
    answer = {"/proc/walk"};
    wxTEST_DIALOG(Command(frame->m_menuItem_saveproject), ExpectMessage(wxID_OK, &message));
    EXPECT_TRUE(message.Contains("\"/proc/walk.xml\"")) << message;
    EXPECT_EQ(frame->GetTitle(), "Reelmont");
    EXPECT_TRUE(frame->m_projectPath.empty());

    // "walk" is saved as walk.xml: replacing that file is asked first.
    const wxString path = folder.File("walk.xml");
    WriteBytes(path, "old");
    answer = {folder.File("walk")};
    wxTEST_DIALOG(Command(frame->m_menuItem_saveproject), ExpectMessage(wxID_NO, &message));
    EXPECT_TRUE(message.Contains(path)) << message;
    EXPECT_EQ(ReadBytes(path), "old");
    wxTEST_DIALOG(Command(frame->m_menuItem_saveproject), wxExpectModal<wxMessageDialog>(wxID_YES));
    EXPECT_EQ(frame->GetTitle(), "walk - Reelmont");
    const std::string saved = ReadBytes(path);

    // Writing stops midway: the saved file stays whole, and the next save asks for a file.
    Type(frame->m_spinctrl_delay, 30);
    const size_t dialogs = asked.size();
    {
        FileSizeLimit full(16);
        wxTEST_DIALOG(Command(frame->m_menuItem_saveproject), ExpectMessage(wxID_OK, &message));
    }
    EXPECT_TRUE(message.Contains(path)) << message;
    EXPECT_EQ(ReadBytes(path), saved);
    EXPECT_EQ(asked.size(), dialogs);
    EXPECT_EQ(frame->GetTitle(), "walk - Reelmont");
    answer.clear();
    Command(frame->m_menuItem_saveproject);
    EXPECT_EQ(asked.size(), dialogs + 1);
    wxTEST_DIALOG(Command(frame->m_menuItem_exit), wxExpectModal<wxMessageDialog>(wxID_CANCEL));
    EXPECT_FALSE(IsClosing());
}

TEST_F(Project, MovedProjectOpensWholeAndKeepsTheMissingSourcesItNames) {
    wxMkdir(folder.File("old"));
    Import(frame->m_menuItem_add, {WritePng(folder.File("old/a.png"), 40, 30),
                                   testgif::WriteAnimation(folder.File("old/B.GIF"), 2, 40, 30),
                                   WritePng(folder.File("old/c.png"), 40, 30)});
    answer = {folder.File("old/walk.xml")};
    Command(frame->m_menuItem_saveproject);

    // Moved with its pictures: whole, from the new place.
    ASSERT_TRUE(wxRenameFile(folder.File("old"), folder.File("new")));
    Import(frame->m_menuItem_open, {folder.File("new/walk.xml")});
    const std::vector<wxString> whole = {"a.png", "B.GIF_0", "B.GIF_1", "c.png"};
    EXPECT_EQ(Names(), whole);
    EXPECT_EQ(StripFrameSuffix(Strip().GetItem(1)->GetPath()), folder.File("new/B.GIF"));

    // Two pictures gone: named once; Save Project keeps them, so restoring them restores the
    // frames.
    Command(frame->m_menuItem_saveproject);
    ASSERT_TRUE(wxRemoveFile(folder.File("new/a.png")));
    ASSERT_TRUE(wxRemoveFile(folder.File("new/c.png")));
    wxString told;
    wxTEST_DIALOG(Import(frame->m_menuItem_open, {folder.File("new/walk.xml")}),
                  ExpectMessage(wxID_OK, &told));
    EXPECT_TRUE(told.Contains("missing")) << told;
    EXPECT_TRUE(told.Contains("a.png\nc.png")) << told;
    EXPECT_EQ(Names(), (std::vector<wxString>{"B.GIF_0", "B.GIF_1"}));
    Command(frame->m_menuItem_saveproject);
    WritePng(folder.File("new/a.png"), 40, 30);
    WritePng(folder.File("new/c.png"), 40, 30);
    Import(frame->m_menuItem_open, {folder.File("new/walk.xml")});
    EXPECT_EQ(Names(), whole);
}

namespace {
// Answers Frame Delay with a number, as typing it and pressing OK does.
class EnterDelay : public wxExpectModalBase<wxNumberEntryDialog, EnterDelay> {
public:
    explicit EnterDelay(int delay) : m_delay(delay) {}

protected:
    int OnInvoked(wxNumberEntryDialog* dialog) const override {
        for (wxWindow* child : dialog->GetChildren()) {
            if (auto* field = dynamic_cast<wxSpinCtrl*>(child)) {
                field->SetValue(m_delay);
            }
        }
        wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
        dialog->ProcessWindowEvent(ok);
        return wxID_OK;
    }

private:
    int m_delay;
};

std::vector<int> GifDelays(const wxString& path) {
    wxFileInputStream in(path);
    wxGIFDecoder decoder;
    std::vector<int> delays;
    if (decoder.LoadGIF(in) == wxGIF_OK) {
        for (unsigned i = 0; i < decoder.GetFrameCount(); ++i) {
            delays.push_back(decoder.GetDelay(i) / 10);
        }
    }
    return delays;
}
} // namespace

// A GIF's frames keep their own delays from import to the saved GIF and project; a frame's delay
// set with Frame Delay is one edit; the reopened project writes the same GIF.
TEST_F(Project, EachFrameKeepsItsOwnDelayThroughGifAndProject) {
    testgif::File file{8, 6, {{200, 0, 0}, {0, 180, 0}}, {}};
    for (int delay : {50, 10, 200}) {
        file.frames.push_back(testgif::Patch(0, 0, 8, 6, file.frames.size() % 2));
        file.frames.back().delay = delay;
    }
    const wxString gif = folder.File("timed.gif");
    ASSERT_TRUE(testgif::Write(gif, file));
    Import(frame->m_menuItem_add, {gif, WritePng(folder.File("still.png"), 8, 6)});
    EXPECT_EQ(frame->GetAnimation().Delays(), (std::vector<int>{50, 10, 200, 10}));
    EXPECT_EQ(Strip().GetStartTime(2), 60);

    Strip().SetSelection({1});
    wxTEST_DIALOG(Command(frame->m_menuItem_framedelay), EnterDelay(30));
    EXPECT_EQ(frame->GetAnimation().Delays(), (std::vector<int>{50, 30, 200, 10}));
    Command(frame->m_menuItem_undo);
    EXPECT_EQ(frame->GetAnimation().Delays(), (std::vector<int>{50, 10, 200, 10}));
    Command(frame->m_menuItem_redo);

    answer = {folder.File("timed-out.gif")};
    Save(frame->m_menuItem_save);
    EXPECT_EQ(GifDelays(folder.File("timed-out.gif")), (std::vector<int>{50, 30, 200, 10}));
    const std::string written = ReadBytes(folder.File("timed-out.gif"));
    answer = {folder.File("timed")};
    Command(frame->m_menuItem_saveproject);
    Import(frame->m_menuItem_open, {folder.File("timed.xml")});
    EXPECT_EQ(frame->GetAnimation().Delays(), (std::vector<int>{50, 30, 200, 10}));
    answer = {folder.File("again.gif")};
    Save(frame->m_menuItem_save);
    EXPECT_TRUE(ReadBytes(folder.File("again.gif")) == written);

    // The delay control still sets every frame, as one edit.
    Type(frame->m_spinctrl_delay, 7);
    EXPECT_EQ(frame->GetAnimation().Delays(), (std::vector<int>{7, 7, 7, 7}));
    Command(frame->m_menuItem_undo);
    EXPECT_EQ(frame->GetAnimation().Delays(), (std::vector<int>{50, 30, 200, 10}));
}

TEST_F(Project, RecentProjectsOpenAfterTheQuestionAndTheDialogsStartWhereTheyWereLeft) {
    const wxString a = WritePng(folder.File("a.png"), 20, 10);
    for (const char* name : {"first.xml", "second.xml", "gone.xml"}) {
        Import(frame->m_menuItem_add, {a});
        answer = {folder.File(name)};
        Command(frame->m_menuItem_saveproject);
        Command(frame->m_menuItem_new);
    }
    wxRemoveFile(folder.File("gone.xml"));
    Restart();
    wxMenuEvent opened(wxEVT_MENU_OPEN, 0, frame->m_menu_file);
    frame->ProcessWindowEvent(opened);
    const auto shown = [this] {
        std::vector<wxString> labels;
        for (const wxMenuItem* item : frame->m_menu_recent->GetMenuItems()) {
            labels.push_back(item->GetItemLabel());
        }
        return labels;
    };
    EXPECT_EQ(shown(), (std::vector<wxString>{"&1  second.xml", "&2  first.xml"}));

    AddFrames({{8, 8}});
    wxTEST_DIALOG(
        {
            Command(wxID_FILE2);
            RunUntil([this] { return frame->GetTitle() == "first - Reelmont"; });
            ASSERT_TRUE(RunUntil([this] { return frame->m_progressDialog == nullptr; }));
        },
        wxExpectModal<wxMessageDialog>(wxID_NO));
    EXPECT_EQ(Names(), (std::vector<wxString>{"a.png"}));
    EXPECT_EQ(shown(), (std::vector<wxString>{"&1  first.xml", "&2  second.xml"}));

    // Save suggests the project's GIF beside the project; the image dialog starts in the
    // folder it was left in, after a restart too.
    answer.clear();
    Command(frame->m_menuItem_save);
    EXPECT_EQ(asked.back().defaultDir + "/", folder.File(""));
    EXPECT_EQ(asked.back().defaultFile, "first.gif");
    Command(frame->m_menuItem_add);
    EXPECT_EQ(asked.back().defaultDir + "/", folder.File(""));
}

// Unsaved work is kept in a recovery project while it is unsaved; the next start offers back
// what a program that ended without saving left, and only that.
TEST_F(Project, UnsavedWorkIsKeptForAfterACrashAndOfferedBackOnce) {
    const wxString recovery = folder.File("recovery");
    frame->KeepRecoveryIn(recovery, 50);
    const auto written = [this] {
        return RunUntil([this] { return frame->IsRecoveryWritten(); }) &&
               wxFileExists(frame->RecoveryPath());
    };
    Import(frame->m_menuItem_add, {WritePng(folder.File("a.png"), 40, 30),
                                   testgif::WriteAnimation(folder.File("b.gif"), 3, 40, 30)});
    ASSERT_TRUE(written());
    Type(frame->m_spinctrl_delay, 25);
    ASSERT_TRUE(RunUntil([this] { return ReadProjectFile(frame->RecoveryPath()).delay == 25; }));
    EXPECT_EQ(ReadProjectFile(frame->RecoveryPath()).paths.size(), 4u);

    // Saved, the work is no longer at stake; changed again, it is.
    answer = {folder.File("walk.xml")};
    Command(frame->m_menuItem_saveproject);
    ASSERT_TRUE(RunUntil([this] { return !wxFileExists(frame->RecoveryPath()); }));
    Strip().SetSelection({0});
    Command(frame->m_menuItem_moveright);
    ASSERT_TRUE(written());
    const std::string kept = ReadBytes(frame->RecoveryPath());

    // Another process's files: one killed (its lock free), one running (its lock held), one
    // damaged and one whose sources are gone; only the killed one is offered, the bad ones go.
    const int running = open(folder.File("recovery/2.lock").fn_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_EQ(flock(running, LOCK_EX), 0);
    WriteBytes(folder.File("recovery/1.xml"), kept);
    WriteBytes(folder.File("recovery/2.xml"), kept);
    WriteBytes(folder.File("recovery/3.xml"), kept.substr(0, kept.size() / 2));
    WriteBytes(folder.File("recovery/4.xml"),
               std::regex_replace(kept, std::regex("a\\.png|b\\.gif"), "gone"));
    Restart();
    frame->KeepRecoveryIn(recovery, 50);
    wxString asked;
    wxTEST_DIALOG(frame->StartWith(wxArrayString(1, folder.File("a.png"))),
                  ExpectMessage(wxID_YES, &asked));
    EXPECT_TRUE(asked.Contains("restore")) << asked;
    ASSERT_TRUE(RunUntil([this] { return Strip().GetCount() == 5; }));
    ASSERT_TRUE(RunUntil([this] { return frame->m_progressDialog == nullptr; }));
    EXPECT_EQ(Names(), (std::vector<wxString>{"b.gif_0", "a.png", "b.gif_1", "b.gif_2", "a.png"}));
    EXPECT_EQ(frame->m_spinctrl_delay->GetValue(), 25);
    EXPECT_EQ(frame->GetTitle(), "walk - Reelmont");
    EXPECT_FALSE(frame->IsProjectUnchanged());
    const wxString own = frame->RecoveryPath();
    const wxString ownLock = own.BeforeLast('.') + ".lock";
    wxArrayString left;
    for (const wxString& file : {recovery + "/2.lock", recovery + "/2.xml", own, ownLock}) {
        left.push_back(file);
    }
    left.Sort();
    EXPECT_EQ(FilesIn(recovery), wxJoin(left, ' ').ToStdString());

    // A clean exit takes the work's file away. Once the other process has ended too, its work
    // is offered, and declined, gone.
    wxTEST_DIALOG(Command(frame->m_menuItem_exit), wxExpectModal<wxMessageDialog>(wxID_NO));
    ASSERT_TRUE(IsClosing());
    EXPECT_TRUE(RunUntil([&] { return !wxFileExists(own); }));
    close(running);
    Open();
    frame->KeepRecoveryIn(recovery, 50);
    wxTEST_DIALOG(frame->StartWith({}), ExpectMessage(wxID_NO, &asked));
    EXPECT_EQ(FilesIn(recovery), (frame->RecoveryPath().BeforeLast('.') + ".lock").ToStdString());
}

// Written over a file that gives frames, the GIF is asked for first; afterwards the frames name
// the written file's own frames, so the project reopens as it was saved.
TEST_F(Project, SavingTheGifOverItsOwnSourceAsksAndTheProjectReopensAsSaved) {
    const wxString six = testgif::WriteAnimation(folder.File("six.gif"), 6, 8, 6);
    Import(frame->m_menuItem_add, {six, WritePng(folder.File("a.png"), 8, 6)});
    Strip().SetSelection({1});
    wxTEST_DIALOG(Command(frame->m_menuItem_delete), wxExpectModal<wxMessageDialog>(wxID_YES));
    std::vector<wxImage> shown;
    for (const AnimationFrame& each : frame->GetAnimation().Frames()) {
        shown.push_back(each.pixels->Decode());
    }
    const std::string before = ReadBytes(six);

    answer = {six};
    wxString asked;
    wxTEST_DIALOG(Command(frame->m_menuItem_save), ExpectMessage(wxID_NO, &asked));
    EXPECT_TRUE(asked.Contains(six)) << asked;
    EXPECT_TRUE(ReadBytes(six) == before);
    EXPECT_EQ(Names()[1], "six.gif_2");
    wxTEST_DIALOG(Save(frame->m_menuItem_save), wxExpectModal<wxMessageDialog>(wxID_YES));
    EXPECT_EQ(Names(), (std::vector<wxString>{"six.gif_0", "six.gif_1", "six.gif_2", "six.gif_3",
                                              "six.gif_4", "a.png"}));
    // Written again unchanged: those frames are the file's own already; nothing is asked.
    Type(frame->m_spinctrl_delay, 20);
    Save(frame->m_menuItem_save);

    answer = {folder.File("six.xml")};
    Command(frame->m_menuItem_saveproject);
    Import(frame->m_menuItem_open, {folder.File("six.xml")});
    ASSERT_EQ(frame->GetAnimation().FrameCount(), 6);
    for (int n = 0; n < 6; ++n) {
        const wxImage opened = frame->GetAnimation().Frame(n).pixels->Decode();
        ASSERT_EQ(opened.GetSize(), shown[n].GetSize());
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(opened.GetData()),
                              opened.GetWidth() * opened.GetHeight() * 3),
                  std::string(reinterpret_cast<const char*>(shown[n].GetData()),
                              opened.GetWidth() * opened.GetHeight() * 3))
            << "frame " << n;
    }

    // Turned, the frames could not be read back as they are: the file is not written.
    Command(frame->m_menuItem_rotateright);
    answer = {six};
    const std::string saved = ReadBytes(six);
    wxTEST_DIALOG(Command(frame->m_menuItem_saveas), ExpectMessage(wxID_OK, &asked));
    EXPECT_TRUE(asked.Contains("another name")) << asked;
    EXPECT_TRUE(ReadBytes(six) == saved);
}
