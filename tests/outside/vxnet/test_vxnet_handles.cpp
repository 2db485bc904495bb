// Handles are ids that are never given out twice: a disconnected, made-up or
// null handle gets VXNET_ERR_BAD_ARG (or the function's empty answer) on
// every entry point, and a disconnect racing other threads' calls frees the
// session only after they are done. Run it in the sanitizer build too.

#include "outside/vxnet/vxnet.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

namespace {

void ignoreTrack(void*, const vxstream_track*) {}
void ignorePacket(void*, int, int, const uint8_t*, int, int64_t, int64_t, int) {}
void ignoreError(void*, int) {}

// A session that needs no camera: an RTSP URL entry is not probed.
VXNET_HANDLE urlSession()
{
    STConnectInfo b{};
    std::strcpy(b.szRtspUrl, "rtsp://127.0.0.1:9/none");
    VXNET_HANDLE h = nullptr;
    EXPECT_EQ(vxnet_connect(&b, &h), 0);
    return h;
}

class VxnetHandles : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(vxnet_init(), 0); }
    static void TearDownTestSuite() { vxnet_deinit(); }
};

TEST_F(VxnetHandles, EveryEntryPointRefusesAStaleForeignOrNullHandle)
{
    VXNET_HANDLE stale = urlSession();
    ASSERT_NE(stale, nullptr);
    ASSERT_EQ(vxnet_disconnect(stale), 0);
    // A new session never takes the stale one's handle.
    VXNET_HANDLE live = urlSession();
    ASSERT_NE(live, stale);
    int local = 0;
    const VXNET_HANDLE foreign[] = {
        stale, nullptr,
        reinterpret_cast<VXNET_HANDLE>(&local),                    // an address that is no session
        reinterpret_cast<VXNET_HANDLE>(uintptr_t(0xdeadbeefULL)),  // an id never handed out
    };
    struct Entry {
        const char* name;
        std::function<int(VXNET_HANDLE)> call;
        int refused;
    };
    const std::string file = ::testing::TempDir() + "vxnet_stale_download";
    const Entry entries[] = {
        {"get_camera", [](VXNET_HANDLE h) { return vxnet_get_camera(h) ? 0 : 1; }, 1},
        {"get_status", [](VXNET_HANDLE h) { return vxnet_get_status(h); }, VXNET_ERR_BAD_ARG},
        {"interrupt", [](VXNET_HANDLE h) { return vxnet_interrupt(h, 1); }, VXNET_ERR_BAD_ARG},
        {"get_cgi_command",
         [](VXNET_HANDLE h) {
             char* out = reinterpret_cast<char*>(1);
             int rc = vxnet_get_cgi_command(h, "/x", &out, VXNET_METHOD_GET, 100);
             return out == nullptr ? rc : 12345;
         },
         VXNET_ERR_BAD_ARG},
        {"download_file", [&](VXNET_HANDLE h) { return vxnet_download_file(h, "/x", file.c_str(), 100); },
         VXNET_ERR_BAD_ARG},
        {"download_file_progress",
         [&](VXNET_HANDLE h) {
             return vxnet_download_file_progress(
                 h, "/x", file.c_str(), 100, [](void*, int64_t, int64_t) { return 0; }, nullptr);
         },
         VXNET_ERR_BAD_ARG},
        {"set_stream_track_callback",
         [](VXNET_HANDLE h) { return vxnet_set_stream_track_callback(h, ignoreTrack, nullptr); }, VXNET_ERR_BAD_ARG},
        {"set_stream_callback", [](VXNET_HANDLE h) { return vxnet_set_stream_callback(h, ignorePacket, nullptr); },
         VXNET_ERR_BAD_ARG},
        {"set_stream_error_callback",
         [](VXNET_HANDLE h) { return vxnet_set_stream_error_callback(h, ignoreError, nullptr); }, VXNET_ERR_BAD_ARG},
        {"open_stream", [](VXNET_HANDLE h) { return vxnet_open_stream(h); }, VXNET_ERR_BAD_ARG},
        {"close_stream", [](VXNET_HANDLE h) { return vxnet_close_stream(h); }, VXNET_ERR_BAD_ARG},
        {"get_bitrate", [](VXNET_HANDLE h) { return vxnet_get_bitrate(h) == 0.0f ? 1 : 0; }, 1},
        {"force_key_frame", [](VXNET_HANDLE h) { return vxnet_force_key_frame(h); }, VXNET_ERR_BAD_ARG},
        {"disconnect", [](VXNET_HANDLE h) { return vxnet_disconnect(h); }, VXNET_ERR_BAD_ARG},
    };
    for (VXNET_HANDLE h : foreign) {
        for (const Entry& e : entries) {
            SCOPED_TRACE(e.name);
            EXPECT_EQ(e.call(h), e.refused) << "handle " << static_cast<void*>(h);
        }
    }
    // The live session was not touched by any of it.
    EXPECT_EQ(vxnet_get_status(live), 0);
    EXPECT_NE(vxnet_get_camera(live), nullptr);
    EXPECT_EQ(vxnet_disconnect(live), 0);
}

TEST_F(VxnetHandles, DisconnectRacingOtherThreadsFreesTheSessionOnceTheyAreDone)
{
    for (int round = 0; round < 20; ++round) {
        VXNET_HANDLE h = urlSession();
        ASSERT_NE(h, nullptr);
        std::atomic<bool> go{false};
        std::atomic<int> strange{0};
        std::vector<std::thread> callers;
        for (int t = 0; t < 4; ++t) {
            callers.emplace_back([&] {
                while (!go.load()) {}
                for (int i = 0; i < 200; ++i) {
                    // The block itself is only the caller's until its own
                    // disconnect, so it is not read here.
                    (void)vxnet_get_camera(h);
                    (void)vxnet_get_bitrate(h);
                    int rc = vxnet_get_status(h);
                    if (rc != 0 && rc != VXNET_ERR_BAD_ARG)
                        ++strange;
                    rc = vxnet_set_stream_error_callback(h, ignoreError, nullptr);
                    if (rc != 0 && rc != VXNET_ERR_BAD_ARG)
                        ++strange;
                }
            });
        }
        go = true;
        std::this_thread::yield();
        EXPECT_EQ(vxnet_disconnect(h), 0);
        for (auto& t : callers)
            t.join();
        EXPECT_EQ(strange.load(), 0);
        EXPECT_EQ(vxnet_get_status(h), VXNET_ERR_BAD_ARG);
    }
}

}  // namespace

TEST(VxnetRedactText, SecretsAndPasswordValuesNeverPass)
{
    const char* secrets[] = {"s&cret", "s%26cret", nullptr, ""};
    char* out = nullptr;
    ASSERT_EQ(vxnet_redact_text("/p?-at_password=x&u=s&cret\r\nvar at_password2=\"a b\";", secrets, 4, &out), 0);
    ASSERT_NE(out, nullptr);
    EXPECT_STREQ(out, "/p?-at_password=***&u=***\r\nvar at_password2=***;");
    vxnet_free_cgi_output(&out);
    EXPECT_EQ(out, nullptr);
    EXPECT_NE(vxnet_redact_text(nullptr, secrets, 1, &out), 0);
    EXPECT_NE(vxnet_redact_text("x", nullptr, 1, &out), 0);
    EXPECT_NE(vxnet_redact_text("x", secrets, 1, nullptr), 0);
}
