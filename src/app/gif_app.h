// The application object: prepares resources and options, shows the main window.
#pragma once

#include <wx/app.h>
#include <wx/arrstr.h>

class GifFrame;
class wxLocale;

class GifApp : public wxApp {
public:
    GifApp();
    ~GifApp() override;
    bool OnInit() override;
    int OnExit() override;
    void OnFatalException() override;
    // Besides the toolkit's switches, the command line names files to open: images and a
    // project.
    void OnInitCmdLine(wxCmdLineParser& parser) override;
    bool OnCmdLineParsed(wxCmdLineParser& parser) override;

    void InitAppLocale();

    GifFrame* m_frame = nullptr;
    wxLocale* m_locale = nullptr;
    wxArrayString m_startFiles;
};
