#pragma once
// One libcurl transfer driven step by step by its caller, so a response body
// is read piece by piece as it arrives and an upload is fed piece by piece,
// never held whole in memory. Owned and used by one thread.

#include "outside/wrap/CurlHandles.h"

#include <curl/curl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vxui {

// The process's cookie store, shared by every transfer.
CURLSH* cookieShare();
// Starts libcurl once for the process.
void ensureCurl();

class WebTransfer {
public:
    // Supplies upload bytes: the count copied into buf, 0 at the end of the
    // body, CURL_READFUNC_PAUSE when nothing is there yet, CURL_READFUNC_ABORT
    // on failure.
    using Reader = std::function<size_t(char* buf, size_t size)>;
    // Starts the body again from its first byte (authentication retries).
    using Rewinder = std::function<bool()>;

    WebTransfer();
    ~WebTransfer();
    WebTransfer(const WebTransfer&) = delete;
    WebTransfer& operator=(const WebTransfer&) = delete;

    CURL* easy() const { return m_easy.get(); }
    bool valid() const { return m_easy && m_multi; }
    void setReader(Reader reader, Rewinder rewinder);
    // Keeps the list alive for the transfer and hands it to libcurl.
    void setHeaders(const std::vector<std::string>& headers);
    // With credentials a first 401 is expected to be answered by a retry.
    void setExpectAuthRetry(bool expect) { m_expectAuthRetry = expect; }

    bool start();
    // Runs until the final response headers are in, or the transfer ends.
    bool waitHeaders();
    // >0: bytes copied; 0: end of the body; -1: failure (see error()).
    long read(uint8_t* buf, size_t size);
    // Runs to the end, dropping any body; true when the transfer succeeded.
    bool finish();
    // Wakes a transfer whose reader paused and runs until it pauses again or ends.
    bool resumeUpload();

    long status() const { return m_status; }
    const std::string& statusLine() const { return m_statusLine; }
    const std::vector<std::string>& headers() const { return m_headers; }
    bool header(const char* name, std::string& value, size_t index = 0) const;
    bool done() const { return m_done; }
    const std::string& error() const { return m_error; }

private:
    static size_t onHeader(char* data, size_t size, size_t count, void* self);
    static size_t onWrite(char* data, size_t size, size_t count, void* self);
    static size_t onRead(char* data, size_t size, size_t count, void* self);
    static int onSeek(void* self, curl_off_t offset, int origin);
    // One round of work: waits up to the poll interval for the socket.
    bool pump();
    bool setFailure(const std::string& what);

    vxwrap::CurlMulti m_multi;
    vxwrap::CurlHeaderList m_headerList;  // outlives m_easy, which points to it
    vxwrap::CurlEasy m_easy;
    Reader m_reader;
    Rewinder m_rewinder;
    bool m_started = false;
    bool m_done = false;
    bool m_headersFinal = false;
    bool m_expectAuthRetry = false;
    bool m_writePaused = false;
    bool m_readPaused = false;
    int m_authChallenges = 0;
    long m_status = 0;
    std::string m_statusLine;
    std::vector<std::string> m_headers;
    std::string m_pending;  // body bytes received but not yet read
    size_t m_pendingPos = 0;
    std::string m_error;
    int64_t m_lastProgressMs = 0;
};

}  // namespace vxui
