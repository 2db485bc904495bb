// The C entry points: each goes through guarded() (nothing throws out of
// here) and finds its session in the table by handle.

#include "outside/vxnet/vxnet.h"

#include "outside/vxnet/FfmpegLog.h"
#include "outside/vxnet/LogRedact.h"
#include "outside/vxnet/Session.h"
#include "outside/vxnet/SessionTable.h"
#include "outside/vxnet/StreamReader.h"
#include "utility/vx_guard.h"
#include "utility/vx_log.h"

#include <curl/curl.h>

extern "C" {
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <mutex>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

std::mutex g_initMutex;  // guards g_initCount
int g_initCount = 0;

using vxnet::SessionTable;

uint64_t idOf(VXNET_HANDLE h)
{
    return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(h));
}

// Every entry point goes through the system's one guard: out of memory (or
// of threads) is VXNET_ERR_NO_MEMORY; anything else unexpected is logged and
// becomes `failed`.
template <typename R, typename F>
R guarded(const char* what, R failed, F&& f) noexcept
{
    if constexpr (std::is_same_v<R, int>)
        return vxutil::guardedCall(what, int(VXNET_ERR_NO_MEMORY), failed, std::forward<F>(f));
    else
        return vxutil::guardedCall(what, failed, failed, std::forward<F>(f));
}

// Runs f on the handle's session; `unknown` for a null, stale or foreign
// handle.
template <typename R, typename F>
R withSession(const char* what, VXNET_HANDLE handle, R unknown, R failed, F&& f) noexcept
{
    return guarded(what, failed, [&]() -> R {
        SessionTable::Lease s = SessionTable::instance().find(idOf(handle));
        if (!s)
            return unknown;
        return f(*s);
    });
}

template <typename F>
int withSession(const char* what, VXNET_HANDLE handle, F&& f) noexcept
{
    return withSession(what, handle, int(VXNET_ERR_BAD_ARG), int(VXNET_ERR_STREAM), f);
}

}  // namespace

