// Cell size, columns, cell and image rectangles, hit testing, the scroll range and the paint
// buffer of the strip.
#include "gui/strip_fixture.h"

#include "support/gui_harness.h"

#include <wx/dcclient.h>

namespace {
wxSize PixelsPerUnit(const wxThumbnailCtrl& strip) {
    int x = -1;
    int y = -1;
    strip.GetScrollPixelsPerUnit(&x, &y);
    return wxSize(x, y);
}
} // namespace

TEST_F(StripTest, CellSizeFollowsTextHeight) {
    wxClientDC dc(m_strip);
    dc.SetFont(m_strip->GetFont());
    const int textHeight = dc.GetTextExtent(wxS("X")).y;
    ASSERT_GT(textHeight, 0);
    EXPECT_EQ(m_strip->GetTextHeight(), textHeight);
    EXPECT_EQ(m_strip->GetItemWidth(), 86);
    EXPECT_EQ(m_strip->GetItemHeight(), 80 + 12 + 2 * textHeight);

    // Without the label line the cell holds one text line and the image moves up by half of it.
    AppendEntries(1);
    wxRect withLabel;
    ASSERT_TRUE(m_strip->GetItemRectImage(withLabel, 0, false));
    EXPECT_EQ(withLabel, wxRect(3 + 3, 3 + (m_strip->GetItemHeight() - 80) / 2, 80, 80));
    m_strip->SetWindowStyleFlag(m_strip->GetWindowStyleFlag() & ~wxTHUMBSTRIP_SHOW_LABEL);
    m_strip->RecalcItemMetrics();
    EXPECT_EQ(m_strip->GetItemHeight(), 80 + 9 + textHeight);
    wxRect withoutLabel;
    ASSERT_TRUE(m_strip->GetItemRectImage(withoutLabel, 0, false));
    EXPECT_EQ(withoutLabel.y, 3 + (m_strip->GetItemHeight() - 80) / 2 - textHeight / 2);
}

TEST_F(StripTest, ColumnsFollowClientWidth) {
    AppendEntries(10);
    int row = -5;
    int col = -5;
    ASSERT_TRUE(m_strip->GetRowCol(4, wxSize(300, 500), row, col));
    EXPECT_EQ(row, 1);
    EXPECT_EQ(col, 1);
    // The leading gap is not subtracted: 4 x 89 pixels give 4 columns, one pixel less gives 3.
    ASSERT_TRUE(m_strip->GetRowCol(5, wxSize(356, 500), row, col));
    EXPECT_EQ(col, 1);
    ASSERT_TRUE(m_strip->GetRowCol(5, wxSize(355, 500), row, col));
    EXPECT_EQ(col, 2);
    // Narrower than one cell still gives one column.
    ASSERT_TRUE(m_strip->GetRowCol(4, wxSize(60, 500), row, col));
    EXPECT_EQ(row, 4);
    EXPECT_EQ(col, 0);
    ASSERT_TRUE(m_strip->GetRowCol(9, wxSize(0, 0), row, col));
    EXPECT_EQ(row, 9);

    row = col = -5;
    EXPECT_FALSE(m_strip->GetRowCol(10, wxSize(300, 500), row, col));
    EXPECT_FALSE(m_strip->GetRowCol(-1, wxSize(300, 500), row, col));
    EXPECT_EQ(row, -5);
    EXPECT_EQ(col, -5);
}

TEST_F(StripTest, RectanglesWithAndWithoutScrolling) {
    SetClientSize(300, 200);
    AppendEntries(20);
    const int h = m_strip->GetItemHeight();
    wxRect cell;
    ASSERT_TRUE(m_strip->GetItemRect(cell, 4, true));
    EXPECT_EQ(cell, wxRect(3 + 89, 3 + h + 3, 86, h));
    wxRect image;
    ASSERT_TRUE(m_strip->GetItemRectImage(image, 4, true));
    EXPECT_EQ(image, wxRect(cell.x + 3, cell.y + (h - 80) / 2, 80, 80));

    m_strip->Scroll(0, 5);
    RunFor(20);
    ASSERT_TRUE(m_strip->GetItemRect(cell, 4, true));
    EXPECT_EQ(cell.y, 3 + h + 3 - 50);
    ASSERT_TRUE(m_strip->GetItemRectImage(image, 4, true));
    EXPECT_EQ(image.y, cell.y + (h - 80) / 2);
    ASSERT_TRUE(m_strip->GetItemRect(cell, 4, false));
    EXPECT_EQ(cell.y, 3 + h + 3);

    const wxRect untouched(1, 2, 3, 4);
    wxRect rect = untouched;
    EXPECT_FALSE(m_strip->GetItemRect(rect, 20));
    EXPECT_FALSE(m_strip->GetItemRectImage(rect, -1));
    EXPECT_EQ(rect, untouched);
}

