#include "camera/session/CgiReply.h"

#include <cctype>
#include <cstring>
#include <strings.h>
#include <string>

namespace vxcam {

int CgiReplyStatus(const char* reply) {
    if (!reply || strncmp(reply, "HTTP/", 5) != 0)
        return 0;
    const char* p = reply + 5;
    // version: digits '.' digits
    if (!isdigit(static_cast<unsigned char>(*p)))
        return 0;
    while (isdigit(static_cast<unsigned char>(*p)))
        ++p;
    if (*p == '.') {
        ++p;
        while (isdigit(static_cast<unsigned char>(*p)))
            ++p;
    }
    if (*p != ' ')
        return 0;
    ++p;
    int code = 0;
    for (int i = 0; i < 3; ++i, ++p) {
        if (!isdigit(static_cast<unsigned char>(*p)))
            return 0;
        code = code * 10 + (*p - '0');
    }
    if (*p != ' ' && *p != '\r' && *p != '\n' && *p != '\0')
        return 0;
    return code;
}

namespace {

const char* SkipBlank(const char* p) {
    while (*p && isspace(static_cast<unsigned char>(*p)))
        ++p;
    return p;
}

// The body is one <Message> element, optionally after an XML declaration.
bool IsMessageDocument(const char* body) {
    const char* p = SkipBlank(body);
    if (strncmp(p, "<?xml", 5) == 0) {
        const char* end = strstr(p, "?>");
        if (!end)
            return false;
        p = SkipBlank(end + 2);
    }
    if (strncmp(p, "<Message", 8) != 0 || (p[8] != '>' && p[8] != ' '))
        return false;
    std::string rest(p);
    while (!rest.empty() && isspace(static_cast<unsigned char>(rest.back())))
        rest.pop_back();
    static const char kEnd[] = "</Message>";
    return rest.size() >= sizeof kEnd - 1 && rest.compare(rest.size() - (sizeof kEnd - 1), std::string::npos, kEnd) == 0;
}

} // namespace

bool CgiGetSucceeded(const char* reply) {
    if (!reply)
        return false;
    int status = CgiReplyStatus(reply);
    if (status != 0)
        return status == 200;
    return IsMessageDocument(reply);
}

bool CgiPostSucceeded(const char* reply) { return CgiReplyStatus(reply) == 200; }

namespace {

void ReplaceAll(std::string& s, const std::string& what, const std::string& with) {
    if (what.empty())
        return;
    for (size_t pos = s.find(what); pos != std::string::npos; pos = s.find(what, pos + with.size()))
        s.replace(pos, what.size(), with);
}

void MaskPasswordValues(std::string& s) {
    static const char kKey[] = "password=";
    const size_t keyLen = sizeof kKey - 1;
    for (size_t i = 0; i + keyLen <= s.size(); ++i) {
        if (strncasecmp(s.c_str() + i, kKey, keyLen) != 0)
            continue;
        size_t start = i + keyLen;
        size_t end = start;
        while (end < s.size() && s[end] != '&' && s[end] != ' ' && s[end] != '\r' && s[end] != '\n' &&
               s[end] != '"' && s[end] != '\'' && s[end] != ';')
            ++end;
        s.replace(start, end - start, "***");
        i = start + 2;
    }
}

} // namespace

CString MaskSecrets(const CString& text, const CString& password, const CString& passwordEncoded) {
    std::string s(static_cast<const char*>(text), static_cast<size_t>(text.GetLength()));
    // The longer form first, so that the plain password inside it is not
    // replaced alone and leaves the rest readable.
    std::string plain(static_cast<const char*>(password));
    std::string encoded(static_cast<const char*>(passwordEncoded));
    if (encoded.size() >= plain.size()) {
        ReplaceAll(s, encoded, "***");
        ReplaceAll(s, plain, "***");
    } else {
        ReplaceAll(s, plain, "***");
        ReplaceAll(s, encoded, "***");
    }
    MaskPasswordValues(s);
    return CString(s.c_str());
}

bool ParseCameraTimeText(const CString& text, COleDateTime& out) {
    if (text.GetLength() != 14)
        return false;
    const char* t = text;
    for (int i = 0; i < 14; ++i) {
        if (!isdigit(static_cast<unsigned char>(t[i])))
            return false;
    }
    auto num = [t](int from, int len) {
        int v = 0;
        for (int i = 0; i < len; ++i)
            v = v * 10 + (t[from + i] - '0');
        return v;
    };
    COleDateTime parsed;
    if (parsed.SetDateTime(num(0, 4), num(4, 2), num(6, 2), num(8, 2), num(10, 2), num(12, 2)) != 0 ||
        parsed.GetStatus() != COleDateTime::valid)
        return false;
    out = parsed;
    return true;
}

} // namespace vxcam
