// Recording: the file format, the pre-record, a recorder killed mid-file and
// the rule that an existing file is never replaced.

#include "StreamFixture.h"

#include "outside/vxplay/Mp4Recorder.h"
#include "outside/vxplay/OutputFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <signal.h>
#include <sstream>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>

namespace fs = std::filesystem;
using vxtest::StreamFixture;

namespace {

struct RecordLog {
    std::mutex mutex;
    std::vector<std::pair<int, std::string>> calls;

    static void callback(void* user, int result, const char* path)
    {
        auto* self = static_cast<RecordLog*>(user);
        std::lock_guard lock(self->mutex);
        self->calls.emplace_back(result, path);
    }
};

class Recorder : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(vxplay_create_instance(&inst, 0, 5000), 0);
        fixture.describe(inst);
        vxplay_audio_set_enable(inst, 1);
        dir = vxtest::scratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override { vxplay_destroy_instance(inst); }

    const StreamFixture& fixture = StreamFixture::get();
    vxplay_inst inst = nullptr;
    std::string dir;
    RecordLog log;
};

TEST_F(Recorder, PreRecordPlusRecordingMakesOneFileThatStartsWithAKeyFrame)
{
    // 5 s of stream before the start, 25 s after it; fed faster than real
    // time: the ring works on the stream's own timestamps.
    fixture.feed(inst, 0, 5);
    const std::string path = dir + "/20260101120000.mp4";
    ASSERT_EQ(vxplay_record_start(inst, path.c_str(), 1, &RecordLog::callback, &log), 0);
    EXPECT_EQ(vxplay_record_status(inst), 1);
    fixture.feed(inst, 5, 30);
    EXPECT_EQ(vxplay_record_stop(inst), 0);
    int64_t received = 0, recorded = 0;
    ASSERT_EQ(vxplay_record_counts(inst, &received, &recorded), 0);
    EXPECT_GT(received, 1000);
    EXPECT_EQ(recorded, received);
    EXPECT_EQ(vxplay_record_status(inst), 0);
    ASSERT_EQ(log.calls.size(), 1u);
    EXPECT_EQ(log.calls[0].first, 0);
    EXPECT_EQ(log.calls[0].second, path);

    const auto r = vxtest::probe(path);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.videoCodec, "h264");
    EXPECT_EQ(r.audioCodec, "aac");
    EXPECT_EQ(r.width, StreamFixture::kWidth);
    EXPECT_EQ(r.height, StreamFixture::kHeight);
    EXPECT_TRUE(r.firstFrameKey);
    EXPECT_NEAR(r.duration, 30.0, 0.04);  // within a frame
    EXPECT_EQ(r.videoFrames, 750);
}

// The start only opens the file: the seconds of pre-record go to disk on the
// stream's thread with its next packet, or at the stop when none came, so a
// host that starts many recordings at once (a motion alarm) is not held.
TEST_F(Recorder, TheStartWritesNoPreRecordAndTheStopStillKeepsIt)
{
    fixture.feed(inst, 0, 5);
    const std::string path = dir + "/motion.mp4";
    ASSERT_EQ(vxplay_record_start(inst, path.c_str(), 1, &RecordLog::callback, &log), 0);
    EXPECT_LT(fs::file_size(path), 16u * 1024u);  // 5 s of stream are several fragments of 160 kB
    ASSERT_EQ(vxplay_record_stop(inst), 0);
    const auto r = vxtest::probe(path);
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.firstFrameKey);
    EXPECT_NEAR(r.duration, 5.0, 0.04);
}

TEST_F(Recorder, WithoutPreRecordTheFileStartsAtTheLatestKeyFrame)
{
    fixture.feed(inst, 0, 5.5);  // key frames at 0, 2 and 4 s
    const std::string path = dir + "/a.mp4";
    ASSERT_EQ(vxplay_record_start(inst, path.c_str(), 0, nullptr, nullptr), 0);
    fixture.feed(inst, 5.5, 10);
    ASSERT_EQ(vxplay_record_stop(inst), 0);
    const auto r = vxtest::probe(path);
    EXPECT_TRUE(r.firstFrameKey);
    EXPECT_NEAR(r.duration, 6.0, 0.04);
}

