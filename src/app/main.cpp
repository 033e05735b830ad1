// The program's entry: the toolkit runs the application object GifApp.
#include <wx/app.h>
#include <wx/log.h>

int main(int argc, char** argv) {
    // Failed toolkit assertions stay silent and debug messages are dropped, as in a release.
    wxSetAssertHandler(nullptr);
    wxLog::SetLogLevel(wxLOG_Info);
    return wxEntry(argc, argv);
}
