// Decoding for a viewer: the first-picture notice, pictures handed to the
// window with transform, aspect and on-screen text, and snapshots.

#include "StreamFixture.h"
#include "platform/ui/vxsurface.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

namespace fs = std::filesystem;
using vxtest::StreamFixture;

namespace {

// What the window layer was handed, per window.
struct SurfaceLog {
    std::mutex mutex;
    std::condition_variable changed;
    int frames = 0;
    int width = 0, height = 0;
    float aspect = -1;
    std::string osd;
    std::vector<uint32_t> pixels;  // 0xAARRGGBB, rows packed
};
SurfaceLog g_surface;
void* const kWindow = reinterpret_cast<void*>(0x1234);

}  // namespace

// The window layer's side, played by the test.
extern "C" int vx_surface_present(void* hwnd, const vxsurface_frame* f)
{
    if (hwnd != kWindow)
        return -1;
    std::lock_guard lock(g_surface.mutex);
    ++g_surface.frames;
    g_surface.width = f->width;
    g_surface.height = f->height;
    g_surface.aspect = f->aspect;
    g_surface.osd = f->osd_text ? f->osd_text : "";
    g_surface.pixels.resize(size_t(f->width) * size_t(f->height));
    for (int y = 0; y < f->height; ++y)
        memcpy(&g_surface.pixels[size_t(y) * size_t(f->width)], f->pixels + size_t(y) * size_t(f->stride),
               size_t(f->width) * 4);
    g_surface.changed.notify_all();
    return 0;
}

namespace {

struct Events {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::pair<int, int64_t>> events;
    int decodeCalls = 0;
    std::vector<std::pair<int, std::string>> results;

    static void onEvent(void* u, int code, int64_t value)
    {
        auto* e = static_cast<Events*>(u);
        std::lock_guard lock(e->mutex);
        e->events.emplace_back(code, value);
        e->changed.notify_all();
    }
    static void onDecode(void* u, int a, int b)
    {
        auto* e = static_cast<Events*>(u);
        std::lock_guard lock(e->mutex);
        if (a == 0 && b == 0)
            ++e->decodeCalls;
        e->changed.notify_all();
    }
    static void onResult(void* u, int result, const char* path)
    {
        auto* e = static_cast<Events*>(u);
        std::lock_guard lock(e->mutex);
        e->results.emplace_back(result, path);
        e->changed.notify_all();
    }
    template <class P>
    bool waitFor(P pred)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(20), pred);
    }
    int count(int code)
    {
        int n = 0;
        for (auto& e : events)
            n += e.first == code;
        return n;
    }
};

// Width and height from a PNG's header.
std::pair<int, int> pngSize(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    unsigned char h[24] = {};
    in.read(reinterpret_cast<char*>(h), sizeof h);
    if (memcmp(h, "\x89PNG\r\n\x1a\n", 8) != 0)
        return {0, 0};
    auto be = [&](int o) { return (h[o] << 24) | (h[o + 1] << 16) | (h[o + 2] << 8) | h[o + 3]; };
    return {be(16), be(20)};
}

class Viewer : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = vxtest::scratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_EQ(vxplay_create_instance(&inst, 1, 0), 0);
        vxplay_set_event_callback(inst, &Events::onEvent, &ev);
        vxplay_set_decode_callback(inst, &Events::onDecode, &ev);
        fixture.describe(inst);
    }
    void TearDown() override { vxplay_destroy_instance(inst); }

    const StreamFixture& fixture = StreamFixture::get();
    vxplay_inst inst = nullptr;
    Events ev;
    std::string dir;
};

