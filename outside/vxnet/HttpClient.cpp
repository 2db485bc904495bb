#include "outside/vxnet/HttpClient.h"

#include "outside/vxnet/DigestAuth.h"
#include "outside/vxnet/ErrorMap.h"
#include "outside/vxnet/LogRedact.h"
#include "outside/vxnet/ReplyText.h"
#include "outside/vxnet/UrlCoding.h"
#include "outside/vxnet/vxnet.h"
#include "outside/wrap/CurlHandles.h"
#include "utility/vx_log.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vxnet {

namespace {

constexpr int kDefaultTimeoutMs = 10000;

// One transfer in flight: the reply as text, or the body into a file.
struct Transfer {
    explicit Transfer(size_t limit) : reply(limit) {}
    ReplyText reply;
    int fd = -1;
    bool fileError = false;
    int64_t written = 0;    // bytes of the current reply's body in the file
    int64_t maxBytes = -1;  // the file's bound; -1: none
    bool overMax = false;
};

// Tells the caller of a download how far it got, on the thread that waits
// for the transfer: at its start, as bytes arrive (no more often than
// kBusyMs) and at least every kQuietMs while nothing arrives. It lives across
// the authentication rounds of one download.
class ProgressReport {
public:
    ProgressReport(vxnet_progress_callback cb, void* user) : m_cb(cb), m_user(user) {}

    // True once the caller has called the download off.
    bool tick(CURL* h, const Transfer& t, bool force = false)
    {
        if (!m_cb || m_cancelled)
            return m_cancelled;
        auto now = std::chrono::steady_clock::now();
        int64_t received = t.written;
        auto since = std::chrono::duration_cast<std::chrono::milliseconds>(now - m_last).count();
        if (!force && m_reported && !(since >= kQuietMs || (received != m_received && since >= kBusyMs)))
            return false;
        curl_off_t length = -1;
        bool fileReply = t.reply.status() >= 200 && t.reply.status() < 300;
        if (!fileReply || curl_easy_getinfo(h, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) != CURLE_OK)
            length = -1;
        m_reported = true;
        m_last = now;
        m_received = received;
        m_cancelled = m_cb(m_user, received, static_cast<int64_t>(length)) != 0;
        return m_cancelled;
    }
    bool active() const { return m_cb != nullptr; }
    bool cancelled() const { return m_cancelled; }

private:
    static constexpr long kBusyMs = 100;
    static constexpr long kQuietMs = 1000;
    vxnet_progress_callback m_cb;
    void* m_user;
    bool m_reported = false;
    bool m_cancelled = false;
    int64_t m_received = 0;
    std::chrono::steady_clock::time_point m_last;
};

size_t onHeader(char* data, size_t size, size_t count, void* user)
{
    auto* t = static_cast<Transfer*>(user);
    size_t n = size * count;
    std::string_view line(data, n);
    if (t->fd >= 0 && line.substr(0, 5) == "HTTP/") {
        // A later response replaces whatever an earlier one (a 401) wrote.
        if (ftruncate(t->fd, 0) != 0 || lseek(t->fd, 0, SEEK_SET) != 0) {
            t->fileError = true;
            return 0;
        }
        t->written = 0;
    }
    if (!t->reply.addHeaderLine(line))
        return 0;
    return n;
}

size_t onBody(char* data, size_t size, size_t count, void* user)
{
    auto* t = static_cast<Transfer*>(user);
    size_t n = size * count;
    if (t->fd < 0)
        return t->reply.addBody(std::string_view(data, n)) ? n : 0;
    if (t->reply.status() < 200 || t->reply.status() >= 300)
        return n;  // an error page is not the file
    // Past its bound the body is cut here: an endless reply never fills the disk.
    if (t->maxBytes >= 0 && t->written + static_cast<int64_t>(n) > t->maxBytes) {
        t->overMax = true;
        return 0;
    }
    size_t done = 0;
    while (done < n) {
        ssize_t w = ::write(t->fd, data + done, n - done);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            t->fileError = true;
            return 0;
        }
        done += static_cast<size_t>(w);
    }
    t->written += static_cast<int64_t>(n);
    return n;
}

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

struct Attempt {
    CURLcode curl = CURLE_OK;
    std::string error;
};

