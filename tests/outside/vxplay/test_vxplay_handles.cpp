// A destroyed, made-up or null instance (or talk session) gets VXPLAY_ERR_ARG,
// or the function's empty answer, on every entry point, and leaves the live
// instances alone. Run it in the sanitizer build too.

#include "outside/vxplay/vxplay.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

namespace {

void ignoreDecode(void*, int, int) {}
void ignoreEvent(void*, int, int64_t) {}
void ignoreResult(void*, int, const char*) {}

TEST(VxplayHandles, EveryEntryPointRefusesAStaleForeignOrNullInstance)
{
    ASSERT_EQ(vxplay_init(), 0);
    vxplay_inst stale = nullptr;
    ASSERT_EQ(vxplay_create_instance(&stale, 1, 0), 0);
    ASSERT_EQ(vxplay_destroy_instance(stale), 0);
    vxplay_inst live = nullptr;
    ASSERT_EQ(vxplay_create_instance(&live, 1, 0), 0);
    ASSERT_NE(live, stale);

    int local = 0;
    const vxplay_inst foreign[] = {stale, nullptr, reinterpret_cast<vxplay_inst>(&local),
                                   reinterpret_cast<vxplay_inst>(uintptr_t(0xdeadbeefULL))};
    const std::string path = ::testing::TempDir() + "vxplay_stale.mp4";
    const uint8_t bytes[16] = {0, 0, 0, 1};
    vxstream_track track{};
    track.media_type = VXSTREAM_MEDIA_VIDEO;
    track.track_count = 1;
    int64_t a = 0;
    int64_t b = 0;
    struct Entry {
        const char* name;
        std::function<int64_t(vxplay_inst)> call;
        int64_t refused;
    };
    const Entry entries[] = {
        {"set_hwnd", [](vxplay_inst i) { return vxplay_set_hwnd(i, 0, nullptr); }, VXPLAY_ERR_ARG},
        {"play_start", [](vxplay_inst i) { return vxplay_play_start(i); }, VXPLAY_ERR_ARG},
        {"play_stop", [](vxplay_inst i) { return vxplay_play_stop(i); }, VXPLAY_ERR_ARG},
        {"audio_set_enable", [](vxplay_inst i) { return vxplay_audio_set_enable(i, 1); }, VXPLAY_ERR_ARG},
        {"set_decode_callback", [](vxplay_inst i) { return vxplay_set_decode_callback(i, ignoreDecode, nullptr); },
         VXPLAY_ERR_ARG},
        {"set_event_callback", [](vxplay_inst i) { return vxplay_set_event_callback(i, ignoreEvent, nullptr); },
         VXPLAY_ERR_ARG},
        {"init_track", [&](vxplay_inst i) { return vxplay_init_track(i, &track); }, VXPLAY_ERR_ARG},
        {"input_stream",
         [&](vxplay_inst i) {
             return vxplay_input_stream(i, nullptr, 0, VXSTREAM_MEDIA_VIDEO, bytes, int(sizeof bytes), 0, 0, 1);
         },
         VXPLAY_ERR_ARG},
        {"file_set", [&](vxplay_inst i) { return vxplay_file_set(i, path.c_str()); }, VXPLAY_ERR_ARG},
        {"file_open", [](vxplay_inst i) { return vxplay_file_open(i); }, VXPLAY_ERR_ARG},
        {"file_close", [](vxplay_inst i) { return vxplay_file_close(i); }, VXPLAY_ERR_ARG},
        {"file_pause", [](vxplay_inst i) { return vxplay_file_pause(i); }, VXPLAY_ERR_ARG},
        {"file_resume", [](vxplay_inst i) { return vxplay_file_resume(i); }, VXPLAY_ERR_ARG},
        {"file_get_length", [](vxplay_inst i) { return vxplay_file_get_length(i); }, -1},
        {"file_get_position", [](vxplay_inst i) { return vxplay_file_get_position(i); }, -1},
        {"file_set_position", [](vxplay_inst i) { return vxplay_file_set_position(i, 1000000); }, VXPLAY_ERR_ARG},
        {"record_start", [&](vxplay_inst i) { return vxplay_record_start(i, path.c_str(), 1, ignoreResult, nullptr); },
         VXPLAY_ERR_ARG},
        {"record_status", [](vxplay_inst i) { return vxplay_record_status(i); }, 0},
        {"record_stop", [](vxplay_inst i) { return vxplay_record_stop(i); }, VXPLAY_ERR_ARG},
        {"record_counts", [&](vxplay_inst i) { return vxplay_record_counts(i, &a, &b); }, VXPLAY_ERR_ARG},
        {"set_aspect_ratio", [](vxplay_inst i) { return vxplay_set_aspect_ratio(i, 1.0f); }, VXPLAY_ERR_ARG},
        {"set_transform", [](vxplay_inst i) { return vxplay_set_transform(i, 1); }, VXPLAY_ERR_ARG},
        {"set_osd", [](vxplay_inst i) { return vxplay_set_osd(i, 0, "x"); }, VXPLAY_ERR_ARG},
        {"display_last", [](vxplay_inst i) { return vxplay_display_last(i); }, VXPLAY_ERR_ARG},
        {"snapshot", [&](vxplay_inst i) { return vxplay_snapshot(i, path.c_str(), ignoreResult, nullptr); },
         VXPLAY_ERR_ARG},
        {"destroy_instance", [](vxplay_inst i) { return vxplay_destroy_instance(i); }, VXPLAY_ERR_ARG},
    };
    for (vxplay_inst h : foreign) {
        for (const Entry& e : entries) {
            SCOPED_TRACE(e.name);
            EXPECT_EQ(e.call(h), e.refused) << "instance " << static_cast<void*>(h);
        }
    }
    // A talk handle is looked up the same way.
    EXPECT_EQ(vxplay_talk_stop(nullptr), VXPLAY_ERR_ARG);
    EXPECT_EQ(vxplay_talk_stop(reinterpret_cast<vxplay_talk>(live)), VXPLAY_ERR_ARG);
    EXPECT_EQ(vxplay_talk_stop(reinterpret_cast<vxplay_talk>(&local)), VXPLAY_ERR_ARG);

    EXPECT_EQ(vxplay_set_transform(live, 1), 0);
    EXPECT_EQ(vxplay_file_get_length(live), -1);
    EXPECT_EQ(vxplay_destroy_instance(live), 0);
    vxplay_deinit();
}

}  // namespace
