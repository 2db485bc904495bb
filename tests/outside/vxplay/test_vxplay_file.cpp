// File playback: a recording made by the player plays back with its length,
// seeks, pauses and ends with the end-of-file event. Times are microseconds.

#include "StreamFixture.h"
#include "support/LoopbackHttpServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <sys/socket.h>
#include <sys/time.h>
#include <thread>

using vxtest::StreamFixture;

namespace {

struct Events {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::pair<int, int64_t>> events;

    static void onEvent(void* u, int code, int64_t value)
    {
        auto* e = static_cast<Events*>(u);
        std::lock_guard lock(e->mutex);
        e->events.emplace_back(code, value);
        e->changed.notify_all();
    }
    bool waitFor(int code, int seconds = 20)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(seconds), [&] { return has(code); });
    }
    bool has(int code) const
    {
        for (auto& e : events)
            if (e.first == code)
                return true;
        return false;
    }
    int64_t last(int code)
    {
        std::lock_guard lock(mutex);
        int64_t v = -1;
        for (auto& e : events)
            if (e.first == code)
                v = e.second;
        return v;
    }
};

// A 10-second recording made once per test program.
const std::string& recording()
{
    static const std::string path = [] {
        const StreamFixture& fixture = StreamFixture::get();
        const std::string p = vxtest::scratchDir("file") + "/rec.mp4";
        vxplay_inst rec = nullptr;
        vxplay_create_instance(&rec, 0, 0);
        fixture.describe(rec);
        vxplay_audio_set_enable(rec, 1);
        fixture.feed(rec, 0, 0.1);
        vxplay_record_start(rec, p.c_str(), 1, nullptr, nullptr);
        fixture.feed(rec, 0.1, 10);
        vxplay_record_stop(rec);
        vxplay_destroy_instance(rec);
        return p;
    }();
    return path;
}

class FilePlayback : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(vxplay_create_instance(&inst, 1, 0), 0);
        vxplay_set_event_callback(inst, &Events::onEvent, &ev);
    }
    void TearDown() override { vxplay_destroy_instance(inst); }

    vxplay_inst inst = nullptr;
    Events ev;
};

TEST_F(FilePlayback, ReportsLengthSeeksAndEnds)
{
    ASSERT_EQ(vxplay_file_set(inst, recording().c_str()), 0);
    ASSERT_EQ(vxplay_play_start(inst), 0);
    ASSERT_EQ(vxplay_file_open(inst), 0);
    ASSERT_TRUE(ev.waitFor(VXPLAY_EVENT_FILE_LENGTH));
    EXPECT_NEAR(double(ev.last(VXPLAY_EVENT_FILE_LENGTH)), 10000000.0, 40000.0);
    EXPECT_NEAR(double(vxplay_file_get_length(inst)), 10000000.0, 40000.0);
    ASSERT_TRUE(ev.waitFor(VXPLAY_EVENT_VOUT));

    // Near the end in one step; it plays the rest and ends.
    ASSERT_EQ(vxplay_file_set_position(inst, 8500000), 0);
    ASSERT_TRUE(ev.waitFor(VXPLAY_EVENT_FILE_END, 10)) << "no end-of-file event after seeking";
    EXPECT_GE(vxplay_file_get_position(inst), 9900000);
    std::lock_guard lock(ev.mutex);
    bool sawSeekTarget = false;
    for (auto& e : ev.events)
        if (e.first == VXPLAY_EVENT_FILE_POSITION && e.second >= 8400000 && e.second < 9000000)
            sawSeekTarget = true;
    EXPECT_TRUE(sawSeekTarget) << "no position report near the seek target";
    EXPECT_FALSE(ev.has(VXPLAY_EVENT_FILE_STOPPED));
    EXPECT_FALSE(ev.has(VXPLAY_EVENT_FILE_FAILED));
}

