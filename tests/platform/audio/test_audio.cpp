// The platform's sound in and out, with the test stand-ins for the devices.

#include "platform/audio/AudioInput.h"
#include "platform/audio/AudioOutput.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

class Audio : public ::testing::Test {
protected:
    void TearDown() override
    {
        vx::AudioTestHooks::setOutput({});
        vx::AudioTestHooks::setInput({});
    }
};

TEST_F(Audio, OutputPlaysInOrderAndDrains)
{
    std::vector<int16_t> heard;
    std::mutex m;
    vx::AudioTestHooks::setOutput([&](const int16_t* s, size_t frames, int, int channels) {
        std::lock_guard lock(m);
        heard.insert(heard.end(), s, s + frames * size_t(channels));
    });
    auto out = vx::AudioOutput::open(16000, 2);
    ASSERT_TRUE(out);
    std::vector<int16_t> samples(2 * 1600);  // 100 ms of stereo
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = int16_t(i);
    ASSERT_TRUE(out->write(samples.data(), 1600));
    ASSERT_TRUE(out->drain(5000));
    std::lock_guard lock(m);
    EXPECT_EQ(heard, samples);
}

TEST_F(Audio, AStalledOutputDropsTheOldestSoundInsteadOfGrowing)
{
    std::atomic<bool> block{true};
    std::atomic<size_t> heard{0};
    std::atomic<int> lastValue{-1};
    vx::AudioTestHooks::setOutput([&](const int16_t* s, size_t frames, int, int) {
        while (block)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        heard += frames;
        lastValue = s[frames - 1];
    });
    auto out = vx::AudioOutput::open(8000, 1);
    ASSERT_TRUE(out);
    std::vector<int16_t> second(8000);
    for (int i = 0; i < 5; ++i) {  // 5 s into a device that takes nothing
        for (auto& s : second)
            s = int16_t(i);
        EXPECT_TRUE(out->write(second.data(), second.size()));  // never blocks
    }
    block = false;
    ASSERT_TRUE(out->drain(10000));
    // The newest two seconds (and the block the device held) are heard.
    EXPECT_LE(heard, 16000u + 80u);
    EXPECT_GE(heard, 16000u);
    EXPECT_EQ(lastValue, 4);
}

TEST_F(Audio, InputDeliversBlocksUntilDestroyed)
{
    vx::AudioTestHooks::setInput([](int16_t* buf, size_t frames, int, int) {
        for (size_t i = 0; i < frames; ++i)
            buf[i] = 7;
    });
    std::atomic<int> calls{0};
    std::atomic<size_t> frames{0};
    auto in = vx::AudioInput::open(8000, 1, [&](const int16_t* s, size_t n) {
        frames = n;
        calls += s[0] == 7;
    });
    ASSERT_TRUE(in);
    for (int i = 0; i < 300 && calls < 3; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    in.reset();
    const int n = calls;
    EXPECT_GE(n, 3);
    EXPECT_EQ(frames, 160u);  // 20 ms at 8 kHz
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(calls, n);
}

TEST_F(Audio, UnusableFormatsAreRefused)
{
    vx::AudioTestHooks::setOutput([](const int16_t*, size_t, int, int) {});
    EXPECT_FALSE(vx::AudioOutput::open(0, 1));
    EXPECT_FALSE(vx::AudioOutput::open(8000, 0));
    EXPECT_FALSE(vx::AudioInput::open(8000, 1, nullptr));
}

}  // namespace
