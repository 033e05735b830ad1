// A thumbnail strip inside a plain frame, with source files on disk for its entries, shared by
// the strip's tests.
#pragma once

#include "window/thumbnailctrl.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/panel.h>

#include <utility>
#include <vector>

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
    // Records every selection notification as (selected, index) in the order sent.
    void RecordSelectionNotifications();

    wxFrame* m_frame = nullptr;
    wxPanel* m_panel = nullptr;
    wxThumbnailCtrl* m_strip = nullptr;
    wxString m_folder;
    std::vector<std::pair<bool, int>> m_notified;
};
