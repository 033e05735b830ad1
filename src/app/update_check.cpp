#include "app/update_check.h"

#include "app/domain_option.h"
#include "app/update_document.h"
#include "app/update_event.h"
#include "app/web_download.h"

#include <wx/mstream.h>

#include <mutex>
#include <string>
#include <thread>

namespace {
// The window that waits for the running check's answer; null when none runs or it went away.
std::mutex g_checkMutex;
bool g_checking = false;
wxEvtHandler* g_resultWindow = nullptr;
} // namespace

void CheckForUpdate(wxEvtHandler* window) {
    if (g_domainOption == nullptr || !IsWebAddress(g_domainOption->m_updateUrl)) {
        return;
    }
    FetchLatestVersion(g_domainOption->m_updateUrl, window);
}

bool FetchLatestVersion(const wxString& address, wxEvtHandler* window) {
    {
        std::lock_guard<std::mutex> lock(g_checkMutex);
        if (g_checking) {
            return false;
        }
        g_checking = true;
        g_resultWindow = window;
    }
    // The address is copied as UTF-8: wxString is not shared safely between threads.
    std::thread([address = std::string(address.utf8_str())] {
        std::string body;
        wxString latest;
        if (DownloadDocument(wxString::FromUTF8(address), body)) {
            wxMemoryInputStream stream(body.data(), body.size());
            latest = ParseLatestVersion(stream);
        }
        std::lock_guard<std::mutex> lock(g_checkMutex);
        if (g_resultWindow != nullptr) {
            auto* result = new wxCommandEvent(UPDATE_RESULT_EVENT, 0);
            result->SetString(latest);
            wxQueueEvent(g_resultWindow, result);
        }
        g_resultWindow = nullptr;
        g_checking = false;
    }).detach();
    return true;
}

void ForgetUpdateWindow(wxEvtHandler* window) {
    std::lock_guard<std::mutex> lock(g_checkMutex);
    if (g_resultWindow == window) {
        g_resultWindow = nullptr;
    }
}
