#include "ui/common/CWebClient.h"

#include "ui/common/CWebClientImpl_p.h"
#include "utility/vx_log.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

namespace {

const char kAccept[] = "Accept: */*";
const char kFormType[] = "Content-Type: application/x-www-form-urlencoded";
const char kBoundary[] = "--MULTI-PARTS-FORM-DATA-BOUNDARY";

long defaultPort(CWebClient::WebProto type)
{
    switch (type) {
    case CWebClient::FTP:
        return 21;
    case CWebClient::HTTPS:
        return 443;
    default:
        return 80;
    }
}

// The request target goes out as given, except for what cannot stand in a
// request line: blanks, control characters, "#" and bytes above 0x7E.
std::string requestTarget(const char* uri)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(uri ? uri : ""); *p; ++p) {
        if (*p <= 0x20 || *p >= 0x7F || *p == '#') {
            out += '%';
            out += kHex[*p >> 4];
            out += kHex[*p & 15];
        } else {
            out += static_cast<char>(*p);
        }
    }
    if (out.empty() || out[0] != '/')
        out.insert(0, "/");
    return out;
}

// The folder part of a request path, where a cookie set for it applies.
std::string cookiePath(const std::string& uri)
{
    std::string path = uri.substr(0, uri.find_first_of("?#"));
    size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string number(double v)
{
    char text[64];
    snprintf(text, sizeof text, "%f", v);
    return text;
}

}  // namespace

namespace vxui {

std::string baseUrl(CWebClient::WebProto type, const std::string& host, long port)
{
    const char* scheme = type == CWebClient::FTP ? "ftp" : type == CWebClient::HTTPS ? "https" : "http";
    std::string h = host;
    if (h.find(':') != std::string::npos && h[0] != '[')
        h = "[" + h + "]";
    return std::string(scheme) + "://" + h + ":" + std::to_string(port);
}

}  // namespace vxui

std::unique_ptr<vxui::WebTransfer> CWebClient::Impl::newTransfer(const CWebClient& owner, const std::string& url) const
{
    auto t = std::make_unique<vxui::WebTransfer>();
    if (!t->valid())
        return t;
    CURL* e = t->easy();
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_SHARE, connections ? connections : vxui::cookieShare());
    if (!agent.empty())
        curl_easy_setopt(e, CURLOPT_USERAGENT, agent.c_str());
    if (!owner.m_strUser.empty()) {
        curl_easy_setopt(e, CURLOPT_USERNAME, owner.m_strUser.c_str());
        curl_easy_setopt(e, CURLOPT_PASSWORD, owner.m_strPassword.c_str());
    }
    return t;
}

CWebClient::CWebClient() : m_impl(std::make_unique<Impl>()) {}

CWebClient::~CWebClient()
{
    Close();
}

bool CWebClient::fail(const std::string& what)
{
    m_impl->error = what;
    vx_log(VX_LOG_ERROR, "CWebClient %s: %s", m_strHost.c_str(), what.c_str());
    return false;
}

CWebClient::UrlParts CWebClient::SplitUrl(const char* url)
{
    UrlParts parts;
    std::string text = url ? url : "";
    std::string rest = text;
    size_t colon = text.find(':');
    if (colon != std::string::npos && colon + 1 < text.size() && text[colon + 1] == '/') {
        parts.scheme = text.substr(0, colon);
        rest = text.substr(colon + 1);
        if (rest.rfind("//", 0) == 0)
            rest.erase(0, 2);
    } else {
        parts.scheme = "http";
    }

    // The authority ends at the first "/": an "@" in the path or query is no
    // user information.
    size_t slash = rest.find('/');
    std::string authority = rest.substr(0, slash);
    parts.path = slash == std::string::npos ? "/" : rest.substr(slash);
    size_t at = authority.rfind('@');
    if (at != std::string::npos) {
        std::string userInfo = authority.substr(0, at);
        authority.erase(0, at + 1);
        size_t sep = userInfo.find(':');
        auto decode = [](const std::string& s) {
            int n = 0;
            char* d = curl_easy_unescape(nullptr, s.c_str(), static_cast<int>(s.size()), &n);
            std::string r = d ? std::string(d, static_cast<size_t>(n)) : s;
            curl_free(d);
            return r;
        };
        parts.user = decode(userInfo.substr(0, sep));
        if (sep != std::string::npos)
            parts.password = decode(userInfo.substr(sep + 1));
    }

    size_t portColon = std::string::npos;
    if (!authority.empty() && authority[0] == '[') {
        size_t close = authority.find(']');
        portColon = close == std::string::npos ? std::string::npos : authority.find(':', close);
    } else {
        portColon = authority.find(':');
    }
    parts.host = authority.substr(0, portColon);
    if (portColon != std::string::npos)
        parts.port = strtol(authority.c_str() + portColon + 1, nullptr, 10);

    if (strncasecmp(parts.scheme.c_str(), "https", 5) == 0)
        parts.type = HTTPS;
    else if (strncasecmp(parts.scheme.c_str(), "http", 4) == 0)
        parts.type = HTTP;
    else if (strncasecmp(parts.scheme.c_str(), "ftp", 3) == 0)
        parts.type = FTP;
    else
        parts.known = false;
    if (portColon == std::string::npos)
        parts.port = defaultPort(parts.type);
    return parts;
}

