#include "app/gif_app.h"

#include "app/crash_report.h"
#include "app/domain_option.h"
#include "app/startup.h"
#include "window/gif_frame.h"

#include <wx/cmdline.h>
#include <wx/intl.h>
#include <wx/log.h>

wxIMPLEMENT_APP_NO_MAIN(GifApp);

GifApp::GifApp() {
    wxHandleFatalExceptions(true);
}

GifApp::~GifApp() = default;

bool GifApp::OnInit() {
    if (!wxApp::OnInit()) {
        return false;
    }
    m_locale = nullptr;
    InitAppLocale();
    wxLogNull quiet;
    PrepareResources();
    GifFrame* frame = CreateMainWindow();
    if (frame == nullptr) {
        return false;
    }
    m_frame = frame;
    m_frame->Show(true);
    OpenStartupFiles(m_frame, m_startFiles);
    return true;
}

void GifApp::OnInitCmdLine(wxCmdLineParser& parser) {
    // The toolkit's own switches stay; the program adds only the files to open.
    wxApp::OnInitCmdLine(parser);
    parser.AddParam("FILE", wxCMD_LINE_VAL_STRING,
                    wxCMD_LINE_PARAM_OPTIONAL | wxCMD_LINE_PARAM_MULTIPLE);
}

bool GifApp::OnCmdLineParsed(wxCmdLineParser& parser) {
    if (!wxApp::OnCmdLineParsed(parser)) {
        return false;
    }
    for (size_t i = 0; i < parser.GetParamCount(); ++i) {
        m_startFiles.push_back(parser.GetParam(i));
    }
    return true;
}

int GifApp::OnExit() {
    delete g_domainOption;
    g_domainOption = nullptr;
    return 0;
}

void GifApp::OnFatalException() {
    GenerateCrashReport();
}

void GifApp::InitAppLocale() {
    delete m_locale;
    // A language the system has no locale for keeps the English texts without a word.
    wxLogNull quiet;
    m_locale = new wxLocale(wxLANGUAGE_ENGLISH, wxLOCALE_LOAD_DEFAULT);
    wxLocale::AddCatalogLookupPathPrefix("m_locale_");
    m_locale->AddCatalog("ui");
}
