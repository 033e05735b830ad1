// The frame tools on a real main window: each changes the frames or their view as one edit,
// the output size follows, and Undo brings back the very animation.
#include "gui/window_fixture.h"
#include "window/crop_dialog.h"
#include "window/number_dialog.h"

#include <wx/checkbox.h>

namespace {

// Answers the Crop dialog with a rectangle typed into it, keeping the one it offered.
class ChooseCrop : public wxExpectModalBase<CropDialog, ChooseCrop> {
public:
    ChooseCrop(const wxRect& crop, wxRect* offered) : m_crop(crop), m_offered(offered) {}

protected:
    int OnInvoked(CropDialog* dialog) const override {
        *m_offered = dialog->GetCrop();
        dialog->SetCrop(m_crop);
        return wxID_OK;
    }

private:
    wxRect m_crop;
    wxRect* m_offered;
};

// Answers Change Speed or Remove Duplicate Frames with a number, for the selected frames only
// where asked.
class ChooseNumber : public wxExpectModalBase<NumberDialog, ChooseNumber> {
public:
    ChooseNumber(int number, bool onlySelected) : m_number(number), m_onlySelected(onlySelected) {}

protected:
    int OnInvoked(NumberDialog* dialog) const override {
        dialog->m_spin_number->SetValue(m_number);
        if (m_onlySelected) {
            dialog->m_check_selected->SetValue(true);
        }
        return wxID_OK;
    }

private:
    int m_number;
    bool m_onlySelected;
};

struct FrameTools : WindowTest {
    wxSize Shown() { return frame->m_currentPicture.GetSize(); }
};

} // namespace

