// Calling off what waits on a slow camera: vxnet_interrupt ends a session's
// request, download or stream open in flight from another thread, and
// vxnet_connect_ex's cancel flag ends the family probe.

#include "outside/vxnet/vxnet.h"
#include "support/CamsimProcess.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <future>
#include <string>
#include <thread>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// Generous: the promise is about 100 ms; a loaded machine gets ten times that.
constexpr auto kPrompt = 1000ms;

STConnectInfo blockFor(const CamsimProcess& cam, int mediaPort)
{
    STConnectInfo b{};
    std::strcpy(b.szHost, "127.0.0.1");
    b.nHttpPort = cam.httpPort();
    b.nMediaPort = mediaPort;
    std::strcpy(b.szUser, "admin");
    std::strcpy(b.szPassword, "admin");
    b.nStream = 1;
    return b;
}

// A port that takes connections into its backlog and never says a word: an
// RTSP camera that hangs in the stream's setup.
class SilentPort {
public:
    SilentPort()
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (m_fd >= 0 && ::bind(m_fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 && ::listen(m_fd, 8) == 0
            && ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&a), &len) == 0)
            m_port = ntohs(a.sin_port);
    }
    ~SilentPort()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int port() const { return m_port; }

private:
    int m_fd = -1;
    int m_port = 0;
};

class VxnetInterrupt : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(vxnet_init(), 0); }
    static void TearDownTestSuite() { vxnet_deinit(); }
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("vxnet_interrupt_" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    fs::path m_dir;
};

TEST_F(VxnetInterrupt, EndsEachCallInFlightAndRefusesNewOnesUntilSwitchedOff)
{
    CamsimProcess cam({"--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    SilentPort silent;
    ASSERT_GT(silent.port(), 0);
    STConnectInfo b = blockFor(cam, silent.port());
    VXNET_HANDLE h = nullptr;
    ASSERT_EQ(vxnet_connect(&b, &h), 0);
    const fs::path file = m_dir / "web.ini";

    struct Case {
        const char* name;
        std::function<int()> call;  // waits far longer than the test allows
    };
    const Case cases[] = {
        {"cgi",
         [&] {
             char* out = nullptr;
             int rc = vxnet_get_cgi_command(h, "/web.ini", &out, VXNET_METHOD_GET, 20000);
             vxnet_free_cgi_output(&out);
             return rc;
         }},
        {"download", [&] { return vxnet_download_file(h, "/web.ini", file.c_str(), 20000); }},
        {"stream open", [&] { return vxnet_open_stream(h); }},
    };
    ASSERT_FALSE(cam.fault("delay=15000").empty());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto pending = std::async(std::launch::async, c.call);
        ASSERT_EQ(pending.wait_for(400ms), std::future_status::timeout) << "the camera answered early";
        const auto asked = Clock::now();
        ASSERT_EQ(vxnet_interrupt(h, 1), 0);
        ASSERT_EQ(pending.wait_for(kPrompt), std::future_status::ready);
        EXPECT_EQ(pending.get(), VXNET_ERR_TIMEOUT);
        EXPECT_LT(Clock::now() - asked, kPrompt);
        // While on, a new call does not even start.
        const auto again = Clock::now();
        EXPECT_EQ(c.call(), VXNET_ERR_TIMEOUT);
        EXPECT_LT(Clock::now() - again, kPrompt);
        EXPECT_EQ(vxnet_interrupt(h, 0), 0);
    }
    EXPECT_FALSE(fs::exists(file)) << "an interrupted download left its file";
    // Being called off says nothing about the camera.
    EXPECT_EQ(vxnet_get_status(h), 0);

    // Switched off, the session works as before.
    ASSERT_FALSE(cam.fault("clear=1").empty());
    EXPECT_EQ(vxnet_download_file(h, "/web.ini", file.c_str(), 5000), 0);
    EXPECT_TRUE(fs::exists(file));
    EXPECT_EQ(vxnet_disconnect(h), 0);
    EXPECT_EQ(vxnet_interrupt(h, 1), VXNET_ERR_BAD_ARG);
}

TEST_F(VxnetInterrupt, DisconnectEndsACallInFlightOnAnotherThread)
{
    CamsimProcess cam({"--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    STConnectInfo b = blockFor(cam, 554);
    VXNET_HANDLE h = nullptr;
    ASSERT_EQ(vxnet_connect(&b, &h), 0);
    ASSERT_FALSE(cam.fault("delay=15000").empty());
    auto pending = std::async(std::launch::async, [h] {
        char* out = nullptr;
        int rc = vxnet_get_cgi_command(h, "/web.ini", &out, VXNET_METHOD_GET, 20000);
        vxnet_free_cgi_output(&out);
        return rc;
    });
    std::this_thread::sleep_for(300ms);
    const auto asked = Clock::now();
    EXPECT_EQ(vxnet_disconnect(h), 0);
    EXPECT_LT(Clock::now() - asked, kPrompt);
    EXPECT_EQ(pending.get(), VXNET_ERR_TIMEOUT);
}

TEST_F(VxnetInterrupt, CancelFlagEndsTheProbe)
{
    CamsimProcess cam({"--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    STConnectInfo b = blockFor(cam, 554);

    // Set before the call: nothing is asked.
    int cancel = 1;
    VXNET_HANDLE h = reinterpret_cast<VXNET_HANDLE>(1);
    EXPECT_EQ(vxnet_connect_ex(&b, &h, &cancel), VXNET_ERR_TIMEOUT);
    EXPECT_EQ(h, nullptr);

    // Set by another thread while the camera is slow to answer the probe.
    cancel = 0;
    ASSERT_FALSE(cam.fault("delay=15000").empty());
    auto pending = std::async(std::launch::async, [&] { return vxnet_connect_ex(&b, &h, &cancel); });
    ASSERT_EQ(pending.wait_for(400ms), std::future_status::timeout);
    const auto asked = Clock::now();
    __atomic_store_n(&cancel, 1, __ATOMIC_RELEASE);
    ASSERT_EQ(pending.wait_for(kPrompt), std::future_status::ready);
    EXPECT_EQ(pending.get(), VXNET_ERR_TIMEOUT);
    EXPECT_LT(Clock::now() - asked, kPrompt);
    EXPECT_EQ(h, nullptr);

    // A flag left at 0, or none at all, connects.
    ASSERT_FALSE(cam.fault("clear=1").empty());
    cancel = 0;
    ASSERT_EQ(vxnet_connect_ex(&b, &h, &cancel), 0);
    EXPECT_EQ(vxnet_get_camera(h)->nChipType, VXNET_CHIP_HX);
    // The flag belongs to the connect only: setting it later stops nothing.
    cancel = 1;
    char* out = nullptr;
    EXPECT_EQ(vxnet_get_cgi_command(h, "/web.ini", &out, VXNET_METHOD_GET, 3000), 0);
    vxnet_free_cgi_output(&out);
    EXPECT_EQ(vxnet_disconnect(h), 0);
    ASSERT_EQ(vxnet_connect_ex(&b, &h, nullptr), 0);
    EXPECT_EQ(vxnet_disconnect(h), 0);
}

}  // namespace
