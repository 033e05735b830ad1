#include "app/web_download.h"

#include "app/product.h"

#include <curl/curl.h>
#include <wx/uri.h>

#include <memory>

namespace {
constexpr long kConnectSeconds = 4;
constexpr long kTransferSeconds = 6;

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

bool DownloadDocument(const wxString& address, std::string& body) {
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
    return curl_easy_perform(handle) == CURLE_OK;
}
