#include "outside/vxnet/FamilyProbe.h"

#include "outside/vxnet/HttpClient.h"
#include "outside/vxnet/vxnet.h"
#include "utility/vx_log.h"

#include <cctype>
#include <cstdlib>

namespace vxnet {

namespace probe {

long statusOf(std::string_view reply)
{
    if (reply.substr(0, 5) != "HTTP/")
        return 0;
    size_t sp = reply.find(' ');
    if (sp == std::string_view::npos || sp + 4 > reply.size())
        return 0;
    std::string code(reply.substr(sp + 1, 3));
    return std::strtol(code.c_str(), nullptr, 10);
}

std::string_view bodyOf(std::string_view reply)
{
    size_t end = reply.find("\r\n\r\n");
    if (end == std::string_view::npos)
        return {};
    return reply.substr(end + 4);
}

namespace {

// "name" followed, after optional blanks, by '=' (a CGI variable line
// "var name=..." or an INI-like "name=...").
bool hasAssignment(std::string_view body, std::string_view name)
{
    size_t at = 0;
    while ((at = body.find(name, at)) != std::string_view::npos) {
        bool starts = at == 0 || !(std::isalnum(static_cast<unsigned char>(body[at - 1])) || body[at - 1] == '_');
        size_t i = at + name.size();
        while (i < body.size() && (body[i] == ' ' || body[i] == '\t'))
            ++i;
        if (starts && i < body.size() && body[i] == '=')
            return true;
        at += name.size();
    }
    return false;
}

// The value of attribute attr in the first <element ...> tag, without quotes.
bool xmlAttribute(std::string_view body, std::string_view element, std::string_view attr, std::string& value)
{
    std::string open = "<" + std::string(element);
    size_t at = 0;
    while ((at = body.find(open, at)) != std::string_view::npos) {
        size_t after = at + open.size();
        if (after < body.size()
            && (body[after] == ' ' || body[after] == '\t' || body[after] == '\r' || body[after] == '\n'
                || body[after] == '>' || body[after] == '/')) {
            size_t close = body.find('>', after);
            if (close == std::string_view::npos)
                return false;
            std::string_view tag = body.substr(after, close - after);
            size_t a = 0;
            while ((a = tag.find(attr, a)) != std::string_view::npos) {
                bool starts =
                    a == 0 || tag[a - 1] == ' ' || tag[a - 1] == '\t' || tag[a - 1] == '\n' || tag[a - 1] == '\r';
                size_t i = a + attr.size();
                while (i < tag.size() && tag[i] == ' ')
                    ++i;
                if (starts && i < tag.size() && tag[i] == '=') {
                    ++i;
                    while (i < tag.size() && tag[i] == ' ')
                        ++i;
                    if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
                        char q = tag[i];
                        size_t end = tag.find(q, i + 1);
                        if (end == std::string_view::npos)
                            return false;
                        value = std::string(tag.substr(i + 1, end - i - 1));
                        return true;
                    }
                }
                a += attr.size();
            }
            return false;
        }
        at = after;
    }
    return false;
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

}  // namespace

// HX: CGI variable lines of the user info, with the user's "authLevel".
bool isHx(std::string_view reply)
{
    return statusOf(reply) == 200 && hasAssignment(bodyOf(reply), "authLevel");
}

// HV: an XML answer whose <result> element carries code="200".
bool isHv(std::string_view reply)
{
    std::string code;
    return statusOf(reply) == 200 && xmlAttribute(bodyOf(reply), "result", "code", code) && code == "200";
}

bool isHvRefusal(std::string_view reply)
{
    std::string code;
    return statusOf(reply) == 200 && xmlAttribute(bodyOf(reply), "result", "code", code)
           && (code == "401" || code == "403");
}

// DY: the user check answers with a "rolename" variable.
bool isDy(std::string_view reply)
{
    return statusOf(reply) == 200 && hasAssignment(bodyOf(reply), "rolename");
}

// AJ: the audio encoder page is XML with <audioencoder encode_type="...">.
bool isAjAudio(std::string_view reply)
{
    std::string type;
    return statusOf(reply) == 200 && xmlAttribute(bodyOf(reply), "audioencoder", "encode_type", type);
}

// HTL: the device query answers with a JSON object.
bool isHtl(std::string_view reply)
{
    std::string_view body = trim(bodyOf(reply));
    return statusOf(reply) == 200 && body.size() >= 2 && body.front() == '{' && body.back() == '}';
}

}  // namespace probe

// Order of the probes, and what each one checks:
//  1. HV  (72) GET /cgi/sys_get?Group=DeviceInfo
//         200 and an XML <result> element with code="200". HV answers a
//         refused account inside a 200 reply (<result code="401">), which
//         counts as a refused login.
//  2. DY  (73) GET /dy-cgi/user.cgi?cmd=checkuserinfo
//         200 and a variable assigning "rolename".
//  3. AJ  (76) GET /cgi-bin/user_management?username=&password= (no
//         account): only a reply holding a <user_management> element goes
//         on, so no camera of another family sees the account in a URL; then
//         GET /cgi-bin/user_management?username=U&password=P and
//         GET /cgi-bin/audioencoder?username=U&password=P: the login page
//         answers 200, and the audio page is XML with
//         <audioencoder encode_type="...">. The login page's own text has no
//         fixed form, so the audio page is what tells the family apart.
//  4. HTL (77) GET /cgi-bin/web.cgi?mod=device&cmd=get
//         200 and a body that is a JSON object.
//  5. HX  (71) GET /cgi-bin/hi3510/param.cgi?cmd=getuserinfo&cmd=getvideoattr
//         200 and a variable line assigning "authLevel".
// HX goes last: its parameter CGI is the common one that cameras of the other
// families carry as well, so its answer only means HX once no family-specific
// request was understood.
// The first family whose check passes wins. A probe that gets no answer at all
// before any other answered ends the search: the camera is not reachable and
// the next requests would only wait out their time-outs too. An interrupt
// (the session's, or the caller's cancel flag) ends it with a time-out. When no family
// matched but one of them refused the login (401/403), the result is a login
// failure; a camera that answered and matched none gets chip type 70.
ProbeResult probeFamily(const HttpClient& http, const std::string& user_enc, const std::string& password_enc,
                        int timeout_ms)
{
    struct Step {
        int chip;
        const char* name;
    };
    static const Step kOrder[] = {
        {VXNET_CHIP_HV, "HV"},   {VXNET_CHIP_DY, "DY"}, {VXNET_CHIP_AJ, "AJ"},
        {VXNET_CHIP_HTL, "HTL"}, {VXNET_CHIP_HX, "HX"},
    };
    const std::string aj_query = "?username=" + user_enc + "&password=" + password_enc;

    bool answered = false;
    bool refused = false;
    ProbeResult out;
    for (const Step& step : kOrder) {
        HttpClient::Result r;
        bool match = false;
        switch (step.chip) {
        case VXNET_CHIP_HX:
            r = http.request("/cgi-bin/hi3510/param.cgi?cmd=getuserinfo&cmd=getvideoattr", VXNET_METHOD_GET,
                             timeout_ms);
            match = r.code == VXNET_OK && probe::isHx(r.text);
            break;
        case VXNET_CHIP_HV:
            r = http.request("/cgi/sys_get?Group=DeviceInfo", VXNET_METHOD_GET, timeout_ms);
            match = r.code == VXNET_OK && probe::isHv(r.text);
            if (r.code == VXNET_OK && probe::isHvRefusal(r.text))
                refused = true;
            break;
        case VXNET_CHIP_DY:
            r = http.request("/dy-cgi/user.cgi?cmd=checkuserinfo", VXNET_METHOD_GET, timeout_ms);
            match = r.code == VXNET_OK && probe::isDy(r.text);
            break;
        case VXNET_CHIP_AJ:
            // The account goes into this family's query only once the camera
            // has shown it is one: an empty account first, which AJ answers
            // with its own <user_management> element (refused) and others
            // with a plain error.
            r = http.request("/cgi-bin/user_management?username=&password=", VXNET_METHOD_GET, timeout_ms);
            if (r.code != VXNET_OK || probe::bodyOf(r.text).find("<user_management") == std::string_view::npos)
                break;
            r = http.request("/cgi-bin/user_management" + aj_query, VXNET_METHOD_GET, timeout_ms);
            if (r.code == VXNET_OK && r.status == 200) {
                HttpClient::Result audio =
                    http.request("/cgi-bin/audioencoder" + aj_query, VXNET_METHOD_GET, timeout_ms);
                match = audio.code == VXNET_OK && probe::isAjAudio(audio.text);
            }
            break;
        case VXNET_CHIP_HTL:
            r = http.request("/cgi-bin/web.cgi?mod=device&cmd=get", VXNET_METHOD_GET, timeout_ms);
            match = r.code == VXNET_OK && probe::isHtl(r.text);
            break;
        }
        if (http.interrupted()) {
            // Whatever the families said so far, the caller no longer waits.
            out.code = VXNET_ERR_TIMEOUT;
            return out;
        }
        vx_log(VX_LOG_TRACE, "vxnet probeFamily [%s:%d] %s: result %d status %ld%s", http.endpoint().host.c_str(),
               http.endpoint().port, step.name, r.code, r.status, match ? " match" : "");
        if (match) {
            out.chip = step.chip;
            return out;
        }
        if (r.code != VXNET_OK) {
            if (!answered) {
                out.code = r.code;
                return out;
            }
            continue;
        }
        answered = true;
        if (r.status == 401 || r.status == 403)
            refused = true;
    }
    if (refused) {
        out.code = VXNET_ERR_AUTH;
        return out;
    }
    out.chip = VXNET_CHIP_NONE;
    return out;
}

}  // namespace vxnet
