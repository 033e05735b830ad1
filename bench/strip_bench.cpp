// The thumbnail strip under load: appending many full-size frames in one batch, and repainting
// a window-sized strip that holds many entries. Needs a display.
#include "window/thumbnailctrl.h"

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/evtloop.h>
#include <wx/file.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/frame.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/sizer.h>

#include <cstdio>
#include <memory>

namespace {
class BenchApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

// Counts the cells a paint asks for.
class CountingStrip : public wxThumbnailCtrl {
public:
    using wxThumbnailCtrl::wxThumbnailCtrl;
    bool PaintItemCell(int n, wxDC& dc, const wxRect& rect, const wxRect& imageRect,
                       int state) override {
        ++m_cellsPainted;
        return wxThumbnailCtrl::PaintItemCell(n, dc, rect, imageRect, state);
    }
    long m_cellsPainted = 0;
};

// A main-window-sized frame whose only content is the strip.
struct StripWindow {
    StripWindow() {
        frame = new wxFrame(nullptr, wxID_ANY, wxS("strip bench"), wxDefaultPosition,
                            wxSize(1000, 700));
        auto* sizer = new wxBoxSizer(wxHORIZONTAL);
        strip = new CountingStrip(frame, wxDefaultPosition, frame->GetClientSize());
        sizer->Add(strip, 1, wxEXPAND, 0);
        frame->SetSizer(sizer);
        frame->Show();
        Settle();
    }
    ~StripWindow() { frame->Destroy(); }

    static void Settle() {
        wxEventLoopBase* loop = wxEventLoopBase::GetActive();
        for (int i = 0; i < 20 && loop != nullptr; ++i) {
            while (loop->Pending()) {
                loop->Dispatch();
            }
            wxTheApp->ProcessPendingEvents();
            wxMilliSleep(5);
        }
    }

    wxFrame* frame;
    CountingStrip* strip;
};

// The source file every entry names; entries are refused when it does not exist.
const wxString& SourcePath() {
    static const wxString path = [] {
        wxString name = wxFileName::CreateTempFileName(wxS("reelmont-bench"));
        wxRemoveFile(name);
        name += wxS(".png");
        wxFile file(name, wxFile::write);
        return name;
    }();
    return path;
}

// A decoded 640 x 480 frame; copies share its pixels, as every frame needs its own object.
const wxImage& Frame640() {
    static const wxImage image = [] {
        wxImage picture(640, 480);
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                picture.SetRGB(x, y, x % 256, y % 256, (x + y) % 256);
            }
        }
        return picture;
    }();
    return image;
}

void Fill(wxThumbnailCtrl& strip, int count) {
    strip.BeginUpdate();
    for (int i = 0; i < count; ++i) {
        strip.Append(new wxImageThumbnailItem(new wxImage(Frame640()), 0, SourcePath()), 10);
    }
    strip.EndUpdate();
}

void BM_AppendBatch(benchmark::State& state) {
    StripWindow window;
    const int count = static_cast<int>(state.range(0));
    // One untimed round first, so that the allocator has its pages before the timing starts.
    Fill(*window.strip, count);
    window.strip->Clear();
    for (auto _ : state) {
        Fill(*window.strip, count);
        state.PauseTiming();
        if (window.strip->GetCount() != count) {
            state.SkipWithError("entries were refused");
        }
        window.strip->Clear();
        state.ResumeTiming();
    }
    state.SetComplexityN(count);
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_AppendBatch)
    ->Arg(250)
    ->Arg(500)
    ->Arg(1000)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// One full repaint on screen: invalidate everything, then paint now.
void BM_RepaintOnScreen(benchmark::State& state) {
    StripWindow window;
    Fill(*window.strip, static_cast<int>(state.range(0)));
    StripWindow::Settle();
    window.strip->m_cellsPainted = 0;
    for (auto _ : state) {
        window.strip->Refresh();
        window.strip->Update();
    }
    state.counters["cells_per_paint"] =
        static_cast<double>(window.strip->m_cellsPainted) / state.iterations();
}
BENCHMARK(BM_RepaintOnScreen)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

// The same paint body into an off-screen bitmap of the client size.
void BM_PaintContents(benchmark::State& state) {
    StripWindow window;
    Fill(*window.strip, static_cast<int>(state.range(0)));
    StripWindow::Settle();
    const wxSize client = window.strip->GetClientSize();
    wxBitmap bitmap(client.x, client.y, -1);
    wxMemoryDC dc(bitmap);
    window.strip->PrepareDC(dc);
    const wxRegion everything(0, 0, client.x, client.y);
    window.strip->m_cellsPainted = 0;
    for (auto _ : state) {
        window.strip->PaintContents(dc, everything, true);
    }
    state.counters["cells_per_paint"] =
        static_cast<double>(window.strip->m_cellsPainted) / state.iterations();
}
BENCHMARK(BM_PaintContents)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
} // namespace

wxIMPLEMENT_APP_NO_MAIN(BenchApp);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    wxSetAssertHandler(nullptr);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
        return 2;
    }
    wxLog::EnableLogging(false);
    {
        wxGUIEventLoop loop;
        wxEventLoopActivator activate(&loop);
        benchmark::RunSpecifiedBenchmarks();
    }
    wxRemoveFile(SourcePath());
    benchmark::Shutdown();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return 0;
}
