#include "FloorChild.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

bool sendAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// One RTSP reply: its head and body. What came after it (the first
// interleaved data after PLAY) stays in rest.
bool readReply(int fd, std::string& rest, std::string& head, std::string& body)
{
    char buf[4096];
    size_t end;
    auto more = [&] {
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n > 0)
            rest.append(buf, static_cast<size_t>(n));
        return n > 0;
    };
    for (;;) {
        // A camera whose shared media already plays may send the first
        // interleaved frames before its PLAY reply: they are passed over.
        while (!rest.empty() && rest[0] == '$') {
            if (rest.size() < 4 && !more())
                return false;
            if (rest.size() < 4)
                continue;
            const size_t frame = 4 + ((static_cast<unsigned char>(rest[2]) << 8) | static_cast<unsigned char>(rest[3]));
            if (rest.size() < frame) {
                if (!more())
                    return false;
                continue;
            }
            rest.erase(0, frame);
        }
        if (!rest.empty() && (end = rest.find("\r\n\r\n")) != std::string::npos)
            break;
        if (!more())
            return false;
    }
    head = rest.substr(0, end + 4);
    size_t length = 0;
    const size_t at = head.find("Content-Length:");
    if (at != std::string::npos)
        length = std::strtoul(head.c_str() + at + 15, nullptr, 10);
    while (rest.size() < end + 4 + length) {
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0)
            return false;
        rest.append(buf, static_cast<size_t>(n));
    }
    body = rest.substr(end + 4, length);
    rest.erase(0, end + 4 + length);
    return head.compare(0, 12, "RTSP/1.0 200") == 0;
}

std::string headerValue(const std::string& head, const char* name)
{
    const size_t at = head.find(name);
    if (at == std::string::npos)
        return {};
    size_t from = at + std::strlen(name);
    while (from < head.size() && head[from] == ' ')
        ++from;
    return head.substr(from, head.find_first_of(";\r", from) - from);
}

enum class Setup { Playing, Busy, Failed };

// One attempt at making the camera play over a new connection: the fd that
// plays and whatever came after the PLAY reply in rest, or Busy when the
// camera answered 503 (it is preparing its shared media for another client).
Setup setUp(const FloorJob& job, int& fd, std::string& rest, std::string& status)
{
    fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(job.rtspPort));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        status = std::strerror(errno);
        return Setup::Failed;
    }
    const std::string url = "rtsp://127.0.0.1:" + std::to_string(job.rtspPort) + "/";
    std::string head, body, session;
    int cseq = 1;
    auto request = [&](const std::string& method, const std::string& target, const std::string& extra) {
        std::string r = method + " " + target + " RTSP/1.0\r\nCSeq: " + std::to_string(cseq++) + "\r\n";
        if (!session.empty())
            r += "Session: " + session + "\r\n";
        const bool ok = sendAll(fd, r + extra + "\r\n") && readReply(fd, rest, head, body);
        if (!ok)
            status = method + ": " + head.substr(0, head.find('\r'));
        return ok;
    };
    auto answer = [&] { return head.find(" 503 ") != std::string::npos ? Setup::Busy : Setup::Failed; };
    if (!request("DESCRIBE", url, "Accept: application/sdp\r\n"))
        return answer();
    std::string base = headerValue(head, "Content-Base:");
    if (base.empty())
        base = url;
    // Every track the camera describes, interleaved on this connection.
    int channel = 0;
    const std::string sdp = body;
    for (size_t at = 0; (at = sdp.find("\nm=", at)) != std::string::npos; ++at) {
        const size_t next = sdp.find("\nm=", at + 1);
        const size_t c = sdp.find("a=control:", at);
        if (c == std::string::npos || (next != std::string::npos && c > next))
            continue;
        std::string control = sdp.substr(c + 10, sdp.find_first_of("\r\n", c) - c - 10);
        if (control.rfind("rtsp://", 0) != 0)
            control = base + (base.back() == '/' ? "" : "/") + control;
        if (!request("SETUP", control,
                     "Transport: RTP/AVP/TCP;unicast;interleaved=" + std::to_string(channel) + "-"
                         + std::to_string(channel + 1) + "\r\n"))
            return answer();
        channel += 2;
        if (session.empty())
            session = headerValue(head, "Session:");
    }
    if (channel == 0) {
        status = "no track described";
        return Setup::Failed;
    }
    if (!request("PLAY", base, "Range: npt=0.000-\r\n"))
        return answer();
    return Setup::Playing;
}

// Sets the stream up and reads it for the job's time; the bytes written, -1 on failure.
long floorStream(const FloorJob& job, int i)
{
    // The simulated camera refuses a client (503, at DESCRIBE or at SETUP)
    // while it prepares its shared media for another: the client goes away
    // and comes back with a new connection, as a camera client does.
    int fd = -1;
    std::string rest, status;
    Setup setup = Setup::Busy;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (setup == Setup::Busy && std::chrono::steady_clock::now() < giveUp) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
        rest.clear();
        setup = setUp(job, fd, rest, status);
        if (setup == Setup::Busy)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    const bool ok = setup == Setup::Playing;
    const std::string path = job.outDir + "/" + std::to_string(i) + ".bin";
    if (!ok)
        std::fprintf(stderr, "bench_recording: floor stream %d not set up: %s\n", i, status.c_str());
    const int out = ok ? ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644) : -1;
    long written = -1;
    if (out >= 0) {
        written = 0;
        if (!rest.empty() && ::write(out, rest.data(), rest.size()) == static_cast<ssize_t>(rest.size()))
            written += static_cast<long>(rest.size());
        std::vector<char> buf(64 * 1024);
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(job.seconds);
        while (std::chrono::steady_clock::now() < end) {
            const ssize_t n = ::recv(fd, buf.data(), buf.size(), 0);
            if (n <= 0 || ::write(out, buf.data(), static_cast<size_t>(n)) != n) {
                std::fprintf(stderr, "bench_recording: floor stream %d ended after %ld bytes: %s\n", i, written,
                             n == 0 ? "closed by the camera" : std::strerror(errno));
                written = -1;
                break;
            }
            written += n;
        }
        ::close(out);
    }
    if (fd >= 0)
        ::close(fd);
    return written;
}

}  // namespace

int runFloor(const FloorJob& job, int fd)
{
    // The floor loads none of the libraries: its memory is taken from where it starts.
    long startKb = 0;
    if (FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f) && std::sscanf(line, "VmRSS: %ld kB", &startKb) != 1) {}
        std::fclose(f);
    }
    std::atomic<long> bytes{0};
    std::atomic<int> failed{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < job.streams; ++i)
        threads.emplace_back([&, i] {
            const long n = floorStream(job, i);
            if (n < 0)
                ++failed;
            else
                bytes += n;
        });
    for (auto& t : threads)
        t.join();
    char line[96];
    const int len = std::snprintf(line, sizeof line, "floor %ld %d %ld\n", bytes.load(), failed.load(), startKb);
    return ::write(fd, line, static_cast<size_t>(len)) == len ? 0 : 7;
}
