#pragma once
// HTTP requests of one camera session over libcurl. Each request is made on
// a handle of its own, so the client can be used from several threads; the
// only state shared between requests is the authentication scheme the camera
// asked for last. A session's interrupt, when given, ends every request in
// flight (and refuses new ones) with VXNET_ERR_TIMEOUT.

#include "outside/vxnet/Interrupt.h"
#include "outside/vxnet/vxnet.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

namespace vxnet {

struct HttpEndpoint {
    std::string host;  // name, IPv4 or IPv6 address (without brackets)
    int port = 80;
    std::string user;
    std::string password;
};

// What a download must be (see vxnet_download_file_bounded).
struct DownloadBounds {
    int64_t minBytes = 0;
    int64_t maxBytes = -1;  // -1: no bound
    bool noReplace = false;
};

class HttpClient {
public:
    // interrupt may be null; it must outlive the client.
    explicit HttpClient(HttpEndpoint endpoint, const Interrupt* interrupt = nullptr);

    struct Result {
        int code = 0;      // vxnet result: 0 = an HTTP reply came back (any status)
        long status = 0;   // its status
        std::string text;  // status line, headers, blank line, body
    };

    // method: VXNET_METHOD_GET or VXNET_METHOD_POST. The path is sent as the
    // request target byte for byte.
    Result request(std::string_view path, int method, int timeout_ms) const;
    // Writes the body of a 2xx reply to local_path through a temporary file
    // beside it; nothing is left behind on failure. progress, when given,
    // hears of the bytes as they arrive and may call the download off
    // (VXNET_ERR_CANCELLED); see vxnet_download_file_progress.
    int download(std::string_view path, const std::string& local_path, int timeout_ms,
                 vxnet_progress_callback progress = nullptr, void* user = nullptr,
                 const DownloadBounds& bounds = DownloadBounds()) const;
    // Removes the temporary files in folder that no download holds; the
    // number removed, or VXNET_ERR_FILE when the folder cannot be read.
    static int removeStaleParts(const std::string& folder);

    // A request target we are willing to send: begins with '/', no blank,
    // no control character (they would split the request line).
    static bool isValidPath(std::string_view path);
    // A host that can stand in a URL as it is.
    static bool isValidHost(std::string_view host);

    const HttpEndpoint& endpoint() const { return m_endpoint; }
    bool interrupted() const { return m_interrupt && m_interrupt->requested(); }

private:
    std::string baseUrl() const;

    HttpEndpoint m_endpoint;
    const Interrupt* m_interrupt = nullptr;
    // Basic goes first; once the camera has asked for Digest it is used
    // straight away on later requests.
    mutable std::atomic<bool> m_useDigest{false};
};

}  // namespace vxnet