TEST_F(Recorder, SoundOffRecordsNoAudioTrack)
{
    vxplay_audio_set_enable(inst, 0);
    fixture.feed(inst, 0, 2);
    const std::string path = dir + "/mute.mp4";
    ASSERT_EQ(vxplay_record_start(inst, path.c_str(), 1, nullptr, nullptr), 0);
    fixture.feed(inst, 2, 4);
    ASSERT_EQ(vxplay_record_stop(inst), 0);
    const auto r = vxtest::probe(path);
    EXPECT_EQ(r.videoCodec, "h264");
    EXPECT_EQ(r.audioCodec, "");
}

TEST_F(Recorder, SegmentsFollowEachOtherWithoutAGap)
{
    // Stop and start at once, as the recorder cuts its segments: the next
    // file begins with the group of pictures the last one ended in.
    fixture.feed(inst, 0, 1);
    const std::string a = dir + "/1.mp4", b = dir + "/2.mp4";
    ASSERT_EQ(vxplay_record_start(inst, a.c_str(), 0, nullptr, nullptr), 0);
    fixture.feed(inst, 1, 7);
    ASSERT_EQ(vxplay_record_stop(inst), 0);
    ASSERT_EQ(vxplay_record_start(inst, b.c_str(), 0, nullptr, nullptr), 0);
    fixture.feed(inst, 7, 12);
    ASSERT_EQ(vxplay_record_stop(inst), 0);
    EXPECT_NEAR(vxtest::probe(a).duration, 7.0, 0.04);
    EXPECT_NEAR(vxtest::probe(b).duration, 6.0, 0.04);  // from the key frame at 6 s
}

TEST_F(Recorder, ANextSegmentTakesOnFromTheLastKeyFrameInsteadOfThePreRecord)
{
    // Segments as the recorder cuts them, each started with the pre-record
    // flag. Key frames every 2 s, 25 pictures a second.
    struct Case {
        double gapSeconds;  // stream between the two files, recorded by neither
        double secondFrom;  // where the second file must begin
    };
    for (const Case& c : {Case{0, 6}, Case{1, 6}, Case{7, 8}}) {
        SCOPED_TRACE(c.gapSeconds);
        vxplay_inst own = nullptr;
        ASSERT_EQ(vxplay_create_instance(&own, 0, 5000), 0);
        fixture.describe(own);
        const std::string a = dir + "/a" + std::to_string(int(c.gapSeconds)) + ".mp4";
        const std::string b = dir + "/b" + std::to_string(int(c.gapSeconds)) + ".mp4";
        fixture.feed(own, 0, 1);
        ASSERT_EQ(vxplay_record_start(own, a.c_str(), 1, nullptr, nullptr), 0);
        fixture.feed(own, 1, 7);
        ASSERT_EQ(vxplay_record_stop(own), 0);
        fixture.feed(own, 7, 7 + c.gapSeconds);
        ASSERT_EQ(vxplay_record_start(own, b.c_str(), 1, nullptr, nullptr), 0);
        fixture.feed(own, 7 + c.gapSeconds, 16);
        ASSERT_EQ(vxplay_record_stop(own), 0);
        vxplay_destroy_instance(own);

        const auto ra = vxtest::probe(a), rb = vxtest::probe(b);
        EXPECT_EQ(ra.videoFrames, 175);
        // Right after a close the file starts at the key frame the last one
        // ended in (one group of pictures shared at most); after a pause
        // longer than the pre-record, with the pre-record again.
        EXPECT_TRUE(rb.firstFrameKey);
        EXPECT_EQ(rb.videoFrames, int((16 - c.secondFrom) * 25));
    }
}

