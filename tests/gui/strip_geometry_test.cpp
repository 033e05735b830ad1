// Cell size, columns, cell and image rectangles, hit testing and the scroll range of the strip.
#include "gui/strip_fixture.h"

#include "support/gui_harness.h"

#include <wx/dcclient.h>

TEST_F(StripTest, CellSizeFollowsTextHeight) {
    wxClientDC dc(m_strip);
    dc.SetFont(m_strip->GetFont());
    const int textHeight = dc.GetTextExtent(wxS("X")).y;
    ASSERT_GT(textHeight, 0);
    EXPECT_EQ(m_strip->GetTextHeight(), textHeight);
    EXPECT_EQ(m_strip->GetItemWidth(), 86);
    EXPECT_EQ(m_strip->GetItemHeight(), 80 + 12 + 2 * textHeight);
    EXPECT_EQ(m_strip->GetId(), ID_THUMBNAIL_CTRL);
    EXPECT_TRUE(m_strip->IsKindOf(wxCLASSINFO(wxScrolledWindow)));
    EXPECT_STREQ(m_strip->GetClassInfo()->GetClassName(), wxS("wxThumbnailCtrl"));
}
