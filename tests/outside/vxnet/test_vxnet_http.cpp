// CGI requests and downloads of vxnet against a scripted loopback server, for
// what camsim cannot be asked to do byte for byte: the raw request line, the
// authentication rounds, replies cut off midway, oversized replies.

#include "outside/vxnet/vxnet.h"
#include "support/LoopbackHttpServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

const char* kHxLogin = "/cgi-bin/hi3510/param.cgi?cmd=getuserinfo&cmd=getvideoattr";

std::string reply(const std::string& status, const std::string& body, const std::string& extra = "")
{
    return "HTTP/1.1 " + status + "\r\nConnection: close\r\nContent-Length: " + std::to_string(body.size()) + "\r\n"
           + extra + "\r\n" + body;
}

std::string requestTarget(const std::string& request)
{
    size_t sp = request.find(' ');
    size_t sp2 = request.find(' ', sp + 1);
    return request.substr(sp + 1, sp2 - sp - 1);
}

// Answers the HX login so that vxnet_connect succeeds, the other families'
// login requests with 404, everything else with the test's own handler.
LoopbackHttpServer::Handler asHxCamera(LoopbackHttpServer::Handler rest)
{
    return [rest](LoopbackHttpServer& s, int fd, const std::string& req) {
        std::string target = requestTarget(req);
        if (target == kHxLogin) {
            LoopbackHttpServer::sendAll(fd, reply("200 OK", "var authLevel=\"15\";\r\nvar maxchn=\"3\";\r\n"));
            return;
        }
        for (const char* other :
             {"/cgi/sys_get?", "/dy-cgi/", "/cgi-bin/user_management?", "/cgi-bin/web.cgi?mod=device"}) {
            if (target.rfind(other, 0) == 0) {
                LoopbackHttpServer::sendAll(fd, reply("404 Not Found", ""));
                return;
            }
        }
        rest(s, fd, req);
    };
}

class VxnetHttp : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(vxnet_init(), 0); }
    static void TearDownTestSuite() { vxnet_deinit(); }

    void TearDown() override
    {
        if (m_handle)
            vxnet_disconnect(m_handle);
        if (!m_dir.empty())
            fs::remove_all(m_dir);
    }

    STConnectInfo block(int port, const char* user = "admin", const char* password = "s3cret")
    {
        STConnectInfo b{};
        std::strcpy(b.szHost, "127.0.0.1");
        b.nHttpPort = port;
        b.nMediaPort = 554;
        std::strcpy(b.szUser, user);
        std::strcpy(b.szPassword, password);
        return b;
    }

    void connect(int port)
    {
        STConnectInfo b = block(port);
        ASSERT_EQ(vxnet_connect(&b, &m_handle), 0);
        ASSERT_NE(m_handle, nullptr);
    }

    std::string get(const char* path, int method = VXNET_METHOD_GET, int* rc_out = nullptr)
    {
        char* out = nullptr;
        int rc = vxnet_get_cgi_command(m_handle, path, &out, method, 3000);
        if (rc_out)
            *rc_out = rc;
        std::string text = out ? out : "";
        vxnet_free_cgi_output(&out);
        EXPECT_EQ(out, nullptr);
        return text;
    }

    fs::path dir()
    {
        if (m_dir.empty()) {
            m_dir = fs::temp_directory_path() / ("vxnet_http_" + std::to_string(::getpid()));
            fs::create_directories(m_dir);
        }
        return m_dir;
    }

    VXNET_HANDLE m_handle = nullptr;
    fs::path m_dir;
};

