#include "gui/strip_fixture.h"

#include <utility>

void StripTest::SetUp() {
    m_frame =
        new wxFrame(nullptr, wxID_ANY, wxS("strip test"), wxDefaultPosition, wxSize(800, 600));
    m_strip = new CountingStrip(new wxPanel(m_frame), wxPoint(0, 0), wxSize(400, 300));
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

void StripTest::TearDown() {
    m_frame->Destroy();
    RunFor(10);
}

wxString StripTest::SourceFile(const wxString& name) {
    const wxString path = m_folder.File(name);
    return wxFileExists(path) ? path : WriteBytes(path, "");
}

wxImageThumbnailItem* StripTest::MakeEntry(const wxString& path, int width, int height,
                                           int frameIndex, const wxColour& colour) {
    auto* image =
        new wxImage(FilledImage(width, height, colour.Red(), colour.Green(), colour.Blue()));
    return new wxImageThumbnailItem(image, frameIndex, path);
}

void StripTest::AppendEntries(int count) {
    for (int i = 0; i < count; ++i) {
        ASSERT_GE(m_strip->Append(MakeEntry(SourceFile()), 10), 0);
    }
}

void StripTest::SetClientSize(int width, int height) {
    m_strip->SetClientSize(width, height);
    RunUntil([&] { return m_strip->GetClientSize() == wxSize(width, height); }, 1000);
    RunFor(20);
}

std::string StripTest::Notified() {
    return std::exchange(m_notified, std::string());
}

void StripTest::Press(wxEventType type, const wxPoint& point, int modifiers) {
    wxMouseEvent event(type);
    event.SetPosition(point);
    event.SetShiftDown((modifiers & THUMBSTRIP_MOD_SHIFT) != 0);
    event.SetControlDown((modifiers & THUMBSTRIP_MOD_CTRL) != 0);
    event.SetAltDown((modifiers & THUMBSTRIP_MOD_ALT) != 0);
    event.SetEventObject(m_strip);
    m_strip->GetEventHandler()->ProcessEvent(event);
}

void StripTest::PressOn(int n, int modifiers, wxEventType type) {
    wxRect rect;
    ASSERT_TRUE(m_strip->GetItemRect(rect, n, true));
    Press(type, rect.GetPosition() + wxPoint(rect.width / 2, rect.height / 2), modifiers);
}

std::vector<int> StripTest::Selection() const {
    const wxArrayInt& selected = m_strip->GetSelectedIndices();
    return std::vector<int>(selected.begin(), selected.end());
}

std::vector<int> StripTest::IndexMembers() const {
    return {m_strip->GetFocusItem(), m_strip->GetAnchorItem(), m_strip->GetLastSelected()};
}
