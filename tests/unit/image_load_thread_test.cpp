// The import worker: the events it queues for each list of files, in order, and always a last
// one that completes the import.
#include "app/worker_event.h"
#include "import/image_load_thread.h"
#include "support/event_loop.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <atomic>
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
struct EventCollector : wxEvtHandler {
    EventCollector() {
        Bind(wxEventTypeTag<wxCommandEvent>(wxEVT_WORKER_UPDATE), [this](wxCommandEvent& event) {
            events.push_back(
                {event.GetId(), event.GetString(), event.GetInt(), event.GetExtraLong(),
                 std::unique_ptr<wxImage>(static_cast<wxImage*>(event.GetClientData()))});
        });
    }
    std::vector<Received> events;
};

// Runs a worker over the list and takes the events until the one that completes the import.
// With a memory limit, the files refused for it go to `refused`.
std::vector<Received> Import(const std::vector<wxString>& paths, unsigned long long memory = 0,
                             wxArrayString* refused = nullptr) {
    EventCollector collector;
    wxArrayString files;
    for (const wxString& path : paths) {
        files.push_back(path);
    }
    auto* worker = new ImageLoadThread(&collector, files);
    const auto refusals = std::make_shared<RefusedFiles>();
    if (memory) {
        worker->LimitMemory(memory, refusals);
    }
    EXPECT_EQ(worker->Run(), wxTHREAD_NO_ERROR);
    auto& events = collector.events;
    EXPECT_TRUE(RunUntil([&] { return !events.empty() && events.back().progress == 100; }));
    // Nothing may follow the completing event.
    const size_t received = events.size();
    RunFor(20);
    EXPECT_EQ(events.size(), received);
    for (const Received& event : events) {
        EXPECT_EQ(event.id, ID_IMPORT_WORKER);
    }
    if (refused) {
        *refused = refusals->paths;
    }
    return std::move(events);
}
} // namespace

TEST(ImportWorker, EventsForEachKindOfList) {
    TempFolder folder;
    const wxString ten = testgif::WriteAnimation(folder.File("ten.gif"), 10, 4, 4);
    const wxString four = testgif::WriteAnimation(folder.File("four.gif"), 4, 4, 4);
    const wxString two = testgif::WriteAnimation(folder.File("two.gif"), 2, 4, 4);
    const wxString a = WritePng(folder.File("a.png"), 6, 2);
    const wxString b = WritePng(folder.File("b.png"), 6, 2);
    const wxString bad = WriteBytes(folder.File("bad.png"), "not a picture");
    const wxString gone = folder.File("missing.png");
    struct Case {
        std::vector<wxString> paths;
        std::vector<int> progress;
        std::vector<long> frames;      // of the events that carry a picture
        std::vector<wxString> sources; // "" for the completing event without a picture
        unsigned long long memory = 0; // bytes the frames may take; 0 for no limit
        std::vector<wxString> refused = {};
    };
    const Case cases[] = {
        {{ten, a, b},
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 66, 100},
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0},
         {ten, ten, ten, ten, ten, ten, ten, ten, ten, ten, a, b}},
        // A frame reference gives that frame under the plain path.
        {{ten + "_2"}, {100}, {2}, {ten}},
        // The last path yields nothing: an extra event without a picture completes the import.
        {{a, two, bad}, {33, 33, 33, 100}, {0, 0, 1}, {a, two, two, ""}},
        // Frame numbers are not checked where none is given.
        {{ten + "_10", gone}, {100}, {}, {""}},
        {{}, {100}, {}, {""}},
        // 4 x 4 frames take 64 bytes each: ten fit, four more would not.
        {{ten, four, a},
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 100},
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0},
         {ten, ten, ten, ten, ten, ten, ten, ten, ten, ten, a},
         700,
         {four}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.paths.empty() ? wxString("nothing") : c.paths[0]);
        wxArrayString refused;
        const std::vector<Received> events = Import(c.paths, c.memory, &refused);
        EXPECT_EQ(std::vector<wxString>(refused.begin(), refused.end()), c.refused);
        ASSERT_EQ(events.size(), c.progress.size());
        for (size_t e = 0; e < events.size(); ++e) {
            SCOPED_TRACE(e);
            EXPECT_EQ(events[e].progress, c.progress[e]);
            if (c.sources[e].empty()) {
                EXPECT_FALSE(events[e].image);
                continue;
            }
            EXPECT_EQ(events[e].frame, c.frames[e]);
            EXPECT_EQ(events[e].path, c.sources[e]);
            ASSERT_TRUE(events[e].image && events[e].image->IsOk());
            // Every GIF frame has the full screen size, patches included.
            EXPECT_EQ(events[e].image->GetSize(),
                      c.sources[e] == a || c.sources[e] == b ? wxSize(6, 2) : wxSize(4, 4));
        }
    }
}

TEST(ImportWorker, WaitsWhileTheReceiverHasNotTakenItsBacklog) {
    TempFolder folder;
    EventCollector collector;
    auto backlog = std::make_shared<std::atomic<int>>(0);
    auto* worker = new ImageLoadThread(
        &collector, wxArrayString(1, testgif::WriteAnimation(folder.File("ten.gif"), 10, 4, 4)));
    worker->LimitBacklog(backlog, 3);
    ASSERT_EQ(worker->Run(), wxTHREAD_NO_ERROR);
    // Nothing was taken: the worker stops after three pictures.
    RunFor(100);
    EXPECT_EQ(collector.events.size(), 3u);
    EXPECT_TRUE(RunUntil([&] {
        *backlog = 0;
        return collector.events.size() == 10u && collector.events.back().progress == 100;
    }));
}
