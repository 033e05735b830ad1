// Small documents fetched over http or https. The update check waits for them on a worker, and
// every way a server can stall is bounded: a few seconds to connect, a few more for the whole
// transfer, and a size limit.
#pragma once

#include <wx/string.h>

#include <atomic>
#include <cstddef>
#include <string>

// The largest document accepted; a server that sends more gets nowhere.
constexpr std::size_t kLargestDownload = 1024 * 1024;

// Whether the address is one DownloadDocument can fetch: http or https with a host name.
bool IsWebAddress(const wxString& address);

// The document at the address, following redirects between http and https addresses; false
// when there is none: no connection, an error status, too slow, or larger than the limit.
// Setting `stop` from another thread ends the download within a tenth of a second, with false.
bool DownloadDocument(const wxString& address, std::string& body,
                      const std::atomic<bool>* stop = nullptr);
