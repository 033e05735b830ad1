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
#include <utility>
#include <vector>

class StripTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_frame =
            new wxFrame(nullptr, wxID_ANY, wxS("strip test"), wxDefaultPosition, wxSize(800, 600));
        m_strip = new wxThumbnailCtrl(new wxPanel(m_frame), wxPoint(0, 0), wxSize(400, 300));
        // Notifications are recorded as the owning window hears them, by the strip's id.
        const std::pair<const wxEventTypeTag<wxThumbnailEvent>*, const char*> marks[] = {
            {&wxEVT_THUMBSTRIP_ITEM_SELECTED, "+"}, {&wxEVT_THUMBSTRIP_ITEM_DESELECTED, "-"},
            {&wxEVT_THUMBSTRIP_LEFT_CLICK, "L"},    {&wxEVT_THUMBSTRIP_RIGHT_CLICK, "R"},
            {&wxEVT_THUMBSTRIP_MIDDLE_CLICK, "M"},  {&wxEVT_THUMBSTRIP_LEFT_DCLICK, "D"},
            {&wxEVT_THUMBSTRIP_RETURN, "E"}};
        for (const auto& [type, mark] : marks) {
            m_frame->Bind(
                *type,
                [this, mark = mark](wxThumbnailEvent& event) {
                    EXPECT_EQ(event.GetEventObject(), m_strip);
                    m_notified += (m_notified.empty() ? "" : " ") + std::string(mark) +
                                  std::to_string(event.GetItemIndex());
                    if (event.GetModifiers() != 0) {
                        m_notified += ":" + std::to_string(event.GetModifiers());
                    }
                },
                ID_THUMBNAIL_CTRL);
        }
        m_frame->Show();
        RunUntil([this] { return m_strip->IsShownOnScreen(); });
        RunFor(30);
    }
    void TearDown() override {
        m_frame->Destroy();
        RunFor(10);
    }

    // A file that exists in the test's own folder, for entries whose source must be found.
    wxString SourceFile(const wxString& name = wxS("frame.png")) {
        const wxString path = m_folder.File(name);
        return wxFileExists(path) ? path : WriteBytes(path, "");
    }
    // A new entry of a width x height picture filled with one colour.
    static wxImageThumbnailItem* MakeEntry(const wxString& path, int width = 64, int height = 48,
                                           int frameIndex = 0,
                                           const wxColour& colour = wxColour(200, 30, 30)) {
        auto* image =
            new wxImage(FilledImage(width, height, colour.Red(), colour.Green(), colour.Blue()));
        return new wxImageThumbnailItem(image, frameIndex, path);
    }
    void AppendEntries(int count) {
        for (int i = 0; i < count; ++i) {
            ASSERT_GE(m_strip->Append(MakeEntry(SourceFile()), 10), 0);
        }
    }
    // Gives the strip this client size and lets the toolkit settle.
    void SetClientSize(int width, int height) {
        m_strip->SetClientSize(width, height);
        RunUntil([&] { return m_strip->GetClientSize() == wxSize(width, height); }, 1000);
        RunFor(20);
    }

    // The notifications since the last call, in the order sent: "+n" selected, "-n" deselected,
    // "Ln", "Rn", "Mn", "Dn" left, right, middle and double click, "En" Enter, each followed by
    // ":m" when it carries modifier bits m.
    std::string Notified() { return std::exchange(m_notified, std::string()); }

    // Presses a mouse button over a client point or over the middle of an entry.
    void Press(wxEventType type, const wxPoint& point, int modifiers = 0) {
        wxMouseEvent event(type);
        event.SetPosition(point);
        event.SetShiftDown((modifiers & THUMBSTRIP_MOD_SHIFT) != 0);
        event.SetControlDown((modifiers & THUMBSTRIP_MOD_CTRL) != 0);
        event.SetAltDown((modifiers & THUMBSTRIP_MOD_ALT) != 0);
        event.SetEventObject(m_strip);
        m_strip->GetEventHandler()->ProcessEvent(event);
    }
    void PressOn(int n, int modifiers = 0, wxEventType type = wxEVT_LEFT_DOWN) {
        wxRect rect;
        ASSERT_TRUE(m_strip->GetItemRect(rect, n, true));
        Press(type, rect.GetPosition() + wxPoint(rect.width / 2, rect.height / 2), modifiers);
    }
    std::vector<int> Selection() const {
        const wxArrayInt& selected = m_strip->GetSelectedIndices();
        return std::vector<int>(selected.begin(), selected.end());
    }
    // The focus, anchor and last-selected entries.
    std::vector<int> IndexMembers() const {
        return {m_strip->GetFocusItem(), m_strip->GetAnchorItem(), m_strip->GetLastSelected()};
    }

    wxFrame* m_frame = nullptr;
    wxThumbnailCtrl* m_strip = nullptr;
    TempFolder m_folder;
    std::string m_notified;
};
