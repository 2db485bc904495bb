// The recording benchmark's plain recorder (many streams through vxnet into
// vxplay) against a camera that serves only some of them: the
// streams it refuses count as stream errors, the others record on, and the
// recorder closes every session before it frees what their callbacks use.

#include "RecordingChild.h"
#include "support/CamsimProcess.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

// In front of the camera's RTSP port: forwards the first `serve`
// connections and closes every later one at once, as a camera that serves
// only so many sessions does.
class RationingProxy {
public:
    RationingProxy(int targetPort, int serve) : m_target(targetPort), m_serve(serve)
    {
        m_listen = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (m_listen < 0 || ::bind(m_listen, reinterpret_cast<sockaddr*>(&a), len) != 0 || ::listen(m_listen, 128) != 0
            || ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&a), &len) != 0)
            return;
        m_port = ntohs(a.sin_port);
        m_accept = std::thread([this] { acceptLoop(); });
    }
    ~RationingProxy()
    {
        m_stop = true;
        ::shutdown(m_listen, SHUT_RDWR);
        if (m_accept.joinable())
            m_accept.join();
        for (auto& t : m_pipes)
            t.join();
        ::close(m_listen);
    }
    int port() const { return m_port; }

private:
    void acceptLoop()
    {
        int taken = 0;
        while (!m_stop) {
            const int client = ::accept(m_listen, nullptr, nullptr);
            if (client < 0)
                return;
            if (taken++ >= m_serve) {
                ::close(client);
                continue;
            }
            m_pipes.emplace_back([this, client] { pipe(client); });
        }
    }

    void pipe(int client)
    {
        const int camera = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(static_cast<uint16_t>(m_target));
        if (camera >= 0 && ::connect(camera, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
            pollfd fds[2] = {{client, POLLIN, 0}, {camera, POLLIN, 0}};
            char buf[65536];
            while (!m_stop) {
                if (::poll(fds, 2, 100) < 0)
                    break;
                bool closed = false;
                for (int i = 0; i < 2 && !closed; ++i) {
                    if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                        continue;
                    const ssize_t n = ::read(fds[i].fd, buf, sizeof buf);
                    closed = n <= 0 || ::send(fds[1 - i].fd, buf, static_cast<size_t>(n), MSG_NOSIGNAL) != n;
                }
                if (closed)
                    break;
            }
        }
        if (camera >= 0)
            ::close(camera);
        ::close(client);
    }

    const int m_target;
    const int m_serve;
    int m_listen = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_accept;
    std::vector<std::thread> m_pipes;  // touched by the accept thread until it is joined
};

TEST(RecordingRefusedStreams, RefusedStreamsAreErrorsAndTheRestRecord)
{
    constexpr int kStreams = 24;
    constexpr int kServed = 8;
    CamsimProcess cam({"--fps", "25", "--keyint", "25"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    RationingProxy proxy(cam.rtspPort(), kServed);
    ASSERT_GT(proxy.port(), 0);

    char tmpl[] = "/tmp/test_recording_refused.XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl;
    char outName[] = "/tmp/test_recording_refused_out.XXXXXX";
    const int fd = mkstemp(outName);
    ASSERT_GE(fd, 0);

    RecordingJob job;
    job.streams = kStreams;
    job.seconds = 3;
    job.segmentSeconds = 2;
    job.prerecordMs = 1000;
    job.httpPort = cam.httpPort();
    job.rtspPort = proxy.port();
    job.outDir = dir;
    EXPECT_EQ(runRecording(job, fd), 0);
    ::close(fd);

    std::ifstream in(outName);
    std::string line;
    int lines = 0, refused = 0, finished = 0;
    while (std::getline(in, line)) {
        StreamOutcome o;
        if (!StreamOutcome::fromLine(line, o))
            continue;
        ++lines;
        refused += o.streamErrors > 0 && o.segments == 0;
        finished += o.finished && o.segments > 0;
    }
    EXPECT_EQ(lines, kStreams);
    EXPECT_EQ(refused, kStreams - kServed);
    EXPECT_EQ(finished, kServed);
    std::filesystem::remove_all(dir);
    std::filesystem::remove(outName);
}

}  // namespace