// Owns the temporary file of a download until it is renamed or removed.
class TempFile {
public:
    explicit TempFile(const std::string& target) : m_target(target) {}
    ~TempFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_path.empty())
            ::unlink(m_path.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    bool create()
    {
        std::random_device rd;
        for (int i = 0; i < 16; ++i) {
            char suffix[32];
            std::snprintf(suffix, sizeof suffix, ".part-%08x", static_cast<unsigned>(rd()));
            std::string path = m_target + suffix;
            int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                // Held while the download runs, so a clean-up of files left
                // by a killed process spares it.
                ::flock(fd, LOCK_EX | LOCK_NB);
                m_fd = fd;
                m_path = path;
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }
    int fd() const { return m_fd; }
    // Flushes, closes and moves the file to the target; with noReplace a
    // file already there stays and the commit fails.
    bool commit(bool noReplace)
    {
        bool ok = ::fsync(m_fd) == 0;
        ok = (::close(m_fd) == 0) && ok;
        m_fd = -1;
        if (!ok)
            return false;
        if (noReplace) {
            if (::link(m_path.c_str(), m_target.c_str()) != 0)
                return false;
            ::unlink(m_path.c_str());
        } else if (::rename(m_path.c_str(), m_target.c_str()) != 0) {
            return false;
        }
        m_path.clear();
        return true;
    }
    static bool isPartName(std::string_view name)
    {
        size_t at = name.rfind(".part-");
        if (at == std::string_view::npos || at == 0 || name.size() - at != 14)
            return false;
        return name.substr(at + 6).find_first_not_of("0123456789abcdef") == std::string_view::npos;
    }

private:
    std::string m_target;
    std::string m_path;
    int m_fd = -1;
};

}  // namespace

HttpClient::HttpClient(HttpEndpoint endpoint, const Interrupt* interrupt)
    : m_endpoint(std::move(endpoint)), m_interrupt(interrupt)
{}

bool HttpClient::isValidPath(std::string_view path)
{
    if (path.empty() || path.front() != '/')
        return false;
    for (char ch : path) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c == 0x7f)
            return false;
    }
    return true;
}

bool HttpClient::isValidHost(std::string_view host)
{
    if (host.empty() || host.size() > 255)
        return false;
    for (char ch : host) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (!(std::isalnum(c) || c == '.' || c == '-' || c == '_' || c == ':' || c == '%'))
            return false;
    }
    return true;
}

std::string HttpClient::baseUrl() const
{
    std::string host = m_endpoint.host;
    if (host.find(':') != std::string::npos)
        host = "[" + host + "]";
    return "http://" + host + ":" + std::to_string(m_endpoint.port) + "/";
}

namespace {

int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<const Interrupt*>(user)->requested() ? 1 : 0;
}

// curl_easy_perform looks at its progress callback only about once a second
// while the camera is silent; this loop looks at the interrupt and reports a
// download's progress every Interrupt::kPollMs, and the progress callback
// ends a busy transfer too. An interrupted or called-off transfer ends with
// CURLE_ABORTED_BY_CALLBACK.
CURLcode perform(CURL* h, const Interrupt* interrupt, ProgressReport* report, const Transfer& t)
{
    if (!interrupt && !(report && report->active()))
        return curl_easy_perform(h);
    if ((interrupt && interrupt->requested()) || (report && report->tick(h, t)))
        return CURLE_ABORTED_BY_CALLBACK;
    if (interrupt) {
        curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, onProgress);
        curl_easy_setopt(h, CURLOPT_XFERINFODATA, interrupt);
    }
    vxwrap::CurlMulti multi(curl_multi_init());
    if (!multi || curl_multi_add_handle(multi.get(), h) != CURLM_OK)
        return CURLE_OUT_OF_MEMORY;
    CURLcode result = CURLE_OK;
    for (;;) {
        if ((interrupt && interrupt->requested()) || (report && report->tick(h, t))) {
            result = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        int running = 0;
        CURLMcode mc = curl_multi_perform(multi.get(), &running);
        if (mc == CURLM_OK && running == 0) {
            result = CURLE_GOT_NOTHING;
            int left = 0;
            while (CURLMsg* msg = curl_multi_info_read(multi.get(), &left)) {
                if (msg->msg == CURLMSG_DONE && msg->easy_handle == h)
                    result = msg->data.result;
            }
            break;
        }
        if (mc == CURLM_OK)
            mc = curl_multi_poll(multi.get(), nullptr, 0, Interrupt::kPollMs, nullptr);
        if (mc != CURLM_OK) {
            result = mc == CURLM_OUT_OF_MEMORY ? CURLE_OUT_OF_MEMORY : CURLE_FAILED_INIT;
            break;
        }
    }
    curl_multi_remove_handle(multi.get(), h);
    return result;
}

