// A session without a stream notices a camera that went away, and that it
// came back, without a request of its own.

#include "outside/vxnet/vxnet.h"
#include "support/CamsimProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace {

using namespace std::chrono_literals;

bool StatusWithin(VXNET_HANDLE h, bool wantOk, std::chrono::seconds limit)
{
    auto until = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < until) {
        if ((vxnet_get_status(h) == 0) == wantOk)
            return true;
        std::this_thread::sleep_for(200ms);
    }
    return false;
}

TEST(VxnetLiveness, StreamlessSessionSeesTheCameraGoAndComeBack)
{
    ASSERT_EQ(vxnet_init(), 0);
    CamsimProcess cam({"--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    STConnectInfo b{};
    std::strcpy(b.szHost, "127.0.0.1");
    b.nHttpPort = cam.httpPort();
    std::strcpy(b.szUser, "admin");
    std::strcpy(b.szPassword, "admin");
    b.nStream = 1;
    VXNET_HANDLE h = nullptr;
    ASSERT_EQ(vxnet_connect(&b, &h), 0);
    EXPECT_EQ(vxnet_get_status(h), 0);
    // Silent but there: the probe finds the port open.
    std::this_thread::sleep_for(2500ms);
    EXPECT_EQ(vxnet_get_status(h), 0);

    cam.fault("vanish=5");
    EXPECT_TRUE(StatusWithin(h, false, 10s)) << "the lost camera went unnoticed";
    EXPECT_TRUE(StatusWithin(h, true, 20s)) << "the camera's return went unnoticed";
    vxnet_disconnect(h);
    vxnet_deinit();
}

}  // namespace
