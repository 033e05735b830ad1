// Frame entries: thumbnails, frame references, name and label texts, and the cell drawing
// checked on real pixels (fills and borders per state, the thumbnail's place, the focus box).
#include "gui/strip_fixture.h"

#include "support/gui_harness.h"

#include <wx/dcmemory.h>
#include <wx/settings.h>

#include <algorithm>
#include <functional>

namespace {
const wxColour kPicture(200, 30, 30);

// The pixels of an area, row by row.
std::vector<wxColour> PixelsIn(const wxImage& image, const wxRect& area) {
    std::vector<wxColour> pixels;
    for (int y = area.y; y <= area.GetBottom(); ++y) {
        for (int x = area.x; x <= area.GetRight(); ++x) {
            pixels.push_back(PixelAt(image, x, y));
        }
    }
    return pixels;
}

int CountColour(const wxImage& image, const wxRect& area, const wxColour& colour) {
    const std::vector<wxColour> pixels = PixelsIn(image, area);
    return static_cast<int>(std::count(pixels.begin(), pixels.end(), colour));
}
} // namespace

// Cells are drawn at (10, 10) of a green bitmap with a 10 pixel frame.
class StripEntryTest : public StripTest {
protected:
    wxRect Cell() const {
        return wxRect(10, 10, m_strip->GetItemWidth(), m_strip->GetItemHeight());
    }
    wxRect ImageBox() const {
        wxRect image;
        m_strip->GetItemRectImage(image, 0, false);
        image.Offset(7, 7); // cell 0 lies at (3, 3)
        return image;
    }
    // The name line above the thumbnail box or the label line below it, inside the border.
    wxRect TextBox(bool name) const {
        const int gap = (Cell().height - ImageBox().height) / 2;
        return wxRect(13, name ? 13 : 13 + Cell().height - gap, Cell().width - 6, gap - 6);
    }

    wxImage Draw(const std::function<void(wxDC&)>& draw) const {
        wxBitmap bitmap(Cell().width + 20, Cell().height + 20, 24);
        {
            wxMemoryDC dc(bitmap);
            dc.SetBackground(*wxGREEN_BRUSH);
            dc.Clear();
            draw(dc);
        }
        return bitmap.ConvertToImage();
    }

    // Entry n in the given state, through the strip's painting hooks.
    wxImage Paint(int n, int state) const {
        return Draw([&](wxDC& dc) {
            EXPECT_TRUE(m_strip->PaintItemCell(n, dc, Cell(), ImageBox(), state));
            EXPECT_TRUE(m_strip->PaintItemThumbnail(n, dc, ImageBox(), state));
        });
    }

    // Whether entry n, unselected or selected without focus, shows exactly `text` in its name
    // line (centred) or its label line (left-aligned).
    bool Shows(int n, int state, bool name, const wxString& text, const wxColour& colour) const {
        const wxRect box = TextBox(name);
        const wxImage expected = Draw([&](wxDC& dc) {
            dc.SetBackground(wxBrush(state != 0 ? m_strip->GetSelectedUnfocusedColour()
                                                : m_strip->GetUnselectedColour()));
            dc.Clear();
            dc.SetFont(m_strip->GetFont());
            dc.SetTextForeground(colour);
            dc.SetClippingRegion(box);
            const int centred = box.x + std::max(0, (box.width - dc.GetTextExtent(text).x) / 2);
            dc.DrawText(text, name ? centred : box.x, box.y);
        });
        return PixelsIn(Paint(n, state), box) == PixelsIn(expected, box);
    }
};

TEST_F(StripEntryTest, EntriesShowThumbnailNameAndLabel) {
    const wxString gif = SourceFile(wxS("a.gif"));
    const wxString upper = SourceFile(wxS("b.GIF"));
    ASSERT_EQ(m_strip->Append(MakeEntry(gif, 400, 200, 12), 10), 0);
    ASSERT_EQ(m_strip->Append(MakeEntry(upper, 60, 50, 3), 10), 1);
    ASSERT_EQ(m_strip->Append(MakeEntry(SourceFile(wxS("plain")), 100, 80), 10), 2);
    AppendEntries(2);
    const auto entry = [this](int n) {
        return wxDynamicCast(m_strip->GetItem(n), wxImageThumbnailItem);
    };
    ASSERT_NE(entry(0), nullptr);
    EXPECT_EQ(entry(0)->GetThumbnail().GetSize(), wxSize(80, 40));
    EXPECT_EQ(entry(1)->GetThumbnail().GetSize(), wxSize(60, 50));
    EXPECT_EQ(entry(2)->GetThumbnail().GetSize(), wxSize(80, 64));
    // The full-size frame is kept and the decoded picture released.
    EXPECT_EQ(entry(0)->GetBitmap().GetSize(), wxSize(400, 200));
    EXPECT_EQ(entry(0)->GetImage(), nullptr);
    // A frame of a GIF file is named by its frame reference; upper-case ".GIF" is no GIF source.
    EXPECT_EQ(entry(0)->GetPath(), gif + wxS("_12"));
    EXPECT_EQ(entry(0)->GetFrameIndex(), 12);
    EXPECT_EQ(entry(1)->GetPath(), upper);

    m_strip->SetDelay(7);
    const wxColour black = *wxBLACK;
    const wxColour white = *wxWHITE;
    const wxColour label = m_strip->GetLabelColour();
    const int selected = THUMBSTRIP_STATE_SELECTED;
    const struct {
        int n;
        int state;
        bool name;
        const char* text;
        wxColour colour;
        bool shown;
    } lines[] = {
        {0, 0, true, "a.gif_12", black, true},
        {0, 0, true, "a.gif", black, false},
        {0, 0, false, "#1  0.00sec", label, true},
        // Upper-case ".GIF" is no frame reference, but its extension still earns a label.
        {1, 0, true, "b.GIF", black, true},
        {1, 0, false, "#2  0.07sec", label, true},
        {2, 0, true, "plain", black, true},
        {4, 0, false, "#5  0.28sec", label, true},
        {4, 0, false, "#5 0.28sec", label, false},
        // Selected cells write their texts in white.
        {4, selected, false, "#5  0.28sec", white, true},
        {4, selected, true, "frame.png", white, true},
    };
    for (const auto& line : lines) {
        EXPECT_EQ(Shows(line.n, line.state, line.name, line.text, line.colour), line.shown)
            << line.text;
    }
    // Without an extension there is no label line.
    const wxRect box = TextBox(false);
    EXPECT_EQ(CountColour(Paint(2, 0), box, m_strip->GetUnselectedColour()),
              box.width * box.height);
}

