#include "camera/session/CgiReply.h"

#include "outside/vxnet/vxnet.h"

#include <cctype>
#include <cstring>
#include <string>
#include <strings.h>

namespace vxcam {

int CgiReplyStatus(const char* reply)
{
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

const char* SkipBlank(const char* p)
{
    while (*p && isspace(static_cast<unsigned char>(*p)))
        ++p;
    return p;
}

// The body is one <Message> element, optionally after an XML declaration.
bool IsMessageDocument(const char* body)
{
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
    return rest.size() >= sizeof kEnd - 1
           && rest.compare(rest.size() - (sizeof kEnd - 1), std::string::npos, kEnd) == 0;
}

}  // namespace

bool CgiGetSucceeded(const char* reply)
{
    if (!reply)
        return false;
    int status = CgiReplyStatus(reply);
    if (status != 0)
        return status == 200;
    return IsMessageDocument(reply);
}

bool CgiPostSucceeded(const char* reply)
{
    // Cameras refuse a setting with "[Error]" under status 200: that write
    // did not happen.
    if (CgiReplyStatus(reply) != 200)
        return false;
    const char* body = strstr(reply, "\r\n\r\n");
    return !body || !strstr(body, "[Error]");
}

CString MaskSecrets(const CString& text, const CString& password, const CString& passwordEncoded)
{
    // The transport library's rule, so every log line of the system masks
    // alike: password-like parameters, variable lines and attributes (other
    // accounts' passwords in replies too) and the session's own secrets.
    const char* secrets[] = {password, passwordEncoded};
    char* safe = nullptr;
    if (vxnet_redact_text(text, secrets, 2, &safe) != 0 || !safe)
        return CString("(not logged)");
    CString out(safe);
    vxnet_free_cgi_output(&safe);
    return out;
}

bool ParseCameraTimeText(const CString& text, COleDateTime& out)
{
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
    if (parsed.SetDateTime(num(0, 4), num(4, 2), num(6, 2), num(8, 2), num(10, 2), num(12, 2)) != 0
        || parsed.GetStatus() != COleDateTime::valid)
        return false;
    out = parsed;
    return true;
}

}  // namespace vxcam
