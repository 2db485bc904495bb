// Many record-only objects driven from their own threads, as the recorder
// drives them, while another thread fires StartRecord at them and some are
// deleted in the middle of their loop. Meant for the sanitizer build too.
#include "WebWatchTestSupport.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <random>
#include <thread>

using namespace wwtest;

namespace {

struct Slot {
    std::mutex mutex;  // like the recorder's per-camera mutex: StartRecord and delete
    CWebWatchNB* camera = nullptr;
    std::thread thread;
    std::atomic<bool> stop{false};
    std::string dir;
    std::atomic<int> rounds{0};
};

TEST(WebWatchStress, RecordOnlyObjectsOnTheirOwnThreads)
{
    CamsimProcess cam({"--family", "HX", "--replay", "--keyint", "5"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    STWatchCameraInfo info = CamsimRecord(cam);
    const int kObjects = 12;
    std::vector<std::unique_ptr<Slot>> slots;
    for (int i = 0; i < kObjects; ++i) {
        auto slot = std::make_unique<Slot>();
        slot->dir = TempDir("stress" + std::to_string(i));
        slot->camera = new CWebWatchNB(1, i, 0, nullptr);
        slot->camera->SetCameraInfo(&info);
        slot->camera->SetRecordOnly(1);
        // Before the threads start: an alarm may start a recording before the
        // slot's first connect, and it belongs in the slot's folder (checked
        // below), not in the working folder.
        slot->camera->SetRecordPath(slot->dir.c_str());
        slots.push_back(std::move(slot));
    }
    for (auto& s : slots) {
        Slot* slot = s.get();
        slot->thread = std::thread([slot] {
            CWebWatchNB* camera = slot->camera;
            while (!slot->stop) {
                if (camera->Connect() && !slot->stop && camera->StartPlay()) {
                    camera->SetRecordPath(slot->dir.c_str());
                    camera->StartRecord(1);
                    // Long enough for the stream's first key frame.
                    for (int i = 0; i < 70 && !slot->stop; ++i) {
                        std::this_thread::sleep_for(std::chrono::milliseconds(50));
                        (void)camera->IsPlaying();
                    }
                    camera->StopRecord();
                }
                if (slot->stop)
                    break;  // left as it is: the destructor cleans up
                camera->Cleanup();
                ++slot->rounds;
            }
        });
    }
    std::atomic<bool> firing{true};
    std::thread alarms([&] {
        std::mt19937 rng(7);
        while (firing) {
            Slot& slot = *slots[rng() % slots.size()];
            std::lock_guard lock(slot.mutex);
            if (slot.camera)
                slot.camera->StartRecord(1);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });

    // Some go in the middle of their loop, connected, playing, recording.
    WaitFor([] { return false; }, 4000);
    for (int i = 0; i < kObjects; i += 3) {
        Slot& slot = *slots[i];
        slot.stop = true;
        slot.thread.join();
        std::lock_guard lock(slot.mutex);
        delete slot.camera;
        slot.camera = nullptr;
    }
    WaitFor(
        [&] {
            for (auto& s : slots) {
                if (s->camera && s->rounds < 2)
                    return false;
            }
            return true;
        },
        60000);
    for (auto& s : slots) {
        if (!s->camera)
            continue;
        s->stop = true;
        s->thread.join();
        std::lock_guard lock(s->mutex);
        EXPECT_GE(s->rounds.load(), 2);
        delete s->camera;
        s->camera = nullptr;
    }
    firing = false;
    alarms.join();

    // Every file is a recording: no empty or half-named file is left.
    int recordings = 0;
    for (auto& s : slots) {
        for (const std::string& name : FilesIn(s->dir)) {
            EXPECT_EQ(name.size(), 18u) << name;
            EXPECT_EQ(name.substr(14), ".mp4") << name;
            struct stat st {};
            ASSERT_EQ(stat((s->dir + "/" + name).c_str(), &st), 0);
            EXPECT_GT(st.st_size, 0) << name;
            ++recordings;
        }
    }
    EXPECT_GT(recordings, kObjects);
}

}  // namespace

WEBWATCH_TEST_MAIN()