TEST_F(StripEntryTest, CellLooksFollowTheState) {
    m_strip->Append(MakeEntry(SourceFile(), 60, 50, 0, kPicture), 10);
    const wxRect cell = Cell();
    const wxRect image = ImageBox();
    const wxColour face = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    const wxColour white = *wxWHITE;
    const wxColour black = *wxBLACK;
    const int focused = THUMBSTRIP_STATE_CTRL_FOCUSED;
    const struct {
        int state;
        wxColour fill, topLeft, bottomRight;
        bool focusBox;
    } looks[] = {
        // Raised when unselected, sunken when selected.
        {0, face, white, black, false},
        {THUMBSTRIP_STATE_SELECTED, {175, 175, 175}, black, white, false},
        {THUMBSTRIP_STATE_SELECTED | focused, {140, 140, 140}, black, white, false},
        {focused | THUMBSTRIP_STATE_FOCUS_ITEM, face, white, black, true},
    };
    for (const auto& look : looks) {
        SCOPED_TRACE(look.state);
        const wxImage painted = Paint(0, look.state);
        EXPECT_EQ(PixelAt(painted, cell.x + 1, image.y + 40), look.fill);
        EXPECT_EQ(PixelAt(painted, cell.x + 20, cell.y), look.topLeft);
        EXPECT_EQ(PixelAt(painted, cell.x, cell.y + 20), look.topLeft);
        EXPECT_EQ(PixelAt(painted, cell.GetRight(), cell.y + 20), look.bottomRight);
        EXPECT_EQ(PixelAt(painted, cell.x + 20, cell.GetBottom()), look.bottomRight);
        // The 60 x 50 thumbnail is centred in its box.
        EXPECT_EQ(PixelAt(painted, image.x + 40, image.y + 40), kPicture);
        EXPECT_EQ(PixelAt(painted, image.x + 10, image.y + 15), kPicture);
        EXPECT_NE(PixelAt(painted, image.x + 9, image.y + 40), kPicture);
        EXPECT_NE(PixelAt(painted, image.x + 40, image.y + 14), kPicture);
        // The dotted focus box runs one pixel outside the thumbnail box, only for the focus
        // entry, in its own colour, unblended.
        const wxColour box(100, 80, 80);
        const int dots = CountColour(painted, wxRect(image.x - 1, image.y, 1, image.height), box);
        const int top = CountColour(painted, wxRect(image.x, image.y - 1, image.width, 1), box);
        EXPECT_EQ(dots > image.height / 4 && dots < image.height && top > 0, look.focusBox);
        EXPECT_EQ(dots == 0 && top == 0, !look.focusBox) << dots << " " << top;
    }
}

TEST_F(StripEntryTest, StripPaintsBackgroundAndCellsInPlace) {
    SetClientSize(300, 200);
    const wxColour background(176, 223, 227);
    m_strip->SetBackgroundColour(background);
    AppendEntries(4);
    m_strip->Select(1);
    wxRect cell1;
    m_strip->GetItemRect(cell1, 1, true);
    const wxPoint inCell1(cell1.x + 1, cell1.y + cell1.height / 2);

    // Through the strip's own paint into a memory DC.
    wxBitmap bitmap(300, 200, 24);
    {
        wxMemoryDC dc(bitmap);
        m_strip->PrepareDC(dc);
        m_strip->PaintContents(dc, wxRegion(0, 0, 300, 200), true);
    }
    const wxImage painted = bitmap.ConvertToImage();
    EXPECT_EQ(PixelAt(painted, 1, 1), background);
    const wxSize client = m_strip->GetClientSize();
    EXPECT_EQ(PixelAt(painted, client.x - 1, client.y - 1), background);
    EXPECT_EQ(PixelAt(painted, inCell1.x, inCell1.y), wxColour(140, 140, 140));
    EXPECT_EQ(PixelAt(painted, 4, inCell1.y), m_strip->GetUnselectedColour());

    // And on screen, where the off-screen buffer keeps what was shown.
    m_strip->Refresh();
    m_strip->m_cellsPainted = 0;
    ASSERT_TRUE(RunUntil([this] { return m_strip->m_cellsPainted >= 4; }));
    const wxImage shown = m_strip->GetPaintBuffer().ConvertToImage();
    EXPECT_EQ(PixelAt(shown, 1, 1), background);
    const wxColour selected = PixelAt(shown, inCell1.x, inCell1.y);
    EXPECT_TRUE(selected == wxColour(140, 140, 140) || selected == wxColour(175, 175, 175));
}
