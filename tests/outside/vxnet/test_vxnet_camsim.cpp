// vxnet against the simulated camera: the family of each dialect, the
// account, time-outs, the reply text, request paths, downloads, and the
// media stream with its tracks, packets, closing and a camera that vanishes.

#include "outside/vxnet/vxnet.h"
#include "support/CamsimProcess.h"
#include "utility/vx_log.h"

extern "C" {
#include <libavcodec/codec_id.h>
}

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <signal.h>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

class VxnetCamsim : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(vxnet_init(), 0); }
    static void TearDownTestSuite() { vxnet_deinit(); }

    void SetUp() override
    {
        m_dir = fs::temp_directory_path()
                / ("vxnet_camsim_" + std::to_string(::getpid()) + "_"
                   + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir);
    }
    void TearDown() override
    {
        if (m_handle)
            vxnet_disconnect(m_handle);
        fs::remove_all(m_dir);
    }

    static STConnectInfo block(const CamsimProcess& cam, const char* password = "admin")
    {
        STConnectInfo b{};
        std::strcpy(b.szHost, "127.0.0.1");
        b.nHttpPort = cam.httpPort();
        b.nMediaPort = cam.rtspPort();
        std::strcpy(b.szUser, "admin");
        std::strcpy(b.szPassword, password);
        b.nStream = 1;
        return b;
    }

    void connect(const CamsimProcess& cam)
    {
        STConnectInfo b = block(cam);
        ASSERT_EQ(vxnet_connect(&b, &m_handle), 0);
        ASSERT_NE(m_handle, nullptr);
    }

    std::string get(const std::string& path, int timeout_ms = 3000, int* rc_out = nullptr)
    {
        char* out = nullptr;
        int rc = vxnet_get_cgi_command(m_handle, path.c_str(), &out, VXNET_METHOD_GET, timeout_ms);
        if (rc_out)
            *rc_out = rc;
        std::string text = out ? out : "";
        vxnet_free_cgi_output(&out);
        return text;
    }

    static std::vector<std::string> lines(const fs::path& file)
    {
        std::ifstream in(file);
        std::vector<std::string> out;
        for (std::string line; std::getline(in, line);)
            out.push_back(line);
        return out;
    }

    VXNET_HANDLE m_handle = nullptr;
    fs::path m_dir;
};

TEST_F(VxnetCamsim, FindsTheFamilyOfEachDialect)
{
    struct Case {
        const char* family;
        int chip;
    };
    for (Case c : {Case{"HX", VXNET_CHIP_HX}, Case{"HV", VXNET_CHIP_HV}, Case{"DY", VXNET_CHIP_DY},
                   Case{"AJ", VXNET_CHIP_AJ}, Case{"HTL", VXNET_CHIP_HTL}}) {
        CamsimProcess cam({"--family", c.family, "--no-rtsp"});
        ASSERT_TRUE(cam.ok()) << cam.error();
        STConnectInfo b = block(cam);
        VXNET_HANDLE h = nullptr;
        ASSERT_EQ(vxnet_connect(&b, &h), 0) << c.family;
        const STConnectInfo* own = vxnet_get_camera(h);
        EXPECT_EQ(own->nChipType, c.chip) << c.family;
        EXPECT_EQ(own->nUseIP, 0) << c.family;
        EXPECT_STREQ(own->szHost, "127.0.0.1");
        EXPECT_EQ(own->nHttpPort, cam.httpPort());
        EXPECT_EQ(vxnet_get_status(h), 0);
        vxnet_disconnect(h);
    }
}