TEST_F(FrameTools, EachToolIsOneEditThatUndoTakesBack) {
    Import(frame->m_menuItem_add,
           {WritePng(folder.File("a.png"), 120, 90), WritePng(folder.File("b.png"), 120, 90, 0),
            testgif::WriteAnimation(folder.File("c.gif"), 1, 120, 90)});
    const std::vector<wxString> abc = {"a.png", "b.png", "c.gif_0"};
    wxRect offered;
    const struct {
        wxMenuItem* command;
        std::vector<int> selected; // before the command
        std::vector<wxString> names;
        wxSize size;
        const char* undo;
        wxRect crop = {}; // typed into the Crop dialog
        wxRect offers = {};
        int number = -1; // typed into Change Speed or Remove Duplicate Frames
        bool onlySelected = false;
        std::vector<int> delays = {}; // each frame's delay after it, where it changes
        const char* told = "";        // the message that follows
    } cases[] = {
        // Whole hundredths adding up; only the selected frames where asked.
        {frame->m_menuItem_speed,
         {},
         abc,
         {120, 90},
         "Undo Change Speed",
         {},
         {},
         300,
         false,
         {3, 3, 4}},
        {frame->m_menuItem_speed,
         {1},
         abc,
         {120, 90},
         "Undo Change Speed",
         {},
         {},
         25,
         true,
         {3, 12, 4}},
        {frame->m_menuItem_rotateright, {}, abc, {90, 120}, "Undo Rotate 90° Right"},
        {frame->m_menuItem_fliph, {}, abc, {90, 120}, "Undo Flip Horizontally"},
        // The dialog shows the turned picture whole; a crop typed there is kept, turned along.
        {frame->m_menuItem_crop, {}, abc, {30, 40}, "Undo Crop", {10, 20, 30, 40}, {0, 0, 90, 120}},
        {frame->m_menuItem_rotate180, {}, abc, {30, 40}, "Undo Rotate 180°"},
        {frame->m_menuItem_rotateleft, {}, abc, {40, 30}, "Undo Rotate 90° Left"},
        // Offered again where it now shows: 20 px in from the source's left, mirrored.
        {frame->m_menuItem_crop, {}, abc, {20, 30}, "Undo Crop", {0, 0, 20, 30}, {60, 10, 40, 30}},
        {frame->m_menuItem_flipv, {}, abc, {20, 30}, "Undo Flip Vertically"},
        // A frame of a GIF file is copied with its delay, and merged back with the time of both.
        {frame->m_menuItem_duplicate,
         {2},
         {"a.png", "b.png", "c.gif_0", "c.gif_0"},
         {20, 30},
         "Undo Duplicate",
         {},
         {},
         -1,
         false,
         {3, 12, 4, 4}},
        {frame->m_menuItem_duplicates,
         {},
         abc,
         {20, 30},
         "Undo Remove Duplicate Frames",
         {},
         {},
         0,
         false,
         {3, 12, 8},
         "1 repeated frames were removed"},
        {frame->m_menuItem_pingpong,
         {},
         {"a.png", "b.png", "c.gif_0", "b.png"},
         {20, 30},
         "Undo Ping-Pong",
         {},
         {},
         -1,
         false,
         {3, 12, 8, 12}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.undo);
        Strip().SetSelection(c.selected);
        wxString told;
        if (*c.told) {
            wxTEST_DIALOG(Command(c.command), ChooseNumber(c.number, c.onlySelected),
                          ExpectMessage(wxID_OK, &told));
            EXPECT_TRUE(told.StartsWith(c.told)) << told;
        } else if (c.number >= 0) {
            wxTEST_DIALOG(Command(c.command), ChooseNumber(c.number, c.onlySelected));
        } else if (c.crop.IsEmpty()) {
            Command(c.command);
        } else {
            wxTEST_DIALOG(Command(c.command), ChooseCrop(c.crop, &offered));
            EXPECT_EQ(offered, c.offers);
        }
        EXPECT_EQ(Names(), c.names);
        EXPECT_EQ(frame->m_spinctrl_width->GetValue(), c.size.x);
        EXPECT_EQ(frame->m_spinctrl_height->GetValue(), c.size.y);
        EXPECT_EQ(Shown(), c.size);
        if (!c.delays.empty()) {
            EXPECT_EQ(frame->GetAnimation().Delays(), c.delays);
        }
        frame->UpdateEditMenu();
        EXPECT_EQ(frame->m_menuItem_undo->GetItemLabelText(), c.undo);
    }
    // The copies are frames of their own, shown as the others; the new ones are selected.
    EXPECT_EQ(Selection(), (std::vector<int>{3}));
    for (int n = 0; n < Strip().GetCount(); ++n) {
        frame->PreviewFrame(n);
        EXPECT_EQ(Shown(), wxSize(20, 30)) << n;
    }

    // The view went through every turn and flip and two crops: the saved GIF holds the frames
    // as shown, each the 20 x 30 the fields say.
    answer = {folder.File("tools.gif")};
    Save(frame->m_menuItem_saveas);
    const wxString saved = folder.File("tools.gif");
    ASSERT_EQ(wxImage::GetImageCount(saved, wxBITMAP_TYPE_GIF), 4);
    for (int n = 0; n < 4; ++n) {
        EXPECT_EQ(wxImage(saved, wxBITMAP_TYPE_GIF, n).GetSize(), wxSize(20, 30)) << n;
    }

    for (size_t k = 0; k < std::size(cases); ++k) {
        Command(frame->m_menuItem_undo);
    }
    EXPECT_EQ(Names(), abc);
    EXPECT_EQ(frame->CurrentSettings(), (AnimationSettings{10, 120, 90, {}}));
    EXPECT_EQ(Shown(), wxSize(120, 90));
    EXPECT_EQ(Status(0), "tools.gif (120 * 90)px");

    // Redone, saved in a project and opened again, the frames are shown as before.
    for (size_t k = 0; k < std::size(cases); ++k) {
        Command(frame->m_menuItem_redo);
    }
    const AnimationSettings redone = frame->CurrentSettings();
    answer = {folder.File("tools.xml")};
    ASSERT_TRUE(frame->SaveProjectFile());
    Restart();
    frame->OpenProjectFile(folder.File("tools.xml"));
    ASSERT_TRUE(RunUntil([this] { return frame->m_progressDialog == nullptr; }));
    EXPECT_EQ(Names().size(), 4u);
    EXPECT_EQ(frame->GetAnimation().Delays(), (std::vector<int>{3, 12, 8, 12}));
    EXPECT_EQ(frame->CurrentSettings(), redone);
    EXPECT_EQ(Shown(), wxSize(20, 30));
    EXPECT_TRUE(frame->IsProjectUnchanged());
}
