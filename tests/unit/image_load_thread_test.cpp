#include "app/worker_event.h"
#include "gif_test_file.h"
#include "import/image_load_thread.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

#include <memory>
#include <vector>

namespace {
struct Received {
    int id;
    wxString path;
    int progress;
    long frame;
    std::unique_ptr<wxImage> image;
};

// Stands in for the main window: takes over every event the worker queues.
class EventCollector : public wxEvtHandler {
public:
    EventCollector() {
        Bind(wxEventTypeTag<wxCommandEvent>(wxEVT_WORKER_UPDATE), &EventCollector::OnUpdate, this);
    }
    std::vector<Received> events;

private:
    void OnUpdate(wxCommandEvent& event) {
        events.push_back({event.GetId(), event.GetString(), event.GetInt(), event.GetExtraLong(),
                          std::unique_ptr<wxImage>(static_cast<wxImage*>(event.GetClientData()))});
    }
};

struct ImportWorker : ::testing::Test {
    wxString folder;
    EventCollector collector;

    void SetUp() override {
        folder = wxFileName::CreateTempFileName("reelmont");
        wxRemoveFile(folder);
        wxMkdir(folder);
    }
    void TearDown() override { wxFileName::Rmdir(folder, wxPATH_RMDIR_RECURSIVE); }

    wxString Gif(const wxString& name, int frames) {
        testgif::File file{4, 4, {{200, 0, 0}, {0, 180, 0}, {0, 0, 220}, {255, 255, 255}}, {}};
        file.frames.push_back(testgif::Patch(0, 0, 4, 4, 0));
        for (int f = 1; f < frames; ++f) {
            file.frames.push_back(testgif::Patch(f % 4, 0, 1, 1, f % 3 + 1));
        }
        const wxString path = folder + "/" + name;
        EXPECT_TRUE(testgif::Write(path, file));
        return path;
    }
    wxString Png(const wxString& name) {
        const wxString path = folder + "/" + name;
        EXPECT_TRUE(wxImage(6, 2).SaveFile(path, wxBITMAP_TYPE_PNG));
        return path;
    }

    // Runs a worker over the list and takes the events until the one that completes the
    // import has arrived.
    void Import(const std::vector<wxString>& paths) {
        wxArrayString files;
        for (const wxString& path : paths) {
            files.push_back(path);
        }
        auto* worker = new ImageLoadThread(&collector, files);
        ASSERT_EQ(worker->Create(), wxTHREAD_NO_ERROR);
        ASSERT_EQ(worker->Run(), wxTHREAD_NO_ERROR);
        wxStopWatch clock;
        while ((collector.events.empty() || collector.events.back().progress != 100) &&
               clock.Time() < 10000) {
            wxTheApp->ProcessPendingEvents();
            wxMilliSleep(1);
        }
        ASSERT_FALSE(collector.events.empty());
        ASSERT_EQ(collector.events.back().progress, 100);
        // Nothing may follow the completing event.
        const size_t received = collector.events.size();
        wxMilliSleep(20);
        wxTheApp->ProcessPendingEvents();
        ASSERT_EQ(collector.events.size(), received);
    }

    std::vector<int> Progress() const {
        std::vector<int> values;
        for (const Received& event : collector.events) {
            values.push_back(event.progress);
        }
        return values;
    }
    std::vector<long> Frames() const {
        std::vector<long> values;
        for (const Received& event : collector.events) {
            values.push_back(event.frame);
        }
        return values;
    }
};
} // namespace

TEST_F(ImportWorker, GifFramesThenStillsInListOrder) {
    const wxString gif = Gif("ten.gif", 10);
    const wxString a = Png("a.png");
    const wxString b = Png("b.png");
    Import({gif, a, b});
    ASSERT_EQ(collector.events.size(), 12u);
    EXPECT_EQ(Progress(), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 66, 100}));
    EXPECT_EQ(Frames(), (std::vector<long>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0}));
    for (size_t e = 0; e < collector.events.size(); ++e) {
        const Received& event = collector.events[e];
        EXPECT_EQ(event.id, ID_IMPORT_WORKER);
        EXPECT_EQ(event.path, e < 10 ? gif : e == 10 ? a : b);
        ASSERT_TRUE(event.image && event.image->IsOk());
        // Every GIF frame has the full screen size, patches included.
        EXPECT_EQ(event.image->GetSize(), e < 10 ? wxSize(4, 4) : wxSize(6, 2));
    }
}

TEST_F(ImportWorker, OneGifReportsCompletionOnItsLastFrame) {
    Import({Gif("four.gif", 4)});
    EXPECT_EQ(Progress(), (std::vector<int>{0, 0, 0, 100}));
    EXPECT_EQ(Frames(), (std::vector<long>{0, 1, 2, 3}));
    EXPECT_TRUE(collector.events.back().image);
}

TEST_F(ImportWorker, FrameReferenceGivesThatFrameUnderThePlainPath) {
    const wxString gif = Gif("x.gif", 5);
    Import({gif + "_2"});
    ASSERT_EQ(collector.events.size(), 1u);
    EXPECT_EQ(collector.events[0].path, gif);
    EXPECT_EQ(collector.events[0].frame, 2);
    EXPECT_EQ(collector.events[0].progress, 100);
    EXPECT_TRUE(collector.events[0].image);
}

TEST_F(ImportWorker, UpperCaseGifIsAnOrdinaryImage) {
    const wxString upper = folder + "/y.GIF";
    ASSERT_TRUE(wxRenameFile(Gif("y.gif", 3), upper));
    Import({upper});
    ASSERT_EQ(collector.events.size(), 1u);
    EXPECT_EQ(collector.events[0].frame, 0);
    EXPECT_EQ(collector.events[0].progress, 100);
    EXPECT_EQ(collector.events[0].path, upper);
}

TEST_F(ImportWorker, ImportAlwaysEndsWithACompletingEvent) {
    // The last path yields nothing: an extra event without a picture completes the import.
    wxFFile(folder + "/bad.png", "wb").Write("not a picture", 13);
    Import({Png("a.png"), Gif("two.gif", 2), folder + "/bad.png"});
    EXPECT_EQ(Progress(), (std::vector<int>{33, 33, 33, 100}));
    EXPECT_EQ(collector.events.back().id, ID_IMPORT_WORKER);
    EXPECT_FALSE(collector.events.back().image);
    collector.events.clear();

    // A frame number the file does not hold, and a missing file: only the completing event.
    Import({Gif("x.gif", 5) + "_9", folder + "/missing.png"});
    ASSERT_EQ(collector.events.size(), 1u);
    EXPECT_FALSE(collector.events[0].image);
    collector.events.clear();

    Import({});
    ASSERT_EQ(collector.events.size(), 1u);
    EXPECT_EQ(collector.events[0].progress, 100);
    EXPECT_FALSE(collector.events[0].image);
}
