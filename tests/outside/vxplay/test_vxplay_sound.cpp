// Sound: talk blocks from the microphone in each camera codec, sound files,
// and clean failures without a sound device.

#include "StreamFixture.h"
#include "outside/vxplay/TalkEncoder.h"
#include "platform/audio/AudioOutput.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <mutex>
#include <thread>

namespace {

struct Sent {
    std::mutex mutex;
    std::vector<std::pair<int, int64_t>> blocks;  // length, time
    std::vector<uint8_t> first;

    static int VXPLAY_STDCALL send(const uint8_t* block, int length, int64_t time, void* user)
    {
        auto* s = static_cast<Sent*>(user);
        std::lock_guard lock(s->mutex);
        if (s->blocks.empty())
            s->first.assign(block, block + length);
        s->blocks.emplace_back(length, time);
        return length;
    }
    size_t count()
    {
        std::lock_guard lock(mutex);
        return blocks.size();
    }
};

bool realDeviceAbsent()
{
    vx::AudioTestHooks::setOutput({});
    vx::AudioTestHooks::setInput({});
    return !vx::AudioOutput::open(8000, 1);
}

// Hooks stand in for the machine's sound devices during a test.
class WithSoundDevices : public ::testing::Test {
protected:
    void SetUp() override
    {
        vx::AudioTestHooks::setInput([](int16_t* buf, size_t frames, int rate, int) {
            for (size_t i = 0; i < frames; ++i)
                buf[i] = int16_t(8000 * std::sin(double(i) * 2 * M_PI * 440 / rate));
        });
        vx::AudioTestHooks::setOutput([this](const int16_t*, size_t frames, int rate, int channels) {
            played += int64_t(frames);
            playedRate = rate;
            playedChannels = channels;
        });
    }
    void TearDown() override
    {
        vx::AudioTestHooks::setInput({});
        vx::AudioTestHooks::setOutput({});
    }
    std::atomic<int64_t> played{0};
    std::atomic<int> playedRate{0}, playedChannels{0};
};

TEST(TalkEncoder, BlocksOfEachCodec)
{
    struct Case {
        int codec;
        int blockBytes;
        uint8_t silence;  // what a silent sample encodes to (G.711)
    };
    const std::vector<int16_t> silence(400, 0);
    for (const Case& c :
         {Case{VXPLAY_TALK_G711A, 160, 0xd5}, Case{VXPLAY_TALK_G711U, 160, 0xff}, Case{VXPLAY_TALK_G726, 40, 0}}) {
        SCOPED_TRACE(c.codec);
        auto enc = vxplay::TalkEncoder::create(c.codec);
        ASSERT_TRUE(enc);
        std::vector<std::pair<int, int64_t>> blocks;
        std::vector<uint8_t> firstBlock;
        auto sink = [&](const uint8_t* b, int n, int64_t t) {
            if (blocks.empty())
                firstBlock.assign(b, b + n);
            blocks.emplace_back(n, t);
        };
        // 400 samples in uneven pieces: two whole blocks, 80 samples left over.
        enc->push(silence.data(), 150, sink);
        enc->push(silence.data(), 250, sink);
        ASSERT_EQ(blocks.size(), 2u);
        EXPECT_EQ(blocks[0], std::make_pair(c.blockBytes, int64_t(0)));
        EXPECT_EQ(blocks[1], std::make_pair(c.blockBytes, int64_t(20)));
        if (c.codec != VXPLAY_TALK_G726) {
            EXPECT_EQ(firstBlock[0], c.silence);
        }
        enc->push(silence.data(), 80, sink);
        EXPECT_EQ(blocks.size(), 3u);
    }
    EXPECT_FALSE(vxplay::TalkEncoder::create(3));
    EXPECT_FALSE(vxplay::TalkEncoder::create(-1));
}

TEST_F(WithSoundDevices, TalkSendsBlocksUntilStopped)
{
    Sent sent;
    vxplay_talk talk = vxplay_talk_start(VXPLAY_TALK_G711A, &Sent::send, &sent);
    ASSERT_NE(talk, nullptr);
    for (int i = 0; i < 200 && sent.count() < 5; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(vxplay_talk_stop(talk), 0);
    const size_t n = sent.count();
    ASSERT_GE(n, 5u);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(sent.count(), n);  // nothing after stop returned
    std::lock_guard lock(sent.mutex);
    for (size_t i = 0; i < n; ++i)
        EXPECT_EQ(sent.blocks[i], std::make_pair(160, int64_t(i) * 20));
    EXPECT_NE(sent.first[1], 0xd5);                     // a tone, not silence
    EXPECT_EQ(vxplay_talk_stop(talk), VXPLAY_ERR_ARG);  // once only
    EXPECT_EQ(vxplay_talk_start(7, &Sent::send, &sent), nullptr);
    EXPECT_EQ(vxplay_talk_start(VXPLAY_TALK_G711A, nullptr, &sent), nullptr);
}

TEST_F(WithSoundDevices, PlayWavPlaysTheWholeFile)
{
    const std::string dir = vxtest::scratchDir("wav");
    const std::string wav = dir + "/shutter.wav";
    vxtest::runCommand("ffmpeg -nostdin -v error -f lavfi -i sine=frequency=880:sample_rate=8000 -t 0.3 -y '" + wav
                       + "'");
    ASSERT_TRUE(std::filesystem::exists(wav));
    ASSERT_EQ(vxplay_play_wav(wav.c_str(), 0), 0);
    EXPECT_EQ(played, 2400);
    EXPECT_EQ(playedRate, 8000);
    EXPECT_EQ(playedChannels, 1);

    played = 0;
    ASSERT_EQ(vxplay_play_wav(wav.c_str(), 1), 0);  // in the background
    for (int i = 0; i < 300 && played < 2400; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(played, 2400);

    EXPECT_EQ(vxplay_play_wav((dir + "/none.wav").c_str(), 1), VXPLAY_ERR_IO);
    EXPECT_EQ(vxplay_play_wav("", 0), VXPLAY_ERR_ARG);
    // A picture is no sound: what a snapshot's shutter may be handed.
    const std::string png = dir + "/p.png";
    vxtest::runCommand("ffmpeg -nostdin -v error -f lavfi -i testsrc=size=16x16 -frames:v 1 -y '" + png + "'");
    EXPECT_EQ(vxplay_play_wav(png.c_str(), 1), VXPLAY_ERR_CODEC);
}

TEST(NoSoundDevice, SoundOutAndInFailCleanly)
{
    if (!realDeviceAbsent())
        GTEST_SKIP() << "this machine has a sound device";
    Sent sent;
    EXPECT_EQ(vxplay_talk_start(VXPLAY_TALK_G711U, &Sent::send, &sent), nullptr);
    const std::string wav = vxtest::scratchDir("nodev") + "/s.wav";
    vxtest::runCommand("ffmpeg -nostdin -v error -f lavfi -i sine=sample_rate=8000 -t 0.1 -y '" + wav + "'");
    EXPECT_EQ(vxplay_play_wav(wav.c_str(), 0), VXPLAY_ERR_DEVICE);
    EXPECT_EQ(vxplay_play_wav(wav.c_str(), 1), VXPLAY_ERR_DEVICE);

    // A viewer with sound on plays its pictures all the same.
    const vxtest::StreamFixture& fixture = vxtest::StreamFixture::get();
    vxplay_inst inst = nullptr;
    ASSERT_EQ(vxplay_create_instance(&inst, 1, 0), 0);
    std::atomic<int> vout{0};
    vxplay_set_event_callback(
        inst,
        [](void* u, int code, int64_t) { static_cast<std::atomic<int>*>(u)->fetch_add(code == VXPLAY_EVENT_VOUT); },
        &vout);
    fixture.describe(inst);
    vxplay_audio_set_enable(inst, 1);
    vxplay_play_start(inst);
    fixture.feed(inst, 0, 1);
    for (int i = 0; i < 500 && vout == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(vout, 1);
    vxplay_destroy_instance(inst);
}

}  // namespace
