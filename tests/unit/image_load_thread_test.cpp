// The import worker: the events it queues for each list of files, in order, and always a last
// one that completes the import.
#include "app/worker_event.h"
#include "import/image_load_thread.h"
#include "support/event_loop.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <wx/file.h>

#include <atomic>
#include <memory>

namespace {
// Stands in for the main window: takes over every event the worker queues, noting each as
// "name frame progress", with the name of the file its picture came from, or "-" without one.
struct EventCollector : wxEvtHandler {
    EventCollector() {
        Bind(wxEventTypeTag<wxCommandEvent>(wxEVT_WORKER_UPDATE), [this](wxCommandEvent& event) {
            const std::unique_ptr<AnimationFrame> frame(
                static_cast<AnimationFrame*>(event.GetClientData()));
            const wxString name =
                frame && frame->IsOk() ? wxFileNameFromPath(event.GetString()) : wxString("-");
            events += wxString::Format("%s %ld %d, ", name, event.GetExtraLong(), event.GetInt());
            complete = event.GetInt() == 100;
            ++count;
            EXPECT_EQ(event.GetId(), ID_IMPORT_WORKER);
        });
    }
    wxString events;
    int count = 0;
    bool complete = false;
};
} // namespace

TEST(ImportWorker, EventsForEachKindOfList) {
    TempFolder folder;
    const wxString three = testgif::WriteAnimation(folder.File("three.gif"), 3, 4, 4);
    const wxString two = testgif::WriteAnimation(folder.File("two.gif"), 2, 4, 4);
    const wxString a = WritePng(folder.File("a.png"), 6, 2);
    const wxString b = WritePng(folder.File("b.png"), 6, 2);
    const wxString bad = WriteBytes(folder.File("bad.png"), "not a picture");
    // Cut in the second frame's data: the first frame comes, the file is named as damaged.
    const wxString cut = folder.File("cut.gif");
    {
        wxFile whole(three);
        std::string bytes(static_cast<size_t>(whole.Length()), '\0');
        whole.Read(&bytes[0], bytes.size());
        WriteBytes(cut, bytes.substr(0, bytes.size() * 2 / 3));
    }
    wxArrayString threeAndA;
    threeAndA.Add(three);
    threeAndA.Add(a);
    struct Case {
        std::vector<wxString> paths;
        wxString events;
        unsigned long long memory = 0; // bytes the frames may take; 0 for no limit
        wxArrayString refused = {};
        wxArrayString damaged = {};
    };
    const Case cases[] = {
        {{three, a, b},
         "three.gif_0 0 0, three.gif_1 1 0, three.gif_2 2 0, a.png 0 66, b.png 0 100, "},
        // A frame reference gives that frame.
        {{three + "_2"}, "three.gif_2 2 100, "},
        // The last path yields nothing: an extra event without a picture completes the import.
        {{a, two, bad}, "a.png 0 33, two.gif_0 0 33, two.gif_1 1 33, - 0 100, "},
        // A run of one file's frames is read in one pass; the frame the file lacks gives nothing.
        {{three + "_0", three + "_2", three + "_7", a},
         "three.gif_0 0 25, three.gif_2 2 50, a.png 0 100, "},
        // Frame numbers are not checked where none is given.
        {{three + "_10", folder.File("missing.png")}, "- 0 100, "},
        // 4 x 4 frames take 64 bytes each while decoded: three do not fit beside two, and the
        // import stops there; once compressed they give their room back to the next file.
        {{two, three, a}, "two.gif_0 0 0, two.gif_1 1 0, - 0 100, ", 150, threeAndA},
        {{three, two, a},
         "three.gif_0 0 0, three.gif_1 1 0, three.gif_2 2 0, two.gif_0 0 33, two.gif_1 1 33, "
         "a.png 0 100, ",
         200},
        {{cut, a}, "cut.gif_0 0 0, a.png 0 100, ", 1000, {}, wxArrayString(1, cut)},
    };
    for (const Case& c : cases) {
        EventCollector collector;
        auto* worker =
            new ImageLoadThread(&collector, wxArrayString(c.paths.size(), c.paths.data()));
        const auto refused = std::make_shared<RefusedFiles>();
        MemoryBudget budget(c.memory);
        if (c.memory) {
            worker->LimitMemory(budget, refused);
        }
        ASSERT_EQ(worker->Run(), wxTHREAD_NO_ERROR);
        EXPECT_TRUE(RunUntil([&] { return collector.complete; }));
        RunFor(20); // nothing may follow the completing event
        EXPECT_EQ(collector.events, c.events);
        EXPECT_EQ(refused->paths, c.refused);
        EXPECT_EQ(refused->damaged, c.damaged);
    }
}

TEST(ImportWorker, WaitsWhileTheReceiverHasNotTakenItsBacklog) {
    TempFolder folder;
    EventCollector collector;
    auto backlog = std::make_shared<std::atomic<unsigned long long>>(0);
    auto* worker = new ImageLoadThread(
        &collector, wxArrayString(1, testgif::WriteAnimation(folder.File("ten.gif"), 10, 4, 4)));
    worker->LimitBacklog(backlog, 3 * 4 * 4 * 4); // three 4 x 4 pictures
    ASSERT_EQ(worker->Run(), wxTHREAD_NO_ERROR);
    // Nothing was taken: the worker stops after three pictures, however slowly it gets there.
    EXPECT_TRUE(RunUntil([&] { return collector.count >= 3; }));
    RunFor(100);
    EXPECT_EQ(collector.count, 3);
    EXPECT_TRUE(RunUntil([&] {
        *backlog = 0;
        return collector.complete && collector.count == 10;
    }));
}
