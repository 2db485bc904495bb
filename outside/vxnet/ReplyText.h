#pragma once
// Collects one HTTP exchange as the text a CGI caller gets back: the final
// status line, the final headers, an empty line and the decoded body.
// libcurl hands over every header block it sees (a 100 Continue, the 401 of
// an authentication round); only the last one belongs to the reply.

#include <cstddef>
#include <string>
#include <string_view>

namespace vxnet {

class ReplyText {
public:
    explicit ReplyText(size_t limit) : m_limit(limit) {}

    // One header line as curl gives it, CR LF included. Returns false once the
    // reply would pass the limit.
    bool addHeaderLine(std::string_view line);
    // A piece of the decoded body. Returns false once past the limit.
    bool addBody(std::string_view data);

    bool overLimit() const { return m_over; }
    long status() const { return m_status; }
    const std::string& headers() const { return m_headers; }
    const std::string& body() const { return m_body; }
    // Values of the headers of that name in the final block (name without the
    // colon, any case), trimmed and joined by ", "; empty when absent.
    std::string header(std::string_view name) const;

    // The whole text; headers end with an empty line even when the reply had
    // no header lines at all (an HTTP/0.9 answer).
    std::string text() const;

private:
    bool fits(size_t more);

    size_t m_limit;
    bool m_over = false;
    long m_status = 0;
    std::string m_headers;
    std::string m_body;
};

}  // namespace vxnet
