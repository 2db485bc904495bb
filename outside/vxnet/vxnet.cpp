// The C entry points: argument checks, then the session does the work.
// Nothing may throw out of here.

#include "outside/vxnet/vxnet.h"

#include "outside/vxnet/FfmpegLog.h"
#include "outside/vxnet/Session.h"
#include "outside/vxnet/StreamReader.h"
#include "utility/vx_log.h"

#include <curl/curl.h>

extern "C" {
#include <libavformat/avformat.h>
}

#include <cstdlib>
#include <exception>
#include <mutex>
#include <new>

struct vxnet_session {
    std::unique_ptr<vxnet::Session> session;
};

namespace {

std::mutex g_initMutex; // guards g_initCount
int g_initCount = 0;

vxnet::Session* sessionOf(VXNET_HANDLE h)
{
    return h ? h->session.get() : nullptr;
}

template <typename F>
int guarded(const char* what, F&& f)
{
    try {
        return f();
    } catch (const std::bad_alloc&) {
        vx_log(VX_LOG_ERROR, "%s: out of memory", what);
        return VXNET_ERR_NO_MEMORY;
    } catch (const std::exception& e) {
        vx_log(VX_LOG_ERROR, "%s: %s", what, e.what());
        return VXNET_ERR_STREAM;
    } catch (...) {
        vx_log(VX_LOG_ERROR, "%s: unexpected failure", what);
        return VXNET_ERR_STREAM;
    }
}

} // namespace

extern "C" {

int vxnet_init(void)
{
    std::lock_guard lock(g_initMutex);
    if (g_initCount++ > 0)
        return VXNET_OK;
    CURLcode rc = curl_global_init(CURL_GLOBAL_DEFAULT);
    if (rc != CURLE_OK) {
        --g_initCount;
        vx_log(VX_LOG_FATAL, "vxnet_init: libcurl failed to start: %s", curl_easy_strerror(rc));
        return VXNET_ERR_NO_MEMORY;
    }
    vxnet::installFfmpegLog();
    int av = avformat_network_init();
    if (av < 0) {
        vxnet::removeFfmpegLog();
        curl_global_cleanup();
        --g_initCount;
        vx_log(VX_LOG_FATAL, "vxnet_init: FFmpeg network layer failed to start (%d)", av);
        return VXNET_ERR_CONNECT;
    }
    vx_log(VX_LOG_INFO, "vxnet_init: %s", curl_version());
    return VXNET_OK;
}

int vxnet_deinit(void)
{
    std::lock_guard lock(g_initMutex);
    if (g_initCount == 0)
        return VXNET_OK;
    if (--g_initCount > 0)
        return VXNET_OK;
    avformat_network_deinit();
    vxnet::removeFfmpegLog();
    curl_global_cleanup();
    return VXNET_OK;
}

int vxnet_connect(const STConnectInfo* info, VXNET_HANDLE* handle)
{
    if (!handle)
        return VXNET_ERR_BAD_ARG;
    *handle = nullptr;
    if (!info)
        return VXNET_ERR_BAD_ARG;
    return guarded("vxnet_connect", [&]() -> int {
        std::unique_ptr<vxnet::Session> s;
        int rc = vxnet::Session::connect(*info, s);
        if (rc != VXNET_OK)
            return rc;
        auto* h = new vxnet_session{std::move(s)};
        *handle = h;
        return VXNET_OK;
    });
}

const STConnectInfo* vxnet_get_camera(VXNET_HANDLE handle)
{
    vxnet::Session* s = sessionOf(handle);
    return s ? &s->block() : nullptr;
}

int vxnet_get_status(VXNET_HANDLE handle)
{
    vxnet::Session* s = sessionOf(handle);
    return s ? s->status() : VXNET_ERR_BAD_ARG;
}

int vxnet_get_cgi_command(VXNET_HANDLE handle, const char* path, char** output, int method,
                          int timeout_ms)
{
    if (output)
        *output = nullptr;
    vxnet::Session* s = sessionOf(handle);
    if (!s)
        return VXNET_ERR_BAD_ARG;
    return guarded("vxnet_get_cgi_command", [&]() -> int { return s->cgi(path, output, method, timeout_ms); });
}

void vxnet_free_cgi_output(char** output)
{
    if (!output)
        return;
    std::free(*output);
    *output = nullptr;
}

int vxnet_download_file(VXNET_HANDLE handle, const char* remote_path, const char* local_path,
                        int timeout_ms)
{
    vxnet::Session* s = sessionOf(handle);
    if (!s)
        return VXNET_ERR_BAD_ARG;
    return guarded("vxnet_download_file", [&]() -> int { return s->download(remote_path, local_path, timeout_ms); });
}

int vxnet_set_stream_track_callback(VXNET_HANDLE handle, vxnet_track_callback cb, void* user)
{
    vxnet::Session* s = sessionOf(handle);
    if (!s)
        return VXNET_ERR_BAD_ARG;
    s->setTrackCallback(cb, user);
    return VXNET_OK;
}

int vxnet_set_stream_callback(VXNET_HANDLE handle, vxnet_stream_callback cb, void* user)
{
    vxnet::Session* s = sessionOf(handle);
    if (!s)
        return VXNET_ERR_BAD_ARG;
    s->setDataCallback(cb, user);
    return VXNET_OK;
}

int vxnet_set_stream_error_callback(VXNET_HANDLE handle, vxnet_error_callback cb, void* user)
{
    vxnet::Session* s = sessionOf(handle);
    if (!s)
        return VXNET_ERR_BAD_ARG;
    s->setErrorCallback(cb, user);
    return VXNET_OK;
}

int vxnet_open_stream(VXNET_HANDLE handle)
{
    vxnet::Session* s = sessionOf(handle);
    if (!s)
        return VXNET_ERR_BAD_ARG;
    return guarded("vxnet_open_stream", [&]() -> int { return s->openStream(); });
}

int vxnet_close_stream(VXNET_HANDLE handle)
{
    vxnet::Session* s = sessionOf(handle);
    if (!s)
        return VXNET_ERR_BAD_ARG;
    return guarded("vxnet_close_stream", [&]() -> int { return s->closeStream(); });
}

float vxnet_get_bitrate(VXNET_HANDLE handle)
{
    vxnet::Session* s = sessionOf(handle);
    return s ? s->bitrate() : 0.0f;
}

int vxnet_force_key_frame(VXNET_HANDLE handle)
{
    vxnet::Session* s = sessionOf(handle);
    if (!s)
        return VXNET_ERR_BAD_ARG;
    return s->forceKeyFrame();
}

int vxnet_disconnect(VXNET_HANDLE handle)
{
    if (!handle)
        return VXNET_ERR_BAD_ARG;
    // A stream callback cannot end the session whose thread it runs on.
    if (vxnet::StreamReader::current())
        return VXNET_ERR_BUSY;
    return guarded("vxnet_disconnect", [&]() -> int {
        delete handle;
        return VXNET_OK;
    });
}

} // extern "C"