TEST_F(StripTest, HitTestFindsOnlyCellsAndTheirLeadingGaps) {
    SetClientSize(300, 400);
    AppendEntries(5);
    const int pitch = m_strip->GetItemHeight() + 3;
    int n = -1;
    EXPECT_TRUE(m_strip->HitTestItem(wxPoint(1, 1), n));
    EXPECT_EQ(n, 0);
    EXPECT_TRUE(m_strip->HitTestItem(wxPoint(89 + 1, 5), n)); // gap in front of cell 1
    EXPECT_EQ(n, 1);
    EXPECT_TRUE(m_strip->HitTestItem(wxPoint(3 * 89 - 1, 5), n)); // right edge of cell 2
    EXPECT_EQ(n, 2);
    EXPECT_TRUE(m_strip->HitTestItem(wxPoint(100, pitch + 10), n));
    EXPECT_EQ(n, 4);

    n = -1;
    EXPECT_FALSE(m_strip->HitTestItem(wxPoint(3 * 89 + 5, 10), n));    // right of the last column
    EXPECT_FALSE(m_strip->HitTestItem(wxPoint(200, pitch + 10), n));   // right of the last entry
    EXPECT_FALSE(m_strip->HitTestItem(wxPoint(10, 2 * pitch + 5), n)); // below the last row
    EXPECT_EQ(n, -1);

    // Scrolled by 50 pixels, a point near the top of row 1's cells on screen is in row 1.
    AppendEntries(15);
    m_strip->Scroll(0, 5);
    RunFor(20);
    EXPECT_TRUE(m_strip->HitTestItem(wxPoint(10, pitch - 50 + 5), n));
    EXPECT_EQ(n, 3);
}

TEST_F(StripTest, ScrollRangeCoversTheRows) {
    SetClientSize(300, 200);
    EXPECT_EQ(PixelsPerUnit(*m_strip), wxSize(0, 0));
    AppendEntries(7);
    const int total = 3 * (m_strip->GetItemHeight() + 3) + 3;
    EXPECT_EQ(PixelsPerUnit(*m_strip), wxSize(0, 10));
    EXPECT_EQ(m_strip->GetVirtualSize().y, total / 10 * 10);

    // Scrolled to the end, the position shrinks with the strip.
    m_strip->Scroll(0, 1000);
    RunFor(20);
    EXPECT_EQ(m_strip->GetViewStart().y, (total / 10 * 10 - 200) / 10);
    for (int i = 0; i < 4; ++i) {
        m_strip->Delete(0);
    }
    EXPECT_EQ(m_strip->GetViewStart().y, 0);

    m_strip->Clear();
    EXPECT_EQ(PixelsPerUnit(*m_strip), wxSize(0, 0));
}

TEST_F(StripTest, ScrollIntoViewBringsTheCellIn) {
    SetClientSize(300, 200);
    AppendEntries(30);
    const int pitch = m_strip->GetItemHeight() + 3;
    // Row 4 lies below: it is scrolled up until the cell and one gap end at the bottom edge.
    m_strip->ScrollIntoView(12);
    EXPECT_EQ(m_strip->GetViewStart().y, (3 + 4 * pitch + pitch - 200) / 10);
    // Row 1 now lies above: it is scrolled down to the top edge.
    m_strip->ScrollIntoViewForKey(WXK_UP, 3);
    EXPECT_EQ(m_strip->GetViewStart().y, (3 + pitch) / 10);
    // A visible cell and keys that do not move stay put.
    const int start = m_strip->GetViewStart().y;
    m_strip->ScrollIntoView(4);
    m_strip->ScrollIntoViewForKey(WXK_RETURN, 29);
    EXPECT_EQ(m_strip->GetViewStart().y, start);
}

TEST_F(StripTest, PaintBufferOnlyGrows) {
    SetClientSize(300, 200);
    EXPECT_GE(m_strip->GetPaintBuffer().GetWidth(), 300);
    EXPECT_GE(m_strip->GetPaintBuffer().GetHeight(), 200);
    SetClientSize(500, 400);
    const wxSize grown = m_strip->GetPaintBuffer().GetSize();
    EXPECT_GE(grown.x, 500);
    EXPECT_GE(grown.y, 400);
    SetClientSize(200, 100);
    EXPECT_EQ(m_strip->GetPaintBuffer().GetSize(), grown);
    // Growing in one direction keeps the size already reached in the other.
    EXPECT_TRUE(m_strip->EnsurePaintBuffer(wxSize(grown.x + 100, 50)));
    EXPECT_EQ(m_strip->GetPaintBuffer().GetSize(), wxSize(grown.x + 100, grown.y));
    EXPECT_FALSE(m_strip->EnsurePaintBuffer(wxSize(0, 10)));
}