// The fixture's packets in [from, to) seconds with stamps moved by shift
// seconds, as a camera whose clock was set sends them.
void feedShifted(const StreamFixture& f, vxplay_inst inst, double from, double to, int64_t shiftSeconds)
{
    for (const auto& p : f.packets) {
        if (p.seconds < from || p.seconds >= to)
            continue;
        vxtest::FixturePacket q = p;
        const auto& t = f.tracks[size_t(p.stream)];
        const int64_t ticks = shiftSeconds * t.time_base_den / t.time_base_num;
        q.pts += ticks;
        q.dts += ticks;
        StreamFixture::input(inst, q);
    }
}

TEST_F(Recorder, EachSegmentHoldsItsOwnTimeWhenTheCameraClockStepsBack)
{
    // The clock goes back 30 minutes 10 s into the stream; one file is cut
    // at 20 s and the next at 30 s, as a recorder cuts its segments.
    fixture.feed(inst, 0, 5);
    const std::string a = dir + "/a.mp4", b = dir + "/b.mp4";
    ASSERT_EQ(vxplay_record_start(inst, a.c_str(), 1, nullptr, nullptr), 0);
    fixture.feed(inst, 5, 10);
    feedShifted(fixture, inst, 10, 20, -1800);
    ASSERT_EQ(vxplay_record_stop(inst), 0);
    ASSERT_EQ(vxplay_record_start(inst, b.c_str(), 1, nullptr, nullptr), 0);
    feedShifted(fixture, inst, 20, 30, -1800);
    ASSERT_EQ(vxplay_record_stop(inst), 0);

    const auto ra = vxtest::probe(a), rb = vxtest::probe(b);
    EXPECT_EQ(ra.videoFrames, 500);
    EXPECT_NEAR(ra.duration, 20.0, 0.1);  // one time line across the step
    EXPECT_EQ(rb.videoFrames, 300);       // from the key frame at 18 s
    EXPECT_NEAR(rb.duration, 12.0, 0.1);
}

// A requested start touches no file: the stream's next packet makes it and
// writes the pre-record, or the stop does when no packet came; a file that
// cannot be made ends the recording through the callback, replacing nothing.
TEST_F(Recorder, ARequestedStartMakesItsFileOnTheStreamsThreadOrAtTheStop)
{
    struct Case {
        const char* name;
        bool existing;     // a file of the name is there already
        bool folderGone;   // the folder does not exist
        double feedUntil;  // stream fed after the start up to this second (5: none)
        int result;        // of the stop, or of the callback when the stream ended it
    };
    const Case cases[] = {
        {"packets", false, false, 9, VXPLAY_OK},       {"nopackets", false, false, 5, VXPLAY_OK},
        {"exists", true, false, 9, VXPLAY_ERR_EXISTS}, {"existsnopackets", true, false, 5, VXPLAY_ERR_EXISTS},
        {"nofolder", false, true, 9, VXPLAY_ERR_IO},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        vxplay_inst own = nullptr;
        ASSERT_EQ(vxplay_create_instance(&own, 0, 5000), 0);
        fixture.describe(own);
        fixture.feed(own, 0, 5);
        const std::string path = dir + (c.folderGone ? "/gone/" : "/") + c.name + ".mp4";
        if (c.existing)
            std::ofstream(path) << "an earlier recording";
        RecordLog calls;
        ASSERT_EQ(vxplay_record_request(own, path.c_str(), 1, &RecordLog::callback, &calls), 0);
        EXPECT_EQ(vxplay_record_status(own), 1);
        EXPECT_EQ(vxplay_record_request(own, path.c_str(), 1, nullptr, nullptr), VXPLAY_ERR_STATE);
        if (!c.existing) {
            EXPECT_FALSE(fs::exists(path));  // nothing made on the caller's thread
        }
        if (c.feedUntil > 5)
            fixture.feed(own, 5, c.feedUntil);
        const int stopped = vxplay_record_stop(own);
        const bool endedByStream = c.result != VXPLAY_OK && c.feedUntil > 5;
        EXPECT_EQ(stopped, endedByStream ? VXPLAY_ERR_STATE : c.result);
        EXPECT_EQ(vxplay_record_status(own), 0);
        ASSERT_EQ(calls.calls.size(), 1u);
        EXPECT_EQ(calls.calls[0].first, c.result);
        EXPECT_EQ(calls.calls[0].second, path);
        if (c.existing) {
            std::ifstream in(path);
            EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()),
                      "an earlier recording");
        } else if (c.result == VXPLAY_OK) {
            const auto r = vxtest::probe(path);
            EXPECT_TRUE(r.firstFrameKey);
            EXPECT_NEAR(r.duration, c.feedUntil, 0.04);  // the 5 s of pre-record and what followed
        } else {
            EXPECT_FALSE(fs::exists(path));
        }
        // The instance records again after any of them.
        const std::string next = dir + "/" + c.name + "-next.mp4";
        ASSERT_EQ(vxplay_record_request(own, next.c_str(), 0, nullptr, nullptr), 0);
        fixture.feed(own, c.feedUntil, c.feedUntil + 3);
        EXPECT_EQ(vxplay_record_stop(own), VXPLAY_OK);
        EXPECT_TRUE(vxtest::probe(next).ok);
        vxplay_destroy_instance(own);
    }
}