TEST_F(VxnetHttp, RequestTargetIsSentByteForByte)
{
    LoopbackHttpServer server(asHxCamera([](LoopbackHttpServer&, int fd, const std::string&) {
        LoopbackHttpServer::sendAll(fd, reply("200 OK", "ok"));
    }));
    connect(server.port());
    // Characters curl would otherwise squash, drop or re-encode.
    const char* path = "/cgi-bin/web.cgi?{\"mod\":\"ptz\",\"cmd\":\"set\",\"param\":{\"command\":1}}/../a//b#frag%zz";
    int rc = -99;
    std::string text = get(path, VXNET_METHOD_GET, &rc);
    EXPECT_EQ(rc, 0);
    auto reqs = server.requests();
    ASSERT_FALSE(reqs.empty());
    EXPECT_EQ(reqs.back().substr(0, reqs.back().find("\r\n")), std::string("GET ") + path + " HTTP/1.1");
}

TEST_F(VxnetHttp, PostSendsThePathWithAnEmptyBody)
{
    LoopbackHttpServer server(asHxCamera([](LoopbackHttpServer&, int fd, const std::string&) {
        LoopbackHttpServer::sendAll(fd, reply("200 OK", "var result=\"ok\";"));
    }));
    connect(server.port());
    std::string text = get("/cgi-bin/hi3510/param.cgi?cmd=setimageattr&-flip=on", VXNET_METHOD_POST);
    EXPECT_NE(text.find("HTTP/1.1 200 OK"), std::string::npos);
    std::string req = server.requests().back();
    EXPECT_EQ(req.rfind("POST /cgi-bin/hi3510/param.cgi?cmd=setimageattr&-flip=on HTTP/1.1\r\n", 0), 0u) << req;
    EXPECT_NE(req.find("Content-Length: 0\r\n"), std::string::npos) << req;
}

TEST_F(VxnetHttp, PathsThatWouldBreakTheRequestLineAreRefused)
{
    LoopbackHttpServer server(asHxCamera([](LoopbackHttpServer&, int fd, const std::string&) {
        LoopbackHttpServer::sendAll(fd, reply("200 OK", "ok"));
    }));
    connect(server.port());
    size_t before = server.requests().size();
    for (const char* bad : {"/a b", "/a\r\nX-Injected: 1", "relative", "", "/tab\there"}) {
        char* out = reinterpret_cast<char*>(1);
        EXPECT_EQ(vxnet_get_cgi_command(m_handle, bad, &out, VXNET_METHOD_GET, 1000), VXNET_ERR_BAD_ARG) << bad;
        EXPECT_EQ(out, nullptr);
    }
    char* out = nullptr;
    EXPECT_EQ(vxnet_get_cgi_command(m_handle, "/x", &out, 7, 1000), VXNET_ERR_BAD_ARG);
    EXPECT_EQ(server.requests().size(), before);
}

TEST_F(VxnetHttp, ChunkedReplyComesBackAsFinalHeadersAndDecodedBody)
{
    LoopbackHttpServer server(asHxCamera([](LoopbackHttpServer&, int fd, const std::string&) {
        LoopbackHttpServer::sendAll(
            fd, "HTTP/1.1 100 Continue\r\n\r\n"
                "HTTP/1.1 200 OK\r\nConnection: close\r\nTransfer-Encoding: chunked\r\nX-Cam: 1\r\n\r\n"
                "6\r\nvar a=\r\n8\r\n\"1\";\r\nok\r\n0\r\n\r\n");
    }));
    connect(server.port());
    std::string text = get("/cgi-bin/hi3510/param.cgi?cmd=getx");
    EXPECT_EQ(text, "HTTP/1.1 200 OK\r\nConnection: close\r\nTransfer-Encoding: chunked\r\nX-Cam: 1\r\n\r\n"
                    "var a=\"1\";\r\nok");
}

TEST_F(VxnetHttp, ErrorStatusIsStillAReplyText)
{
    LoopbackHttpServer server(asHxCamera([](LoopbackHttpServer&, int fd, const std::string&) {
        LoopbackHttpServer::sendAll(fd, reply("404 Not Found", "nope"));
    }));
    connect(server.port());
    int rc = -99;
    std::string text = get("/missing", VXNET_METHOD_GET, &rc);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(text.rfind("HTTP/1.1 404 Not Found\r\n", 0), 0u);
    EXPECT_EQ(vxnet_get_status(m_handle), 0);
}

