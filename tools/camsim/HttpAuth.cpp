#include "tools/camsim/HttpAuth.h"

#include <glib.h>
#include <strings.h>

#include <map>
#include <random>

namespace camsim {

namespace {

std::string randomHex(size_t bytes)
{
    std::random_device rd;
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < bytes; ++i) {
        unsigned v = rd() & 0xff;
        out += digits[v >> 4];
        out += digits[v & 15];
    }
    return out;
}

// Splits `key=value, key="quoted \" value", ...` into a map (keys lower-case).
std::map<std::string, std::string> parseFields(const std::string& s)
{
    std::map<std::string, std::string> out;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == ',' || s[i] == '\t'))
            ++i;
        size_t k = i;
        while (i < s.size() && s[i] != '=' && s[i] != ',')
            ++i;
        std::string key = s.substr(k, i - k);
        while (!key.empty() && key.back() == ' ')
            key.pop_back();
        for (auto& c : key)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        std::string value;
        if (i < s.size() && s[i] == '=') {
            ++i;
            while (i < s.size() && s[i] == ' ')
                ++i;
            if (i < s.size() && s[i] == '"') {
                ++i;
                while (i < s.size() && s[i] != '"') {
                    if (s[i] == '\\' && i + 1 < s.size())
                        ++i;
                    value += s[i++];
                }
                ++i;
            } else {
                size_t v = i;
                while (i < s.size() && s[i] != ',')
                    ++i;
                value = s.substr(v, i - v);
                while (!value.empty() && value.back() == ' ')
                    value.pop_back();
            }
        }
        if (!key.empty())
            out[key] = value;
    }
    return out;
}

}  // namespace

const char* authKindName(AuthKind kind)
{
    switch (kind) {
    case AuthKind::None:
        return "none";
    case AuthKind::Basic:
        return "basic";
    case AuthKind::Digest:
        return "digest";
    case AuthKind::Other:
        return "other";
    }
    return "?";
}

HttpAuth::HttpAuth(PasswordOf passwordOf, AuthMode mode, std::string realm)
    : passwordOf_(std::move(passwordOf)), realm_(std::move(realm)), nonce_(randomHex(16)), opaque_(randomHex(8)),
      mode_(mode)
{}

std::string HttpAuth::md5Hex(const std::string& text)
{
    gchar* hex = g_compute_checksum_for_data(G_CHECKSUM_MD5, reinterpret_cast<const guchar*>(text.data()), text.size());
    std::string out(hex);
    g_free(hex);
    return out;
}

bool HttpAuth::checkBasic(const std::string& credentials, std::string& user) const
{
    std::string b64 = credentials;
    while (!b64.empty() && (b64.back() == ' ' || b64.back() == '\t'))
        b64.pop_back();
    if (b64.empty()
        || b64.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=")
               != std::string::npos)
        return false;
    gsize len = 0;
    guchar* raw = g_base64_decode(b64.c_str(), &len);
    std::string plain(reinterpret_cast<char*>(raw), len);
    g_free(raw);
    size_t colon = plain.find(':');
    if (colon == std::string::npos)
        return false;
    user = plain.substr(0, colon);
    std::optional<std::string> password = passwordOf_(user);
    return password && *password == plain.substr(colon + 1);
}

bool HttpAuth::checkDigest(const std::string& text, const HttpRequest& req, std::string& user) const
{
    auto f = parseFields(text);
    user = f["username"];
    std::optional<std::string> password = passwordOf_(user);
    if (!password || f["realm"] != realm_ || f["nonce"] != nonce_)
        return false;
    // The digest covers the request target; one computed over another text
    // (a rewritten path, say) is refused as a real camera refuses it.
    if (f["uri"] != req.target)
        return false;
    if (!f["algorithm"].empty() && strcasecmp(f["algorithm"].c_str(), "MD5") != 0)
        return false;
    std::string ha1 = md5Hex(user + ":" + realm_ + ":" + *password);
    std::string ha2 = md5Hex(req.method + ":" + f["uri"]);
    std::string expect;
    if (f["qop"].empty())
        expect = md5Hex(ha1 + ":" + nonce_ + ":" + ha2);
    else if (f["qop"] == "auth")
        expect = md5Hex(ha1 + ":" + nonce_ + ":" + f["nc"] + ":" + f["cnonce"] + ":auth:" + ha2);
    else
        return false;
    return strcasecmp(expect.c_str(), f["response"].c_str()) == 0;
}

HttpAuth::Result HttpAuth::check(const HttpRequest& req) const
{
    Result r;
    std::string h = req.header("authorization");
    size_t sp = h.find(' ');
    std::string scheme = h.substr(0, sp);
    std::string rest = sp == std::string::npos ? std::string() : h.substr(sp + 1);
    if (h.empty())
        r.kind = AuthKind::None;
    else if (strcasecmp(scheme.c_str(), "Basic") == 0)
        r.kind = AuthKind::Basic;
    else if (strcasecmp(scheme.c_str(), "Digest") == 0)
        r.kind = AuthKind::Digest;
    else
        r.kind = AuthKind::Other;

    std::string user;
    bool basic = r.kind == AuthKind::Basic && mode_ != AuthMode::Digest && checkBasic(rest, user);
    bool digest = r.kind == AuthKind::Digest && mode_ != AuthMode::Basic && checkDigest(rest, req, user);
    r.ok = mode_ == AuthMode::None || basic || digest;
    if (basic || digest)
        r.user = user;
    return r;
}

std::vector<std::string> HttpAuth::challenges() const
{
    std::vector<std::string> out;
    if (mode_ == AuthMode::Digest || mode_ == AuthMode::Any)
        out.push_back("Digest realm=\"" + realm_ + "\", qop=\"auth\", nonce=\"" + nonce_ + "\", opaque=\"" + opaque_
                      + "\", algorithm=MD5");
    if (mode_ == AuthMode::Basic || mode_ == AuthMode::Any)
        out.push_back("Basic realm=\"" + realm_ + "\"");
    return out;
}

}  // namespace camsim