TEST_F(Recorder, AnExistingFileIsNeverReplaced)
{
    const std::string path = dir + "/old.mp4";
    {
        std::ofstream(path) << "an earlier recording";
    }
    fixture.feed(inst, 0, 3);
    EXPECT_EQ(vxplay_record_start(inst, path.c_str(), 1, &RecordLog::callback, &log), VXPLAY_ERR_EXISTS);
    EXPECT_EQ(vxplay_record_status(inst), 0);
    std::ifstream in(path);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "an earlier recording");
    EXPECT_TRUE(log.calls.empty());
}

TEST_F(Recorder, BadStartsFailAndLeaveNoFile)
{
    const std::string missingDir = dir + "/no/such/folder/x.mp4";
    EXPECT_EQ(vxplay_record_start(inst, missingDir.c_str(), 1, nullptr, nullptr), VXPLAY_ERR_IO);
    EXPECT_EQ(vxplay_record_start(inst, "", 1, nullptr, nullptr), VXPLAY_ERR_ARG);
    EXPECT_EQ(vxplay_record_start(inst, nullptr, 1, nullptr, nullptr), VXPLAY_ERR_ARG);
    EXPECT_EQ(vxplay_record_stop(inst), VXPLAY_ERR_STATE);

    // Started, but no key frame ever came: the empty file goes away again.
    const std::string path = dir + "/nokey.mp4";
    fixture.feed(inst, 0, 0.5);
    vxplay_inst fresh = nullptr;
    ASSERT_EQ(vxplay_create_instance(&fresh, 0, 0), 0);
    fixture.describe(fresh);
    ASSERT_EQ(vxplay_record_start(fresh, path.c_str(), 1, &RecordLog::callback, &log), 0);
    fixture.feed(fresh, 0.1, 1.9);  // after the key frame at 0, before the next
    EXPECT_EQ(vxplay_record_stop(fresh), VXPLAY_ERR_NO_PICTURE);
    EXPECT_FALSE(fs::exists(path));
    ASSERT_EQ(log.calls.size(), 1u);
    EXPECT_EQ(log.calls[0].first, VXPLAY_ERR_NO_PICTURE);
    vxplay_destroy_instance(fresh);
}

TEST_F(Recorder, DestroyWhileRecordingClosesTheFileCleanly)
{
    fixture.feed(inst, 0, 1);
    const std::string path = dir + "/d.mp4";
    ASSERT_EQ(vxplay_record_start(inst, path.c_str(), 1, &RecordLog::callback, &log), 0);
    fixture.feed(inst, 1, 4);
    ASSERT_EQ(vxplay_destroy_instance(inst), 0);
    ASSERT_EQ(log.calls.size(), 1u);
    EXPECT_EQ(log.calls[0].first, 0);
    EXPECT_NEAR(vxtest::probe(path).duration, 4.0, 0.04);
    // The handle is gone: calls on it fail harmlessly, and no callback comes.
    EXPECT_EQ(vxplay_record_status(inst), 0);
    EXPECT_EQ(vxplay_input_stream(inst, nullptr, 0, 0, fixture.packets[0].data.data(), 10, 0, 0, 1), VXPLAY_ERR_ARG);
    ASSERT_EQ(vxplay_create_instance(&inst, 0, 5000), 0);  // for TearDown
}