TEST_F(VxnetHttp, RepliesOverSixteenMegabytesAreRefused)
{
    static constexpr size_t big = VXNET_MAX_REPLY + 1024;
    LoopbackHttpServer server(asHxCamera([](LoopbackHttpServer&, int fd, const std::string& req) {
        if (requestTarget(req) == "/chunked") {
            // No length up front: only counting the bytes can stop it.
            LoopbackHttpServer::sendAll(fd,
                                        "HTTP/1.1 200 OK\r\nConnection: close\r\nTransfer-Encoding: chunked\r\n\r\n");
            std::string chunk(1 << 20, 'x');
            char size[32];
            std::snprintf(size, sizeof size, "%zx\r\n", chunk.size());
            for (size_t sent = 0; sent < big; sent += chunk.size())
                LoopbackHttpServer::sendAll(fd, size + chunk + "\r\n");
            LoopbackHttpServer::sendAll(fd, "0\r\n\r\n");
        } else {
            LoopbackHttpServer::sendAll(
                fd, "HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: " + std::to_string(big) + "\r\n\r\n");
            LoopbackHttpServer::sendAll(fd, std::string(big, 'y'));
        }
    }));
    connect(server.port());
    for (const char* path : {"/chunked", "/sized"}) {
        int rc = 0;
        std::string text = get(path, VXNET_METHOD_GET, &rc);
        EXPECT_EQ(rc, VXNET_ERR_TOO_LARGE) << path;
        EXPECT_TRUE(text.empty());
    }
}

TEST_F(VxnetHttp, BasicGoesFirstAndDigestFollowsWhenAsked)
{
    LoopbackHttpServer server([](LoopbackHttpServer&, int fd, const std::string& req) {
        if (req.find("Authorization: Digest ") == std::string::npos) {
            LoopbackHttpServer::sendAll(
                fd, reply("401 Unauthorized", "",
                          "WWW-Authenticate: Digest realm=\"cam\", nonce=\"abc123\", qop=\"auth\"\r\n"));
            return;
        }
        LoopbackHttpServer::sendAll(fd, reply("200 OK", "var authLevel=\"15\";\r\n"));
    });
    connect(server.port());
    auto reqs = server.requests();
    ASSERT_GE(reqs.size(), 2u);
    EXPECT_NE(reqs[0].find("Authorization: Basic "), std::string::npos) << reqs[0];
    bool digest = false;
    for (const auto& r : reqs)
        digest = digest || r.find("Authorization: Digest username=\"admin\"") != std::string::npos;
    EXPECT_TRUE(digest);
    // The digest is taken over the path as sent.
    size_t before = server.requests().size();
    std::string text = get("/cgi-bin/a.cgi?x={1}");
    EXPECT_NE(text.find("200 OK"), std::string::npos);
    reqs = server.requests();
    ASSERT_GT(reqs.size(), before);
    EXPECT_NE(reqs.back().find("uri=\"/cgi-bin/a.cgi?x={1}\""), std::string::npos) << reqs.back();
    // Once asked for, Digest is used straight away: no Basic round any more.
    for (size_t i = before; i < reqs.size(); ++i)
        EXPECT_EQ(reqs[i].find("Authorization: Basic "), std::string::npos) << reqs[i];
}

TEST_F(VxnetHttp, WrongPasswordFailsTheConnect)
{
    LoopbackHttpServer server([](LoopbackHttpServer&, int fd, const std::string&) {
        LoopbackHttpServer::sendAll(fd, reply("401 Unauthorized", "", "WWW-Authenticate: Basic realm=\"cam\"\r\n"));
    });
    STConnectInfo b = block(server.port());
    VXNET_HANDLE h = reinterpret_cast<VXNET_HANDLE>(1);
    EXPECT_EQ(vxnet_connect(&b, &h), VXNET_ERR_AUTH);
    EXPECT_EQ(h, nullptr);
}

