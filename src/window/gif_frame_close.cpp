// Closing the window, with the safety net for an unsaved project.
#include "window/gif_frame.h"

#include "window/thumbnailctrl.h"

#include <wx/intl.h>
#include <wx/msgdlg.h>
#include <wx/spinctrl.h>

bool GifFrame::IsProjectUnchanged() const {
    return m_spinctrl_delay->GetValue() == m_projectDelay &&
           m_spinctrl_width->GetValue() == m_projectWidth &&
           m_spinctrl_height->GetValue() == m_projectHeight &&
           m_thumbnailCtrl->GetCount() == m_projectFrameCount &&
           m_thumbnailCtrl->GetEditCount() == m_projectEditCount && m_view == m_projectView &&
           m_animation.Delays() == m_projectDelays && CurrentChoices() == m_projectChoices;
}

int GifFrame::AskToSaveProject() {
    wxMessageDialog ask(this,
                        _("The project is unsaved,you can continue to edit\n your project when "
                          "you open it next time,do you \nwant to save the project now?"),
                        _("Warning"), wxYES_NO | wxCANCEL | wxNO_DEFAULT | wxICON_EXCLAMATION);
    return ask.ShowModal();
}

void GifFrame::OnClose(wxEvent&) {
    StopPreview();
    RememberWindowPlace();
    if (m_thumbnailCtrl->GetCount() > 0) {
        CloseWithPrompt();
    } else {
        Destroy();
    }
}

void GifFrame::CloseWithPrompt() {
    if (IsProjectUnchanged()) {
        Destroy();
        return;
    }
    switch (AskToSaveProject()) {
    case wxID_YES:
        // The work is only given up once it is really stored: a cancelled or failed save
        // keeps the window open.
        if (SaveProjectFile()) {
            Destroy();
        }
        break;
    case wxID_NO:
        Destroy();
        break;
    default:
        break;
    }
}