TEST_F(Recorder, AWriteFailureEndsTheRecordingAndKeepsWhatWasWritten)
{
    // A full disk, as this process's file size limit: writes past 100 kB fail.
    signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 100 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    fixture.feed(inst, 0, 0.5);
    const std::string path = dir + "/full.mp4";
    const int started = vxplay_record_start(inst, path.c_str(), 1, &RecordLog::callback, &log);
    fixture.feed(inst, 0.5, 12);
    const int status = vxplay_record_status(inst);
    const int stopped = vxplay_record_stop(inst);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, SIG_DFL);

    ASSERT_EQ(started, 0);
    EXPECT_EQ(status, 0);                  // the recording ended by itself
    EXPECT_EQ(stopped, VXPLAY_ERR_STATE);  // nothing left to stop
    ASSERT_EQ(log.calls.size(), 1u);
    EXPECT_EQ(log.calls[0].first, VXPLAY_ERR_IO);
    EXPECT_LE(fs::file_size(path), 100u * 1024u);
    const auto r = vxtest::probe(path);
    EXPECT_TRUE(r.firstFrameKey);
    EXPECT_GE(r.videoFrames, 50);  // the fragments that fitted (2 s each) still play
}

// The top-level boxes of an MP4 file, as (type, offset, size); ends = the
// last box ends exactly at the end of the file.
struct TopBoxes {
    std::vector<std::tuple<std::string, uint64_t, uint64_t>> boxes;
    bool ends = false;
};

TopBoxes readTopBoxes(const std::string& path)
{
    TopBoxes t;
    std::ifstream in(path, std::ios::binary);
    const uint64_t total = fs::file_size(path);
    uint64_t at = 0;
    while (at + 8 <= total) {
        unsigned char h[8];
        in.seekg(std::streamoff(at));
        if (!in.read(reinterpret_cast<char*>(h), 8))
            break;
        const uint64_t size = (uint64_t(h[0]) << 24) | (uint64_t(h[1]) << 16) | (uint64_t(h[2]) << 8) | h[3];
        if (size < 8 || at + size > total)
            break;
        t.boxes.emplace_back(std::string(reinterpret_cast<char*>(h + 4), 4), at, size);
        at += size;
    }
    t.ends = at == total;
    return t;
}

TEST_F(Recorder, ABusyStreamGoesToDiskInBoundedFragmentsAndEveryKeyFrameStartsOne)
{
    const StreamFixture& busy = StreamFixture::busy();
    busy.feed(inst, 0, 0.1);
    const std::string path = dir + "/busy.mp4";
    ASSERT_EQ(vxplay_record_start(inst, path.c_str(), 1, &RecordLog::callback, &log), 0);
    busy.feed(inst, 0.1, 3.5);  // into the second group of pictures

    // While the file is open, what is on disk is whole fragments, each below
    // the bound: a crash loses only the fragment the muxer still holds.
    const TopBoxes open = readTopBoxes(path);
    EXPECT_TRUE(open.ends);
    int fragments = 0;
    for (const auto& [type, at, size] : open.boxes) {
        if (type == "mdat") {
            ++fragments;
            EXPECT_LT(size - 8, uint64_t(vxplay::Mp4Recorder::kFragmentBytes)) << "at " << at;
        }
    }
    EXPECT_GT(fragments, 10);  // 3.4 s of about 1 MB/s

    busy.feed(inst, 3.5, 6);
    ASSERT_EQ(vxplay_record_stop(inst), 0);
    const TopBoxes done = readTopBoxes(path);
    EXPECT_TRUE(done.ends);
    std::set<uint64_t> fragmentStarts;
    for (const auto& [type, at, size] : done.boxes)
        if (type == "mdat")
            fragmentStarts.insert(at + 8);
    // Every key frame is the first sample of a fragment, so a fragment still
    // begins wherever one began before fragments were bounded.
    const std::string packets = vxtest::runCommand("ffprobe -v error -select_streams v:0 -show_entries "
                                                   "packet=pos,flags -of csv=p=0 '"
                                                   + path + "'");
    int keys = 0, pictures = 0;
    std::istringstream lines(packets);
    for (std::string line; std::getline(lines, line);) {
        ++pictures;
        if (line.find('K') == std::string::npos)
            continue;
        ++keys;
        EXPECT_EQ(fragmentStarts.count(std::stoull(line)), 1u) << line;
    }
    EXPECT_EQ(keys, 3);  // 0, 2 and 4 s
    EXPECT_EQ(pictures, 150);
    const auto r = vxtest::probe(path);
    EXPECT_EQ(r.videoFrames, 150);
    EXPECT_EQ(r.audioCodec, "aac");
}