Attempt performOnce(const std::string& url, std::string_view path, int method, int timeout_ms, const HttpEndpoint& ep,
                    bool digest, const std::string& authorization, bool download, const Interrupt* interrupt,
                    Transfer& t, ProgressReport* report)
{
    Attempt a;
    vxwrap::CurlEasy easy(curl_easy_init());
    if (!easy) {
        a.curl = CURLE_OUT_OF_MEMORY;
        return a;
    }
    char errbuf[CURL_ERROR_SIZE] = {0};
    std::string target(path);
    CURL* h = easy.get();
    // The camera gets the path byte for byte: curl would otherwise squash
    // "/../", drop a "#..." part or re-encode characters. The URL still
    // carries the path, untouched as far as curl allows, because Digest signs
    // the URL's path and the camera checks the signature against the path it
    // received; a path curl cannot parse at all falls back to "/".
    std::string full = url + target.substr(1);
    curl_easy_setopt(h, CURLOPT_PATH_AS_IS, 1L);
    if (curl_easy_setopt(h, CURLOPT_URL, full.c_str()) != CURLE_OK)
        curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_REQUEST_TARGET, target.c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http");
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errbuf);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeout_ms));
    if (download) {
        // A large file may take longer than the time-out; a stall may not.
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, static_cast<long>((timeout_ms + 999) / 1000));
    } else {
        curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(timeout_ms));
        curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(VXNET_MAX_REPLY));
    }
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &t);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &t);
    vxwrap::CurlHeaderList headers;
    if (!authorization.empty()) {
        if (!headers.append(("Authorization: " + authorization).c_str())) {
            a.curl = CURLE_OUT_OF_MEMORY;
            return a;
        }
        curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    } else if (!ep.user.empty() || !ep.password.empty()) {
        curl_easy_setopt(h, CURLOPT_HTTPAUTH, digest ? CURLAUTH_DIGEST : CURLAUTH_BASIC);
        curl_easy_setopt(h, CURLOPT_USERNAME, ep.user.c_str());
        curl_easy_setopt(h, CURLOPT_PASSWORD, ep.password.c_str());
    }
    if (method == VXNET_METHOD_POST) {
        curl_easy_setopt(h, CURLOPT_POST, 1L);
        curl_easy_setopt(h, CURLOPT_POSTFIELDS, "");
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE, 0L);
    }
    a.curl = perform(h, interrupt, report, t);
    // The whole file is in: the caller hears of its last bytes.
    if (a.curl == CURLE_OK && report && report->active() && t.reply.status() >= 200 && t.reply.status() < 300
        && report->tick(h, t, true))
        a.curl = CURLE_ABORTED_BY_CALLBACK;
    a.error = a.curl == CURLE_ABORTED_BY_CALLBACK ? "interrupted" : errbuf;
    return a;
}

std::string makeCnonce()
{
    std::random_device rd;
    char text[20];
    std::snprintf(text, sizeof text, "%08x%08x", static_cast<unsigned>(rd()), static_cast<unsigned>(rd()));
    return text;
}

// Basic is tried first. A camera that answers 401 and offers Digest gets the
// request again with Digest; one that turned away from Digest to Basic gets
// Basic. At most two rounds, so a refused login ends quickly.
template <typename MakeTransfer>
Attempt withAuth(const HttpClient& client, const std::string& url, std::string_view path, int method, int timeout_ms,
                 bool download, const Interrupt* interrupt, std::atomic<bool>& useDigest, MakeTransfer&& make,
                 std::unique_ptr<Transfer>& out, ProgressReport* report = nullptr)
{
    const HttpEndpoint& ep = client.endpoint();
    // A path curl would sign wrongly goes out with Basic first even on a
    // camera known to want Digest: its 401 brings the challenge to sign.
    bool own = needsOwnDigest(path);
    bool digest = own ? false : useDigest.load();
    std::string authorization;
    Attempt a;
    for (int round = 0; round < 2; ++round) {
        out = make();
        a = performOnce(url, path, method, timeout_ms, ep, digest, authorization, download, interrupt, *out, report);
        if (a.curl != CURLE_OK || out->reply.status() != 401 || (ep.user.empty() && ep.password.empty()))
            break;
        std::string challenge = out->reply.header("WWW-Authenticate");
        std::string offer = lower(challenge);
        bool offersDigest = offer.find("digest") != std::string::npos;
        bool offersBasic = offer.find("basic") != std::string::npos;
        if (!digest && offersDigest) {
            digest = true;
            if (own)
                authorization = digestAuthorization(challenge, method == VXNET_METHOD_POST ? "POST" : "GET", path,
                                                    ep.user, ep.password, makeCnonce());
        } else if (digest && !offersDigest && offersBasic) {
            digest = false;
            authorization.clear();
        } else {
            break;
        }
        useDigest.store(digest);
    }
    return a;
}

}  // namespace

