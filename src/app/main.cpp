// The program's entry: the toolkit runs the application object GifApp.
#include "app/file_name_bytes.h"

#include <wx/app.h>
#include <wx/log.h>

#include <clocale>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // Failed toolkit assertions stay silent and debug messages are dropped, as in a release.
    wxSetAssertHandler(nullptr);
    wxLog::SetLogLevel(wxLOG_Info);
    std::setlocale(LC_CTYPE, "");
    KeepFileNameBytes();
    // The toolkit would drop a file named on the command line whose name is not valid in the
    // locale's encoding; converted here, it keeps its bytes.
    std::vector<std::wstring> arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.push_back(wxString(argv[i], *wxConvFileName).ToStdWstring());
    }
    std::vector<wchar_t*> pointers;
    for (std::wstring& argument : arguments) {
        pointers.push_back(&argument[0]);
    }
    pointers.push_back(nullptr);
    return wxEntry(argc, pointers.data());
}
