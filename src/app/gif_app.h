// The application object: prepares resources and options, shows the main window.
#pragma once

#include <wx/app.h>

class GifFrame;
class wxLocale;

class GifApp : public wxApp {
public:
    GifApp();
    ~GifApp() override;
    bool OnInit() override;
    int OnExit() override;
    void OnFatalException() override;

    void InitAppLocale();

    GifFrame* m_frame = nullptr;
    wxLocale* m_locale = nullptr;
};
