// A real main window for the window tests, with its file dialog answered by the test.
#pragma once

#include "app/startup.h"
#include "support/event_loop.h"
#include "support/test_files.h"
#include "window/gif_frame.h"
#include "window/loop_count_dialog.h"
#include "window/thumbnailctrl.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/filefn.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/progdlg.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>
#include <wx/xrc/xmlres.h>

#include <vector>

// Dialogs are answered through wxTEST_DIALOG. A dialog no test expects, or an expected one that
// never comes, fails the test: the toolkit would only assert, and tests run without assertions.
#define wxTEST_DIALOG_HOOK_CLASS FailingDialogHook
#include <wx/testing.h>

class FailingDialogHook : public wxTestingModalHook {
public:
    using wxTestingModalHook::wxTestingModalHook;

protected:
    void ReportFailure(const wxString& message) override { ADD_FAILURE() << message; }
};

// Answers a message box and keeps its text, with " [Yes/No]" when it asks a question.
class ExpectMessage : public wxExpectModal<wxMessageDialog> {
public:
    ExpectMessage(int answer, wxString* text) : wxExpectModal(answer), m_text(text) {}

protected:
    int OnInvoked(wxMessageDialog* dialog) const override {
        *m_text =
            dialog->GetMessage() + (dialog->GetMessageDialogStyle() & wxYES_NO ? " [Yes/No]" : "");
        return wxExpectModal::OnInvoked(dialog);
    }

private:
    wxString* m_text;
};

struct WindowTest : ::testing::Test {
    GifFrame* frame = nullptr;
    TempFolder folder;
    std::vector<wxString> answer; // what the file dialog gives; nothing cancels it
    std::vector<FileDialogRequest> asked;

    void SetUp() override { Open(); }
    void TearDown() override {
        if (!IsClosing()) {
            frame->Destroy();
        }
        RunFor(20);
    }
    // A main window built exactly as the program's start-up builds it (resources and options are
    // prepared once per test program).
    void Open() {
        static const bool prepared = (PrepareResources(), true);
        ASSERT_TRUE(prepared);
        frame = CreateMainWindow();
        ASSERT_NE(frame, nullptr);
        frame->Show(true);
        RunFor(50);
        frame->SetFileDialogSeam(
            [this](wxWindow*, const FileDialogRequest& request, wxArrayString& paths) {
                asked.push_back(request);
                paths = wxArrayString(answer.size(), answer.data());
                return !answer.empty();
            });
    }
    // Closes the window without asking and starts the program's window anew.
    void Restart() {
        frame->Destroy();
        RunFor(20);
        Open();
    }
    // A closed main window waits on the toolkit's list of windows to delete.
    bool IsClosing() const { return wxPendingDelete.Member(frame); }

    void Command(int id) {
        wxCommandEvent event(wxEVT_MENU, id);
        frame->ProcessWindowEvent(event);
    }
    void Command(wxMenuItem* item) { Command(item->GetId()); }
    void Type(wxSpinCtrl* control, int value) {
        control->SetValue(value);
        wxCommandEvent typed(wxEVT_TEXT, control->GetId());
        frame->ProcessWindowEvent(typed);
    }
    wxThumbnailCtrl& Strip() { return *frame->m_thumbnailCtrl; }
    // The file names of the entries, in order.
    std::vector<wxString> Names() {
        std::vector<wxString> names;
        for (int n = 0; n < Strip().GetCount(); ++n) {
            names.push_back(wxFileNameFromPath(Strip().GetItem(n)->GetPath()));
        }
        return names;
    }
    std::vector<int> Selection() {
        const wxArrayInt& selected = Strip().GetSelectedIndices();
        return std::vector<int>(selected.begin(), selected.end());
    }
    wxString Status(int field) { return frame->m_statusBar1->GetStatusText(field); }

    // Red frames put straight into the strip as the import does, from files named "WxH.png".
    void AddFrames(const std::vector<wxSize>& sizes) {
        for (const wxSize& size : sizes) {
            const wxString path =
                WritePng(folder.File(wxString::Format("%dx%d.png", size.x, size.y)), 1, 1);
            frame->AddEntry(new wxImageThumbnailItem(
                                new wxImage(FilledImage(size.x, size.y, 250, 0, 0)), 0, path),
                            -1, frame->m_spinctrl_delay->GetValue());
        }
        frame->EnableEditControls();
        frame->RefreshCanvasSize();
    }
    // Runs a command that imports, until the import has finished.
    void Import(int command, const std::vector<wxString>& files) {
        answer = files;
        Command(command);
        ASSERT_TRUE(RunUntil([this] { return frame->m_progressDialog == nullptr; }, 20000));
    }
    void Import(wxMenuItem* command, const std::vector<wxString>& files) {
        Import(command->GetId(), files);
    }
    // Presses Cancel in a progress dialog, as a click does.
    static void PressCancel(wxWindow* dialog) {
        wxWindow* button = dialog->FindWindow(wxID_CANCEL);
        ASSERT_NE(button, nullptr);
        wxCommandEvent click(wxEVT_BUTTON, wxID_CANCEL);
        click.SetEventObject(button);
        button->GetEventHandler()->ProcessEvent(click);
    }
    // Runs Save or Save As until the file is written.
    void Save(wxMenuItem* command) {
        Command(command);
        ASSERT_TRUE(RunUntil([this] { return frame->m_saveProgressDialog == nullptr; }, 20000));
    }
};

// Answers the loop count dialog with a number of passes (0: forever) and whether the file keeps
// it.
class ChooseLoopCount : public wxExpectModalBase<LoopCountDialog, ChooseLoopCount> {
public:
    explicit ChooseLoopCount(int times, bool inFile = false) : m_times(times), m_inFile(inFile) {}

protected:
    int OnInvoked(LoopCountDialog* dialog) const override {
        dialog->m_radio_times->SetValue(true);
        dialog->m_spinctrl_loop->SetValue(m_times);
        dialog->m_checkBox_file->SetValue(m_inFile);
        wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
        dialog->OnButton(ok);
        return wxID_OK;
    }
    int m_times;
    bool m_inFile;
};
