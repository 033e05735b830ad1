// A thumbnail strip inside a plain frame, with source files on disk for its entries, shared by
// the strip's tests.
#pragma once

#include "support/event_loop.h"
#include "support/test_files.h"
#include "window/thumbnailctrl.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/panel.h>

#include <string>
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

class StripTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A file that exists in the test's own folder, for entries whose source must be found.
    wxString SourceFile(const wxString& name = wxS("frame.png"));
    // A new entry of a width x height picture filled with one colour.
    static wxImageThumbnailItem* MakeEntry(const wxString& path, int width = 64, int height = 48,
                                           int frameIndex = 0,
                                           const wxColour& colour = wxColour(200, 30, 30));
    void AppendEntries(int count);
    // Gives the strip this client size and lets the toolkit settle.
    void SetClientSize(int width, int height);

    // The notifications since the last call, in the order sent: "+n" selected, "-n" deselected,
    // "Ln", "Rn", "Mn", "Dn" left, right, middle and double click, "En" Enter, each followed by
    // ":m" when it carries modifier bits m.
    std::string Notified();

    // Presses a mouse button over a client point or over the middle of an entry.
    void Press(wxEventType type, const wxPoint& point, int modifiers = 0);
    void PressOn(int n, int modifiers = 0, wxEventType type = wxEVT_LEFT_DOWN);
    std::vector<int> Selection() const;
    // The focus, anchor and last-selected entries.
    std::vector<int> IndexMembers() const;

    wxFrame* m_frame = nullptr;
    CountingStrip* m_strip = nullptr;
    TempFolder m_folder;
    std::string m_notified;
};
