// Frame entries: thumbnails, frame references, and the cell drawing checked on real pixels
// (fills per state, borders, name and label texts and their places, focus box, thumbnail).
#include "gui/strip_fixture.h"

#include "support/gui_harness.h"

#include <wx/dcmemory.h>
#include <wx/settings.h>

namespace {
const wxColour kPicture(200, 30, 30);

// A cell and its thumbnail box placed at (10, 10) of a bitmap with a 10 pixel frame.
struct CellPlace {
    wxRect cell;
    wxRect image;
};

wxColour FillFor(const wxThumbnailCtrl& strip, int state) {
    if ((state & THUMBSTRIP_STATE_SELECTED) == 0) {
        return strip.GetUnselectedColour();
    }
    return (state & THUMBSTRIP_STATE_CTRL_FOCUSED) != 0 ? strip.GetSelectedFocusedColour()
                                                        : strip.GetSelectedUnfocusedColour();
}

int CountColour(const wxImage& image, const wxRect& area, const wxColour& colour) {
    int count = 0;
    for (int y = area.y; y < area.y + area.height; ++y) {
        for (int x = area.x; x < area.x + area.width; ++x) {
            count += PixelAt(image, x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

// Whether two pictures agree in every pixel of an area.
bool SameIn(const wxImage& a, const wxImage& b, const wxRect& area) {
    for (int y = area.y; y < area.y + area.height; ++y) {
        for (int x = area.x; x < area.x + area.width; ++x) {
            if (PixelAt(a, x, y) != PixelAt(b, x, y)) {
                return false;
            }
        }
    }
    return true;
}
} // namespace

class StripEntryTest : public StripTest {
protected:
    CellPlace Place(int n) const {
        CellPlace place;
        m_strip->GetItemRect(place.cell, n, false);
        m_strip->GetItemRectImage(place.image, n, false);
        const wxPoint shift = wxPoint(10, 10) - place.cell.GetPosition();
        place.cell.Offset(shift);
        place.image.Offset(shift);
        return place;
    }

    // Paints entry n in the given state through the strip's painting hooks into a memory DC.
    wxImage Paint(int n, int state) {
        const CellPlace place = Place(n);
        wxBitmap bitmap(place.cell.width + 20, place.cell.height + 20, 24);
        {
            wxMemoryDC dc(bitmap);
            dc.SetBackground(*wxGREEN_BRUSH);
            dc.Clear();
            EXPECT_TRUE(m_strip->PaintItemCell(n, dc, place.cell, place.image, state));
            EXPECT_TRUE(m_strip->PaintItemThumbnail(n, dc, place.image, state));
        }
        return bitmap.ConvertToImage();
    }

    // The same bitmap holding only the fill and one text drawn at (x, box.y), clipped to box.
    wxImage Text(int n, int state, const wxString& text, const wxRect& box, int x,
                 const wxColour& colour) {
        const CellPlace place = Place(n);
        wxBitmap bitmap(place.cell.width + 20, place.cell.height + 20, 24);
        {
            wxMemoryDC dc(bitmap);
            dc.SetBackground(wxBrush(FillFor(*m_strip, state)));
            dc.Clear();
            dc.SetFont(m_strip->GetFont());
            dc.SetTextForeground(colour);
            dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
            dc.SetClippingRegion(box);
            dc.DrawText(text, x, box.y);
        }
        return bitmap.ConvertToImage();
    }

    wxRect NameBox(int n) const {
        const CellPlace p = Place(n);
        return wxRect(p.cell.x + 3, p.cell.y + 3, p.cell.width - 6,
                      (p.cell.height - p.image.height) / 2 - 6);
    }

    wxRect LabelBox(int n) const {
        const CellPlace p = Place(n);
        const int gap = (p.cell.height - p.image.height) / 2;
        return wxRect(p.cell.x + 3, p.cell.y + p.cell.height - gap + 3, p.cell.width - 6, gap - 6);
    }

    // Whether the label line of entry n shows exactly `text`, left-aligned.
    bool ShowsLabel(int n, int state, const wxString& text, const wxColour& colour) {
        const wxRect box = LabelBox(n);
        return SameIn(Paint(n, state), Text(n, state, text, box, box.x, colour), box);
    }

    // Whether the name line of entry n shows exactly `text`, centred.
    bool ShowsName(int n, int state, const wxString& text, const wxColour& colour) {
        const wxRect box = NameBox(n);
        wxMemoryDC measure;
        measure.SetFont(m_strip->GetFont());
        const int x = box.x + std::max(0, (box.width - measure.GetTextExtent(text).x) / 2);
        return SameIn(Paint(n, state), Text(n, state, text, box, x, colour), box);
    }

    wxImageThumbnailItem* Entry(int n) const {
        return wxDynamicCast(m_strip->GetItem(n), wxImageThumbnailItem);
    }
};

TEST_F(StripEntryTest, ThumbnailsShrinkToFitTheBox) {
    const wxString path = SourceFile(wxS("picture.png"));
    ASSERT_EQ(m_strip->Append(MakeEntry(path, 400, 200), 10), 0);
    ASSERT_EQ(m_strip->Append(MakeEntry(path, 60, 50), 10), 1);
    ASSERT_EQ(m_strip->Append(MakeEntry(path, 100, 80), 10), 2);
    ASSERT_NE(Entry(0), nullptr);
    EXPECT_EQ(Entry(0)->GetThumbnail().GetSize(), wxSize(80, 40));
    EXPECT_EQ(Entry(1)->GetThumbnail().GetSize(), wxSize(60, 50));
    EXPECT_EQ(Entry(2)->GetThumbnail().GetSize(), wxSize(80, 64));
    // The full-size frame is kept and the decoded picture released.
    EXPECT_EQ(Entry(0)->GetBitmap().GetSize(), wxSize(400, 200));
    EXPECT_EQ(Entry(0)->GetImage(), nullptr);
    EXPECT_EQ(Entry(0)->GetPath(), path);
    EXPECT_EQ(Entry(0)->GetFrameIndex(), 0);
}

TEST_F(StripEntryTest, GifFramesAreNamedByFrameReference) {
    const wxString gif = SourceFile(wxS("a.gif"));
    const wxString upper = SourceFile(wxS("b.GIF"));
    const wxString bare = SourceFile(wxS("plain"));
    m_strip->Append(MakeEntry(gif, 64, 48, 12), 10);
    m_strip->Append(MakeEntry(upper, 64, 48, 3), 10);
    m_strip->Append(MakeEntry(bare), 10);
    EXPECT_EQ(Entry(0)->GetPath(), gif + wxS("_12"));
    EXPECT_EQ(Entry(0)->GetFrameIndex(), 12);
    EXPECT_EQ(Entry(1)->GetPath(), upper);

    const wxColour label = m_strip->GetLabelColour();
    EXPECT_TRUE(ShowsName(0, 0, wxS("a.gif_12"), *wxBLACK));
    EXPECT_FALSE(ShowsName(0, 0, wxS("a.gif"), *wxBLACK));
    EXPECT_TRUE(ShowsLabel(0, 0, wxS("#1  0.00sec"), label));
    // Upper-case ".GIF" is no frame reference, but its extension still earns a label.
    EXPECT_TRUE(ShowsName(1, 0, wxS("b.GIF"), *wxBLACK));
    EXPECT_TRUE(ShowsLabel(1, 0, wxS("#2  0.10sec"), label));
    // No extension: a name line but no label line.
    EXPECT_TRUE(ShowsName(2, 0, wxS("plain"), *wxBLACK));
    const wxImage bareCell = Paint(2, 0);
    EXPECT_EQ(CountColour(bareCell, LabelBox(2), m_strip->GetUnselectedColour()),
              LabelBox(2).width * LabelBox(2).height);
}

TEST_F(StripEntryTest, LabelShowsFrameNumberAndStartTime) {
    AppendEntries(5);
    m_strip->SetDelay(7);
    EXPECT_TRUE(ShowsLabel(4, 0, wxS("#5  0.28sec"), m_strip->GetLabelColour()));
    EXPECT_FALSE(ShowsLabel(4, 0, wxS("#5 0.28sec"), m_strip->GetLabelColour()));
    m_strip->SetDelay(10);
    EXPECT_TRUE(ShowsLabel(2, 0, wxS("#3  0.20sec"), m_strip->GetLabelColour()));
    // Selected cells write their texts in white.
    EXPECT_TRUE(ShowsLabel(2, THUMBSTRIP_STATE_SELECTED, wxS("#3  0.20sec"), *wxWHITE));
    EXPECT_TRUE(ShowsName(2, THUMBSTRIP_STATE_SELECTED, wxS("frame.png"), *wxWHITE));
}

TEST_F(StripEntryTest, CellLooksFollowTheState) {
    const wxString path = SourceFile(wxS("frame.png"));
    m_strip->Append(MakeEntry(path, 60, 50, 0, kPicture), 10);
    const CellPlace p = Place(0);
    const int right = p.cell.GetRight();
    const int bottom = p.cell.GetBottom();
    const wxPoint fillPoint(p.cell.x + 1, p.image.y + 40);

    const wxImage plain = Paint(0, 0);
    EXPECT_EQ(PixelAt(plain, fillPoint.x, fillPoint.y),
              wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
    // Raised: white top and left, black right and bottom.
    EXPECT_EQ(PixelAt(plain, p.cell.x + 20, p.cell.y), *wxWHITE);
    EXPECT_EQ(PixelAt(plain, p.cell.x, p.cell.y + 20), *wxWHITE);
    EXPECT_EQ(PixelAt(plain, right, p.cell.y + 20), *wxBLACK);
    EXPECT_EQ(PixelAt(plain, p.cell.x + 20, bottom), *wxBLACK);
    // The thumbnail is centred in its box.
    EXPECT_EQ(PixelAt(plain, p.image.x + 40, p.image.y + 40), kPicture);
    EXPECT_EQ(PixelAt(plain, p.image.x + 10, p.image.y + 15), kPicture);
    EXPECT_NE(PixelAt(plain, p.image.x + 9, p.image.y + 40), kPicture);
    EXPECT_NE(PixelAt(plain, p.image.x + 40, p.image.y + 14), kPicture);

    const wxImage unfocused = Paint(0, THUMBSTRIP_STATE_SELECTED);
    EXPECT_EQ(PixelAt(unfocused, fillPoint.x, fillPoint.y), wxColour(175, 175, 175));
    // Sunken: black top and left, white right and bottom.
    EXPECT_EQ(PixelAt(unfocused, p.cell.x + 20, p.cell.y), *wxBLACK);
    EXPECT_EQ(PixelAt(unfocused, p.cell.x, p.cell.y + 20), *wxBLACK);
    EXPECT_EQ(PixelAt(unfocused, right, p.cell.y + 20), *wxWHITE);
    EXPECT_EQ(PixelAt(unfocused, p.cell.x + 20, bottom), *wxWHITE);

    const wxImage focused = Paint(0, THUMBSTRIP_STATE_SELECTED | THUMBSTRIP_STATE_CTRL_FOCUSED);
    EXPECT_EQ(PixelAt(focused, fillPoint.x, fillPoint.y), wxColour(140, 140, 140));

    // The dotted focus box runs one pixel outside the thumbnail box, only for the focus entry,
    // in its own colour, unblended.
    const wxRect leftEdge(p.image.x - 1, p.image.y, 1, p.image.height);
    const wxColour box(100, 80, 80);
    EXPECT_EQ(CountColour(focused, leftEdge, box), 0);
    const wxImage withBox = Paint(0, THUMBSTRIP_STATE_CTRL_FOCUSED | THUMBSTRIP_STATE_FOCUS_ITEM);
    const int dots = CountColour(withBox, leftEdge, box);
    EXPECT_GT(dots, p.image.height / 4);
    EXPECT_LT(dots, p.image.height);
    EXPECT_GT(CountColour(withBox, wxRect(p.image.x, p.image.y - 1, p.image.width, 1), box), 0);
    EXPECT_EQ(PixelAt(withBox, fillPoint.x, fillPoint.y), m_strip->GetUnselectedColour());
}

TEST_F(StripEntryTest, StripPaintsBackgroundAndCellsInPlace) {
    SetClientSize(300, 200);
    m_strip->SetBackgroundColour(wxColour(176, 223, 227));
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
    EXPECT_EQ(PixelAt(painted, 1, 1), wxColour(176, 223, 227));
    const wxSize client = m_strip->GetClientSize();
    EXPECT_EQ(PixelAt(painted, client.x - 1, client.y - 1), wxColour(176, 223, 227));
    EXPECT_EQ(PixelAt(painted, inCell1.x, inCell1.y), wxColour(140, 140, 140));
    EXPECT_EQ(PixelAt(painted, 4, inCell1.y), m_strip->GetUnselectedColour());

    // And on screen, where the off-screen buffer keeps what was shown.
    m_strip->Refresh();
    m_strip->m_cellsPainted = 0;
    ASSERT_TRUE(RunUntil([this] { return m_strip->m_cellsPainted >= 4; }));
    const wxImage shown = m_strip->GetPaintBuffer().ConvertToImage();
    EXPECT_EQ(PixelAt(shown, 1, 1), wxColour(176, 223, 227));
    const wxColour selected = PixelAt(shown, inCell1.x, inCell1.y);
    EXPECT_TRUE(selected == wxColour(140, 140, 140) || selected == wxColour(175, 175, 175));
}
