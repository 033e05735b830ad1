#include "gui/strip_fixture.h"

#include "support/gui_harness.h"

#include <wx/dir.h>
#include <wx/file.h>
#include <wx/filefn.h>
#include <wx/filename.h>

void StripTest::SetUp() {
    m_frame =
        new wxFrame(nullptr, wxID_ANY, wxS("strip test"), wxDefaultPosition, wxSize(800, 600));
    m_panel = new wxPanel(m_frame);
    m_strip = new wxThumbnailCtrl(m_panel, wxPoint(0, 0), wxSize(400, 300));
    m_frame->Show();
    RunUntil([this] { return m_strip->IsShownOnScreen(); });
    RunFor(30);
    m_folder = wxFileName::CreateTempFileName(wxS("reelmont-strip"));
    wxRemoveFile(m_folder);
    wxMkdir(m_folder);
}

void StripTest::TearDown() {
    m_frame->Destroy();
    RunFor(10);
    wxFileName::Rmdir(m_folder, wxPATH_RMDIR_RECURSIVE);
}

wxString StripTest::SourceFile(const wxString& name) {
    const wxString path = m_folder + wxFILE_SEP_PATH + name;
    if (!wxFileExists(path)) {
        wxFile file(path, wxFile::write);
    }
    return path;
}

wxImageThumbnailItem* StripTest::MakeEntry(const wxString& path, int width, int height,
                                           int frameIndex, const wxColour& colour) {
    auto* image = new wxImage(width, height);
    image->SetRGB(wxRect(0, 0, width, height), colour.Red(), colour.Green(), colour.Blue());
    return new wxImageThumbnailItem(image, frameIndex, path);
}

void StripTest::AppendEntries(int count) {
    const wxString path = SourceFile(wxS("frame.png"));
    for (int i = 0; i < count; ++i) {
        ASSERT_GE(m_strip->Append(MakeEntry(path), 10), 0);
    }
}

void StripTest::SetClientSize(int width, int height) {
    m_strip->SetClientSize(width, height);
    RunUntil([&] { return m_strip->GetClientSize() == wxSize(width, height); }, 1000);
    RunFor(20);
}

void StripTest::RecordSelectionNotifications() {
    m_strip->Bind(wxEVT_THUMBSTRIP_ITEM_SELECTED, [this](wxThumbnailEvent& event) {
        m_notified.emplace_back(true, event.GetItemIndex());
    });
    m_strip->Bind(wxEVT_THUMBSTRIP_ITEM_DESELECTED, [this](wxThumbnailEvent& event) {
        m_notified.emplace_back(false, event.GetItemIndex());
    });
}
