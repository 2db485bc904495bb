#include "utility/vx_url.h"

#include "utility/vx_guard_p.h"
#include "utility/vx_result.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr size_t kMaxUrl = 255;

bool isUnreserved(unsigned char c)
{
    return isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

char* copyOf(const std::string& s)
{
    char* p = static_cast<char*>(malloc(s.size() + 1));
    if (p)
        memcpy(p, s.c_str(), s.size() + 1);
    return p;
}

// Decodes into a string; false when a "%" lacks its two characters. Two
// characters that are not hexadecimal digits give the byte their digit values
// make, as the coding always did.
bool decode(const char* text, std::string& result)
{
    size_t len = strlen(text);
    result.clear();
    for (size_t i = 0; i < len; ++i) {
        if (text[i] != '%') {
            result += text[i];
            continue;
        }
        if (len - i < 3)
            return false;
        int hi = hexValue(text[i + 1]);
        int lo = hexValue(text[i + 2]);
        result += static_cast<char>(((hi < 0 ? 0 : hi) << 4) | (lo < 0 ? 0 : lo));
        i += 2;
    }
    return true;
}

std::string encode(const char* text)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (isUnreserved(*p)) {
            out += static_cast<char>(*p);
        } else {
            out += '%';
            out += kHex[*p >> 4];
            out += kHex[*p & 15];
        }
    }
    return out;
}

// Percent-decodes a part of the owned buffer in place; a part that does not
// decode stays as it was.
void decodeInPlace(char* part)
{
    std::string decoded;
    if (part && decode(part, decoded))
        memcpy(part, decoded.c_str(), decoded.size() + 1);  // never longer than the original
}

bool isSchemeChar(unsigned char c)
{
    return isalnum(c) || c == '+' || c == '-' || c == '.';
}

}  // namespace

extern "C" char* vx_url_encode(const char* text, char** out)
{
    return vxutil::guarded("vx_url_encode", static_cast<char*>(nullptr), [&]() -> char* {
        char* result = text ? copyOf(encode(text)) : nullptr;
        if (out)
            *out = result;
        return result;
    });
}

extern "C" char* vx_url_decode(const char* text, char** out)
{
    return vxutil::guarded("vx_url_decode", static_cast<char*>(nullptr), [&]() -> char* {
        std::string decoded;
        char* result = text && decode(text, decoded) ? copyOf(decoded) : nullptr;
        if (out)
            *out = result;
        return result;
    });
}

extern "C" void vx_url_free(char** text)
{
    vxutil::guardedVoid("vx_url_free", [&] {
        if (text) {
            free(*text);
            *text = nullptr;
        }
    });
}

extern "C" int vx_url_parse(vx_url* url, const char* text, char separator)
{
    int rc = vxutil::guarded("vx_url_parse", [&]() -> int {
        if (!url)
            return VX_ERR_INVALID_ARG;
        memset(url, 0, sizeof *url);
        if (!text)
            return VX_OK;
        url->buffer = copyOf(text);
        if (!url->buffer)
            return VX_ERR_NO_MEMORY;
        char* rest = url->buffer;

        // Scheme: the letters before ":/".
        if (char* colon = strstr(rest, ":/")) {
            bool scheme = colon > rest;
            for (char* p = rest; p < colon; ++p)
                scheme = scheme && isSchemeChar(static_cast<unsigned char>(*p));
            if (scheme) {
                *colon = '\0';
                url->scheme = rest;
                rest = colon[2] == '/' ? colon + 3 : colon + 1;
            }
        }

        // User info: only an "@" that stands before the path counts.
        char* firstSlash = strchr(rest, '/');
        char* at = strrchr(rest, '@');
        if (at && (!firstSlash || at < firstSlash)) {
            *at = '\0';
            url->user = rest;
            if (char* colon = strchr(rest, ':')) {
                *colon = '\0';
                url->password = colon + 1;
                decodeInPlace(url->password);
            }
            decodeInPlace(url->user);
            rest = at + 1;
        }

        // Host and port, up to the path.
        char* slash = strchr(rest, '/');
        if (*rest != '/') {
            std::string hostPart = slash ? std::string(rest, static_cast<size_t>(slash - rest)) : std::string(rest);
            size_t portColon = std::string::npos;
            if (!hostPart.empty() && hostPart[0] == '[') {
                size_t close = hostPart.find(']');
                if (close != std::string::npos)
                    portColon = hostPart.find(':', close);
            } else {
                portColon = hostPart.find(':');
            }
            if (portColon != std::string::npos) {
                url->port = atoi(hostPart.c_str() + portColon + 1);
                hostPart.resize(portColon);
            }
            url->host = copyOf(hostPart);
        }

        // Path and query.
        if (slash) {
            url->path = slash;
            if (separator) {
                if (char* q = strchr(slash, separator)) {
                    *q = '\0';
                    url->query = q + 1;
                }
            }
        }
        return VX_OK;
    });
    // A parse cut short keeps nothing half-made.
    if (rc != VX_OK && rc != VX_ERR_INVALID_ARG)
        vx_url_clean(url);
    return rc;
}

extern "C" char* vx_url_compose(const vx_url* url, char** out)
{
    return vxutil::guarded("vx_url_compose", static_cast<char*>(nullptr), [&]() -> char* {
        char* result = nullptr;
        if (url) {
            std::string s;
            if (url->scheme)
                s += std::string(url->scheme) + ":";
            if (url->host) {
                s += "//";
                if (url->user) {
                    s += encode(url->user);
                    if (url->password)
                        s += ":" + encode(url->password);
                    s += "@";
                }
                // An IPv6 host is bracketed once, whether it came with brackets or not.
                std::string host = url->host;
                if (host.find(':') != std::string::npos && host[0] != '[')
                    host = "[" + host + "]";
                s += host;
                if (url->port != 0)
                    s += ":" + std::to_string(url->port);
            }
            if (url->path)
                s += url->path;
            if (url->query)
                s += std::string("?") + url->query;
            if (!s.empty() && s.size() <= kMaxUrl)
                result = copyOf(s);
        }
        if (out)
            *out = result;
        return result;
    });
}

extern "C" void vx_url_clean(vx_url* url)
{
    vxutil::guardedVoid("vx_url_clean", [&] {
        if (!url)
            return;
        free(url->buffer);
        free(url->host);
        memset(url, 0, sizeof *url);
    });
}
