// Every entry point from several threads at once, and destroy in the middle
// of it: no crash, no deadlock, no callback after destroy returns.

#include "StreamFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

using vxtest::StreamFixture;

namespace {

struct Counter {
    std::atomic<bool> destroyed{false};
    std::atomic<int> afterDestroy{0};
    std::atomic<int> calls{0};

    void hit()
    {
        ++calls;
        if (destroyed)
            ++afterDestroy;
    }
    static void onEvent(void* u, int, int64_t) { static_cast<Counter*>(u)->hit(); }
    static void onDecode(void* u, int, int) { static_cast<Counter*>(u)->hit(); }
    static void onResult(void* u, int, const char*) { static_cast<Counter*>(u)->hit(); }
};

TEST(PlayerThreads, CallsFromManyThreadsThenDestroy)
{
    const StreamFixture& fixture = StreamFixture::get();
    const std::string dir = vxtest::scratchDir("threads");
    for (int display = 0; display <= 1; ++display) {
        SCOPED_TRACE(display);
        vxplay_inst inst = nullptr;
        Counter counter;
        ASSERT_EQ(vxplay_create_instance(&inst, display, 1000), 0);
        vxplay_set_event_callback(inst, &Counter::onEvent, &counter);
        vxplay_set_decode_callback(inst, &Counter::onDecode, &counter);
        fixture.describe(inst);
        vxplay_audio_set_enable(inst, 1);
        vxplay_play_start(inst);

        std::atomic<bool> stop{false};
        std::thread feeder([&] {
            while (!stop)
                fixture.feed(inst, 0, 4);  // the clock jumps back each round: a restarted camera
        });
        std::thread recorder([&] {
            for (int i = 0; !stop; ++i) {
                const std::string path = dir + "/" + std::to_string(display) + "-" + std::to_string(i) + ".mp4";
                vxplay_record_start(inst, path.c_str(), i % 2, &Counter::onResult, &counter);
                std::this_thread::sleep_for(std::chrono::milliseconds(15));
                vxplay_record_stop(inst);
            }
        });
        std::thread viewer([&] {
            for (int i = 0; !stop; ++i) {
                const std::string path = dir + "/" + std::to_string(display) + "-" + std::to_string(i) + ".png";
                vxplay_snapshot(inst, path.c_str(), &Counter::onResult, &counter);
                vxplay_set_transform(inst, i % 4);
                vxplay_set_osd(inst, i % 2 ? -1 : 0, "text");
                vxplay_display_last(inst);
                vxplay_record_status(inst);
                if (i % 7 == 0) {
                    vxplay_play_stop(inst);
                    vxplay_play_start(inst);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        ASSERT_EQ(vxplay_destroy_instance(inst), 0);
        counter.destroyed = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        stop = true;
        feeder.join();
        recorder.join();
        viewer.join();
        EXPECT_GT(counter.calls, 0);
        EXPECT_EQ(counter.afterDestroy, 0);
    }
}

}  // namespace