bool CWebClient::Connect(const char* url, const char* user, const char* password, const char* agent)
{
    UrlParts parts = SplitUrl(url);
    if (!parts.known) {
        m_impl->error = "unknown scheme " + parts.scheme;
        return false;
    }
    std::string u = user ? user : parts.user;
    std::string p = password ? password : parts.password;
    if (!Connect(parts.host.c_str(), parts.port, u.c_str(), p.c_str(), parts.type, agent))
        return false;
    m_strURI = parts.path;
    return true;
}

bool CWebClient::Connect(const char* host, long port, const char* user, const char* password, WebProto type,
                         const char* agent)
{
    Close();
    m_impl->error.clear();
    if (type != FTP && type != HTTP && type != HTTPS)
        return fail("connect failed: unknown connection type");
    if (!host || !*host)
        return fail("connect failed: no host");
    vxui::ensureCurl();
    m_strHost = host;
    m_nPort = port ? port : defaultPort(type);
    m_nType = type;
    m_strUser = user ? user : "";
    m_strPassword = password ? password : "";
    m_impl->agent = agent ? agent : "";
    m_listCookies.clear();
    m_listPostArguments.clear();

    if (type == FTP) {
        m_impl->connections = curl_share_init();
        curl_share_setopt(m_impl->connections, CURLSHOPT_SHARE, CURL_LOCK_DATA_CONNECT);
        // Logging in now, as an FTP connection does, so wrong credentials fail here.
        auto probe = m_impl->newTransfer(*this, vxui::baseUrl(FTP, m_strHost, m_nPort) + "/");
        curl_easy_setopt(probe->easy(), CURLOPT_NOBODY, 1L);
        if (!probe->start() || !probe->finish()) {
            std::string why = probe->error();
            probe.reset();
            curl_share_cleanup(m_impl->connections);
            m_impl->connections = nullptr;
            return fail("connection failed: " + why);
        }
    }
    m_hSession = m_impl.get();
    m_hConnection = m_impl.get();
    return true;
}

void CWebClient::closeRequest()
{
    m_impl->request.reset();
    m_impl->multipart.reset();
    m_impl->formBody.clear();
    m_hRequest = nullptr;
}

void CWebClient::Close()
{
    closeRequest();
    m_impl->ftpGet.reset();
    m_impl->ftpPut.reset();
    if (m_impl->connections)
        curl_share_cleanup(m_impl->connections);
    m_impl->connections = nullptr;
    m_hConnection = nullptr;
    m_hSession = nullptr;
}

bool CWebClient::Request(const char* uri, WebMethod method, const char* referrer)
{
    m_impl->error.clear();
    closeRequest();  // the previous request's handle goes first
    bool ok = false;
    switch (method) {
    case GET:
        ok = RequestGet(uri, referrer);
        break;
    case POST:
        ok = RequestPost(uri, referrer);
        break;
    case POST2:
        ok = RequestPost2(uri, referrer);
        break;
    default:
        fail("request failed: unknown method");
        break;
    }
    if (!ok) {
        closeRequest();
        return false;
    }
    m_strURI = uri ? uri : "";
    return true;
}

