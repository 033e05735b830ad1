// Frame entries: thumbnails, frame references, name and label texts, and the cells as the strip
// paints them, checked on real pixels (fills and borders per state, the thumbnail's place, the
// focus box, the background).
#include "gui/strip_fixture.h"

#include <wx/dcmemory.h>
#include <wx/dcsvg.h>
#include <wx/settings.h>

#include <regex>

TEST_F(StripTest, EntriesShowThumbnailNameAndLabel) {
    const wxString gif = SourceFile(wxS("a.gif"));
    const wxString upper = SourceFile(wxS("b.GIF"));
    ASSERT_EQ(m_strip->Append(MakeEntry(gif, 400, 200, 12), 10), 0);
    ASSERT_EQ(m_strip->Append(MakeEntry(upper, 60, 50, 3), 10), 1);
    ASSERT_EQ(m_strip->Append(MakeEntry(SourceFile(wxS("plain")), 1000, 5), 10), 2);
    AppendEntries(2);
    auto* first = wxDynamicCast(m_strip->GetItem(0), wxImageThumbnailItem);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetThumbnail().GetSize(), wxSize(80, 40));
    // A picture too thin to keep a row when shrunk still has one.
    auto* thin = wxDynamicCast(m_strip->GetItem(2), wxImageThumbnailItem);
    EXPECT_EQ(thin->GetThumbnail().GetSize(), wxSize(80, 1));
    // The frame is kept compressed and the decoded picture released.
    ASSERT_NE(first->GetPixels(), nullptr);
    EXPECT_EQ(first->GetPixels()->Decode().GetSize(), wxSize(400, 200));
    EXPECT_EQ(first->GetImage(), nullptr);
    // A frame of a GIF file is named by its frame reference, whatever the case of ".gif".
    EXPECT_EQ(first->GetPath(), gif + wxS("_12"));
    EXPECT_EQ(m_strip->GetItem(1)->GetPath(), upper + wxS("_3"));

    // The texts the strip's paint draws, in order, each with its colour, from the paint recorded
    // as SVG. Without an extension there is no label; the
    // selected cell writes its texts in white.
    m_strip->SetDelay(7);
    m_strip->Select(4);
    const wxString path = m_folder.File(wxS("paint.svg"));
    {
        wxSVGFileDC dc(path, 400, 300);
        m_strip->PaintContents(dc, wxRegion(0, 0, 400, 300), false);
    }
    const std::string svg = ReadBytes(path);
    const std::regex text("fill:(#[0-9A-F]{6}); fill-opacity:[^>]*>([^<]*)</text>");
    std::string texts;
    for (std::sregex_iterator i(svg.begin(), svg.end(), text), end; i != end; ++i) {
        texts += (*i)[2].str() + " " + (*i)[1].str() + "|";
    }
    EXPECT_EQ(texts, "a.gif_12 #2E3436|#1  0.00sec #0000C8|b.GIF_3 #2E3436|#2  0.07sec #0000C8|"
                     "plain #2E3436|frame.png #2E3436|#4  0.21sec #0000C8|frame.png #FFFFFF|"
                     "#5  0.28sec #FFFFFF|");

    // A name too long for its cell loses its middle, never the frame number.
    m_strip->Clear();
    ASSERT_EQ(
        m_strip->Append(MakeEntry(SourceFile(wxS("a_long_walking_cycle.gif")), 60, 50, 105), 10),
        0);
    {
        wxSVGFileDC dc(path, 400, 300);
        m_strip->PaintContents(dc, wxRegion(0, 0, 400, 300), false);
    }
    const std::string drawn = ReadBytes(path);
    const size_t end = drawn.find(".gif_105<");
    ASSERT_NE(end, std::string::npos);
    EXPECT_NE(drawn.rfind("\xE2\x80\xA6", end), std::string::npos);
}

TEST_F(StripTest, CellLooksFollowTheStateAndTheFocus) {
    const wxColour background(176, 223, 227);
    m_strip->SetBackgroundColour(background);
    const wxColour picture(200, 30, 30);
    for (int i = 0; i < 3; ++i) {
        m_strip->Append(MakeEntry(SourceFile(), 60, 50, 0, picture), 10);
    }
    m_strip->Select(1);
    m_strip->SetFocusItem(2);
    const StripPalette& palette = m_strip->GetPalette();
    const wxColour face = ToColour(palette.cell);
    const struct {
        bool hasFocus;
        int n;
        wxColour fill, topLeft;
        bool focusBox;
    } looks[] = {
        // Raised when unselected, sunken when selected; the focus box is drawn only while the
        // strip has the keyboard focus.
        {false, 0, face, *wxWHITE, false},
        {false, 1, ToColour(palette.selectedUnfocused), *wxBLACK, false},
        {true, 1, ToColour(palette.selectedFocused), *wxBLACK, false},
        {false, 2, face, *wxWHITE, false},
        {true, 2, face, *wxWHITE, true},
    };
    wxRect cell;
    wxRect image;
    for (const auto& look : looks) {
        SCOPED_TRACE(testing::Message() << "case " << &look - looks);
        wxBitmap bitmap(m_strip->GetClientSize(), 24);
        {
            wxMemoryDC dc(bitmap);
            m_strip->PaintContents(dc, wxRegion(wxRect(m_strip->GetClientSize())), look.hasFocus);
        }
        const wxImage painted = bitmap.ConvertToImage();
        m_strip->GetItemRect(cell, look.n);
        m_strip->GetItemRectImage(image, look.n);
        EXPECT_EQ(PixelAt(painted, 1, 1), background);
        EXPECT_EQ(PixelAt(painted, cell.x + 1, image.y + 40), look.fill);
        EXPECT_EQ(PixelAt(painted, cell.x + 20, cell.y), look.topLeft);
        // The 60 x 50 thumbnail is centred in its box.
        EXPECT_EQ(PixelAt(painted, image.x + 10, image.y + 15), picture);
        EXPECT_NE(PixelAt(painted, image.x + 9, image.y + 40), picture);
        EXPECT_NE(PixelAt(painted, image.x + 40, image.y + 14), picture);
        // The dotted focus box runs one pixel outside the thumbnail box, in its own colour,
        // unblended.
        int dots = 0;
        for (int y = image.y; y < image.GetBottom(); ++y) {
            dots += PixelAt(painted, image.x - 1, y) == wxColour(100, 80, 80);
        }
        EXPECT_TRUE(look.focusBox ? dots > image.height / 4 && dots < image.height : dots == 0)
            << dots;
    }

    // On screen, the off-screen buffer keeps what was shown: the last cell, unselected.
    m_strip->Refresh();
    EXPECT_TRUE(RunUntil([&] {
        const wxImage shown = m_strip->GetPaintBuffer().ConvertToImage();
        return PixelAt(shown, 1, 1) == background &&
               PixelAt(shown, cell.x + 1, image.y + 40) == face;
    }));
}
