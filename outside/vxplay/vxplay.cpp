// The library's C entry points: a registry of instances by handle, so that a
// call with a stale or foreign handle fails instead of touching freed memory,
// and a call racing vxplay_destroy_instance keeps its instance alive until it
// returns. Every entry point goes through guarded(): nothing throws out.

#include "outside/vxplay/vxplay.h"

#include "outside/vxplay/MallocTuning.h"
#include "outside/vxplay/Player.h"
#include "outside/vxplay/SoundPlayer.h"
#include "outside/vxplay/Talk.h"
#include "utility/vx_guard.h"
#include "utility/vx_log.h"

#include <malloc.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

using vxplay::Player;

namespace {

std::mutex g_registryMutex;  // guards the two maps and the counter
std::map<uintptr_t, std::shared_ptr<Player>> g_players;
std::map<uintptr_t, std::unique_ptr<vxplay::Talk>> g_talks;
uintptr_t g_nextHandle = 1;  // never reused, so a stale handle stays unknown

std::shared_ptr<Player> find(vxplay_inst inst)
{
    std::lock_guard lock(g_registryMutex);
    auto it = g_players.find(reinterpret_cast<uintptr_t>(inst));
    return it == g_players.end() ? nullptr : it->second;
}

// Every entry point goes through the system's one guard: out of memory is
// VXPLAY_ERR_NOMEM, anything else unexpected VXPLAY_ERR_STATE.
template <typename F>
int guarded(const char* what, F&& f) noexcept
{
    return vxutil::guardedCall(what, int(VXPLAY_ERR_NOMEM), int(VXPLAY_ERR_STATE), std::forward<F>(f));
}

template <typename R, typename F>
R guarded(const char* what, R failed, F&& f) noexcept
{
    return vxutil::guardedCall(what, failed, failed, std::forward<F>(f));
}

// Runs f on the instance; VXPLAY_ERR_ARG for a null, stale or foreign handle.
template <class F>
int withPlayer(const char* what, vxplay_inst inst, F&& f) noexcept
{
    return guarded(what, [&]() -> int {
        auto p = find(inst);
        return p ? f(*p) : VXPLAY_ERR_ARG;
    });
}

}  // namespace

