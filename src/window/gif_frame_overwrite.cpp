// Writing the GIF over a file that gives frames of the animation: the user is asked first, and
// afterwards those frames name the frames of the file written, so that a project saved then
// finds each of them again where it now is.
#include "window/gif_frame.h"

#include "app/product.h"
#include "import/frame_reference.h"
#include "import/image_source.h"
#include "window/thumbnail_item.h"
#include "window/thumbnailctrl.h"

#include <wx/intl.h>
#include <wx/msgdlg.h>

#include <algorithm>
#include <sys/stat.h>

namespace {
// The file a path names, as the system knows it; false when there is none.
bool Identify(const wxString& path, struct stat* status) {
    return stat(path.fn_str(), status) == 0;
}
} // namespace

bool GifFrame::MayWriteOverSources(const wxString& target) {
    m_framesFromTarget.clear();
    struct stat written {};
    if (!Identify(target, &written)) {
        return true;
    }
    wxString lastFile;
    bool lastMatched = false;
    for (int n = 0; n < m_animation.FrameCount(); ++n) {
        const wxString file = SourceFileOf(m_animation.Frame(n).source);
        // Runs of frames share their file: each is looked up once.
        if (file != lastFile || n == 0) {
            struct stat source {};
            lastFile = file;
            lastMatched = Identify(file, &source) && source.st_dev == written.st_dev &&
                          source.st_ino == written.st_ino;
        }
        if (lastMatched) {
            m_framesFromTarget.push_back(n);
        }
    }
    if (m_framesFromTarget.empty()) {
        return true;
    }
    // The file written holds the frames as shown; read back, they would be cropped or turned
    // a second time.
    if (!m_view.IsIdentity()) {
        m_framesFromTarget.clear();
        wxMessageBox(wxString::Format(_("\"%s\" gives frames of this animation, which is cropped, "
                                        "turned or flipped: those frames could not be read back "
                                        "from the new file as they are. Save the GIF under "
                                        "another name."),
                                      target),
                     GetProductName(), wxOK | wxICON_EXCLAMATION, this);
        return false;
    }
    // Frames that already are the file's own frames at their places stay so.
    if (std::all_of(m_framesFromTarget.begin(), m_framesFromTarget.end(), [&](int n) {
            return m_animation.Frame(n).source == FrameReference(target, n);
        })) {
        m_framesFromTarget.clear();
        return true;
    }
    wxMessageDialog ask(this,
                        wxString::Format(_("\"%s\" gives frames of this animation. Written over, "
                                           "those frames will be taken from the new file. Do you "
                                           "want to replace it?"),
                                         target),
                        GetProductName(), wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION);
    if (ask.ShowModal() != wxID_YES) {
        m_framesFromTarget.clear();
        return false;
    }
    return true;
}

void GifFrame::TakeFramesFromWrittenFile(const wxString& written) {
    if (m_framesFromTarget.empty()) {
        return;
    }
    // Frame k of the animation is frame k of the file written.
    for (int n : m_framesFromTarget) {
        const wxString source = FrameReference(written, n);
        m_animation.SetSource(n, source);
        static_cast<wxImageThumbnailItem*>(m_thumbnailCtrl->GetItem(n))->SetSource(source);
    }
    m_framesFromTarget.clear();
    m_thumbnailCtrl->Refresh();
    // The old file's missing frames and the frames held for Undo name pictures it no longer
    // holds.
    m_missingSources.erase(
        std::remove_if(m_missingSources.begin(), m_missingSources.end(),
                       [&written](const MissingSource& missing) {
                           return SourceFileOf(wxString::FromUTF8(missing.path)) == written;
                       }),
        m_missingSources.end());
    ForgetEdits();
    // A project saved before names the old file's frames: it no longer holds this animation.
    m_projectFrameCount = -1;
}
