// The player fed by the transport from the simulated camera, wired as the
// camera object wires them: a live recording and a snapshot.

#include "StreamFixture.h"
#include "outside/vxnet/vxnet.h"
#include "support/CamsimProcess.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

struct Wiring {
    vxplay_inst inst = nullptr;
    std::atomic<int> errors{0};

    static void onTrack(void* u, const vxstream_track* t) { vxplay_init_track(static_cast<Wiring*>(u)->inst, t); }
    static void onData(void* u, int index, int type, const uint8_t* data, int size, int64_t pts, int64_t dts, int flags)
    {
        vxplay_input_stream(static_cast<Wiring*>(u)->inst, u, index, type, data, size, pts, dts, flags);
    }
    static void onError(void* u, int) { ++static_cast<Wiring*>(u)->errors; }
};

TEST(PlayerWithCamera, RecordsAndSnapshotsTheLiveStream)
{
    CamsimProcess cam({"--width", "320", "--height", "240", "--fps", "25", "--keyint", "25"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    ASSERT_EQ(vxnet_init(), 0);
    STConnectInfo b{};
    std::strcpy(b.szHost, "127.0.0.1");
    b.nHttpPort = cam.httpPort();
    b.nMediaPort = cam.rtspPort();
    std::strcpy(b.szUser, "admin");
    std::strcpy(b.szPassword, "admin");
    b.nStream = 1;
    VXNET_HANDLE session = nullptr;
    ASSERT_EQ(vxnet_connect(&b, &session), 0);

    Wiring w;
    ASSERT_EQ(vxplay_create_instance(&w.inst, 0, 2000), 0);
    ASSERT_EQ(vxplay_play_start(w.inst), 0);
    vxplay_audio_set_enable(w.inst, 1);
    vxnet_set_stream_track_callback(session, &Wiring::onTrack, &w);
    vxnet_set_stream_callback(session, &Wiring::onData, &w);
    vxnet_set_stream_error_callback(session, &Wiring::onError, &w);
    ASSERT_EQ(vxnet_open_stream(session), 0);
    std::this_thread::sleep_for(std::chrono::seconds(3));  // the pre-record fills

    const std::string dir = vxtest::scratchDir("camsim");
    const std::string path = dir + "/20260101120000.mp4";
    const std::string png = dir + "/live.png";
    ASSERT_EQ(vxplay_record_start(w.inst, path.c_str(), 1, nullptr, nullptr), 0);
    std::atomic<int> snap{1};
    ASSERT_EQ(
        vxplay_snapshot(
            w.inst, png.c_str(), [](void* u, int r, const char*) { *static_cast<std::atomic<int>*>(u) = r; }, &snap),
        0);
    std::this_thread::sleep_for(std::chrono::seconds(4));
    EXPECT_EQ(vxplay_record_stop(w.inst), 0);
    EXPECT_EQ(vxnet_close_stream(session), 0);
    vxplay_destroy_instance(w.inst);
    vxnet_disconnect(session);
    vxnet_deinit();

    EXPECT_EQ(w.errors, 0);
    EXPECT_EQ(snap, 0);
    const auto r = vxtest::probe(path);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.videoCodec, "h264");
    EXPECT_EQ(r.audioCodec, "aac");
    EXPECT_EQ(r.width, 320);
    EXPECT_TRUE(r.firstFrameKey);
    // 4 s recorded after 2 s (or a little more, back to a key frame) of pre-record.
    EXPECT_GT(r.duration, 5.0);
    EXPECT_LT(r.duration, 9.0);
}

}  // namespace
