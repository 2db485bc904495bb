#include "tools/camsim/HttpMessage.h"

namespace camsim {

std::string HttpRequest::header(const std::string& name) const
{
    for (const auto& [k, v] : headers) {
        if (k == name)
            return v;
    }
    return {};
}

HttpReply HttpReply::text(int status, std::string body, std::string contentType)
{
    HttpReply r;
    r.status = status;
    r.body = std::move(body);
    r.contentType = std::move(contentType);
    return r;
}

const char* reasonPhrase(int status)
{
    switch (status) {
    case 100:
        return "Continue";
    case 200:
        return "OK";
    case 204:
        return "No Content";
    case 206:
        return "Partial Content";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 408:
        return "Request Timeout";
    case 416:
        return "Range Not Satisfiable";
    case 413:
        return "Payload Too Large";
    case 431:
        return "Request Header Fields Too Large";
    case 500:
        return "Internal Server Error";
    case 501:
        return "Not Implemented";
    case 502:
        return "Bad Gateway";
    case 503:
        return "Service Unavailable";
    case 504:
        return "Gateway Timeout";
    default:
        return "Status";
    }
}

}  // namespace camsim