bool CWebClient::setCookies(const char* uri)
{
    if (m_listCookies.empty())
        return true;
    // The process's one store holds them, for every later request to this host and path.
    std::string path = cookiePath(uri ? uri : "/");
    for (const Cookie& c : m_listCookies) {
        if (c.name.empty() || c.name.find_first_of("\t\r\n;= ") != std::string::npos
            || c.value.find_first_of("\t\r\n;") != std::string::npos)
            return fail("add cookie failed: " + c.name);
        std::string host = m_strHost;
        if (!host.empty() && host[0] == '[')
            host = host.substr(1, host.size() - 2);
        std::string line = host + "\tFALSE\t" + path + "\t" + (m_nType == HTTPS ? "TRUE" : "FALSE") + "\t0\t" + c.name
                           + "\t" + c.value;
        if (curl_easy_setopt(m_impl->request->easy(), CURLOPT_COOKIELIST, line.c_str()) != CURLE_OK)
            return fail("add cookie failed: " + c.name);
    }
    return true;
}

bool CWebClient::send(const char* uri, WebMethod method, const char* referrer)
{
    if (!m_hConnection || m_nType == FTP)
        return fail("handle not opened");
    std::string url = vxui::baseUrl(m_nType, m_strHost, m_nPort) + "/";
    std::string target = requestTarget(uri);
    // Redirects of a GET are followed here, since libcurl would keep sending
    // the first target; those of a POST go back to the caller.
    for (int redirects = 0;; ++redirects) {
        if (!open(url, target, method, referrer, redirects == 0))
            return false;
        vxui::WebTransfer& t = *m_impl->request;
        std::string location;
        long s = t.status();
        bool redirect = (s == 301 || s == 302 || s == 303 || s == 307 || s == 308) && t.header("Location", location);
        if (method != GET || !redirect)
            break;
        if (redirects == 10)
            return fail("request failed: too many redirects");
        if (location.find("://") != std::string::npos) {
            url = location;
            target.clear();
        } else {
            target = location[0] == '/' ? location : cookiePath(target) + "/" + location;
        }
    }
    m_hRequest = m_impl->request.get();
    return true;
}

bool CWebClient::open(const std::string& url, const std::string& target, WebMethod method, const char* referrer,
                      bool first)
{
    m_impl->request = m_impl->newTransfer(*this, url);
    vxui::WebTransfer& t = *m_impl->request;
    if (!t.valid())
        return fail("request failed: out of memory");
    CURL* e = t.easy();
    if (!target.empty())
        curl_easy_setopt(e, CURLOPT_REQUEST_TARGET, target.c_str());
    curl_easy_setopt(e, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    if (referrer && *referrer)
        curl_easy_setopt(e, CURLOPT_REFERER, referrer);
    // Credentials answer the challenges of this connection's own server only.
    if (!m_strUser.empty() && (first || url.rfind(vxui::baseUrl(m_nType, m_strHost, m_nPort) + "/", 0) == 0)) {
        curl_easy_setopt(e, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC | CURLAUTH_DIGEST));
        t.setExpectAuthRetry(true);
    } else {
        curl_easy_setopt(e, CURLOPT_USERNAME, nullptr);
        curl_easy_setopt(e, CURLOPT_PASSWORD, nullptr);
    }
    std::vector<std::string> headers{kAccept};
    if (method == GET) {
        curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
    } else if (method == POST) {
        m_impl->formBody = GetPostData();
        headers.push_back(kFormType);
        curl_easy_setopt(e, CURLOPT_POST, 1L);
        curl_easy_setopt(e, CURLOPT_POSTFIELDS, m_impl->formBody.data());
        curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(m_impl->formBody.size()));
    } else {
        std::list<vxui::MultipartBody::Argument> args;
        for (const PostArgument& a : m_listPostArguments)
            args.push_back({a.name, a.value, a.isFile});
        m_impl->multipart = std::make_unique<vxui::MultipartBody>();
        std::string why;
        if (!m_impl->multipart->build(args, kBoundary, why))
            return fail("request failed: " + why);
        headers.push_back(std::string("Content-Type: multipart/form-data; boundary=") + kBoundary);
        vxui::MultipartBody* body = m_impl->multipart.get();
        t.setReader(
            [body](char* buf, size_t size) {
                size_t n = body->read(buf, size);
                return n == SIZE_MAX ? static_cast<size_t>(CURL_READFUNC_ABORT) : n;
            },
            [body] { return body->rewind(); });
        curl_easy_setopt(e, CURLOPT_POST, 1L);
        curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body->length()));
    }
    t.setHeaders(headers);
    if (first && !setCookies(target.empty() ? "/" : target.c_str()))
        return false;
    if (!t.start() || !t.waitHeaders())
        return fail("request failed: " + t.error());
    return true;
}