TEST_F(VxnetHttp, SilentCameraTimesOutAndMarksTheSession)
{
    LoopbackHttpServer server(asHxCamera([](LoopbackHttpServer& s, int fd, const std::string& req) {
        if (requestTarget(req) == "/ok") {
            LoopbackHttpServer::sendAll(fd, reply("200 OK", "ok"));
            return;
        }
        s.sleepFor(1500);
    }));
    connect(server.port());
    char* out = nullptr;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(vxnet_get_cgi_command(m_handle, "/slow", &out, VXNET_METHOD_GET, 500), VXNET_ERR_TIMEOUT);
    auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(out, nullptr);
    vxnet_free_cgi_output(&out);
    EXPECT_LT(took, std::chrono::milliseconds(2500));
    EXPECT_NE(vxnet_get_status(m_handle), 0);
    // The next answered request shows the camera is back.
    get("/ok");
    EXPECT_EQ(vxnet_get_status(m_handle), 0);
}

TEST_F(VxnetHttp, DownloadWritesTheWholeFileOrNothing)
{
    const std::string content(200000, 'z');
    LoopbackHttpServer server(asHxCamera([&content](LoopbackHttpServer&, int fd, const std::string& req) {
        std::string target = requestTarget(req);
        if (target == "/sd/full.mp4") {
            LoopbackHttpServer::sendAll(fd, reply("200 OK", content));
        } else if (target == "/sd/cut.mp4") {
            LoopbackHttpServer::sendAll(fd, "HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: "
                                                + std::to_string(content.size()) + "\r\n\r\n"
                                                + content.substr(0, content.size() / 2));
        } else if (target == "/sd/cutchunk.mp4") {
            LoopbackHttpServer::sendAll(fd, "HTTP/1.1 200 OK\r\nConnection: close\r\nTransfer-Encoding: chunked\r\n\r\n"
                                            "1000\r\n"
                                                + std::string(0x1000, 'c') + "\r\n1000\r\nshort");
        } else {
            LoopbackHttpServer::sendAll(fd, reply("404 Not Found", "not here"));
        }
    }));
    connect(server.port());

    fs::path full = dir() / "full.mp4";
    ASSERT_EQ(vxnet_download_file(m_handle, "/sd/full.mp4", full.c_str(), 3000), 0);
    std::ifstream in(full, std::ios::binary);
    std::string got((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(got, content);

    struct Case {
        const char* remote;
        int expected;
    };
    for (Case c : {Case{"/sd/cut.mp4", VXNET_ERR_PROTOCOL}, Case{"/sd/cutchunk.mp4", VXNET_ERR_PROTOCOL},
                   Case{"/sd/missing.mp4", VXNET_ERR_HTTP}}) {
        fs::path target = dir() / "failed.mp4";
        EXPECT_EQ(vxnet_download_file(m_handle, c.remote, target.c_str(), 3000), c.expected) << c.remote;
        EXPECT_FALSE(fs::exists(target)) << c.remote;
    }
    // A failed download leaves an earlier file of that name as it was, and
    // no temporary file anywhere.
    EXPECT_NE(vxnet_download_file(m_handle, "/sd/cut.mp4", full.c_str(), 3000), 0);
    EXPECT_EQ(fs::file_size(full), content.size());
    int files = 0;
    for (const auto& e : fs::directory_iterator(dir())) {
        (void)e;
        ++files;
    }
    EXPECT_EQ(files, 1);
    // A folder that does not exist is a local failure.
    EXPECT_EQ(vxnet_download_file(m_handle, "/sd/full.mp4", (dir() / "no/such/x.mp4").c_str(), 3000), VXNET_ERR_FILE);
}

}  // namespace