TEST_F(VxnetCamsim, P2PEntryWithAnAddressIsReachedDirectly)
{
    CamsimProcess cam({"--family", "HV", "--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    STConnectInfo b = block(cam);
    b.nIsP2P = 1;
    std::strcpy(b.szP2PId, "VXID-000123-ABCDE");
    ASSERT_EQ(vxnet_connect(&b, &m_handle), 0);
    EXPECT_EQ(vxnet_get_camera(m_handle)->nChipType, VXNET_CHIP_HV);
    EXPECT_EQ(vxnet_get_camera(m_handle)->nUseIP, 1);
}

TEST_F(VxnetCamsim, AccountIsSentBasicFirstAndRefusedWhenWrong)
{
    for (const char* mode : {"basic", "digest"}) {
        fs::path log = m_dir / (std::string(mode) + ".log");
        CamsimProcess cam({"--auth", mode, "--log", log.string(), "--no-rtsp"});
        ASSERT_TRUE(cam.ok()) << cam.error();
        STConnectInfo b = block(cam);
        VXNET_HANDLE h = nullptr;
        ASSERT_EQ(vxnet_connect(&b, &h), 0) << mode;
        char* out = nullptr;
        ASSERT_EQ(vxnet_get_cgi_command(h, "/web.ini", &out, VXNET_METHOD_GET, 3000), 0);
        EXPECT_EQ(std::string(out).rfind("HTTP/1.1 200", 0), 0u) << out;
        vxnet_free_cgi_output(&out);
        vxnet_disconnect(h);
        std::vector<std::string> entries = lines(log);
        ASSERT_FALSE(entries.empty());
        EXPECT_NE(entries.front().find(" basic "), std::string::npos) << entries.front();
        EXPECT_NE(entries.back().find(std::string(" ") + mode + " 200"), std::string::npos) << entries.back();

        STConnectInfo wrong = block(cam, "wrong");
        h = reinterpret_cast<VXNET_HANDLE>(1);
        EXPECT_EQ(vxnet_connect(&wrong, &h), VXNET_ERR_AUTH) << mode;
        EXPECT_EQ(h, nullptr);
    }
    // HV refuses inside its XML reply.
    CamsimProcess hv({"--family", "HV", "--no-rtsp"});
    ASSERT_TRUE(hv.ok()) << hv.error();
    STConnectInfo wrong = block(hv, "wrong");
    VXNET_HANDLE h = nullptr;
    EXPECT_EQ(vxnet_connect(&wrong, &h), VXNET_ERR_AUTH);
}

TEST_F(VxnetCamsim, SlowCameraAgainstTheTimeOut)
{
    CamsimProcess cam({"--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    connect(cam);
    ASSERT_FALSE(cam.fault("delay=3000").empty());
    int rc = 0;
    auto start = std::chrono::steady_clock::now();
    std::string text = get("/web.ini", 800, &rc);
    EXPECT_EQ(rc, VXNET_ERR_TIMEOUT);
    EXPECT_TRUE(text.empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2500ms);
    EXPECT_NE(vxnet_get_status(m_handle), 0);
    // The same camera within a longer time-out.
    text = get("/web.ini", 8000, &rc);
    EXPECT_EQ(rc, 0);
    EXPECT_NE(text.find("vercfg"), std::string::npos);
    EXPECT_EQ(vxnet_get_status(m_handle), 0);
}

TEST_F(VxnetCamsim, ChunkedReplyTextHasTheDecodedBody)
{
    CamsimProcess cam({"--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    connect(cam);
    const std::string path = "/cgi-bin/hi3510/param.cgi?cmd=getvideoattr";
    std::string plain = get(path);
    ASSERT_FALSE(cam.fault("chunked=1").empty());
    std::string chunked = get(path);
    ASSERT_EQ(chunked.rfind("HTTP/1.1 200", 0), 0u) << chunked;
    size_t end = chunked.find("\r\n\r\n");
    ASSERT_NE(end, std::string::npos);
    EXPECT_NE(chunked.substr(0, end).find("Transfer-Encoding: chunked"), std::string::npos) << chunked;
    std::string body = chunked.substr(end + 4);
    EXPECT_EQ(body, plain.substr(plain.find("\r\n\r\n") + 4));
    EXPECT_NE(body.find("var "), std::string::npos) << body;
    EXPECT_EQ(std::strlen(chunked.c_str()), chunked.size());
}

TEST_F(VxnetCamsim, RequestPathReachesTheCameraAsWritten)
{
    // JSON in the query (HTL's PTZ request) and a '#', with either scheme:
    // a Digest camera checks the signature against the path it received.
    const std::string paths[] = {
        "/cgi-bin/web.cgi?{\"mod\":\"ptz\",\"cmd\":\"set\",\"param\":{\"command\":1,\"speed\":1,\"preset_id\":[3]}}",
        "/cgi-bin/web.cgi?mod=device&cmd=get#top",
    };
    for (const char* mode : {"basic", "digest"}) {
        fs::path log = m_dir / (std::string(mode) + ".log");
        CamsimProcess cam({"--family", "HTL", "--auth", mode, "--log", log.string(), "--no-rtsp"});
        ASSERT_TRUE(cam.ok()) << cam.error();
        STConnectInfo b = block(cam);
        VXNET_HANDLE h = nullptr;
        ASSERT_EQ(vxnet_connect(&b, &h), 0) << mode;
        for (const std::string& path : paths) {
            char* out = nullptr;
            ASSERT_EQ(vxnet_get_cgi_command(h, path.c_str(), &out, VXNET_METHOD_POST, 3000), 0);
            EXPECT_EQ(std::string(out).rfind("HTTP/1.1 200", 0), 0u) << mode << " " << path << "\n" << out;
            vxnet_free_cgi_output(&out);
            std::vector<std::string> entries = lines(log);
            ASSERT_FALSE(entries.empty());
            EXPECT_EQ(entries.back(), "POST " + path + " " + mode + " 200");
        }
        vxnet_disconnect(h);
    }
}

TEST_F(VxnetCamsim, DownloadCutOffMidwayLeavesNoFile)
{
    CamsimProcess cam({"--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    connect(cam);
    fs::path good = m_dir / "web.ini";
    ASSERT_EQ(vxnet_download_file(m_handle, "/web.ini", good.c_str(), 3000), 0);
    std::ifstream in(good);
    std::stringstream content;
    content << in.rdbuf();
    EXPECT_NE(content.str().find("[vxver]"), std::string::npos);

    // The headers announce the whole file; 20 bytes come, then the
    // connection drops. Then a reply whose status line is broken.
    fs::path cut = m_dir / "cut.ini";
    for (const char* fault : {"cut=20", "cut=-1&malformed=http"}) {
        ASSERT_FALSE(cam.fault(fault).empty()) << fault;
        EXPECT_NE(vxnet_download_file(m_handle, "/web.ini", cut.c_str(), 3000), 0) << fault;
        EXPECT_FALSE(fs::exists(cut)) << fault;
    }
    ASSERT_FALSE(cam.fault("clear=1&error=404").empty());
    EXPECT_EQ(vxnet_download_file(m_handle, "/web.ini", cut.c_str(), 3000), VXNET_ERR_HTTP);
    EXPECT_FALSE(fs::exists(cut));
    // Only the complete download is in the folder: no temporary file stays.
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
}

// What a download's progress callback heard; it calls the download off
// once `stopAfter` calls came (0: never).
struct ProgressLog {
    struct Call {
        int64_t received;
        int64_t total;
        std::chrono::steady_clock::time_point at;
    };
    std::vector<Call> calls;
    size_t stopAfter = 0;

    static int onProgress(void* user, int64_t received, int64_t total)
    {
        auto* p = static_cast<ProgressLog*>(user);
        p->calls.push_back({received, total, std::chrono::steady_clock::now()});
        return p->stopAfter && p->calls.size() >= p->stopAfter ? 1 : 0;
    }
    double longestGapSeconds() const
    {
        double gap = 0;
        for (size_t i = 1; i < calls.size(); ++i)
            gap = std::max(gap, std::chrono::duration<double>(calls[i].at - calls[i - 1].at).count());
        return gap;
    }
};

TEST_F(VxnetCamsim, DownloadProgressReportsTheBytesAndCallsTheDownloadOff)
{
    CamsimProcess cam({"--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    connect(cam);
    const int64_t size = 60000;
    ASSERT_FALSE(cam.get("/camsim/sd?file=/sd/p/slow.bin&size=" + std::to_string(size)).empty());

    // A slow file: the share grows to the whole, and the bytes are the file's.
    ASSERT_FALSE(cam.fault("match=slow.bin&rate=40000").empty());
    fs::path file = m_dir / "slow.bin";
    ProgressLog log;
    ASSERT_EQ(
        vxnet_download_file_progress(m_handle, "/sd/p/slow.bin", file.c_str(), 5000, ProgressLog::onProgress, &log), 0);
    ASSERT_GE(log.calls.size(), 3u);
    EXPECT_EQ(log.calls.back().received, size);
    EXPECT_EQ(log.calls.back().total, size);
    for (size_t i = 1; i < log.calls.size(); ++i)
        EXPECT_GE(log.calls[i].received, log.calls[i - 1].received);
    EXPECT_LT(log.longestGapSeconds(), 1.5);
    EXPECT_EQ(static_cast<int64_t>(fs::file_size(file)), size);

    // Called off midway, and on a camera that sends nothing at all: the
    // callback still comes about once a second, and no file is left.
    struct Case {
        const char* fault;
        size_t stopAfter;
    };
    for (const Case& c : {Case{"clear=1&match=slow.bin&rate=20000", 4}, Case{"clear=1&hang=1", 3}}) {
        ASSERT_FALSE(cam.fault(c.fault).empty()) << c.fault;
        fs::path gone = m_dir / "gone.bin";
        ProgressLog off;
        off.stopAfter = c.stopAfter;
        auto t0 = std::chrono::steady_clock::now();
        EXPECT_EQ(vxnet_download_file_progress(m_handle, "/sd/p/slow.bin", gone.c_str(), 20000, ProgressLog::onProgress,
                                               &off),
                  VXNET_ERR_CANCELLED)
            << c.fault;
        EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), 5.0) << c.fault;
        EXPECT_EQ(off.calls.size(), c.stopAfter) << c.fault;
        EXPECT_LT(off.longestGapSeconds(), 1.5) << c.fault;
        EXPECT_FALSE(fs::exists(gone)) << c.fault;
    }
    ASSERT_FALSE(cam.fault("clear=1").empty());
    // Only the complete download is in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
}

// What the stream callbacks saw; the test thread reads it.
struct StreamProbe {
    std::mutex mutex;  // guards the vectors
    std::vector<vxstream_track> tracks;
    std::vector<std::vector<uint8_t>> extradata;
    std::atomic<int> packets{0};
    std::atomic<int> videoPackets{0};
    std::atomic<int> audioPackets{0};
    std::atomic<int> keyFrames{0};
    std::atomic<int> badPackets{0};
    std::atomic<int> errors{0};
    std::atomic<int> errorCode{0};
    std::atomic<int> afterClose{0};
    std::atomic<bool> closed{false};

    static void onTrack(void* user, const vxstream_track* t)
    {
        auto* p = static_cast<StreamProbe*>(user);
        if (p->closed)
            ++p->afterClose;
        std::lock_guard lock(p->mutex);
        p->tracks.push_back(*t);
        p->extradata.emplace_back(t->extradata, t->extradata + t->extradata_size);
    }
    static void onData(void* user, int index, int media, const uint8_t* data, int size, int64_t pts, int64_t dts,
                       int flags)
    {
        auto* p = static_cast<StreamProbe*>(user);
        if (p->closed)
            ++p->afterClose;
        {
            std::lock_guard lock(p->mutex);
            if (index < 0 || index >= static_cast<int>(p->tracks.size()) || p->tracks[index].media_type != media
                || !data || size <= 0)
                ++p->badPackets;
        }
        ++p->packets;
        if (media == VXSTREAM_MEDIA_VIDEO)
            ++p->videoPackets;
        else
            ++p->audioPackets;
        if (flags & VXSTREAM_FLAG_KEY)
            ++p->keyFrames;
        (void)pts;
        (void)dts;
    }
    static void onError(void* user, int code)
    {
        auto* p = static_cast<StreamProbe*>(user);
        if (p->closed)
            ++p->afterClose;
        ++p->errors;
        p->errorCode = code;
    }

    void attach(VXNET_HANDLE h)
    {
        vxnet_set_stream_track_callback(h, onTrack, this);
        vxnet_set_stream_callback(h, onData, this);
        vxnet_set_stream_error_callback(h, onError, this);
    }
};

template <typename Pred>
bool waitFor(Pred pred, std::chrono::milliseconds limit)
{
    auto until = std::chrono::steady_clock::now() + limit;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

TEST_F(VxnetCamsim, TracksThenPacketsArriveAndCloseEndsThemAtOnce)
{
    CamsimProcess cam({"--width", "320", "--height", "240", "--fps", "15", "--keyint", "15"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    connect(cam);
    StreamProbe probe;
    probe.attach(m_handle);
    ASSERT_EQ(vxnet_open_stream(m_handle), 0);
    EXPECT_EQ(vxnet_open_stream(m_handle), VXNET_ERR_BUSY);
    ASSERT_TRUE(waitFor([&] { return probe.keyFrames >= 2 && probe.audioPackets >= 5; }, 15s))
        << probe.packets << " packets, " << probe.keyFrames << " key frames";
    {
        std::lock_guard lock(probe.mutex);
        ASSERT_EQ(probe.tracks.size(), 2u);
        for (size_t i = 0; i < probe.tracks.size(); ++i) {
            const vxstream_track& t = probe.tracks[i];
            EXPECT_EQ(t.stream_index, static_cast<int>(i));
            EXPECT_EQ(t.track_count, 2);
            EXPECT_GT(t.time_base_den, 0);
            if (t.media_type == VXSTREAM_MEDIA_VIDEO) {
                EXPECT_EQ(t.codec_id, AV_CODEC_ID_H264);
                EXPECT_EQ(t.width, 320);
                EXPECT_EQ(t.height, 240);
                EXPECT_GT(probe.extradata[i].size(), 4u);  // SPS and PPS from the SDP
            } else {
                EXPECT_EQ(t.media_type, VXSTREAM_MEDIA_AUDIO);
                EXPECT_EQ(t.codec_id, AV_CODEC_ID_PCM_ALAW);
                EXPECT_EQ(t.sample_rate, 8000);
                EXPECT_EQ(t.channels, 1);
            }
        }
    }
    EXPECT_EQ(probe.badPackets, 0);
    EXPECT_EQ(vxnet_force_key_frame(m_handle), 0);
    EXPECT_GT(vxnet_get_bitrate(m_handle), 1000.0f);
    EXPECT_EQ(vxnet_get_status(m_handle), 0);

    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(vxnet_close_stream(m_handle), 0);
    probe.closed = true;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    int packets = probe.packets;
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(probe.packets, packets);
    EXPECT_EQ(probe.afterClose, 0);
    EXPECT_EQ(probe.errors, 0);  // a stream its owner closed reports no error
    EXPECT_EQ(vxnet_get_bitrate(m_handle), 0.0f);
    EXPECT_NE(vxnet_force_key_frame(m_handle), 0);

    // The session opens its stream again after a close.
    StreamProbe again;
    again.attach(m_handle);
    ASSERT_EQ(vxnet_open_stream(m_handle), 0);
    EXPECT_TRUE(waitFor([&] { return again.videoPackets >= 3; }, 15s));
    // Ending the session closes the stream too.
    vxnet_disconnect(m_handle);
    m_handle = nullptr;
    again.closed = true;
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(again.afterClose, 0);
}

TEST_F(VxnetCamsim, CloseWhileTheTracksAreStillStudiedCallsNothing)
{
    CamsimProcess cam;
    ASSERT_TRUE(cam.ok()) << cam.error();
    connect(cam);
    for (int round = 0; round < 3; ++round) {
        StreamProbe probe;
        probe.attach(m_handle);
        ASSERT_EQ(vxnet_open_stream(m_handle), 0);
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(vxnet_close_stream(m_handle), 0);
        probe.closed = true;
        EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
        std::this_thread::sleep_for(200ms);
        EXPECT_EQ(probe.afterClose, 0);
        EXPECT_EQ(probe.errors, 0);
    }
    EXPECT_EQ(vxnet_get_status(m_handle), 0);
}

TEST_F(VxnetCamsim, SubStreamAndRtspUrlEntry)
{
    CamsimProcess cam({"--width", "320", "--height", "240"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    // The sub stream of channel 1: "/ch=1/sl=1", half the size.
    STConnectInfo b = block(cam);
    b.nChannel = 1;
    b.nStream = 2;
    ASSERT_EQ(vxnet_connect(&b, &m_handle), 0);
    StreamProbe probe;
    probe.attach(m_handle);
    ASSERT_EQ(vxnet_open_stream(m_handle), 0);
    ASSERT_TRUE(waitFor([&] { return probe.videoPackets >= 1; }, 15s));
    {
        std::lock_guard lock(probe.mutex);
        ASSERT_FALSE(probe.tracks.empty());
        EXPECT_EQ(probe.tracks[0].width, 160);
    }
    vxnet_disconnect(m_handle);
    m_handle = nullptr;

    // An RTSP URL entry streams from its URL; a path the camera lacks fails
    // the open with no callback.
    STConnectInfo u{};
    std::snprintf(u.szRtspUrl, sizeof u.szRtspUrl, "%s", cam.rtspUrl("/ch=2").c_str());
    ASSERT_EQ(vxnet_connect(&u, &m_handle), 0);
    EXPECT_EQ(vxnet_get_camera(m_handle)->nChipType, VXNET_CHIP_NONE);
    StreamProbe url;
    url.attach(m_handle);
    ASSERT_EQ(vxnet_open_stream(m_handle), 0);
    EXPECT_TRUE(waitFor([&] { return url.videoPackets >= 1; }, 15s));
    vxnet_disconnect(m_handle);
    m_handle = nullptr;

    STConnectInfo missing{};
    std::snprintf(missing.szRtspUrl, sizeof missing.szRtspUrl, "%s", cam.rtspUrl("/no/such/path").c_str());
    ASSERT_EQ(vxnet_connect(&missing, &m_handle), 0);
    StreamProbe none;
    none.attach(m_handle);
    EXPECT_NE(vxnet_open_stream(m_handle), 0);
    EXPECT_EQ(none.tracks.size() + none.packets + none.errors, 0u);
}

std::mutex g_logMutex;
std::vector<std::string> g_log;

void keepLine(int, const char* line, int length)
{
    std::lock_guard lock(g_logMutex);
    g_log.emplace_back(line, static_cast<size_t>(length));
}

TEST_F(VxnetCamsim, AccountWithAwkwardCharactersOpensTheStreamAndStaysOutOfTheLog)
{
    // Characters that would break the URL's user part unless encoded.
    const char* password = "p@ss:w/rd%#";
    CamsimProcess cam({"--password", password, "--rtsp-auth", "--auth", "digest"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    vx_log_func before = vx_log_set_log_func(keepLine);
    int level = vx_log_get_level();
    vx_log_set_level(VX_LOG_TRACE);

    STConnectInfo b = block(cam, password);
    int rc = vxnet_connect(&b, &m_handle);
    std::string text;
    StreamProbe probe;
    int open = -1;
    if (rc == 0) {
        text = get("/cgi-bin/hi3510/param.cgi?cmd=setuserattr&-at_username=admin&-at_password=p%40ss%3Aw%2Frd%25%23");
        probe.attach(m_handle);
        open = vxnet_open_stream(m_handle);
        if (open == 0)
            waitFor([&] { return probe.videoPackets >= 1; }, 15s);
        vxnet_disconnect(m_handle);
        m_handle = nullptr;
    }
    vx_log_set_log_func(before);
    vx_log_set_level(level);

    ASSERT_EQ(rc, 0);
    EXPECT_EQ(text.rfind("HTTP/1.1 200", 0), 0u) << text;
    EXPECT_EQ(open, 0);
    EXPECT_GE(probe.videoPackets, 1);
    std::lock_guard lock(g_logMutex);
    EXPECT_GT(g_log.size(), 10u);
    // The password, plain, percent-encoded, and inside Basic credentials
    // ("admin:p@ss" in Base64 begins with YWRtaW46cEBzcz).
    for (const std::string& line : g_log) {
        EXPECT_EQ(line.find("p@ss"), std::string::npos) << line;
        EXPECT_EQ(line.find("p%40ss"), std::string::npos) << line;
        EXPECT_EQ(line.find("YWRtaW46cEBzcz"), std::string::npos) << line;
    }
}

TEST_F(VxnetCamsim, VanishingCameraCallsTheErrorCallbackOnce)
{
    struct Case {
        const char* fault;
        int code;
    };
    // Gone (the ports close), the stream ended by the camera, and a camera
    // alive but silent.
    for (Case c : {Case{"vanish=60", 0}, Case{"stream=stop", 0}, Case{"stream=stall", VXNET_ERR_TIMEOUT}}) {
        CamsimProcess cam;
        ASSERT_TRUE(cam.ok()) << cam.error();
        STConnectInfo b = block(cam);
        VXNET_HANDLE h = nullptr;
        ASSERT_EQ(vxnet_connect(&b, &h), 0);
        StreamProbe probe;
        probe.attach(h);
        ASSERT_EQ(vxnet_open_stream(h), 0);
        ASSERT_TRUE(waitFor([&] { return probe.videoPackets >= 3; }, 15s));
        ASSERT_FALSE(cam.fault(c.fault).empty()) << c.fault;
        EXPECT_TRUE(waitFor([&] { return probe.errors > 0; }, 45s)) << c.fault;
        std::this_thread::sleep_for(500ms);
        EXPECT_EQ(probe.errors, 1) << c.fault;
        if (c.code) {
            EXPECT_EQ(probe.errorCode, c.code) << c.fault;
        }
        EXPECT_NE(probe.errorCode, 0);
        EXPECT_NE(vxnet_get_status(h), 0) << c.fault;
        EXPECT_EQ(vxnet_get_bitrate(h), 0.0f);
        // Closing an ended stream is harmless and calls nothing more.
        EXPECT_EQ(vxnet_close_stream(h), 0);
        EXPECT_EQ(probe.errors, 1);
        vxnet_disconnect(h);
    }
}

}  // namespace
