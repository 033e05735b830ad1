// Saving a project without freezing the window: the file is written on a thread of its own while
// the window keeps drawing, behind a progress dialog once the save takes long enough to notice.
#include "window/gif_frame.h"

#include "import/background_project_writer.h"

#include <wx/intl.h>
#include <wx/progdlg.h>
#include <wx/stopwatch.h>

namespace {
// How often the dialog moves, and how long a save runs before it shows one.
const int kProgressStepMilliseconds = 50;
const long kQuietSaveMilliseconds = 300;
} // namespace

bool GifFrame::WriteProjectShowingProgress(const wxString& path, const ProjectContents& contents,
                                           wxString* error) {
    BackgroundProjectWriter writer(path);
    writer.Write(contents);
    const wxStopWatch clock;
    wxProgressDialog* dialog = nullptr;
    while (!writer.WaitFor(kProgressStepMilliseconds)) {
        if (dialog == nullptr && clock.Time() >= kQuietSaveMilliseconds) {
            // An edit made meanwhile would be taken as saved: the dialog keeps the window from
            // taking any.
            NoteFocusBehindProgress();
            dialog = new wxProgressDialog(_("Save Project"), _(" Saving the project...."), 100,
                                          this, wxPD_ELAPSED_TIME | wxPD_REMAINING_TIME);
        }
        if (dialog != nullptr) {
            dialog->Update(writer.Percent());
        }
    }
    if (dialog != nullptr) {
        CloseProgressDialog(dialog);
    }
    return writer.Succeeded(error);
}
