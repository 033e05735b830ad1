// Columns, cell and image rectangles, hit testing, and scrolling into view.
#include "gui/strip_fixture.h"

TEST_F(StripTest, RectanglesAndHitsFollowColumnsAndScrolling) {
    SetClientSize(300, 400); // three columns of 86 + 3 pixels
    const int h = m_strip->GetItemHeight();
    const int p = h + 3;
    const wxRect none;
    const struct {
        int count;
        int scroll; // in units of 10 pixels
        wxPoint point;
        int hit; // -1 for none
        int n;
        wxRect cell; // on screen; none when there is no entry n
    } cases[] = {
        {5, 0, {1, 1}, 0, 0, {3, 3, 86, h}},
        {5, 0, {89 + 1, 5}, 1, 1, {92, 3, 86, h}}, // the gap in front of a cell is the cell's
        {5, 0, {3 * 89 - 1, 5}, 2, 2, {181, 3, 86, h}},
        {5, 0, {100, p + 10}, 4, 4, {92, 3 + p, 86, h}},
        {5, 0, {3 * 89 + 5, 10}, -1, 5, none}, // right of the last column
        {5, 0, {200, p + 10}, -1, -1, none},   // right of the last entry
        {5, 0, {10, 2 * p + 5}, -1, 20, none}, // below the last row
        {20, 5, {10, p - 50 + 5}, 3, 4, {92, 3 + p - 50, 86, h}},
        {20, 5, {150, 5}, 1, 19, {92, 3 + 6 * p - 50, 86, h}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        AppendEntries(c.count - m_strip->GetCount());
        m_strip->Scroll(0, c.scroll);
        RunFor(20);
        ASSERT_EQ(m_strip->GetViewStart().y, c.scroll);
        int n = -1;
        EXPECT_EQ(m_strip->HitTestItem(c.point, n), c.hit >= 0);
        EXPECT_EQ(n, c.hit);

        const wxRect untouched(1, 2, 3, 4);
        const bool valid = !c.cell.IsEmpty();
        wxRect cell = untouched, image = untouched, unscrolled = untouched;
        EXPECT_EQ(m_strip->GetItemRect(cell, c.n, true), valid);
        EXPECT_EQ(m_strip->GetItemRectImage(image, c.n, true), valid);
        EXPECT_EQ(m_strip->GetItemRect(unscrolled, c.n, false), valid);
        EXPECT_EQ(cell, valid ? c.cell : untouched);
        EXPECT_EQ(image, valid ? wxRect(c.cell.x + 3, c.cell.y + (h - 80) / 2, 80, 80) : untouched);
        EXPECT_EQ(unscrolled,
                  valid ? wxRect(c.cell.GetPosition() + wxPoint(0, 10 * c.scroll), c.cell.GetSize())
                        : untouched);
    }

    // Rows and columns for other client widths: the leading gap is not subtracted, so 4 x 89
    // pixels give 4 columns and one pixel less gives 3; narrower than a cell is one column.
    const struct {
        int item, width, row, col;
    } places[] = {{4, 300, 1, 1}, {5, 356, 1, 1}, {5, 355, 1, 2}, {4, 60, 4, 0}, {9, 0, 9, 0}};
    for (const auto& c : places) {
        int row = -5;
        int col = -5;
        ASSERT_TRUE(m_strip->GetRowCol(c.item, wxSize(c.width, 500), row, col));
        EXPECT_EQ(std::make_pair(row, col), std::make_pair(c.row, c.col)) << c.width;
    }
}

TEST_F(StripTest, ScrollingIntoViewShowsTheCellFromBelowOrAbove) {
    SetClientSize(300, 200);
    const int pitch = m_strip->GetItemHeight() + 3;
    AppendEntries(29);
    // Row 4 lies below: it is scrolled up until the cell and one gap are above the bottom edge,
    // never short of it.
    m_strip->ScrollIntoView(12);
    EXPECT_EQ(m_strip->GetViewStart().y, (3 + 4 * pitch + pitch - 200 + 9) / 10);
    // Row 1 now lies above: it is scrolled down to the top edge; a visible cell stays put.
    m_strip->ScrollIntoViewForKey(WXK_UP, 3);
    m_strip->ScrollIntoView(4);
    EXPECT_EQ(m_strip->GetViewStart().y, (3 + pitch) / 10);
}
