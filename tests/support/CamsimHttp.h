#pragma once
// One plain HTTP GET to a test's camsim, as its end-to-end tests ask the
// camera directly (setters and getters of the parameter CGI, control
// requests). Blocking; the caller's thread.
//
//   CamsimReply r = CamsimGet(cam, "/cgi-bin/hi3510/param.cgi?cmd=getserverinfo");
//   EXPECT_TRUE(r.has(CamsimVar("model", "...")));

#include "support/CamsimProcess.h"

#include <curl/curl.h>

#include <string>

namespace camsim_http {
inline size_t Append(char* data, size_t size, size_t n, void* out)
{
    static_cast<std::string*>(out)->append(data, size * n);
    return size * n;
}
}  // namespace camsim_http

struct CamsimReply {
    CURLcode code = CURLE_OK;
    long status = 0;  // 0 when no answer came
    std::string body;
    bool has(const std::string& text) const { return body.find(text) != std::string::npos; }
};

// The account is the camera's default unless a test logs in as another.
inline CamsimReply CamsimGet(const CamsimProcess& cam, const std::string& target, long timeoutMs = 10000,
                             const std::string& user = "admin", const std::string& password = "admin",
                             long auth = CURLAUTH_ANY)
{
    CamsimReply r;
    CURL* c = curl_easy_init();
    std::string url = cam.httpUrl(target);
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, camsim_http::Append);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &r.body);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, timeoutMs);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_HTTPAUTH, auth);
    curl_easy_setopt(c, CURLOPT_USERNAME, user.c_str());
    curl_easy_setopt(c, CURLOPT_PASSWORD, password.c_str());
    r.code = curl_easy_perform(c);
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &r.status);
    curl_easy_cleanup(c);
    return r;
}

// How the parameter CGI shows one value: var name="value";
inline std::string CamsimVar(const std::string& name, const std::string& value)
{
    return "var " + name + "=\"" + value + "\";";
}
