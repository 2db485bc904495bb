#pragma once
// A scripted HTTP server on 127.0.0.1 for tests that need exact control of
// the bytes on the wire: the raw request as it arrived, replies cut off
// midway, stalls. Each connection is handled on the server's thread by the
// test's handler, one after the other.
//
// One of the three HTTP servers of the tests, kept for what the others
// cannot do: it runs inside the test, so a test writes any reply byte for
// byte (a 16 MB body, a stall in the middle) and reads each request exactly
// as it arrived. camsim speaks like a camera and nothing else; the web
// client's Python server (tests/ui/common/web_test_server.py) has fixed routes.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class LoopbackHttpServer {
public:
    // Reads one request (headers and a Content-Length body) and answers it on fd.
    using Handler = std::function<void(LoopbackHttpServer& server, int fd, const std::string& request)>;

    explicit LoopbackHttpServer(Handler handler) : m_handler(std::move(handler))
    {
        m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        int one = 1;
        ::setsockopt(m_listen, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0;
        ::bind(m_listen, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(m_listen, 16);
        socklen_t len = sizeof addr;
        ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&addr), &len);
        m_port = ntohs(addr.sin_port);
        m_thread = std::thread([this] { loop(); });
    }

    ~LoopbackHttpServer()
    {
        m_stop = true;
        m_thread.join();
        ::close(m_listen);
    }

    int port() const { return m_port; }
    bool stopping() const { return m_stop; }

    std::vector<std::string> requests() const
    {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }

    static void sendAll(int fd, const std::string& data)
    {
        size_t done = 0;
        while (done < data.size()) {
            ssize_t n = ::send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL);
            if (n <= 0)
                return;
            done += static_cast<size_t>(n);
        }
    }

    // Waits up to ms, returning early when the server stops.
    void sleepFor(int ms) const
    {
        for (int waited = 0; waited < ms && !m_stop; waited += 10)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }

    // Reads the next request on a kept-alive connection; empty when the
    // client closed it or nothing came within 5 s.
    std::string readRequest(int fd)
    {
        std::string data;
        auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        size_t header_end = std::string::npos;
        size_t want = 0;
        while (!m_stop && std::chrono::steady_clock::now() < give_up) {
            if (header_end != std::string::npos && data.size() >= want)
                break;
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            char buf[4096];
            ssize_t n = ::recv(fd, buf, sizeof buf, 0);
            if (n <= 0)
                return {};
            data.append(buf, static_cast<size_t>(n));
            if (header_end == std::string::npos) {
                header_end = data.find("\r\n\r\n");
                if (header_end != std::string::npos) {
                    want = header_end + 4;
                    const char* cl = strcasestr(data.c_str(), "\r\nContent-Length:");
                    if (cl && static_cast<size_t>(cl - data.c_str()) < header_end)
                        want += std::strtoul(cl + 17, nullptr, 10);
                }
            }
        }
        std::lock_guard lock(m_mutex);
        m_requests.push_back(data);
        return data;
    }

private:
    void loop()
    {
        while (!m_stop) {
            pollfd p{m_listen, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            int fd = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                continue;
            std::string request = readRequest(fd);
            if (!request.empty())
                m_handler(*this, fd, request);
            ::close(fd);
        }
    }

    Handler m_handler;
    int m_listen = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;  // guards m_requests
    std::vector<std::string> m_requests;
    std::thread m_thread;
};