bool CWebClient::RequestGet(const char* uri, const char* referrer)
{
    return send(uri, GET, referrer);
}
bool CWebClient::RequestPost(const char* uri, const char* referrer)
{
    return send(uri, POST, referrer);
}
bool CWebClient::RequestPost2(const char* uri, const char* referrer)
{
    return send(uri, POST2, referrer);
}

DWORD CWebClient::Response(BYTE* buffer, DWORD size)
{
    if (!m_impl->request) {
        fail("response failed: no request");
        return 0;
    }
    if (!buffer || size == 0)
        return 0;
    m_impl->error.clear();
    long n = m_impl->request->read(buffer, size);
    if (n < 0) {
        fail("response failed: " + m_impl->request->error());
        closeRequest();
        return 0;
    }
    return static_cast<DWORD>(n);
}

unsigned CWebClient::QueryResult()
{
    if (!m_impl->request || m_impl->request->status() <= 0)
        return 404;
    return static_cast<unsigned>(m_impl->request->status());
}

DWORD CWebClient::QueryContentLength()
{
    std::string v;
    if (!m_impl->request || !m_impl->request->header("Content-Length", v))
        return 0;
    return static_cast<DWORD>(strtoul(v.c_str(), nullptr, 10));
}

const char* CWebClient::QueryContentType()
{
    if (!m_impl->request || !m_impl->request->header("Content-Type", m_impl->contentType))
        return nullptr;
    return m_impl->contentType.c_str();
}

namespace {
DWORD copyOut(const std::string& text, BYTE* buffer, DWORD size)
{
    if (!buffer || text.size() + 1 > size)
        return 0;
    memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<DWORD>(text.size());
}
}  // namespace

DWORD CWebClient::QueryCookie(BYTE* buffer, DWORD size, DWORD index)
{
    std::string v;
    if (!m_impl->request || !m_impl->request->header("Set-Cookie", v, index))
        return 0;
    return copyOut(v, buffer, size);
}

DWORD CWebClient::QueryRawHeader(BYTE* buffer, DWORD size)
{
    if (!m_impl->request || m_impl->request->statusLine().empty())
        return 0;
    std::string raw = m_impl->request->statusLine() + "\r\n";
    for (const std::string& h : m_impl->request->headers())
        raw += h + "\r\n";
    raw += "\r\n";
    return copyOut(raw, buffer, size);
}

const char* CWebClient::GetURI()
{
    return m_strURI.c_str();
}
const char* CWebClient::GetError()
{
    return m_impl->error.c_str();
}

void CWebClient::AddPostArgument(const char* name, const char* value, bool isFile)
{
    m_listPostArguments.push_back({name ? name : "", value ? value : "", isFile});
}
void CWebClient::AddPostArgument(const char* name, int value)
{
    AddPostArgument(name, std::to_string(value).c_str());
}
void CWebClient::AddPostArgument(const char* name, long value)
{
    AddPostArgument(name, std::to_string(value).c_str());
}
void CWebClient::AddPostArgument(const char* name, float value)
{
    AddPostArgument(name, number(value).c_str());
}
void CWebClient::AddPostArgument(const char* name, double value)
{
    AddPostArgument(name, number(value).c_str());
}
void CWebClient::AddCookie(const char* name, const char* value)
{
    m_listCookies.push_back({name ? name : "", value ? value : ""});
}
void CWebClient::AddCookie(const char* name, int value)
{
    AddCookie(name, std::to_string(value).c_str());
}
void CWebClient::AddCookie(const char* name, long value)
{
    AddCookie(name, std::to_string(value).c_str());
}
void CWebClient::AddCookie(const char* name, float value)
{
    AddCookie(name, number(value).c_str());
}
void CWebClient::AddCookie(const char* name, double value)
{
    AddCookie(name, number(value).c_str());
}
void CWebClient::InitializePostArguments()
{
    m_listPostArguments.clear();
}
void CWebClient::InitializeCookies()
{
    m_listCookies.clear();
}

std::string CWebClient::GetPostData() const
{
    std::string body;
    for (const PostArgument& a : m_listPostArguments) {
        if (!body.empty())
            body += '&';
        body += a.name + "=" + a.value;
    }
    return body;
}

DWORD CWebClient::GetPostArgumentsLength() const
{
    return static_cast<DWORD>(GetPostData().size());
}
