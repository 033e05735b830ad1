// A fresh folder for one test's files, removed with its contents at the end of the test.
#pragma once

#include <wx/filename.h>
#include <wx/string.h>

#include <cstdlib>
#include <string>

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (wxFileName::GetTempDir() + "/reelmont-test-XXXXXX").ToStdString();
        if (mkdtemp(&pattern[0])) {
            m_path = wxString(pattern);
        }
    }
    ~TempFolder() {
        if (!m_path.empty()) {
            wxFileName::Rmdir(m_path, wxPATH_RMDIR_RECURSIVE);
        }
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const wxString& Path() const { return m_path; }
    wxString File(const wxString& name) const { return m_path + "/" + name; }

private:
    wxString m_path;
};
