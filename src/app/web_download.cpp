#include "app/web_download.h"

#include "app/product.h"

#include <curl/curl.h>
#include <wx/uri.h>

#include <memory>

namespace {
constexpr long kConnectSeconds = 4;
constexpr long kTransferSeconds = 6;
// How long the download waits on the network before it looks at its stop flag again.
constexpr int kStopCheckMilliseconds = 100;

std::size_t Collect(char* data, std::size_t size, std::size_t count, void* target) {
    auto* body = static_cast<std::string*>(target);
    const std::size_t bytes = size * count;
    if (body->size() + bytes > kLargestDownload) {
        return 0; // anything but the full count aborts the transfer
    }
    body->append(data, bytes);
    return bytes;
}
} // namespace

bool IsWebAddress(const wxString& address) {
    wxURI uri;
    if (!uri.Create(address) || !uri.HasServer() || uri.GetServer().empty()) {
        return false;
    }
    const wxString scheme = uri.GetScheme().Lower();
    return scheme == "http" || scheme == "https";
}

bool DownloadDocument(const wxString& address, std::string& body, const std::atomic<bool>* stop) {
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl) {
        return false;
    }
    const std::string url(address.utf8_str());
    const std::string agent((GetProductName() + "/" + GetProductVersion()).utf8_str());
    CURL* handle = curl.get();
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(handle, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
    curl_easy_setopt(handle, CURLOPT_TIMEOUT, kTransferSeconds);
    curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE, curl_off_t{kLargestDownload});
    curl_easy_setopt(handle, CURLOPT_USERAGENT, agent.c_str());
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &Collect);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &body);
    body.clear();
    // Driven step by step rather than by curl_easy_perform, so that a stop is seen between
    // waits even while a server sends nothing.
    std::unique_ptr<CURLM, decltype(&curl_multi_cleanup)> multi(curl_multi_init(),
                                                                &curl_multi_cleanup);
    if (!multi || curl_multi_add_handle(multi.get(), handle) != CURLM_OK) {
        return false;
    }
    CURLcode result = CURLE_FAILED_INIT;
    for (int running = 1; running > 0;) {
        if ((stop != nullptr && stop->load()) ||
            curl_multi_perform(multi.get(), &running) != CURLM_OK ||
            (running > 0 && curl_multi_poll(multi.get(), nullptr, 0, kStopCheckMilliseconds,
                                            nullptr) != CURLM_OK)) {
            running = 0;
        }
    }
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi.get(), &left)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == handle) {
            result = message->data.result;
        }
    }
    curl_multi_remove_handle(multi.get(), handle);
    return result == CURLE_OK;
}