extern "C" {

int vxnet_init(void)
{
    return guarded("vxnet_init", int(VXNET_ERR_NO_MEMORY), [] {
        std::lock_guard lock(g_initMutex);
        if (g_initCount++ > 0)
            return int(VXNET_OK);
        CURLcode rc = curl_global_init(CURL_GLOBAL_DEFAULT);
        if (rc != CURLE_OK) {
            --g_initCount;
            vx_log(VX_LOG_FATAL, "vxnet_init: libcurl failed to start: %s", curl_easy_strerror(rc));
            return int(VXNET_ERR_NO_MEMORY);
        }
        vxnet::installFfmpegLog();
        int av = avformat_network_init();
        if (av < 0) {
            vxnet::removeFfmpegLog();
            curl_global_cleanup();
            --g_initCount;
            vx_log(VX_LOG_FATAL, "vxnet_init: FFmpeg network layer failed to start (%d)", av);
            return int(VXNET_ERR_CONNECT);
        }
        vx_log(VX_LOG_INFO, "vxnet_init: %s", curl_version());
        return int(VXNET_OK);
    });
}

int vxnet_deinit(void)
{
    return guarded("vxnet_deinit", int(VXNET_ERR_STREAM), [] {
        std::lock_guard lock(g_initMutex);
        if (g_initCount == 0)
            return int(VXNET_OK);
        if (--g_initCount > 0)
            return int(VXNET_OK);
        avformat_network_deinit();
        vxnet::removeFfmpegLog();
        curl_global_cleanup();
        return int(VXNET_OK);
    });
}

int vxnet_connect_ex(const STConnectInfo* info, VXNET_HANDLE* handle, const int* cancel)
{
    if (!handle)
        return VXNET_ERR_BAD_ARG;
    *handle = nullptr;
    if (!info)
        return VXNET_ERR_BAD_ARG;
    return guarded("vxnet_connect", int(VXNET_ERR_STREAM), [&]() -> int {
        std::unique_ptr<vxnet::Session> s;
        int rc = vxnet::Session::connect(*info, s, cancel);
        if (rc != VXNET_OK)
            return rc;
        const uint64_t id = SessionTable::instance().add(std::move(s));
        *handle = reinterpret_cast<VXNET_HANDLE>(static_cast<uintptr_t>(id));
        return VXNET_OK;
    });
}

int vxnet_connect(const STConnectInfo* info, VXNET_HANDLE* handle)
{
    return vxnet_connect_ex(info, handle, nullptr);
}

const STConnectInfo* vxnet_get_camera(VXNET_HANDLE handle)
{
    return withSession("vxnet_get_camera", handle, static_cast<const STConnectInfo*>(nullptr),
                       static_cast<const STConnectInfo*>(nullptr), [](vxnet::Session& s) { return &s.block(); });
}

int vxnet_get_status(VXNET_HANDLE handle)
{
    return withSession("vxnet_get_status", handle, [](vxnet::Session& s) { return s.status(); });
}

int vxnet_interrupt(VXNET_HANDLE handle, int on)
{
    return withSession("vxnet_interrupt", handle, [on](vxnet::Session& s) {
        s.interrupt(on != 0);
        return int(VXNET_OK);
    });
}

int vxnet_get_cgi_command(VXNET_HANDLE handle, const char* path, char** output, int method, int timeout_ms)
{
    if (output)
        *output = nullptr;
    return withSession("vxnet_get_cgi_command", handle,
                       [&](vxnet::Session& s) { return s.cgi(path, output, method, timeout_ms); });
}

void vxnet_free_cgi_output(char** output)
{
    if (!output)
        return;
    std::free(*output);
    *output = nullptr;
}

int vxnet_redact_text(const char* text, const char* const* secrets, int nsecrets, char** output)
{
    if (output)
        *output = nullptr;
    if (!text || !output || nsecrets < 0 || (nsecrets > 0 && !secrets))
        return VXNET_ERR_BAD_ARG;
    return guarded("vxnet_redact_text", int(VXNET_ERR_BAD_ARG), [&] {
        std::vector<std::string> list;
        for (int i = 0; i < nsecrets; ++i) {
            if (secrets[i] && *secrets[i])
                list.emplace_back(secrets[i]);
        }
        std::sort(list.begin(), list.end(),
                  [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
        std::string safe = vxnet::redactPath(text, list);
        char* copy = static_cast<char*>(std::malloc(safe.size() + 1));
        if (!copy)
            return int(VXNET_ERR_NO_MEMORY);
        std::memcpy(copy, safe.c_str(), safe.size() + 1);
        *output = copy;
        return int(VXNET_OK);
    });
}

int vxnet_download_file(VXNET_HANDLE handle, const char* remote_path, const char* local_path, int timeout_ms)
{
    return withSession("vxnet_download_file", handle,
                       [&](vxnet::Session& s) { return s.download(remote_path, local_path, timeout_ms); });
}

int vxnet_download_file_progress(VXNET_HANDLE handle, const char* remote_path, const char* local_path, int timeout_ms,
                                 vxnet_progress_callback cb, void* user)
{
    return withSession("vxnet_download_file_progress", handle,
                       [&](vxnet::Session& s) { return s.download(remote_path, local_path, timeout_ms, cb, user); });
}

int vxnet_download_file_bounded(VXNET_HANDLE handle, const char* remote_path, const char* local_path, int timeout_ms,
                                const vxnet_download_bounds* bounds, vxnet_progress_callback cb, void* user)
{
    return withSession("vxnet_download_file_bounded", handle, [&](vxnet::Session& s) {
        vxnet::DownloadBounds b;
        if (bounds) {
            b.minBytes = bounds->min_bytes;
            b.maxBytes = bounds->max_bytes;
            b.noReplace = bounds->no_replace != 0;
        }
        return s.download(remote_path, local_path, timeout_ms, cb, user, b);
    });
}

int vxnet_remove_stale_parts(const char* folder)
{
    return guarded("vxnet_remove_stale_parts", int(VXNET_ERR_FILE), [&] {
        if (!folder || !*folder)
            return int(VXNET_ERR_BAD_ARG);
        return vxnet::HttpClient::removeStaleParts(folder);
    });
}

int vxnet_set_stream_track_callback(VXNET_HANDLE handle, vxnet_track_callback cb, void* user)
{
    return withSession("vxnet_set_stream_track_callback", handle, [&](vxnet::Session& s) {
        s.setTrackCallback(cb, user);
        return int(VXNET_OK);
    });
}

int vxnet_set_stream_callback(VXNET_HANDLE handle, vxnet_stream_callback cb, void* user)
{
    return withSession("vxnet_set_stream_callback", handle, [&](vxnet::Session& s) {
        s.setDataCallback(cb, user);
        return int(VXNET_OK);
    });
}

int vxnet_set_stream_error_callback(VXNET_HANDLE handle, vxnet_error_callback cb, void* user)
{
    return withSession("vxnet_set_stream_error_callback", handle, [&](vxnet::Session& s) {
        s.setErrorCallback(cb, user);
        return int(VXNET_OK);
    });
}

int vxnet_open_stream(VXNET_HANDLE handle)
{
    return withSession("vxnet_open_stream", handle, [](vxnet::Session& s) { return s.openStream(); });
}

int vxnet_close_stream(VXNET_HANDLE handle)
{
    return withSession("vxnet_close_stream", handle, [](vxnet::Session& s) { return s.closeStream(); });
}

float vxnet_get_bitrate(VXNET_HANDLE handle)
{
    return withSession("vxnet_get_bitrate", handle, 0.0f, 0.0f, [](vxnet::Session& s) { return s.bitrate(); });
}

int vxnet_force_key_frame(VXNET_HANDLE handle)
{
    return withSession("vxnet_force_key_frame", handle, [](vxnet::Session& s) { return s.forceKeyFrame(); });
}

int vxnet_disconnect(VXNET_HANDLE handle)
{
    // A stream callback cannot end a session: it would wait for its own thread.
    if (vxnet::StreamReader::current())
        return VXNET_ERR_BUSY;
    return guarded("vxnet_disconnect", int(VXNET_ERR_STREAM), [&]() -> int {
        std::unique_ptr<vxnet::Session> s = SessionTable::instance().remove(idOf(handle));
        if (!s)
            return VXNET_ERR_BAD_ARG;
        s.reset();  // closes the stream
        return VXNET_OK;
    });
}

}  // extern "C"