TEST_F(FilePlayback, PauseHoldsThePositionAndCloseReportsStopped)
{
    ASSERT_EQ(vxplay_file_set(inst, recording().c_str()), 0);
    ASSERT_EQ(vxplay_file_open(inst), 0);
    ASSERT_TRUE(ev.waitFor(VXPLAY_EVENT_VOUT));
    ASSERT_EQ(vxplay_file_pause(inst), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const int64_t held = vxplay_file_get_position(inst);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    EXPECT_EQ(vxplay_file_get_position(inst), held);
    ASSERT_EQ(vxplay_file_resume(inst), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    EXPECT_GT(vxplay_file_get_position(inst), held);
    ASSERT_EQ(vxplay_file_close(inst), 0);
    EXPECT_TRUE(ev.has(VXPLAY_EVENT_FILE_STOPPED));  // raised before close returned
    EXPECT_EQ(vxplay_file_get_length(inst), -1);
}

// 41 minutes: past 2^31 microseconds, where any 32-bit step on the way would
// wrap. One small picture a second keeps the file tiny and quick to make.
TEST_F(FilePlayback, ALongFileKeepsItsTimesWhole)
{
    const std::string path = vxtest::scratchDir("long") + "/long.mp4";
    vxtest::runCommand("ffmpeg -nostdin -v error -f lavfi -i color=c=gray:size=64x48:rate=1:duration=2460 "
                       "-c:v libx264 -preset ultrafast -g 30 -pix_fmt yuv420p -y '"
                       + path + "' 2>&1");
    ASSERT_TRUE(std::filesystem::exists(path));
    constexpr int64_t kLength = 2460LL * 1000000;
    static_assert(kLength > INT32_MAX);
    ASSERT_EQ(vxplay_file_set(inst, path.c_str()), 0);
    ASSERT_EQ(vxplay_file_open(inst), 0);
    EXPECT_NEAR(double(vxplay_file_get_length(inst)), double(kLength), 1000000.0);
    ASSERT_TRUE(ev.waitFor(VXPLAY_EVENT_FILE_LENGTH));
    EXPECT_EQ(ev.last(VXPLAY_EVENT_FILE_LENGTH), vxplay_file_get_length(inst));

    const int64_t target = kLength - 3000000;
    ASSERT_EQ(vxplay_file_set_position(inst, target), 0);
    ASSERT_TRUE(ev.waitFor(VXPLAY_EVENT_FILE_END, 15));
    EXPECT_GE(vxplay_file_get_position(inst), target);
    std::lock_guard lock(ev.mutex);
    bool sawTarget = false;
    for (auto& e : ev.events)
        if (e.first == VXPLAY_EVENT_FILE_POSITION && e.second >= target - 1000000)
            sawTarget = true;
    EXPECT_TRUE(sawTarget) << "no position report past the seek target";
}

// Serves one file the way a plain file server does: its length up front, no
// ranges, so the player cannot seek by asking for a part.
LoopbackHttpServer::Handler fileServer(const std::string& path)
{
    return [path](LoopbackHttpServer&, int fd, const std::string&) {
        std::ifstream in(path, std::ios::binary);
        const std::string body((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // A client that stops reading must not hold the server forever.
        timeval limit{5, 0};
        setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        LoopbackHttpServer::sendAll(fd, "HTTP/1.0 200 OK\r\nContent-Type: video/mp4\r\nContent-Length: "
                                            + std::to_string(body.size()) + "\r\n\r\n" + body);
    };
}

TEST_F(FilePlayback, AnHttpUrlPlaysLikeAFile)
{
    const std::filesystem::path rec = recording();
    LoopbackHttpServer server(fileServer(rec.string()));
    ASSERT_GT(server.port(), 0);
    const std::string url = "http://127.0.0.1:" + std::to_string(server.port()) + "/" + rec.filename().string();
    ASSERT_EQ(vxplay_file_set(inst, url.c_str()), 0);
    ASSERT_EQ(vxplay_file_open(inst), 0);
    ASSERT_TRUE(ev.waitFor(VXPLAY_EVENT_FILE_LENGTH));
    // This server sends no ranges, so the length shows only what was read so
    // far; it grows as the file plays, and the end is the end of the file.
    ASSERT_EQ(vxplay_file_set_position(inst, 8000000), 0);
    ASSERT_TRUE(ev.waitFor(VXPLAY_EVENT_FILE_END, 15));
    EXPECT_NEAR(double(ev.last(VXPLAY_EVENT_FILE_LENGTH)), 10000000.0, 80000.0);
    EXPECT_NEAR(double(vxplay_file_get_length(inst)), 10000000.0, 80000.0);
}

TEST_F(FilePlayback, FilesThatCannotPlayFailToOpen)
{
    const std::string dir = vxtest::scratchDir("bad-files");
    const std::string text = dir + "/notes.mp4";
    std::ofstream(text) << "not a movie at all";
    struct Case {
        std::string path;
        int result;
    };
    for (const Case& c : {Case{dir + "/missing.mp4", VXPLAY_ERR_IO}, Case{text, VXPLAY_ERR_CODEC}}) {
        SCOPED_TRACE(c.path);
        ASSERT_EQ(vxplay_file_set(inst, c.path.c_str()), 0);
        EXPECT_EQ(vxplay_file_open(inst), c.result);
        EXPECT_EQ(vxplay_file_get_length(inst), -1);
    }
    EXPECT_EQ(vxplay_file_set(inst, ""), VXPLAY_ERR_ARG);
    vxplay_inst fresh = nullptr;
    ASSERT_EQ(vxplay_create_instance(&fresh, 1, 0), 0);
    EXPECT_EQ(vxplay_file_open(fresh), VXPLAY_ERR_STATE);  // nothing set
    vxplay_destroy_instance(fresh);
}

}  // namespace
