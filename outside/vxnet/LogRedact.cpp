#include "outside/vxnet/LogRedact.h"

#include <algorithm>
#include <cctype>

namespace vxnet {

namespace {

constexpr std::string_view kMask = "***";

bool isSensitiveName(std::string_view name)
{
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find("pass") != std::string::npos || lower.find("pwd") != std::string::npos
           || lower.find("key") != std::string::npos;
}

bool isNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.';
}

// name=value pairs of a query (the value runs to '&', '#', a blank or the end).
std::string maskQueryValues(std::string_view in)
{
    std::string out;
    out.reserve(in.size());
    size_t i = 0;
    while (i < in.size()) {
        char c = in[i];
        if (c == '=' && i > 0) {
            size_t start = i;
            while (start > 0 && isNameChar(in[start - 1]))
                --start;
            std::string_view name = in.substr(start, i - start);
            out.push_back('=');
            ++i;
            if (!name.empty() && isSensitiveName(name)) {
                size_t end = i;
                if (end < in.size() && (in[end] == '"' || in[end] == '\'')) {
                    // A quoted value (a reply's variable line, an XML
                    // attribute) runs to its closing quote, blanks and all.
                    size_t close = in.find(in[end], end + 1);
                    end = close == std::string_view::npos ? in.size() : close + 1;
                } else {
                    while (end < in.size() && in[end] != '&' && in[end] != '#' && in[end] != ' ' && in[end] != '\r'
                           && in[end] != '\n')
                        ++end;
                }
                if (end > i)
                    out.append(kMask);
                i = end;
            }
            continue;
        }
        out.push_back(c);
        ++i;
    }
    return out;
}

// "name":"value" members of JSON text carried in a path.
std::string maskJsonValues(std::string_view in)
{
    std::string out;
    out.reserve(in.size());
    size_t i = 0;
    while (i < in.size()) {
        if (in[i] == '"') {
            size_t close = in.find('"', i + 1);
            if (close != std::string_view::npos) {
                std::string_view name = in.substr(i + 1, close - i - 1);
                size_t j = close + 1;
                while (j < in.size() && in[j] == ' ')
                    ++j;
                if (j < in.size() && in[j] == ':' && isSensitiveName(name)) {
                    size_t k = j + 1;
                    while (k < in.size() && in[k] == ' ')
                        ++k;
                    if (k < in.size() && in[k] == '"') {
                        size_t vend = in.find('"', k + 1);
                        if (vend == std::string_view::npos)
                            vend = in.size();
                        out.append(in.substr(i, k + 1 - i));
                        out.append(kMask);
                        if (vend < in.size())
                            out.push_back('"');
                        i = vend + 1;
                        continue;
                    }
                }
                out.append(in.substr(i, close + 1 - i));
                i = close + 1;
                continue;
            }
        }
        out.push_back(in[i]);
        ++i;
    }
    return out;
}

}  // namespace

std::string redactUrl(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        size_t scheme = text.find("://", pos);
        if (scheme == std::string_view::npos)
            break;
        size_t auth_start = scheme + 3;
        // The authority ends at the first '/', '?', '#' or blank.
        size_t auth_end = auth_start;
        while (auth_end < text.size() && text[auth_end] != '/' && text[auth_end] != '?' && text[auth_end] != '#'
               && text[auth_end] != ' ' && text[auth_end] != '\'' && text[auth_end] != '"' && text[auth_end] != '\n')
            ++auth_end;
        std::string_view authority = text.substr(auth_start, auth_end - auth_start);
        size_t at = authority.rfind('@');
        out.append(text.substr(pos, auth_start - pos));
        if (at != std::string_view::npos) {
            std::string_view userinfo = authority.substr(0, at);
            size_t colon = userinfo.find(':');
            if (colon != std::string_view::npos) {
                out.append(userinfo.substr(0, colon + 1));
                out.append(kMask);
            } else {
                out.append(userinfo);
            }
            out.append(authority.substr(at));
        } else {
            out.append(authority);
        }
        pos = auth_end;
    }
    out.append(text.substr(pos));
    return out;
}

std::string redactPath(std::string_view path, const std::vector<std::string>& secrets)
{
    std::string out = maskJsonValues(maskQueryValues(redactUrl(path)));
    for (const std::string& secret : secrets) {
        // Very short secrets would mask ordinary text all over the line; the
        // parameter rules above already cover where passwords travel.
        if (secret.size() < 3)
            continue;
        size_t at = 0;
        while ((at = out.find(secret, at)) != std::string::npos) {
            out.replace(at, secret.size(), kMask);
            at += kMask.size();
        }
    }
    return out;
}

}  // namespace vxnet
