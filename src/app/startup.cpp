#include "app/startup.h"

#include "app/domain_option.h"
#include "app/paths.h"
#include "app/platform.h"
#include "app/product.h"
#include "window/desktop_gtk.h"
#include "window/gif_frame.h"

#include <wx/filename.h>
#include <wx/image.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>
#include <wx/xrc/xmlres.h>

void PrepareResources() {
    wxInitAllImageHandlers();
    wxXmlResource::Get()->InitAllHandlers();
    wxXmlResource::Get()->LoadAllFiles(GetInstallDirectory() + "/Themes");
    const wxString optionPath = GetOptionFilePath();
    TraceLine(optionPath);
    g_domainOption = new DomainOption(optionPath);
    LoadOptions();
}

GifFrame* CreateMainWindow() {
    AvoidUnconfiguredInputMethod();
    GifFrame* frame = new GifFrame();
    if (!wxXmlResource::Get()->LoadFrame(frame, nullptr, "MyFrame1")) {
        delete frame;
        wxMessageBox(wxString::Format(_("The window layout could not be loaded from %s."),
                                      GetInstallDirectory() + "/Themes"),
                     GetProductName(), wxOK | wxICON_ERROR);
        return nullptr;
    }
    frame->Init();
    return frame;
}

void OpenStartupFiles(GifFrame* frame, const wxArrayString& arguments) {
    wxArrayString paths;
    for (const wxString& argument : arguments) {
        wxFileName name(argument);
        name.MakeAbsolute();
        paths.push_back(name.GetFullPath());
    }
    frame->CallAfter([frame, paths] { frame->StartWith(paths); });
}
