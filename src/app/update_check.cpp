#include "app/update_check.h"

#include "app/domain_option.h"
#include "app/update_document.h"
#include "app/update_event.h"
#include "app/web_download.h"

#include <wx/mstream.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

namespace {
// The window that waits for the running check's answer; null when none runs or it went away.
std::mutex g_checkMutex;
wxEvtHandler* g_resultWindow = nullptr;
// Started and joined on the GUI thread only.
std::thread g_worker;
std::atomic<bool> g_checking{false};
std::atomic<bool> g_stopChecking{false};
} // namespace

void CheckForUpdate(wxEvtHandler* window) {
    if (g_domainOption == nullptr || !IsWebAddress(g_domainOption->m_updateUrl)) {
        return;
    }
    FetchLatestVersion(g_domainOption->m_updateUrl, window);
}

bool FetchLatestVersion(const wxString& address, wxEvtHandler* window) {
    if (g_checking) {
        return false;
    }
    if (g_worker.joinable()) {
        g_worker.join(); // the last check's worker, done already
    }
    g_checking = true;
    g_stopChecking = false;
    {
        std::lock_guard<std::mutex> lock(g_checkMutex);
        g_resultWindow = window;
    }
    // The address is copied as UTF-8: wxString is not shared safely between threads.
    g_worker = std::thread([address = std::string(address.utf8_str())] {
        std::string body;
        wxString latest;
        if (DownloadDocument(wxString::FromUTF8(address), body, &g_stopChecking)) {
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
    });
    return true;
}

void EndUpdateCheck(wxEvtHandler* window) {
    {
        std::lock_guard<std::mutex> lock(g_checkMutex);
        if (g_resultWindow != nullptr && g_resultWindow != window) {
            return; // another window's check goes on
        }
        g_resultWindow = nullptr;
    }
    g_stopChecking = true;
    if (g_worker.joinable()) {
        g_worker.join();
    }
}
