// reelmont-export: writes image files or a project's frames as one animated GIF, without a
// display.
#include "app/file_name_bytes.h"
#include "app/paths.h"
#include "cli/export_command.h"
#include "cli/interruption.h"

#include <wx/debug.h>
#include <wx/dir.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/translation.h>

#include <wx/intl.h>

#include <clocale>
#include <cstdio>
#include <malloc.h>
#include <new>
#include <unistd.h>

namespace {

// Frames come and go at hundreds of kilobytes each. By default the allocator returns such
// blocks to the system as soon as they are freed, and every new one then arrives as fresh pages
// that the kernel zeroes on first touch: a third of the work on small frames. Kept, they are
// reused; the command ends soon after its last frame anyway.
const int kKeptBlockBytes = 64 << 20;
const int kKeptFreeBytes = 256 << 20;

// The catalogs of the installation's Language/ folder, one folder a language, and no others:
// the toolkit's own loader would look through every folder of the system's locale tree for
// each start, the better part of the exporter's own start-up.
class InstalledCatalogs : public wxTranslationsLoader {
public:
    explicit InstalledCatalogs(const wxString& folder) : m_folder(folder) {}

    wxMsgCatalog* LoadCatalog(const wxString& domain, const wxString& language) override {
        const wxString path = CatalogPath(language, domain);
        return wxFileName::FileExists(path) ? wxMsgCatalog::CreateFromFile(path, domain) : nullptr;
    }

    wxArrayString GetAvailableTranslations(const wxString& domain) const override {
        wxArrayString languages;
        wxDir folder(m_folder);
        wxString language;
        for (bool more = folder.IsOpened() && folder.GetFirst(&language, "", wxDIR_DIRS); more;
             more = folder.GetNext(&language)) {
            if (wxFileName::FileExists(CatalogPath(language, domain))) {
                languages.push_back(language);
            }
        }
        return languages;
    }

private:
    wxString CatalogPath(const wxString& language, const wxString& domain) const {
        return m_folder + "/" + language + "/LC_MESSAGES/" + domain + ".mo";
    }

    const wxString m_folder;
};

} // namespace

int main(int argc, char** argv) {
    mallopt(M_MMAP_THRESHOLD, kKeptBlockBytes);
    mallopt(M_TRIM_THRESHOLD, kKeptFreeBytes);
    // The toolkit's debug checks print call stacks meant for its own developers; sizes and
    // indices are checked before the toolkit sees them.
    wxSetAssertHandler(nullptr);
    // Before any thread starts, so that only the watcher receives the signals.
    WatchInterruptions();
    // File names and messages in the user's encoding.
    std::setlocale(LC_ALL, "");
    KeepFileNameBytes();
    // The toolkit's own warning about such arguments would only repeat them.
    wxLog::EnableLogging(false);
    wxInitializer toolkit(argc, argv);
    if (!toolkit.IsOk()) {
        std::fprintf(stderr, "reelmont-export: the toolkit could not be started\n");
        return kExportFailed;
    }
    // Failures are reported by the command itself, each once and with its cause.
    wxLog::EnableLogging(false);
    wxInitAllImageHandlers();
    // Messages in the user's language, from the catalogs the window uses.
    wxTranslations::Set(new wxTranslations());
    wxTranslations::Get()->SetLoader(new InstalledCatalogs(GetInstallDirectory() + "/Language"));
    wxTranslations::Get()->AddCatalog("language");

    std::vector<wxString> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(wxString(argv[i], *wxConvFileName));
    }
    CommandStreams streams;
    streams.inIsTerminal = isatty(fileno(stdin)) != 0;
    streams.outIsTerminal = isatty(fileno(stdout)) != 0;
    streams.errIsTerminal = isatty(fileno(stderr)) != 0;
    try {
        return RunExportCommand(arguments, streams);
    } catch (const std::bad_alloc&) {
        // Whatever ran out, the target was left as it was: the replacing file drops its work.
        std::fprintf(stderr, "reelmont-export: %s\n",
                     static_cast<const char*>(_("there is not enough memory").utf8_str()));
        return kExportFailed;
    }
}
