#include "outside/vxnet/Session.h"

#include "outside/vxnet/ErrorMap.h"
#include "outside/vxnet/FamilyProbe.h"
#include "outside/vxnet/LogRedact.h"
#include "outside/vxnet/StreamUrl.h"
#include "outside/vxnet/UrlCoding.h"
#include "utility/vx_log.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <new>

namespace vxnet {

namespace {

template <size_t N>
void terminate(char (&field)[N])
{
    field[N - 1] = '\0';
}

// Every text field ends within its size, whatever the caller left in it.
void terminateTexts(STConnectInfo& b)
{
    terminate(b.szHost);
    terminate(b.szUser);
    terminate(b.szPassword);
    terminate(b.szUserEncoded);
    terminate(b.szPasswordEncoded);
    terminate(b.szP2PServer);
    terminate(b.szP2PServer2);
    terminate(b.szP2PId);
    terminate(b.szRtspUrl);
}

bool isValidRtspUrl(const char* url)
{
    if (strncasecmp(url, "rtsp://", 7) != 0 && strncasecmp(url, "rtsps://", 8) != 0)
        return false;
    for (const char* p = url; *p; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c <= 0x20 || c == 0x7f)
            return false;
    }
    return true;
}

template <size_t N>
void copyText(char (&field)[N], const std::string& text)
{
    size_t n = text.size() < N - 1 ? text.size() : N - 1;
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

}  // namespace

Session::~Session()
{
    closeStream();
}

std::string Session::logName() const
{
    if (m_block.szRtspUrl[0])
        return redactUrl(m_block.szRtspUrl);
    return std::string(m_block.szHost) + ":" + std::to_string(m_block.nHttpPort);
}

int Session::connect(const STConnectInfo& info, std::unique_ptr<Session>& out, const int* cancel)
{
    out.reset();
    if (cancel && __atomic_load_n(cancel, __ATOMIC_ACQUIRE) != 0)
        return VXNET_ERR_TIMEOUT;
    std::unique_ptr<Session> s(new (std::nothrow) Session);
    if (!s)
        return VXNET_ERR_NO_MEMORY;
    s->m_block = info;
    STConnectInfo& b = s->m_block;
    terminateTexts(b);
    b.nChipType = 0;
    b.nUseIP = 0;

    // The encoded credentials are what URLs carry; a block that has only the
    // plain ones gets them encoded here.
    if (!b.szUserEncoded[0] && b.szUser[0])
        copyText(b.szUserEncoded, percentEncode(b.szUser));
    if (!b.szPasswordEncoded[0] && b.szPassword[0])
        copyText(b.szPasswordEncoded, percentEncode(b.szPassword));
    s->m_secrets = {b.szPassword, b.szPasswordEncoded};

    // An RTSP URL entry has only its stream: no family, no CGI.
    if (b.szRtspUrl[0]) {
        if (!isValidRtspUrl(b.szRtspUrl)) {
            vx_log(VX_LOG_ERROR, "vxnet_connect refused RTSP URL [%s]", redactUrl(b.szRtspUrl).c_str());
            return VXNET_ERR_BAD_ARG;
        }
        b.nChipType = VXNET_CHIP_NONE;
        vx_log(VX_LOG_INFO, "vxnet_connect [%s] RTSP URL entry", s->logName().c_str());
        out = std::move(s);
        return VXNET_OK;
    }

    // P2P has no transport here: an entry that knows its camera's address is
    // reached directly, one that does not cannot be reached at all.
    bool p2p = b.nIsP2P == 1;
    if (p2p && !b.szHost[0]) {
        vx_log(VX_LOG_ERROR, "vxnet_connect P2P entry [%s] has no address", b.szP2PId);
        return VXNET_ERR_UNSUPPORTED;
    }
    if (!HttpClient::isValidHost(b.szHost) || b.nHttpPort < 0 || b.nHttpPort > 65535 || b.nMediaPort < 0
        || b.nMediaPort > 65535) {
        vx_log(VX_LOG_ERROR, "vxnet_connect refused address [%s] ports %d/%d", b.szHost, b.nHttpPort, b.nMediaPort);
        return VXNET_ERR_BAD_ARG;
    }
    if (b.nHttpPort == 0)
        b.nHttpPort = 80;

    HttpEndpoint ep;
    ep.host = b.szHost;
    ep.port = b.nHttpPort;
    ep.user = b.szUser;
    ep.password = b.szPassword;
    s->m_http = std::make_unique<HttpClient>(std::move(ep), &s->m_interrupt);
    // The cancel flag lives only as long as this call: watched for the probe alone.
    s->m_interrupt.watch(cancel);
    ProbeResult found =
        probeFamily(*s->m_http, b.szUserEncoded, b.szPasswordEncoded, p2p ? kP2PProbeTimeoutMs : kProbeTimeoutMs);
    s->m_interrupt.watch(nullptr);
    if (found.code != VXNET_OK) {
        vx_log(VX_LOG_ERROR, "vxnet_connect [%s] failed: %s", s->logName().c_str(), errorText(found.code));
        return found.code;
    }
    b.nChipType = found.chip;
    if (p2p)
        b.nUseIP = 1;
    vx_log(VX_LOG_INFO, "vxnet_connect [%s] chip type %d%s", s->logName().c_str(), b.nChipType,
           p2p ? " (P2P entry reached by address)" : "");
    out = std::move(s);
    return VXNET_OK;
}

int Session::status() const
{
    {
        std::lock_guard lock(m_streamMutex);
        if (m_reader) {
            if (m_reader->finished() && m_reader->error() != VXNET_OK)
                return m_reader->error();
            return m_requestError.load();
        }
    }
    // Without a stream nothing but requests would tell: ask the port when
    // the camera has been silent for a while.
    if (m_http)
        return m_liveness.status(m_block.szHost, m_block.nHttpPort, m_requestError.load());
    return m_requestError.load();
}

void Session::noteRequest(int code)
{
    // An interrupted call says nothing about the camera.
    if (m_interrupt.requested())
        return;
    // Only a request that got no answer says the camera is gone; an error
    // status is the camera talking.
    if (code == VXNET_ERR_CONNECT || code == VXNET_ERR_TIMEOUT || code == VXNET_ERR_PROTOCOL) {
        m_requestError.store(code);
        return;
    }
    if (code == VXNET_OK)
        m_requestError.store(VXNET_OK);
    m_liveness.answered();
}

int Session::cgi(const char* path, char** output, int method, int timeout_ms)
{
    if (!output)
        return VXNET_ERR_BAD_ARG;
    *output = nullptr;
    if (!path)
        return VXNET_ERR_BAD_ARG;
    if (!m_http) {
        vx_log(VX_LOG_ERROR, "vxnet_get_cgi_command [%s] has no HTTP address", logName().c_str());
        return VXNET_ERR_UNSUPPORTED;
    }
    if (m_interrupt.requested())
        return VXNET_ERR_TIMEOUT;
    HttpClient::Result r = m_http->request(path, method, timeout_ms);
    noteRequest(r.code);
    if (r.code != VXNET_OK)
        return r.code;
    char* text = static_cast<char*>(std::malloc(r.text.size() + 1));
    if (!text)
        return VXNET_ERR_NO_MEMORY;
    std::memcpy(text, r.text.data(), r.text.size());
    text[r.text.size()] = '\0';
    *output = text;
    return VXNET_OK;
}

int Session::download(const char* remote_path, const char* local_path, int timeout_ms, vxnet_progress_callback progress,
                      void* user, const DownloadBounds& bounds)
{
    if (!remote_path || !local_path)
        return VXNET_ERR_BAD_ARG;
    if (!m_http)
        return VXNET_ERR_UNSUPPORTED;
    if (m_interrupt.requested())
        return VXNET_ERR_TIMEOUT;
    int code = m_http->download(remote_path, local_path, timeout_ms, progress, user, bounds);
    noteRequest(code);
    return code;
}

void Session::setTrackCallback(vxnet_track_callback cb, void* user)
{
    std::lock_guard lock(m_streamMutex);
    m_callbacks.track = cb;
    m_callbacks.trackUser = user;
}

void Session::setDataCallback(vxnet_stream_callback cb, void* user)
{
    std::lock_guard lock(m_streamMutex);
    m_callbacks.data = cb;
    m_callbacks.dataUser = user;
}

void Session::setErrorCallback(vxnet_error_callback cb, void* user)
{
    std::lock_guard lock(m_streamMutex);
    m_callbacks.error = cb;
    m_callbacks.errorUser = user;
}

int Session::openStream()
{
    if (StreamReader::current())
        return VXNET_ERR_BUSY;
    if (m_interrupt.requested())
        return VXNET_ERR_TIMEOUT;
    std::lock_guard control(m_controlMutex);
    std::unique_ptr<StreamReader> old;
    {
        std::lock_guard lock(m_streamMutex);
        if (m_reader && !m_reader->finished())
            return VXNET_ERR_BUSY;
        // A stream that ended by itself makes room for the new one.
        old = std::move(m_reader);
    }
    old.reset();  // joins a thread that has already ended

    std::string url = streamUrl(m_block);
    StreamReader* r = nullptr;
    {
        std::lock_guard lock(m_streamMutex);
        m_reader = std::make_unique<StreamReader>(url, redactUrl(url), m_callbacks, &m_interrupt);
        r = m_reader.get();
    }
    // Opened without the stream lock, so status and bitrate stay readable;
    // the control lock keeps a close from pulling the reader away meanwhile.
    int rc = r->open(kStreamOpenTimeoutMs);
    // An interrupt that came as the camera answered still wins: the caller
    // is stopping and must not be left with a running stream.
    if (rc == VXNET_OK && m_interrupt.requested())
        rc = VXNET_ERR_TIMEOUT;
    if (rc != VXNET_OK) {
        std::unique_ptr<StreamReader> failed;
        {
            std::lock_guard lock(m_streamMutex);
            failed = std::move(m_reader);
        }
        vx_log(VX_LOG_ERROR, "vxnet_open_stream [%s] failed: %s", logName().c_str(), errorText(rc));
    }
    return rc;
}

int Session::closeStream()
{
    // A callback cannot wait for the thread it runs on.
    if (StreamReader::current())
        return VXNET_ERR_BUSY;
    std::lock_guard control(m_controlMutex);
    std::unique_ptr<StreamReader> r;
    {
        std::lock_guard lock(m_streamMutex);
        r = std::move(m_reader);
    }
    // Joined without the stream lock: a callback that reads the status or the
    // bitrate must not block the reader we wait for.
    if (r)
        r->close();
    return VXNET_OK;
}

float Session::bitrate() const
{
    std::lock_guard lock(m_streamMutex);
    if (!m_reader || m_reader->finished())
        return 0.0f;
    return static_cast<float>(m_reader->bitsPerSecond());
}

int Session::forceKeyFrame() const
{
    std::lock_guard lock(m_streamMutex);
    return m_reader && !m_reader->finished() ? VXNET_OK : VXNET_ERR_STREAM;
}

}  // namespace vxnet
