// The library's C entry points: a registry of instances by handle, so that a
// call with a stale or foreign handle fails instead of touching freed memory,
// and a call racing vxplay_destroy_instance keeps its instance alive until it
// returns.

#include "outside/vxplay/vxplay.h"

#include "outside/vxplay/Player.h"
#include "outside/vxplay/SoundPlayer.h"
#include "outside/vxplay/Talk.h"
#include "utility/vx_log.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

using vxplay::Player;

namespace {

std::mutex g_registryMutex; // guards the two maps and the counter
std::map<uintptr_t, std::shared_ptr<Player>> g_players;
std::map<uintptr_t, std::unique_ptr<vxplay::Talk>> g_talks;
uintptr_t g_nextHandle = 1; // never reused, so a stale handle stays unknown

std::shared_ptr<Player> find(vxplay_inst inst)
{
    std::lock_guard lock(g_registryMutex);
    auto it = g_players.find(reinterpret_cast<uintptr_t>(inst));
    return it == g_players.end() ? nullptr : it->second;
}

template <class F>
int withPlayer(vxplay_inst inst, F&& f)
{
    auto p = find(inst);
    return p ? f(*p) : VXPLAY_ERR_ARG;
}

} // namespace

extern "C" {

int vxplay_init(void)
{
    return VXPLAY_OK;
}

int vxplay_deinit(void)
{
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
}

int vxplay_create_instance(vxplay_inst* inst, int display, int prerecord_ms)
{
    if (!inst)
        return VXPLAY_ERR_ARG;
    *inst = nullptr;
    auto p = std::make_shared<Player>(display != 0, prerecord_ms);
    std::lock_guard lock(g_registryMutex);
    const uintptr_t h = g_nextHandle++;
    g_players.emplace(h, std::move(p));
    *inst = reinterpret_cast<vxplay_inst>(h);
    return VXPLAY_OK;
}

int vxplay_destroy_instance(vxplay_inst inst)
{
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
}

int vxplay_set_hwnd(vxplay_inst inst, int, void* hwnd)
{
    return withPlayer(inst, [&](Player& p) { return p.setWindow(hwnd); });
}

int vxplay_play_start(vxplay_inst inst)
{
    return withPlayer(inst, [&](Player& p) { return p.playStart(); });
}

int vxplay_play_stop(vxplay_inst inst)
{
    return withPlayer(inst, [&](Player& p) { return p.playStop(); });
}

int vxplay_audio_set_enable(vxplay_inst inst, int enable)
{
    return withPlayer(inst, [&](Player& p) { return p.setAudioEnabled(enable != 0); });
}

int vxplay_set_decode_callback(vxplay_inst inst, vxplay_decode_func func, void* user)
{
    return withPlayer(inst, [&](Player& p) {
        p.setDecodeCallback(func, user);
        return VXPLAY_OK;
    });
}

int vxplay_set_event_callback(vxplay_inst inst, vxplay_event_func func, void* user)
{
    return withPlayer(inst, [&](Player& p) {
        p.setEventCallback(func, user);
        return VXPLAY_OK;
    });
}

int vxplay_init_track(vxplay_inst inst, const vxstream_track* track)
{
    if (!track)
        return VXPLAY_ERR_ARG;
    return withPlayer(inst, [&](Player& p) { return p.initTrack(*track); });
}

int vxplay_input_stream(vxplay_inst inst, void*, int stream_index, int media_type, const uint8_t* data, int size,
                        int64_t pts, int64_t dts, int flags)
{
    return withPlayer(inst, [&](Player& p) { return p.input(stream_index, media_type, data, size, pts, dts, flags); });
}

int vxplay_file_set(vxplay_inst inst, const char* path)
{
    if (!path)
        return VXPLAY_ERR_ARG;
    return withPlayer(inst, [&](Player& p) { return p.fileSet(path); });
}

int vxplay_file_open(vxplay_inst inst)
{
    return withPlayer(inst, [&](Player& p) { return p.fileOpen(); });
}

int vxplay_file_close(vxplay_inst inst)
{
    return withPlayer(inst, [&](Player& p) { return p.fileClose(); });
}

int vxplay_file_pause(vxplay_inst inst)
{
    return withPlayer(inst, [&](Player& p) { return p.filePause(); });
}

int vxplay_file_resume(vxplay_inst inst)
{
    return withPlayer(inst, [&](Player& p) { return p.fileResume(); });
}

int64_t vxplay_file_get_length(vxplay_inst inst)
{
    auto p = find(inst);
    return p ? p->fileLength() : -1;
}

int64_t vxplay_file_get_position(vxplay_inst inst)
{
    auto p = find(inst);
    return p ? p->filePosition() : -1;
}

int vxplay_file_set_position(vxplay_inst inst, int64_t position_us)
{
    return withPlayer(inst, [&](Player& p) { return p.fileSeek(position_us); });
}

int vxplay_record_start(vxplay_inst inst, const char* path, int flag, vxplay_result_func func, void* user)
{
    if (!path)
        return VXPLAY_ERR_ARG;
    return withPlayer(inst, [&](Player& p) { return p.recordStart(path, flag, func, user); });
}

int vxplay_record_status(vxplay_inst inst)
{
    auto p = find(inst);
    return p ? p->recordStatus() : 0;
}

int vxplay_record_stop(vxplay_inst inst)
{
    return withPlayer(inst, [&](Player& p) { return p.recordStop(); });
}

int vxplay_record_counts(vxplay_inst inst, int64_t* received, int64_t* recorded)
{
    if (!received || !recorded)
        return VXPLAY_ERR_ARG;
    return withPlayer(inst, [&](Player& p) {
        p.recordCounts(received, recorded);
        return VXPLAY_OK;
    });
}

int vxplay_set_aspect_ratio(vxplay_inst inst, float aspect)
{
    return withPlayer(inst, [&](Player& p) { return p.setAspect(aspect); });
}

int vxplay_set_transform(vxplay_inst inst, int transform)
{
    return withPlayer(inst, [&](Player& p) { return p.setTransform(transform); });
}

int vxplay_set_osd(vxplay_inst inst, int slot, const char* text)
{
    return withPlayer(inst, [&](Player& p) { return p.setOsd(slot, text); });
}

int vxplay_display_last(vxplay_inst inst)
{
    return withPlayer(inst, [&](Player& p) { return p.displayLast(); });
}

int vxplay_snapshot(vxplay_inst inst, const char* path, vxplay_result_func func, void* user)
{
    if (!path)
        return VXPLAY_ERR_ARG;
    return withPlayer(inst, [&](Player& p) { return p.snapshot(path, func, user); });
}

int vxplay_play_wav(const char* path, int flag)
{
    if (!path || !*path)
        return VXPLAY_ERR_ARG;
    return vxplay::SoundPlayer::play(path, flag != 0);
}

vxplay_talk vxplay_talk_start(int codec, vxplay_talk_send_func func, void* user)
{
    if (!func)
        return nullptr;
    auto talk = vxplay::Talk::start(codec, func, user);
    if (!talk)
        return nullptr;
    std::lock_guard lock(g_registryMutex);
    const uintptr_t h = g_nextHandle++;
    g_talks.emplace(h, std::move(talk));
    return reinterpret_cast<vxplay_talk>(h);
}

int vxplay_talk_stop(vxplay_talk talk)
{
    std::unique_ptr<vxplay::Talk> t;
    {
        std::lock_guard lock(g_registryMutex);
        auto it = g_talks.find(reinterpret_cast<uintptr_t>(talk));
        if (it == g_talks.end())
            return VXPLAY_ERR_ARG;
        t = std::move(it->second);
        g_talks.erase(it);
    }
    t.reset(); // stops the capture; no send after this
    return VXPLAY_OK;
}

} // extern "C"