// The child half of the next test: records until it is killed.
TEST(RecorderChild, RecordsUntilKilled)
{
    const char* path = getenv("VXPLAY_TEST_CHILD_RECORD");
    if (!path)
        GTEST_SKIP() << "runs only as the child of RecorderKilled";
    const StreamFixture& fixture = StreamFixture::get();
    vxplay_inst inst = nullptr;
    ASSERT_EQ(vxplay_create_instance(&inst, 0, 0), 0);
    fixture.describe(inst);
    vxplay_audio_set_enable(inst, 1);
    fixture.feed(inst, 0, 0.1);
    ASSERT_EQ(vxplay_record_start(inst, path, 1, nullptr, nullptr), 0);
    fixture.feed(inst, 0.1, 13);  // fragments end at the key frames 2, 4, ... 12 s
    std::ofstream(std::string(path) + ".ready") << "1";
    for (;;)
        pause();
}

TEST(RecorderKilled, AFileCutOffBySigkillPlaysUpToItsLastFragment)
{
    const std::string dir = vxtest::scratchDir("killed");
    const std::string path = dir + "/killed.mp4";
    StreamFixture::get();  // made before the fork, so the child finds it quickly
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        setenv("VXPLAY_TEST_CHILD_RECORD", path.c_str(), 1);
        setenv("TMPDIR", dir.c_str(), 1);  // what the killed child leaves goes with ours
        execl("/proc/self/exe", "child", "--gtest_filter=RecorderChild.*", static_cast<char*>(nullptr));
        _exit(127);
    }
    bool ready = false;
    for (int i = 0; i < 600 && !ready; ++i) {  // up to 60 s on a loaded machine
        ready = fs::exists(path + ".ready");
        if (!ready)
            usleep(100000);
    }
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(ready) << "the child never got to recording";
    ASSERT_TRUE(WIFSIGNALED(status));

    const auto r = vxtest::probe(path);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.videoCodec, "h264");
    EXPECT_TRUE(r.firstFrameKey);
    // Every finished fragment plays: 12 s; the open one (12-13 s) is lost.
    EXPECT_EQ(r.videoFrames, 300);
}

}  // namespace

