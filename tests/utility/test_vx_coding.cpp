#include "utility/vx_base64.h"
#include "utility/vx_result.h"
#include "utility/vx_url.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string encode64(const std::string& bytes)
{
    char out[256];
    int len = sizeof out;
    EXPECT_EQ(vx_base64_encode(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()),
                               out, &len),
              0);
    return std::string(out, static_cast<size_t>(len));
}

std::string decode64(const std::string& text)
{
    unsigned char out[256];
    int len = sizeof out;
    EXPECT_EQ(vx_base64_decode(text.c_str(), out, &len), 0);
    return std::string(reinterpret_cast<char*>(out), static_cast<size_t>(len));
}

std::string str(const char* p)
{
    return p ? p : "<null>";
}

}  // namespace

TEST(VxBase64, Rfc4648Vectors)
{
    const char* vectors[][2] = {{"", ""},
                                {"f", "Zg=="},
                                {"fo", "Zm8="},
                                {"foo", "Zm9v"},
                                {"foob", "Zm9vYg=="},
                                {"fooba", "Zm9vYmE="},
                                {"foobar", "Zm9vYmFy"},
                                {"abc", "YWJj"}};
    for (auto& v : vectors) {
        EXPECT_EQ(encode64(v[0]), v[1]);
        EXPECT_EQ(decode64(v[1]), v[0]);
    }
    EXPECT_EQ(encode64(std::string(1, '\0')), "AA==");
    EXPECT_EQ(decode64("Zm9v\r\nYmFy"), "foobar");  // line breaks between groups are skipped
}

TEST(VxBase64, BufferLimits)
{
    unsigned char bytes[3] = {1, 2, 3};
    char out[8];
    int len = 6;  // 4 * 3 / 3 + 3 = 7 needed
    EXPECT_EQ(vx_base64_encode(bytes, 3, out, &len), VX_ERR_BUFFER_TOO_SMALL);
    unsigned char dec[8];
    int dlen = 2;
    EXPECT_EQ(vx_base64_decode("YWJj", dec, &dlen), VX_ERR_BUFFER_TOO_SMALL);
    EXPECT_EQ(vx_base64_encode(bytes, 3, nullptr, &len), VX_ERR_INVALID_ARG);
    EXPECT_EQ(vx_base64_decode(nullptr, dec, &dlen), VX_ERR_INVALID_ARG);
}

TEST(VxUrl, EncodeAndDecode)
{
    struct {
        const char* in;
        const char* encoded;
    } cases[] = {
        {"a b&c~d", "a%20b%26c~d"}, {"p@ss:w/rd", "p%40ss%3Aw%2Frd"}, {"", ""}, {"\xC3\xA9\r\n", "%C3%A9%0D%0A"}};
    for (auto& c : cases) {
        char* e = vx_url_encode(c.in, nullptr);
        EXPECT_EQ(str(e), c.encoded);
        char* d = nullptr;
        vx_url_decode(e, &d);
        EXPECT_EQ(str(d), c.in);
        vx_url_free(&e);
        vx_url_free(&d);
        EXPECT_EQ(d, nullptr);
    }
    char* d = vx_url_decode("a+b%4", nullptr);
    EXPECT_EQ(d, nullptr);
    d = vx_url_decode("a+b%41", nullptr);
    EXPECT_EQ(str(d), "a+bA");
    vx_url_free(&d);
    EXPECT_EQ(vx_url_encode(nullptr, nullptr), nullptr);
}

TEST(VxUrl, ParseTable)
{
    struct {
        const char* text;
        char sep;
        const char *scheme, *user, *password, *host;
        int port;
        const char *path, *query;
    } cases[] = {
        {"rtsp://admin:p%40ss@[fe80::1]:554/live/ch0?token=1", '?', "rtsp", "admin", "p@ss", "[fe80::1]", 554,
         "/live/ch0", "token=1"},
        {"http://cam.local/cgi-bin/param.cgi?cmd=x", '?', "http", "<null>", "<null>", "cam.local", 0,
         "/cgi-bin/param.cgi", "cmd=x"},
        {"http://cam.local/a@b", 0, "http", "<null>", "<null>", "cam.local", 0, "/a@b", "<null>"},
        {"192.168.1.5:81/path", '?', "<null>", "<null>", "<null>", "192.168.1.5", 81, "/path", "<null>"},
        {"/only/path?q", '?', "<null>", "<null>", "<null>", "<null>", 0, "/only/path", "q"},
        {"user@host", '?', "<null>", "user", "<null>", "host", 0, "<null>", "<null>"},
    };
    for (auto& c : cases) {
        vx_url u;
        ASSERT_EQ(vx_url_parse(&u, c.text, c.sep), 0);
        EXPECT_EQ(str(u.scheme), c.scheme) << c.text;
        EXPECT_EQ(str(u.user), c.user) << c.text;
        EXPECT_EQ(str(u.password), c.password) << c.text;
        EXPECT_EQ(str(u.host), c.host) << c.text;
        EXPECT_EQ(u.port, c.port) << c.text;
        EXPECT_EQ(str(u.path), c.path) << c.text;
        EXPECT_EQ(str(u.query), c.query) << c.text;
        vx_url_clean(&u);
        EXPECT_EQ(u.buffer, nullptr);
        EXPECT_EQ(u.host, nullptr);
    }
    EXPECT_EQ(vx_url_parse(nullptr, "x", 0), VX_ERR_INVALID_ARG);
}

TEST(VxUrl, ComposeRoundTripAndLimits)
{
    vx_url u;
    vx_url_parse(&u, "rtsp://admin:p%40ss@[fe80::1]:554/live/ch0?token=1", '?');
    char* text = vx_url_compose(&u, nullptr);
    EXPECT_EQ(str(text), "rtsp://admin:p%40ss@[fe80::1]:554/live/ch0?token=1");
    vx_url_free(&text);
    vx_url_clean(&u);

    vx_url bare{};
    char host[] = "::1";
    char path[] = "/x";
    bare.host = host;
    bare.path = path;
    text = vx_url_compose(&bare, nullptr);
    EXPECT_EQ(str(text), "//[::1]/x");
    vx_url_free(&text);

    // A long host and a password that triples in size stay within bounds.
    std::string longHost(250, 'h');
    std::string longPass(100, '@');
    vx_url big{};
    big.host = longHost.data();
    big.user = path;
    big.password = longPass.data();
    EXPECT_EQ(vx_url_compose(&big, &text), nullptr);
    EXPECT_EQ(text, nullptr);

    vx_url empty{};
    EXPECT_EQ(vx_url_compose(&empty, nullptr), nullptr);
}
