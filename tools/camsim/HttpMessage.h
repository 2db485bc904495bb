#pragma once
// One HTTP request as it came off the wire and the reply camsim makes for it.

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace camsim {

struct HttpRequest {
    std::string method;
    std::string target;   // raw request target, exactly as sent
    std::string path;     // target before '?' (without scheme and host when absolute)
    std::string query;    // target after '?', raw
    std::string version;  // "HTTP/1.1"
    std::vector<std::pair<std::string, std::string>> headers;  // names lower-case
    std::string body;
    std::string authUser;  // the account HTTP authentication accepted; empty: none

    // First header of that (lower-case) name, or empty.
    std::string header(const std::string& name) const;
};

struct HttpReply {
    enum class Kind {
        Normal,    // status, headers and body
        Hang,      // no answer at all; the connection is held until the client goes
        Raw,       // `raw` is written as it stands, then the connection closes
        Handover,  // `handover` takes the connection over (a side channel)
    };
    Kind kind = Kind::Normal;
    int status = 200;
    std::string contentType = "text/plain";
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    std::string raw;
    bool chunked = false;
    bool close = false;
    int delayMs = 0;
    int cutAfter = -1;     // body bytes sent before the connection drops; -1: all
    int rate = 0;          // bytes per second of the whole reply; 0: no limit
    bool endless = false;  // no length: the body is sent again and again until the client goes
    // While a hanging reply holds the connection it asks this whether to go on.
    std::function<bool()> keepHanging;
    // Runs on the connection's thread after the reply went out.
    std::function<void()> afterSend;
    // Handover: runs on the connection's thread with the socket and what was
    // read past the request; the server closes the socket when it returns.
    std::function<void(int fd, std::string pending)> handover;

    static HttpReply text(int status, std::string body, std::string contentType = "text/plain");
};

// How the server takes in one request's body: at most `rate` bytes a second
// (0: as it comes), dropping the connection once `cutAt` bytes were taken
// (-1: never), telling `onBytes` of each piece as it is taken. Asked for once
// the head is read, before any of the body counts as arrived.
struct BodyPace {
    int rate = 0;
    long long cutAt = -1;
    std::function<void(size_t bytes)> onBytes;

    bool active() const { return rate > 0 || cutAt >= 0 || onBytes; }
};

const char* reasonPhrase(int status);

}  // namespace camsim