TEST_F(Viewer, FirstPictureIsAnnouncedOncePerStart)
{
    ASSERT_EQ(vxplay_play_start(inst), 0);
    fixture.feed(inst, 0, 3);
    ASSERT_TRUE(ev.waitFor([&] { return ev.count(VXPLAY_EVENT_VOUT) == 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    {
        std::lock_guard lock(ev.mutex);
        EXPECT_EQ(ev.count(VXPLAY_EVENT_VOUT), 1);
        EXPECT_EQ(ev.decodeCalls, 1);
    }
    vxplay_play_stop(inst);
    ASSERT_EQ(vxplay_play_start(inst), 0);
    fixture.feed(inst, 4, 5);
    EXPECT_TRUE(ev.waitFor([&] { return ev.count(VXPLAY_EVENT_VOUT) == 2 && ev.decodeCalls == 2; }));
}

TEST_F(Viewer, PicturesGoToTheWindowTransformedWithAspectAndText)
{
    ASSERT_EQ(vxplay_set_hwnd(inst, 0, kWindow), 0);
    ASSERT_EQ(vxplay_set_osd(inst, 0, "512.00 kbps"), 0);
    ASSERT_EQ(vxplay_set_aspect_ratio(inst, 1.0f), 0);
    ASSERT_EQ(vxplay_play_start(inst), 0);
    fixture.feed(inst, 0, 0.01);  // the first key frame only: one picture
    ASSERT_TRUE(ev.waitFor([&] { return ev.count(VXPLAY_EVENT_VOUT) == 1; }));
    std::vector<uint32_t> upright;
    int before;
    {
        std::lock_guard lock(g_surface.mutex);
        EXPECT_EQ(g_surface.width, StreamFixture::kWidth);
        EXPECT_EQ(g_surface.height, StreamFixture::kHeight);
        EXPECT_FLOAT_EQ(g_surface.aspect, 320.0f / 240.0f);  // exact fit keeps the picture's shape
        EXPECT_EQ(g_surface.osd, "512.00 kbps");
        upright = g_surface.pixels;
        before = g_surface.frames;
    }
    ASSERT_EQ(upright.size(), size_t(StreamFixture::kWidth * StreamFixture::kHeight));
    EXPECT_EQ(upright[0] >> 24, 0xffu);  // opaque

    // Mirror and flip, drawn again by display_last: the same picture turned
    // half round, with the new aspect and no text.
    ASSERT_EQ(vxplay_set_transform(inst, 3), 0);
    ASSERT_EQ(vxplay_set_aspect_ratio(inst, 0.0f), 0);
    ASSERT_EQ(vxplay_set_osd(inst, -1, nullptr), 0);
    ASSERT_EQ(vxplay_display_last(inst), 0);
    std::lock_guard lock(g_surface.mutex);
    EXPECT_EQ(g_surface.frames, before + 1);
    EXPECT_FLOAT_EQ(g_surface.aspect, 0.0f);
    EXPECT_EQ(g_surface.osd, "");
    const int w = StreamFixture::kWidth, h = StreamFixture::kHeight;
    int wrong = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            wrong += g_surface.pixels[size_t(y * w + x)] != upright[size_t((h - 1 - y) * w + (w - 1 - x))];
    EXPECT_EQ(wrong, 0);
    EXPECT_NE(g_surface.pixels, upright);  // the pattern is not symmetric
}

TEST_F(Viewer, SettersRejectValuesOutOfRange)
{
    EXPECT_EQ(vxplay_set_transform(inst, 4), VXPLAY_ERR_ARG);
    EXPECT_EQ(vxplay_set_transform(inst, -1), VXPLAY_ERR_ARG);
    EXPECT_EQ(vxplay_set_aspect_ratio(inst, -1.0f), VXPLAY_ERR_ARG);
    EXPECT_EQ(vxplay_set_aspect_ratio(inst, std::numeric_limits<float>::quiet_NaN()), VXPLAY_ERR_ARG);
    EXPECT_EQ(vxplay_set_osd(inst, 3, "x"), VXPLAY_ERR_ARG);
    EXPECT_EQ(vxplay_display_last(inst), VXPLAY_ERR_NO_PICTURE);
    EXPECT_EQ(vxplay_set_transform(nullptr, 0), VXPLAY_ERR_ARG);
}

TEST_F(Viewer, SnapshotOfAViewerIsAPngOfTheStreamsSize)
{
    ASSERT_EQ(vxplay_play_start(inst), 0);
    fixture.feed(inst, 0, 1);
    ASSERT_TRUE(ev.waitFor([&] { return ev.count(VXPLAY_EVENT_VOUT) == 1; }));
    const std::string path = dir + "/live_260101120000.png";
    ASSERT_EQ(vxplay_snapshot(inst, path.c_str(), &Events::onResult, &ev), 0);
    ASSERT_TRUE(ev.waitFor([&] { return ev.results.size() == 1; }));
    EXPECT_EQ(ev.results[0].first, 0);
    EXPECT_EQ(ev.results[0].second, path);
    EXPECT_EQ(pngSize(path), std::make_pair(StreamFixture::kWidth, StreamFixture::kHeight));
    // The same name again: the first picture stays as it was.
    const auto size = fs::file_size(path);
    EXPECT_EQ(vxplay_snapshot(inst, path.c_str(), &Events::onResult, &ev), VXPLAY_ERR_EXISTS);
    EXPECT_EQ(fs::file_size(path), size);
}

TEST(RecorderSnapshot, ARecordOnlyInstanceDecodesOnlyForASnapshot)
{
    const StreamFixture& fixture = StreamFixture::get();
    const std::string dir = vxtest::scratchDir("recorder-snapshot");
    vxplay_inst inst = nullptr;
    Events ev;
    ASSERT_EQ(vxplay_create_instance(&inst, 0, 0), 0);
    vxplay_set_event_callback(inst, &Events::onEvent, &ev);
    vxplay_set_decode_callback(inst, &Events::onDecode, &ev);
    fixture.describe(inst);
    ASSERT_EQ(vxplay_play_start(inst), 0);
    fixture.feed(inst, 0, 1);
    EXPECT_EQ(vxplay_display_last(inst), VXPLAY_ERR_NO_PICTURE);  // nothing was decoded
    const std::string path = dir + "/snap.png";
    ASSERT_EQ(vxplay_snapshot(inst, path.c_str(), &Events::onResult, &ev), 0);
    fixture.feed(inst, 1, 3);  // the next key frame is at 2 s
    ASSERT_TRUE(ev.waitFor([&] { return ev.results.size() == 1; }));
    EXPECT_EQ(ev.results[0].first, 0);
    EXPECT_EQ(pngSize(path), std::make_pair(StreamFixture::kWidth, StreamFixture::kHeight));

    vxplay_destroy_instance(inst);

    // A snapshot still waiting when the instance goes fails, before destroy
    // returns: this one sees no key frame.
    ASSERT_EQ(vxplay_create_instance(&inst, 0, 0), 0);
    fixture.describe(inst);
    const std::string never = dir + "/never.png";
    ASSERT_EQ(vxplay_snapshot(inst, never.c_str(), &Events::onResult, &ev), 0);
    fixture.feed(inst, 0.1, 1.9);
    vxplay_destroy_instance(inst);
    std::lock_guard lock(ev.mutex);
    ASSERT_EQ(ev.results.size(), 2u);
    EXPECT_EQ(ev.results[1].first, VXPLAY_ERR_NO_PICTURE);
    EXPECT_FALSE(fs::exists(never));
    EXPECT_EQ(ev.decodeCalls, 0);  // a recorder shows no pictures
}

}  // namespace

namespace {

struct SelfDestroy {
    vxplay_inst inst = nullptr;
    std::atomic<int> calls{0};
    std::atomic<int> destroyResult{1};
};

TEST(ViewerLifetime, DestroyFromInsideItsOwnCallbackEndsIt)
{
    const StreamFixture& fixture = StreamFixture::get();
    SelfDestroy s;
    ASSERT_EQ(vxplay_create_instance(&s.inst, 1, 0), 0);
    vxplay_set_event_callback(
        s.inst,
        [](void* u, int code, int64_t) {
            auto* self = static_cast<SelfDestroy*>(u);
            ++self->calls;
            if (code == VXPLAY_EVENT_VOUT)
                self->destroyResult = vxplay_destroy_instance(self->inst);
        },
        &s);
    fixture.describe(s.inst);
    vxplay_play_start(s.inst);
    fixture.feed(s.inst, 0, 2);
    for (int i = 0; i < 500 && s.destroyResult != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(s.destroyResult, 0);
    const int calls = s.calls;
    fixture.feed(s.inst, 2, 3);  // the handle is gone: ignored
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(s.calls, calls);
    EXPECT_EQ(vxplay_play_start(s.inst), VXPLAY_ERR_ARG);
}

}  // namespace