TEST_F(Recorder, PacketsThatDoNotBelongInTheFileAreNotCountedAsLost)
{
    // The file starts at the key frame of 2 s. Sound stamped just before it
    // that arrives after it (the camera sends sound and picture apart) lies
    // outside the file; with sound off, no sound packet belongs in it.
    size_t key = 0, lateSound = 0;
    for (size_t i = 0; i < fixture.packets.size(); ++i) {
        const auto& p = fixture.packets[i];
        if (!key && p.mediaType == VXSTREAM_MEDIA_VIDEO && (p.flags & VXSTREAM_FLAG_KEY) && p.seconds >= 2)
            key = i;
    }
    for (size_t i = 0; i < key; ++i)
        if (fixture.packets[i].mediaType == VXSTREAM_MEDIA_AUDIO)
            lateSound = i;
    ASSERT_GT(lateSound, 0u);
    const auto input = [&](size_t i) { StreamFixture::input(inst, fixture.packets[i]); };
    for (bool sound : {true, false}) {
        vxplay_destroy_instance(inst);
        ASSERT_EQ(vxplay_create_instance(&inst, 0, 5000), 0);
        fixture.describe(inst);
        vxplay_audio_set_enable(inst, sound ? 1 : 0);
        const std::string path = dir + (sound ? "/sound.mp4" : "/mute.mp4");
        ASSERT_EQ(vxplay_record_start(inst, path.c_str(), 0, nullptr, nullptr), 0);
        input(key);
        input(lateSound);
        for (size_t i = key + 1; i < fixture.packets.size() && fixture.packets[i].seconds < 4; ++i)
            input(i);
        ASSERT_EQ(vxplay_record_stop(inst), 0);
        int64_t received = 0, recorded = 0;
        ASSERT_EQ(vxplay_record_counts(inst, &received, &recorded), 0);
        EXPECT_EQ(received, sound ? 150 : 50) << path;
        EXPECT_EQ(recorded, received) << path;
        const auto r = vxtest::probe(path);
        EXPECT_TRUE(r.firstFrameKey);
        EXPECT_EQ(r.videoFrames, 50);
        EXPECT_EQ(r.audioCodec, sound ? "aac" : "") << path;
    }
}

namespace {

// How much of the file's first size bytes the page cache holds.
size_t CachedBytes(const std::string& path, size_t size)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return size;
    void* map = mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
    ::close(fd);
    if (map == MAP_FAILED)
        return size;
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    std::vector<unsigned char> resident((size + page - 1) / page);
    size_t cached = size;
    if (mincore(map, size, resident.data()) == 0) {
        cached = 0;
        for (unsigned char r : resident)
            cached += (r & 1) ? page : 0;
    }
    munmap(map, size);
    return cached;
}

}  // namespace

TEST(OutputFile, AFileBeingWrittenLeavesNoTrailOfPagesInTheCache)
{
    const std::string dir = vxtest::scratchDir("OutputFileCache");
    {
        // A file system that keeps a written, synced file's pages against
        // the advice (one in memory, or one layered over another) has
        // nothing to show here.
        const std::string probe = dir + "/probe";
        const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        const std::vector<char> bytes(1 << 20, 'x');
        ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), ssize_t(bytes.size()));
        ::fdatasync(fd);
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
        if (CachedBytes(probe, bytes.size()) > 0)
            GTEST_SKIP() << "the scratch folder's file system keeps its pages cached";
    }
    // Written in uneven pieces; now and then the test waits until the disk
    // has everything so far, as a running recorder's disk has in a window's
    // time. The file must hold every byte in order, and most of it must have
    // left the page cache while it was written.
    const std::string path = dir + "/long.mp4";
    vxplay::OutputFile file;
    ASSERT_EQ(file.create(path), VXPLAY_OK);
    const int reader = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(reader, 0);
    constexpr size_t kTotal = 32u << 20;
    std::vector<uint8_t> piece(100003);
    size_t written = 0;
    while (written < kTotal) {
        const size_t n = std::min(piece.size(), kTotal - written);
        for (size_t i = 0; i < n; ++i)
            piece[i] = uint8_t((written + i) * 7 / 5);
        avio_write(file.avio(), piece.data(), int(n));
        if ((written >> 20) != ((written + n) >> 20))
            ::fdatasync(reader);
        written += n;
    }
    ::close(reader);
    ASSERT_EQ(file.flush(), 0);
    const size_t cached = CachedBytes(path, kTotal);
    EXPECT_LT(cached, kTotal / 4) << cached << " bytes of the file are cached";
    ASSERT_EQ(file.close(), 0);
    std::ifstream in(path, std::ios::binary);
    std::vector<char> back((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(back.size(), kTotal);
    size_t wrong = 0;
    for (size_t i = 0; i < kTotal; ++i)
        wrong += uint8_t(back[i]) != uint8_t(i * 7 / 5);
    EXPECT_EQ(wrong, 0u);
}
