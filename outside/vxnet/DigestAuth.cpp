#include "outside/vxnet/DigestAuth.h"

extern "C" {
#include <libavutil/md5.h>
}

#include <cctype>
#include <map>

namespace vxnet {

namespace {

std::string md5Hex(std::string_view text)
{
    uint8_t digest[16];
    av_md5_sum(digest, reinterpret_cast<const uint8_t*>(text.data()), text.size());
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    for (uint8_t b : digest) {
        out.push_back(kHex[b >> 4]);
        out.push_back(kHex[b & 15]);
    }
    return out;
}

std::string lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool isToken(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.';
}

// The parameters of the Digest challenge: key=value or key="quoted", up to
// the next scheme name (a word not followed by '=').
std::map<std::string, std::string> digestParams(std::string_view header)
{
    std::map<std::string, std::string> out;
    std::string low = lower(header);
    size_t at = 0;
    while ((at = low.find("digest", at)) != std::string::npos) {
        bool starts = at == 0 || low[at - 1] == ' ' || low[at - 1] == ',';
        if (starts && at + 6 < low.size() && low[at + 6] == ' ')
            break;
        at += 6;
    }
    if (at == std::string::npos)
        return out;
    size_t i = at + 7;
    while (i < header.size()) {
        while (i < header.size() && (header[i] == ' ' || header[i] == ','))
            ++i;
        size_t key_start = i;
        while (i < header.size() && isToken(header[i]))
            ++i;
        std::string key = lower(header.substr(key_start, i - key_start));
        while (i < header.size() && header[i] == ' ')
            ++i;
        if (key.empty() || i >= header.size() || header[i] != '=')
            break;  // the next scheme begins
        ++i;
        while (i < header.size() && header[i] == ' ')
            ++i;
        std::string value;
        if (i < header.size() && header[i] == '"') {
            ++i;
            while (i < header.size() && header[i] != '"') {
                if (header[i] == '\\' && i + 1 < header.size())
                    ++i;
                value.push_back(header[i]);
                ++i;
            }
            ++i;
        } else {
            while (i < header.size() && header[i] != ',' && header[i] != ' ')
                value.push_back(header[i++]);
        }
        out[key] = value;
    }
    return out;
}

std::string quoted(std::string_view text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

}  // namespace

bool needsOwnDigest(std::string_view path)
{
    return path.find_first_of("\"#\\") != std::string_view::npos;
}

std::string digestAuthorization(std::string_view www_authenticate, std::string_view method, std::string_view uri,
                                const std::string& user, const std::string& password, const std::string& cnonce)
{
    std::map<std::string, std::string> p = digestParams(www_authenticate);
    if (p.find("nonce") == p.end())
        return {};
    std::string algorithm = p.count("algorithm") ? lower(p["algorithm"]) : "md5";
    if (algorithm != "md5" && algorithm != "md5-sess")
        return {};
    bool qop = false;
    if (p.count("qop")) {
        // A list such as "auth,auth-int": only "auth" is answered.
        std::string list = lower(p["qop"]);
        size_t at = 0;
        while (!qop && (at = list.find("auth", at)) != std::string::npos) {
            size_t end = at + 4;
            qop = (at == 0 || list[at - 1] == ',' || list[at - 1] == ' ')
                  && (end == list.size() || list[end] == ',' || list[end] == ' ');
            at = end;
        }
        if (!qop)
            return {};
    }
    const std::string& realm = p["realm"];
    const std::string& nonce = p["nonce"];
    const std::string nc = "00000001";
    std::string ha1 = md5Hex(user + ":" + realm + ":" + password);
    if (algorithm == "md5-sess")
        ha1 = md5Hex(ha1 + ":" + nonce + ":" + cnonce);
    std::string ha2 = md5Hex(std::string(method) + ":" + std::string(uri));
    std::string response = qop ? md5Hex(ha1 + ":" + nonce + ":" + nc + ":" + cnonce + ":auth:" + ha2)
                               : md5Hex(ha1 + ":" + nonce + ":" + ha2);
    std::string out = "Digest username=" + quoted(user) + ", realm=" + quoted(realm) + ", nonce=" + quoted(nonce)
                      + ", uri=" + quoted(uri) + ", response=\"" + response + "\"";
    if (p.count("algorithm"))
        out += ", algorithm=" + p["algorithm"];
    if (p.count("opaque"))
        out += ", opaque=" + quoted(p["opaque"]);
    if (qop)
        out += ", qop=auth, nc=" + nc + ", cnonce=\"" + cnonce + "\"";
    return out;
}

}  // namespace vxnet
