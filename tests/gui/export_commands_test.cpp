#include "app/worker_event.h"
#include "support/gui_harness.h"
#include "support/test_images.h"
#include "window/gif_frame.h"
#include "window/thumbnailctrl.h"

#include <gtest/gtest.h>
#include <wx/anidecod.h>
#include <wx/eventfilter.h>
#include <wx/ffile.h>
#include <wx/gifdecod.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>
#include <wx/testing.h>
#include <wx/wfstream.h>

namespace {
// Records the save worker's progress as the window receives it.
class ProgressRecorder : public wxEventFilter {
public:
    ProgressRecorder() { wxEvtHandler::AddFilter(this); }
    ~ProgressRecorder() override { wxEvtHandler::RemoveFilter(this); }
    int FilterEvent(wxEvent& event) override {
        if (event.GetEventType() == wxEVT_WORKER_UPDATE && event.GetId() == ID_SAVE_WORKER) {
            values.push_back(static_cast<wxCommandEvent&>(event).GetInt());
        }
        return Event_Skip;
    }
    std::vector<int> values;
};

wxString ReadAll(const wxString& path) {
    wxString text;
    wxFFile(path, "rb").ReadAll(&text, wxConvISO8859_1);
    return text;
}

struct ExportCommands : ::testing::Test {
    GifFrame* frame = nullptr;
    TempFolder folder;
    wxString answer;
    int asked = 0;
    wxString lastMessage;

    void SetUp() override {
        frame = MakeMainWindow();
        ASSERT_NE(frame, nullptr);
        frame->SetFileDialogSeam(
            [this](wxWindow*, const FileDialogRequest& request, wxArrayString& paths) {
                ++asked;
                lastMessage = request.message;
                EXPECT_EQ(request.defaultFile, "*.gif");
                EXPECT_EQ(request.wildcard, "Image files (*.gif)|*.gif");
                if (answer.empty()) {
                    return false;
                }
                paths.push_back(answer);
                return true;
            });
    }
    void TearDown() override { DestroyMainWindow(frame); }

    void AddFrames(int count) {
        for (int i = 0; i < count; ++i) {
            const wxString path = WritePng(folder / wxString::Format("f%d.png", i), 40, 30);
            frame->m_thumbnailCtrl->Append(
                new wxImageThumbnailItem(new wxImage(FilledImage(40, 30, 60 * i, 20, 200)), 0,
                                         path),
                frame->m_spinctrl_delay->GetValue());
        }
        frame->EnableEditControls();
        frame->RefreshCanvasSize();
    }
    void Command(wxMenuItem* item) {
        wxCommandEvent event(wxEVT_MENU, item->GetId());
        frame->ProcessWindowEvent(event);
    }
    bool WaitForExport() {
        return RunUntil([this] { return frame->m_saveProgressDialog == nullptr; }, 20000);
    }
    void Save() {
        Command(frame->m_menuItem_save);
        ASSERT_TRUE(WaitForExport());
    }
};
} // namespace

TEST_F(ExportCommands, SaveWithoutFramesOnlyAsksThenLaterSavesWriteThere) {
    answer = folder / "first.gif";
    Command(frame->m_menuItem_save);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(lastMessage, "Save GIF Files");
    EXPECT_EQ(frame->m_gifPath, answer);
    EXPECT_FALSE(wxFileExists(answer));

    AddFrames(3);
    ProgressRecorder progress;
    Save();
    EXPECT_EQ(asked, 1);
    ASSERT_TRUE(wxFileExists(answer));
    EXPECT_EQ(progress.values, (std::vector<int>{33, 66, 100}));
    EXPECT_EQ(frame->m_statusBar1->GetStatusText(0), "first.gif (40 * 30)px");

    wxGIFDecoder decoder;
    wxFileInputStream in(answer);
    ASSERT_EQ(decoder.LoadGIF(in), wxGIF_OK);
    EXPECT_EQ(decoder.GetFrameCount(), 3u);
    EXPECT_EQ(decoder.GetAnimationSize(), wxSize(40, 30));
    EXPECT_EQ(decoder.GetDelay(1), 100);
}

TEST_F(ExportCommands, UnchangedSaveWritesNothingButAnyEditMakesItWrite) {
    AddFrames(2);
    answer = folder / "anim.gif";
    Save();
    ASSERT_TRUE(wxFileExists(answer));
    // Mark the file: a Save that rewrites it removes the mark.
    wxFFile(answer, "ab").Write(wxString("MARK"), wxConvISO8859_1);
    Save();
    EXPECT_TRUE(ReadAll(answer).EndsWith("MARK"));

    // Replace a frame: same count, delay and size, yet a different animation.
    frame->m_thumbnailCtrl->Delete(1);
    frame->m_thumbnailCtrl->Append(
        new wxImageThumbnailItem(new wxImage(FilledImage(40, 30, 0, 255, 0)), 0, folder / "f0.png"),
        10);
    Save();
    EXPECT_FALSE(ReadAll(answer).EndsWith("MARK"));

    wxRemoveFile(answer);
    Save();
    EXPECT_TRUE(wxFileExists(answer));
    EXPECT_EQ(asked, 1);
}

TEST_F(ExportCommands, SaveAsNamesTheFileAndCancellingForgetsThePath) {
    AddFrames(1);
    answer = folder / "anim";
    Command(frame->m_menuItem_saveas);
    ASSERT_TRUE(WaitForExport());
    EXPECT_EQ(lastMessage, "Save As GIF Files");
    EXPECT_EQ(frame->m_gifPath, folder / "anim.gif");
    EXPECT_TRUE(wxFileExists(folder / "anim.gif"));
    EXPECT_EQ(frame->m_statusBar1->GetStatusText(0), "anim.gif (40 * 30)px");

    answer = folder / "anim.GIF";
    Command(frame->m_menuItem_saveas);
    ASSERT_TRUE(WaitForExport());
    EXPECT_EQ(frame->m_gifPath, folder / "anim.GIF.gif");

    answer.clear();
    Command(frame->m_menuItem_saveas);
    EXPECT_TRUE(frame->m_gifPath.empty());
}

TEST_F(ExportCommands, AFailedExportSaysWhyAndKeepsTheOldFile) {
    AddFrames(2);
    answer = folder / "keep.gif";
    Save();
    const wxString good = ReadAll(answer);
    ASSERT_FALSE(good.empty());
    // A canvas of 0 x 0 cannot be written.
    frame->m_spinctrl_width->SetValue(0);
    wxCommandEvent typed(wxEVT_TEXT, frame->m_spinctrl_width->GetId());
    frame->ProcessWindowEvent(typed);
    const wxString status = frame->m_statusBar1->GetStatusText(0);
    wxTEST_DIALOG(Command(frame->m_menuItem_saveas);
                  ASSERT_TRUE(WaitForExport()),
                  wxExpectModal<wxMessageDialog>(wxID_OK).Describe("export failure"));
    EXPECT_EQ(ReadAll(answer), good);
    EXPECT_EQ(frame->m_statusBar1->GetStatusText(0), status);
    EXPECT_EQ(frame->m_gifPath, answer);
    EXPECT_TRUE(frame->IsEnabled());

    // A folder that cannot hold the file.
    const wxString notAFolder = WritePng(folder / "plain.png", 2, 2);
    answer = notAFolder + "/anim.gif";
    wxTEST_DIALOG(Command(frame->m_menuItem_saveas);
                  ASSERT_TRUE(WaitForExport()),
                  wxExpectModal<wxMessageDialog>(wxID_OK).Describe("export failure"));
    EXPECT_EQ(ReadAll(folder / "keep.gif"), good);
}