extern "C" {

int vxplay_init(void)
{
    // glibc's adaptive thresholds would soon serve every large block from
    // the heap of the thread that freed one, and keep up to twice the
    // largest freed there: with one heap per reader thread and hundreds of
    // cameras that is megabytes per camera. Fixed thresholds keep what is
    // rare and large mapped and what recurs (a fragment's buffer) in a
    // bounded heap top.
    static std::once_flag once;
    std::call_once(once, [] {
        mallopt(M_MMAP_THRESHOLD, vxplay::kMappedBlockBytes);
        mallopt(M_TRIM_THRESHOLD, vxplay::kKeptHeapTopBytes);
    });
    return VXPLAY_OK;
}

int vxplay_deinit(void)
{
    return guarded("vxplay_deinit", [&]() -> int {
        // Instances a host forgot are ended here, so no thread of ours outlives the library.
        std::map<uintptr_t, std::shared_ptr<Player>> players;
        std::map<uintptr_t, std::unique_ptr<vxplay::Talk>> talks;
        {
            std::lock_guard lock(g_registryMutex);
            players.swap(g_players);
            talks.swap(g_talks);
        }
        for (auto& [h, p] : players)
            p->shutdown();
        talks.clear();
        vxplay::SoundPlayer::stopAll();
        return VXPLAY_OK;
    });
}

int vxplay_create_instance(vxplay_inst* inst, int display, int prerecord_ms)
{
    return guarded("vxplay_create_instance", [&]() -> int {
        if (!inst)
            return VXPLAY_ERR_ARG;
        *inst = nullptr;
        auto p = std::make_shared<Player>(display != 0, prerecord_ms);
        std::lock_guard lock(g_registryMutex);
        const uintptr_t h = g_nextHandle++;
        g_players.emplace(h, std::move(p));
        *inst = reinterpret_cast<vxplay_inst>(h);
        return VXPLAY_OK;
    });
}

int vxplay_destroy_instance(vxplay_inst inst)
{
    return guarded("vxplay_destroy_instance", [&]() -> int {
        std::shared_ptr<Player> p;
        {
            std::lock_guard lock(g_registryMutex);
            auto it = g_players.find(reinterpret_cast<uintptr_t>(inst));
            if (it == g_players.end())
                return VXPLAY_ERR_ARG;
            p = std::move(it->second);
            g_players.erase(it);
        }
        if (p->onOwnThread())
            Player::shutdownFromCallback(std::move(p));
        else
            p->shutdown();
        return VXPLAY_OK;
    });
}

int vxplay_set_hwnd(vxplay_inst inst, int, void* hwnd)
{
    return withPlayer("vxplay_set_hwnd", inst, [&](Player& p) { return p.setWindow(hwnd); });
}

int vxplay_play_start(vxplay_inst inst)
{
    return withPlayer("vxplay_play_start", inst, [&](Player& p) { return p.playStart(); });
}

int vxplay_play_stop(vxplay_inst inst)
{
    return withPlayer("vxplay_play_stop", inst, [&](Player& p) { return p.playStop(); });
}

int vxplay_audio_set_enable(vxplay_inst inst, int enable)
{
    return withPlayer("vxplay_audio_set_enable", inst, [&](Player& p) { return p.setAudioEnabled(enable != 0); });
}

int vxplay_set_decode_callback(vxplay_inst inst, vxplay_decode_func func, void* user)
{
    return withPlayer("vxplay_set_decode_callback", inst, [&](Player& p) {
        p.setDecodeCallback(func, user);
        return VXPLAY_OK;
    });
}

int vxplay_set_event_callback(vxplay_inst inst, vxplay_event_func func, void* user)
{
    return withPlayer("vxplay_set_event_callback", inst, [&](Player& p) {
        p.setEventCallback(func, user);
        return VXPLAY_OK;
    });
}

int vxplay_init_track(vxplay_inst inst, const vxstream_track* track)
{
    if (!track)
        return VXPLAY_ERR_ARG;
    return withPlayer("vxplay_init_track", inst, [&](Player& p) { return p.initTrack(*track); });
}

int vxplay_input_stream(vxplay_inst inst, void*, int stream_index, int media_type, const uint8_t* data, int size,
                        int64_t pts, int64_t dts, int flags)
{
    return withPlayer("vxplay_input_stream", inst,
                      [&](Player& p) { return p.input(stream_index, media_type, data, size, pts, dts, flags); });
}

int vxplay_file_set(vxplay_inst inst, const char* path)
{
    if (!path)
        return VXPLAY_ERR_ARG;
    return withPlayer("vxplay_file_set", inst, [&](Player& p) { return p.fileSet(path); });
}

int vxplay_file_open(vxplay_inst inst)
{
    return withPlayer("vxplay_file_open", inst, [&](Player& p) { return p.fileOpen(); });
}

int vxplay_file_close(vxplay_inst inst)
{
    return withPlayer("vxplay_file_close", inst, [&](Player& p) { return p.fileClose(); });
}

int vxplay_file_interrupt(vxplay_inst inst, int on)
{
    return withPlayer("vxplay_file_interrupt", inst, [&](Player& p) { return p.fileInterrupt(on != 0); });
}

int vxplay_file_pause(vxplay_inst inst)
{
    return withPlayer("vxplay_file_pause", inst, [&](Player& p) { return p.filePause(); });
}

int vxplay_file_resume(vxplay_inst inst)
{
    return withPlayer("vxplay_file_resume", inst, [&](Player& p) { return p.fileResume(); });
}

int64_t vxplay_file_get_length(vxplay_inst inst)
{
    return guarded("vxplay_file_get_length", int64_t(-1), [&]() -> int64_t {
        auto p = find(inst);
        return p ? p->fileLength() : -1;
    });
}

int64_t vxplay_file_get_position(vxplay_inst inst)
{
    return guarded("vxplay_file_get_position", int64_t(-1), [&]() -> int64_t {
        auto p = find(inst);
        return p ? p->filePosition() : -1;
    });
}

int vxplay_file_set_position(vxplay_inst inst, int64_t position_us)
{
    return withPlayer("vxplay_file_set_position", inst, [&](Player& p) { return p.fileSeek(position_us); });
}

int vxplay_record_start(vxplay_inst inst, const char* path, int flag, vxplay_result_func func, void* user)
{
    if (!path)
        return VXPLAY_ERR_ARG;
    return withPlayer("vxplay_record_start", inst,
                      [&](Player& p) { return p.recordStart(path, flag, func, user, true); });
}

int vxplay_record_request(vxplay_inst inst, const char* path, int flag, vxplay_result_func func, void* user)
{
    if (!path)
        return VXPLAY_ERR_ARG;
    return withPlayer("vxplay_record_request", inst,
                      [&](Player& p) { return p.recordStart(path, flag, func, user, false); });
}

int vxplay_record_status(vxplay_inst inst)
{
    return guarded("vxplay_record_status", 0, [&]() -> int {
        auto p = find(inst);
        return p ? p->recordStatus() : 0;
    });
}

int vxplay_record_stop(vxplay_inst inst)
{
    return withPlayer("vxplay_record_stop", inst, [&](Player& p) { return p.recordStop(); });
}

int vxplay_record_counts(vxplay_inst inst, int64_t* received, int64_t* recorded)
{
    if (!received || !recorded)
        return VXPLAY_ERR_ARG;
    return withPlayer("vxplay_record_counts", inst, [&](Player& p) {
        p.recordCounts(received, recorded);
        return VXPLAY_OK;
    });
}

int vxplay_set_aspect_ratio(vxplay_inst inst, float aspect)
{
    return withPlayer("vxplay_set_aspect_ratio", inst, [&](Player& p) { return p.setAspect(aspect); });
}

int vxplay_set_transform(vxplay_inst inst, int transform)
{
    return withPlayer("vxplay_set_transform", inst, [&](Player& p) { return p.setTransform(transform); });
}

int vxplay_set_osd(vxplay_inst inst, int slot, const char* text)
{
    return withPlayer("vxplay_set_osd", inst, [&](Player& p) { return p.setOsd(slot, text); });
}

int vxplay_display_last(vxplay_inst inst)
{
    return withPlayer("vxplay_display_last", inst, [&](Player& p) { return p.displayLast(); });
}

int vxplay_snapshot(vxplay_inst inst, const char* path, vxplay_result_func func, void* user)
{
    if (!path)
        return VXPLAY_ERR_ARG;
    return withPlayer("vxplay_snapshot", inst, [&](Player& p) { return p.snapshot(path, func, user); });
}

int vxplay_play_wav(const char* path, int flag)
{
    return guarded("vxplay_play_wav", [&]() -> int {
        if (!path || !*path)
            return VXPLAY_ERR_ARG;
        return vxplay::SoundPlayer::play(path, flag != 0);
    });
}

vxplay_talk vxplay_talk_start(int codec, vxplay_talk_send_func func, void* user)
{
    return guarded("vxplay_talk_start", static_cast<vxplay_talk>(nullptr), [&]() -> vxplay_talk {
        if (!func)
            return nullptr;
        auto talk = vxplay::Talk::start(codec, func, user);
        if (!talk)
            return nullptr;
        std::lock_guard lock(g_registryMutex);
        const uintptr_t h = g_nextHandle++;
        g_talks.emplace(h, std::move(talk));
        return reinterpret_cast<vxplay_talk>(h);
    });
}

int vxplay_talk_stop(vxplay_talk talk)
{
    return guarded("vxplay_talk_stop", [&]() -> int {
        std::unique_ptr<vxplay::Talk> t;
        {
            std::lock_guard lock(g_registryMutex);
            auto it = g_talks.find(reinterpret_cast<uintptr_t>(talk));
            if (it == g_talks.end())
                return VXPLAY_ERR_ARG;
            t = std::move(it->second);
            g_talks.erase(it);
        }
        t.reset();  // stops the capture; no send after this
        return VXPLAY_OK;
    });
}

}  // extern "C"
