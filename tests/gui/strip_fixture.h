// A thumbnail strip inside a plain frame, with source files on disk for its entries, shared by
// the strip's tests.
#pragma once

#include "support/test_files.h"
#include "window/thumbnailctrl.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/panel.h>

#include <ostream>
#include <utility>
#include <vector>

// Counts the cells the strip asks to be painted.
class CountingStrip : public wxThumbnailCtrl {
public:
    using wxThumbnailCtrl::wxThumbnailCtrl;

    bool PaintItemCell(int n, wxDC& dc, const wxRect& rect, const wxRect& imageRect,
                       int state) override {
        ++m_cellsPainted;
        return wxThumbnailCtrl::PaintItemCell(n, dc, rect, imageRect, state);
    }

    int m_cellsPainted = 0;
};

// One notification as received: its type and entry.
struct Notified {
    wxEventType type;
    int index;
    int modifiers;
};

class StripTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A file that exists, for entries whose source must be found; `name` is created in the
    // test's own folder.
    wxString SourceFile(const wxString& name);
    // A new entry of a width x height picture filled with one colour.
    static wxImageThumbnailItem* MakeEntry(const wxString& path, int width = 64, int height = 48,
                                           int frameIndex = 0,
                                           const wxColour& colour = wxColour(200, 30, 30));
    // Appends count entries from one source file.
    void AppendEntries(int count);
    // Gives the strip this client size and lets the toolkit settle.
    void SetClientSize(int width, int height);

    // Records every notification of the strip in the order sent.
    void RecordNotifications();
    // The recorded selection notifications as (selected, index).
    std::vector<std::pair<bool, int>> SelectionNotifications() const;

    // Presses a mouse button over a client point or over the middle of an entry.
    void Press(wxEventType type, const wxPoint& point, int modifiers = 0);
    void PressOn(int n, int modifiers = 0, wxEventType type = wxEVT_LEFT_DOWN);
    // Sends a key to the strip as the toolkit delivers typed keys.
    void Key(int keyCode, int modifiers = 0);
    // The focus, anchor and last-selected entries.
    std::vector<int> IndexMembers() const;

    wxFrame* m_frame = nullptr;
    wxPanel* m_panel = nullptr;
    CountingStrip* m_strip = nullptr;
    TempFolder m_folder;
    std::vector<Notified> m_notified;
};

wxArrayInt Indices(std::initializer_list<int> values);

// Lets failed comparisons show colours as "RGB(r, g, b)".
void PrintTo(const wxColour& colour, std::ostream* os);
