#pragma once
// Uploads a firmware package to a camera's "/cgi-bin/hi3510/upgrade.cgi" as
// one multipart POST over a plain TCP socket (the camera's upload does not
// go through the camera transport library). The camera must answer exactly
// "HTTP/1.1 200 OK" with the body "upgrade succeed.".
//
// Every wait is a poll() of at most 100 ms that looks at the stop flag, so
// a stop ends the upload at once. Progress and silence count what the
// camera took (bytes written less those still queued on the socket), not
// what the kernel was handed: a camera that takes nothing for `idleMs` ends
// the upload as a failure, and so does one that is still not done when the
// whole upload's deadline (its size at `minBytesPerSecond`, never less than
// `idleMs`) has passed. The account travels as Basic authorization, never
// in a log line.
//
// Threads: any (the progress dialog's worker); no shared state.

#include "platform/platform.h"

#include <atomic>
#include <cstdint>
#include <functional>

struct UploadOptions {
    int idleMs = 60000;  // the longest wait without traffic
    int connectTimeoutMs = 10000;
    // The slowest camera the deadline allows for: 16 KB/s.
    int64_t minBytesPerSecond = 16384;
    const std::atomic<bool>* stop = nullptr;
    // Bytes of the file the camera took and the file's size, as they change.
    std::function<void(int64_t taken, int64_t total)> progress;
};

// The whole upload's deadline in milliseconds for a request of `bytes`.
int64_t UploadDeadlineMs(int64_t bytes, const UploadOptions& options);

// 1 when the camera took the package, 0 otherwise. host: a dotted IPv4
// address or a name (its first IPv4 address is used).
int UploadFirmware(const CString& strPath, const CString& strHost, int nPort, const CString& strUser,
                   const CString& strSecret, const UploadOptions& options = UploadOptions());

// The request's head and the part's header and closing line, for a file of
// `fileSize` bytes; the head's Content-Length counts the body exactly.
struct UploadRequest {
    std::string head;
    std::string partHeader;
    std::string closing;
};
UploadRequest MakeUploadRequest(const CString& strUser, const CString& strSecret, int64_t fileSize);
// Whether a whole reply says the camera took the package.
bool UploadSucceeded(const std::string& reply);
