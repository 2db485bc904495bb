#include "ui/common/WebTransfer_p.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <strings.h>

namespace vxui {
namespace {

// Body bytes kept between two reads at most; beyond it the transfer pauses
// until the caller has read them, so memory stays flat for any body size.
constexpr size_t kMaxPending = 64 * 1024;
// A transfer that moves nothing for this long has failed.
constexpr int64_t kStallMs = 60 * 1000;
constexpr int kPollMs = 100;

int64_t nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::mutex g_shareLocks[CURL_LOCK_DATA_LAST];

void lockShare(CURL*, curl_lock_data data, curl_lock_access, void*)
{
    g_shareLocks[data].lock();
}
void unlockShare(CURL*, curl_lock_data data, void*)
{
    g_shareLocks[data].unlock();
}

std::string trimLine(const char* data, size_t n)
{
    while (n > 0 && (data[n - 1] == '\r' || data[n - 1] == '\n'))
        --n;
    return std::string(data, n);
}

}  // namespace

void ensureCurl()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

CURLSH* cookieShare()
{
    static CURLSH* share = [] {
        ensureCurl();
        CURLSH* s = curl_share_init();
        curl_share_setopt(s, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
        curl_share_setopt(s, CURLSHOPT_LOCKFUNC, lockShare);
        curl_share_setopt(s, CURLSHOPT_UNLOCKFUNC, unlockShare);
        return s;
    }();
    return share;
}

WebTransfer::WebTransfer()
{
    ensureCurl();
    m_multi.reset(curl_multi_init());
    m_easy.reset(curl_easy_init());
    if (!valid())
        return;
    curl_easy_setopt(m_easy.get(), CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_easy.get(), CURLOPT_CONNECTTIMEOUT, 60L);
    curl_easy_setopt(m_easy.get(), CURLOPT_SHARE, cookieShare());
    curl_easy_setopt(m_easy.get(), CURLOPT_COOKIEFILE, "");  // cookie engine on, nothing read from disk
    // The system's CA store is where the usual variables point, if anywhere.
    if (const char* file = getenv("SSL_CERT_FILE"))
        curl_easy_setopt(m_easy.get(), CURLOPT_CAINFO, file);
    if (const char* dir = getenv("SSL_CERT_DIR"))
        curl_easy_setopt(m_easy.get(), CURLOPT_CAPATH, dir);
    curl_easy_setopt(m_easy.get(), CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(m_easy.get(), CURLOPT_HEADERDATA, this);
    curl_easy_setopt(m_easy.get(), CURLOPT_WRITEFUNCTION, onWrite);
    curl_easy_setopt(m_easy.get(), CURLOPT_WRITEDATA, this);
}

WebTransfer::~WebTransfer()
{
    // The handles free themselves; the easy one leaves the multi one first.
    if (m_started)
        curl_multi_remove_handle(m_multi.get(), m_easy.get());
}

void WebTransfer::setReader(Reader reader, Rewinder rewinder)
{
    m_reader = std::move(reader);
    m_rewinder = std::move(rewinder);
    curl_easy_setopt(m_easy.get(), CURLOPT_READFUNCTION, onRead);
    curl_easy_setopt(m_easy.get(), CURLOPT_READDATA, this);
    curl_easy_setopt(m_easy.get(), CURLOPT_SEEKFUNCTION, onSeek);
    curl_easy_setopt(m_easy.get(), CURLOPT_SEEKDATA, this);
}

void WebTransfer::setHeaders(const std::vector<std::string>& headers)
{
    m_headerList.clear();
    for (const std::string& h : headers)
        m_headerList.append(h.c_str());
    curl_easy_setopt(m_easy.get(), CURLOPT_HTTPHEADER, m_headerList.get());
}

bool WebTransfer::start()
{
    if (!valid())
        return setFailure("out of memory");
    if (curl_multi_add_handle(m_multi.get(), m_easy.get()) != CURLM_OK)
        return setFailure("cannot start the transfer");
    m_started = true;
    m_lastProgressMs = nowMs();
    return true;
}

bool WebTransfer::setFailure(const std::string& what)
{
    if (m_error.empty())
        m_error = what;
    m_done = true;
    return false;
}

bool WebTransfer::pump()
{
    int running = 0;
    CURLMcode mc = curl_multi_perform(m_multi.get(), &running);
    if (mc != CURLM_OK)
        return setFailure(curl_multi_strerror(mc));
    int queued = 0;
    while (CURLMsg* msg = curl_multi_info_read(m_multi.get(), &queued)) {
        if (msg->msg != CURLMSG_DONE)
            continue;
        m_done = true;
        if (msg->data.result != CURLE_OK)
            return setFailure(curl_easy_strerror(msg->data.result));
        long code = 0;
        if (curl_easy_getinfo(m_easy.get(), CURLINFO_RESPONSE_CODE, &code) == CURLE_OK && code)
            m_status = code;
        m_headersFinal = true;
    }
    if (m_done)
        return true;
    if (nowMs() - m_lastProgressMs > kStallMs)
        return setFailure("timed out");
    if (!m_writePaused && !m_readPaused)
        curl_multi_poll(m_multi.get(), nullptr, 0, kPollMs, nullptr);
    return true;
}

bool WebTransfer::waitHeaders()
{
    while (!m_headersFinal && !m_done)
        if (!pump())
            return false;
    return m_error.empty();
}

long WebTransfer::read(uint8_t* buf, size_t size)
{
    for (;;) {
        size_t available = m_pending.size() - m_pendingPos;
        if (available > 0) {
            size_t n = available < size ? available : size;
            memcpy(buf, m_pending.data() + m_pendingPos, n);
            m_pendingPos += n;
            if (m_pendingPos == m_pending.size()) {
                m_pending.clear();
                m_pendingPos = 0;
                if (m_writePaused) {
                    m_writePaused = false;
                    m_lastProgressMs = nowMs();
                    curl_easy_pause(m_easy.get(), CURLPAUSE_CONT);  // may refill m_pending at once
                }
            }
            return static_cast<long>(n);
        }
        if (m_done)
            return m_error.empty() ? 0 : -1;
        if (!pump())
            return -1;
    }
}

bool WebTransfer::finish()
{
    while (!m_done) {
        if (m_pending.size() > 0) {
            m_pending.clear();
            m_pendingPos = 0;
        }
        if (m_writePaused) {
            m_writePaused = false;
            curl_easy_pause(m_easy.get(), CURLPAUSE_CONT);
        }
        if (!pump())
            return false;
    }
    return m_error.empty();
}

bool WebTransfer::resumeUpload()
{
    if (m_readPaused) {
        m_readPaused = false;
        m_lastProgressMs = nowMs();
        curl_easy_pause(m_easy.get(), CURLPAUSE_CONT);
    }
    while (!m_done && !m_readPaused)
        if (!pump())
            return false;
    return m_error.empty();
}

bool WebTransfer::header(const char* name, std::string& value, size_t index) const
{
    size_t nameLen = strlen(name);
    for (const std::string& h : m_headers) {
        if (h.size() > nameLen && h[nameLen] == ':' && strncasecmp(h.c_str(), name, nameLen) == 0) {
            if (index-- > 0)
                continue;
            size_t start = h.find_first_not_of(" \t", nameLen + 1);
            value = start == std::string::npos ? std::string() : h.substr(start);
            return true;
        }
    }
    return false;
}

size_t WebTransfer::onHeader(char* data, size_t size, size_t count, void* self)
{
    auto* t = static_cast<WebTransfer*>(self);
    size_t n = size * count;
    t->m_lastProgressMs = nowMs();
    std::string line = trimLine(data, n);
    if (line.rfind("HTTP/", 0) == 0) {
        // A new response begins: only the final one's headers are kept.
        t->m_statusLine = line;
        t->m_headers.clear();
        size_t sp = line.find(' ');
        t->m_status = sp == std::string::npos ? 0 : strtol(line.c_str() + sp + 1, nullptr, 10);
        return n;
    }
    if (!line.empty()) {
        t->m_headers.push_back(line);
        return n;
    }
    // End of one response's headers: final unless libcurl goes on to another.
    long s = t->m_status;
    bool interim = s >= 100 && s < 200;
    if ((s == 401 || s == 407) && t->m_expectAuthRetry && ++t->m_authChallenges == 1)
        interim = true;
    if (!interim && !t->m_statusLine.empty())
        t->m_headersFinal = true;
    return n;
}

size_t WebTransfer::onWrite(char* data, size_t size, size_t count, void* self)
{
    auto* t = static_cast<WebTransfer*>(self);
    size_t n = size * count;
    t->m_headersFinal = true;
    if (t->m_pending.size() - t->m_pendingPos >= kMaxPending) {
        t->m_writePaused = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    if (t->m_pendingPos > 0) {
        t->m_pending.erase(0, t->m_pendingPos);
        t->m_pendingPos = 0;
    }
    t->m_pending.append(data, n);
    t->m_lastProgressMs = nowMs();
    return n;
}

size_t WebTransfer::onRead(char* data, size_t size, size_t count, void* self)
{
    auto* t = static_cast<WebTransfer*>(self);
    if (!t->m_reader)
        return 0;
    size_t r = t->m_reader(data, size * count);
    if (r == CURL_READFUNC_PAUSE)
        t->m_readPaused = true;
    else
        t->m_lastProgressMs = nowMs();
    return r;
}

int WebTransfer::onSeek(void* self, curl_off_t offset, int origin)
{
    auto* t = static_cast<WebTransfer*>(self);
    if (origin == SEEK_SET && offset == 0 && t->m_rewinder && t->m_rewinder())
        return CURL_SEEKFUNC_OK;
    return CURL_SEEKFUNC_CANTSEEK;
}

}  // namespace vxui