HttpClient::Result HttpClient::request(std::string_view path, int method, int timeout_ms) const
{
    Result r;
    std::vector<std::string> secrets{m_endpoint.password, percentEncode(m_endpoint.password)};
    if (!isValidPath(path) || (method != VXNET_METHOD_GET && method != VXNET_METHOD_POST)) {
        vx_log(VX_LOG_ERROR, "vxnet HttpClient::request refused path [%s]", redactPath(path, secrets).c_str());
        r.code = VXNET_ERR_BAD_ARG;
        return r;
    }
    if (timeout_ms <= 0)
        timeout_ms = kDefaultTimeoutMs;
    std::unique_ptr<Transfer> t;
    Attempt a = withAuth(
        *this, baseUrl(), path, method, timeout_ms, false, m_interrupt, m_useDigest,
        [] { return std::make_unique<Transfer>(VXNET_MAX_REPLY); }, t);
    r.code = errorFromCurl(a.curl, t->reply.overLimit());
    r.status = t->reply.status();
    if (r.code != VXNET_OK) {
        vx_log(a.curl == CURLE_ABORTED_BY_CALLBACK ? VX_LOG_INFO : VX_LOG_ERROR,
               "vxnet HttpClient::request %s [%s:%d%s] failed: %s (%s)", method == VXNET_METHOD_POST ? "POST" : "GET",
               m_endpoint.host.c_str(), m_endpoint.port, redactPath(path, secrets).c_str(), errorText(r.code),
               redactUrl(a.error).c_str());
        return r;
    }
    r.text = t->reply.text();
    vx_log(VX_LOG_TRACE, "vxnet HttpClient::request %s [%s:%d%s] status %ld, %zu bytes",
           method == VXNET_METHOD_POST ? "POST" : "GET", m_endpoint.host.c_str(), m_endpoint.port,
           redactPath(path, secrets).c_str(), r.status, r.text.size());
    return r;
}

int HttpClient::removeStaleParts(const std::string& folder)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return VXNET_ERR_FILE;
    int removed = 0;
    while (dirent* e = ::readdir(dir)) {
        if (!TempFile::isPartName(e->d_name))
            continue;
        std::string path = folder + "/" + e->d_name;
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            continue;
        struct stat st {};
        // Only a regular file no running download holds.
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0
            && ::unlink(path.c_str()) == 0)
            ++removed;
        ::close(fd);
    }
    ::closedir(dir);
    return removed;
}

int HttpClient::download(std::string_view path, const std::string& local_path, int timeout_ms,
                         vxnet_progress_callback progress, void* user, const DownloadBounds& bounds) const
{
    std::vector<std::string> secrets{m_endpoint.password, percentEncode(m_endpoint.password)};
    if (!isValidPath(path) || local_path.empty()) {
        vx_log(VX_LOG_ERROR, "vxnet HttpClient::download refused [%s] -> [%s]", redactPath(path, secrets).c_str(),
               local_path.c_str());
        return VXNET_ERR_BAD_ARG;
    }
    if (timeout_ms <= 0)
        timeout_ms = kDefaultTimeoutMs;
    TempFile file(local_path);
    if (!file.create()) {
        vx_log(VX_LOG_ERROR, "vxnet HttpClient::download cannot create a file beside [%s]: %s", local_path.c_str(),
               std::strerror(errno));
        return VXNET_ERR_FILE;
    }
    std::unique_ptr<Transfer> t;
    ProgressReport report(progress, user);
    // Headers of the reply are kept for the status; the body goes to the file.
    Attempt a = withAuth(
        *this, baseUrl(), path, VXNET_METHOD_GET, timeout_ms, true, m_interrupt, m_useDigest,
        [&file, &bounds] {
            auto t = std::make_unique<Transfer>(VXNET_MAX_REPLY);
            t->fd = file.fd();
            t->maxBytes = bounds.maxBytes;
            return t;
        },
        t, &report);
    int code = report.cancelled() ? int(VXNET_ERR_CANCELLED)
               : t->overMax       ? int(VXNET_ERR_TOO_LARGE)
                                  : errorFromCurl(a.curl, t->reply.overLimit() && !t->fileError);
    if (code == VXNET_OK)
        code = errorFromHttpStatus(t->reply.status());
    if (code == VXNET_OK && t->written < bounds.minBytes)
        code = VXNET_ERR_SHORT;
    if (code == VXNET_OK && !file.commit(bounds.noReplace))
        code = VXNET_ERR_FILE;
    if (code != VXNET_OK) {
        vx_log(a.curl == CURLE_ABORTED_BY_CALLBACK ? VX_LOG_INFO : VX_LOG_ERROR,
               "vxnet HttpClient::download [%s:%d%s] -> [%s] failed: %s, status %ld (%s)", m_endpoint.host.c_str(),
               m_endpoint.port, redactPath(path, secrets).c_str(), local_path.c_str(), errorText(code),
               t->reply.status(), redactUrl(a.error).c_str());
        return code;
    }
    vx_log(VX_LOG_INFO, "vxnet HttpClient::download [%s:%d%s] -> [%s] done", m_endpoint.host.c_str(), m_endpoint.port,
           redactPath(path, secrets).c_str(), local_path.c_str());
    return VXNET_OK;
}

}  // namespace vxnet
