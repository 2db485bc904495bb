#pragma once
// Starts the simulated camera for an end-to-end test and stops it again.
//
//   CamsimProcess cam({"--family", "HV", "--log", logPath});
//   ASSERT_TRUE(cam.ok()) << cam.error();
//   curl ... "http://127.0.0.1:" + std::to_string(cam.httpPort()) + "/..."
//   cam.fault("delay=2000");   // a control request: see `camsim --help`
//
// The camera listens on free loopback ports (the arguments may override
// them) and is stopped with SIGTERM when the object goes; it gets SIGKILL
// when the thread that started it dies, so a crashed test leaves no camera
// behind. Start and stop it from the same thread (the test body).

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#ifndef VX_BIN_DIR
#error "CamsimProcess.h needs VX_BIN_DIR (set by vx_add_test)"
#endif

class CamsimProcess {
public:
    explicit CamsimProcess(std::vector<std::string> args = {}, int startTimeoutMs = 15000)
    {
        std::vector<std::string> argv = {std::string(VX_BIN_DIR) + "/camsim", "--http-port", "0", "--rtsp-port", "0"};
        // A camera with fixed side-channel ports gets an address of its own.
        for (size_t i = 0; i + 1 < args.size(); ++i) {
            if (args[i] == "--bind")
                address_ = args[i + 1];
        }
        argv.insert(argv.end(), args.begin(), args.end());
        start(argv, startTimeoutMs);
    }
    ~CamsimProcess() { stop(); }
    CamsimProcess(const CamsimProcess&) = delete;
    CamsimProcess& operator=(const CamsimProcess&) = delete;

    bool ok() const { return pid_ > 0 && httpPort_ > 0; }
    const std::string& error() const { return error_; }
    pid_t pid() const { return pid_; }
    int httpPort() const { return httpPort_; }
    int rtspPort() const { return rtspPort_; }  // 0 with --no-rtsp
    // The loopback address it listens on (--bind, else 127.0.0.1).
    const std::string& address() const { return address_; }
    std::string httpUrl(const std::string& target = "/") const
    {
        return "http://" + address_ + ":" + std::to_string(httpPort_) + target;
    }
    std::string rtspUrl(const std::string& path = "") const
    {
        return "rtsp://" + address_ + ":" + std::to_string(rtspPort_) + path;
    }

    // Sends GET /camsim/fault?QUERY and returns the reply body; empty when the
    // camera did not answer 200.
    std::string fault(const std::string& query) const { return control("/camsim/fault?" + query); }
    // Sends GET /camsim/set?QUERY: settings as the test wants them.
    std::string set(const std::string& query) const { return control("/camsim/set?" + query); }
    std::string state() const { return control("/camsim/state"); }
    // Any control path (GET TARGET); the reply body, empty unless 200.
    std::string get(const std::string& target) const { return control(target); }

    // SIGTERM, then SIGKILL if it has not ended within a few seconds.
    void stop()
    {
        if (pid_ <= 0)
            return;
        kill(pid_, SIGTERM);
        for (int i = 0; i < 100; ++i) {
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    void start(const std::vector<std::string>& argv, int timeoutMs)
    {
        int out[2];
        if (pipe2(out, O_CLOEXEC) != 0) {
            error_ = "pipe failed";
            return;
        }
        pid_t parent = getpid();
        std::vector<char*> cargv;
        for (const auto& a : argv)
            cargv.push_back(const_cast<char*>(a.c_str()));
        cargv.push_back(nullptr);
        pid_ = fork();
        if (pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (getppid() != parent)
                _exit(127);
            dup2(out[1], STDOUT_FILENO);
            execv(cargv[0], cargv.data());
            _exit(127);
        }
        close(out[1]);
        if (pid_ < 0) {
            close(out[0]);
            error_ = "fork failed";
            return;
        }
        // The camera prints "camsim: http=PORT rtsp=PORT" once it serves.
        std::string line;
        auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < until) {
            pollfd p{out[0], POLLIN, 0};
            if (poll(&p, 1, 100) <= 0)
                continue;
            char buf[256];
            ssize_t n = read(out[0], buf, sizeof buf);
            if (n <= 0)
                break;
            line.append(buf, static_cast<size_t>(n));
        }
        close(out[0]);
        if (sscanf(line.c_str(), "camsim: http=%d rtsp=%d", &httpPort_, &rtspPort_) != 2 || httpPort_ <= 0) {
            error_ = "camsim did not start: '" + line + "'";
            httpPort_ = 0;
            stop();
        }
    }

    std::string control(const std::string& target) const
    {
        int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return {};
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_port = htons(static_cast<uint16_t>(httpPort_));
        if (inet_pton(AF_INET, address_.c_str(), &sa.sin_addr) != 1)
            sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        timeval tv{10, 0};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        std::string reply;
        if (connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0) {
            std::string req = "GET " + target + " HTTP/1.1\r\nHost: " + address_ + "\r\nConnection: close\r\n\r\n";
            if (send(fd, req.data(), req.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(req.size())) {
                char buf[4096];
                ssize_t n;
                while ((n = recv(fd, buf, sizeof buf, 0)) > 0)
                    reply.append(buf, static_cast<size_t>(n));
            }
        }
        close(fd);
        size_t body = reply.find("\r\n\r\n");
        if (reply.rfind("HTTP/1.1 200", 0) != 0 || body == std::string::npos)
            return {};
        return reply.substr(body + 4);
    }

    pid_t pid_ = -1;
    std::string address_ = "127.0.0.1";
    int httpPort_ = 0;
    int rtspPort_ = 0;
    std::string error_;
};
