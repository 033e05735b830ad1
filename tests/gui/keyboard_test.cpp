// The whole window by keyboard, with real key presses: the Tab order, the strip's own keys,
// the keys that work wherever the focus is, and the dialogs that Enter closes.
#include "gui/window_fixture.h"
#include "window/export_options_dialog.h"

#include <wx/button.h>
#include <wx/panel.h>
#include <wx/uiaction.h>

namespace {
// Notes the id of the button Enter would press in a dialog (the button goes with the dialog),
// then closes it.
template <typename Dialog> struct NoteDefault : wxExpectModalBase<Dialog, NoteDefault<Dialog>> {
    explicit NoteDefault(int* pressed) : m_pressed(pressed) {}
    int OnInvoked(Dialog* dialog) const override {
        // The first control to take the focus is the one Enter presses.
        wxWindow* first = nullptr;
        for (wxWindow* child : dialog->GetChildren()) {
            if (first == nullptr && child->IsFocusable()) {
                first = child;
            }
        }
        const wxWindow* button =
            dynamic_cast<wxButton*>(first) != nullptr ? first : dialog->GetDefaultItem();
        *m_pressed = button != nullptr ? button->GetId() : wxID_NONE;
        return wxID_CANCEL;
    }
    int* m_pressed;
};
} // namespace

TEST_F(WindowTest, EveryCommandWorksFromTheKeyboard) {
    AddFrames({{40, 30}, {50, 30}, {60, 30}});
    frame->Raise();
    Strip().SetFocus();
    ASSERT_TRUE(RunUntil([this] { return wxWindow::FindFocus() == &Strip(); }));
    wxUIActionSimulator input;

    // The keys still reach the strip after the progress dialogs of an import and an export,
    // and the preview shows the frame they choose at once.
    const struct {
        wxMenuItem* command;
        wxString file;
        int key;
        const char* shown;
    } behindProgress[] = {
        {frame->m_menuItem_add, WritePng(folder.File("70x30.png"), 70, 30), WXK_END, "70x30.png"},
        {frame->m_menuItem_save, folder.File("keys.gif"), WXK_HOME, "40x30.png"},
    };
    for (const auto& row : behindProgress) {
        answer = {row.file};
        Command(row.command);
        ASSERT_TRUE(RunUntil(
            [this] {
                return frame->m_progressDialog == nullptr && frame->m_saveProgressDialog == nullptr;
            },
            20000));
        // A desktop's window manager activates the window again as the dialog goes.
        frame->Raise();
        // Twice: after an import no frame has the focus, and the first key only chooses frame 1.
        input.Char(row.key);
        input.Char(row.key);
        EXPECT_TRUE(RunUntil([&] { return Status(1).StartsWith(row.shown); })) << row.file;
    }
    answer.clear();
    input.Char(WXK_RIGHT);
    EXPECT_TRUE(RunUntil([this] { return Status(1).StartsWith("50x30.png"); }));

    // Delete asks as Ctrl+Delete does; No keeps the frames.
    wxString asked;
    wxTEST_DIALOG(
        {
            input.Char(WXK_DELETE);
            RunUntil([&] { return !asked.empty(); });
        },
        ExpectMessage(wxID_NO, &asked));
    EXPECT_EQ(asked, "Are you sure you want to delete selected image(s)? [Yes/No]");
    EXPECT_EQ(Strip().GetCount(), 4);

    // Tab runs strip, delay, width, height, preview and round again; Shift+Tab goes back.
    wxWindow* const order[] = {frame->m_spinctrl_delay, frame->m_spinctrl_width,
                               frame->m_spinctrl_height, frame->m_panel_down, &Strip()};
    for (wxWindow* next : order) {
        input.Char(WXK_TAB);
        EXPECT_TRUE(RunUntil([next] { return wxWindow::FindFocus() == next; })) << next->GetName();
    }
    input.Char(WXK_TAB, wxMOD_SHIFT);
    EXPECT_TRUE(RunUntil([this] { return wxWindow::FindFocus() == frame->m_panel_down; }));

    // Ctrl+Y redoes wherever the focus is, here in the delay field.
    Type(frame->m_spinctrl_delay, 25);
    Command(frame->m_menuItem_undo);
    ASSERT_EQ(frame->m_spinctrl_delay->GetValue(), 10);
    frame->m_spinctrl_delay->SetFocus();
    ASSERT_TRUE(RunUntil([this] { return wxWindow::FindFocus() == frame->m_spinctrl_delay; }));
    input.Char('Y', wxMOD_CONTROL);
    EXPECT_TRUE(RunUntil([this] { return frame->m_spinctrl_delay->GetValue() == 25; }));

    // Ctrl+N asks about the unsaved frames like Open Project; Yes without a file keeps them,
    // No empties the window.
    asked.clear();
    wxTEST_DIALOG(
        {
            input.Char('N', wxMOD_CONTROL);
            RunUntil([&] { return !asked.empty(); });
        },
        ExpectMessage(wxID_NO, &asked));
    EXPECT_TRUE(asked.StartsWith("The project is unsaved"));
    EXPECT_EQ(Strip().GetCount(), 0);
    EXPECT_EQ(Status(0), "");

    // Enter presses OK in the loop count dialog and in About, never the About link.
    AddFrames({{40, 30}});
    int pressed = wxID_NONE;
    wxTEST_DIALOG(Command(frame->m_menuItem_loop), NoteDefault<LoopCountDialog>(&pressed));
    EXPECT_EQ(pressed, wxID_OK);
    pressed = wxID_NONE;
    wxTEST_DIALOG(Command(frame->m_menuItem_about), NoteDefault<wxDialog>(&pressed));
    EXPECT_EQ(pressed, wxID_OK);

    // Alt and the underlined letter of a number field's label move into that field.
    ExportChoices best = frame->CurrentChoices();
    best.options.palette = PaletteMode::Best;
    ExportOptionsDialog options(frame, best, frame->ExportedAnimation());
    options.Show();
    options.Raise();
    ASSERT_TRUE(RunUntil([&options] { return options.IsActive(); }));
    const std::pair<char, wxWindow*> labelled[] = {
        {'N', options.m_spin_colours}, {'Q', options.m_spin_quality}, {'O', options.m_spin_loop}};
    for (const auto& [letter, field] : labelled) {
        input.Char(letter, wxMOD_ALT);
        EXPECT_TRUE(RunUntil([field = field] { return wxWindow::FindFocus() == field; })) << letter;
    }
}
