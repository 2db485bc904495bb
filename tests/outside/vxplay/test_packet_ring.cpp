// The pre-record ring: where it starts and what its byte cap gives up.

#include "outside/vxplay/PacketRing.h"

#include <gtest/gtest.h>

namespace {

using vxplay::PacketRing;
using vxplay::StreamPacket;
using vxplay::StreamPacketPtr;
using vxplay::Track;
using vxplay::TrackPtr;

TrackPtr track(int type, int index = 0)
{
    vxstream_track d{};
    d.stream_index = index;
    d.media_type = type;
    d.time_base_num = 1;
    d.time_base_den = 1000;
    return Track::fromDescription(d);
}

StreamPacketPtr packet(const TrackPtr& t, int64_t ms, bool key, int bytes)
{
    auto p = std::make_shared<StreamPacket>();
    p->pkt = vxwrap::makePacket();
    av_new_packet(p->pkt.get(), bytes);
    p->track = t;
    p->timeUs = ms * 1000;
    p->key = key;
    return p;
}

// 10 s of 25 fps video with a key frame every 2 s and 20 ms sound packets.
// From stepAtMs on, the stamps are moved by stepMs (a camera that set its clock).
void feed(PacketRing& ring, int videoBytes, int64_t untilMs = 10000, int64_t stepAtMs = 0, int64_t stepMs = 0)
{
    const TrackPtr v = track(VXSTREAM_MEDIA_VIDEO), a = track(VXSTREAM_MEDIA_AUDIO, 1);
    for (int64_t ms = 0; ms < untilMs; ms += 20) {
        const int64_t stamp = ms >= stepAtMs ? ms + stepMs : ms;
        if (ms % 40 == 0)
            ring.push(packet(v, stamp, ms % 2000 == 0, videoBytes));
        ring.push(packet(a, stamp, true, 160));
    }
}

TEST(PacketRing, StartsAtAKeyFrameThatCoversThePreRecord)
{
    struct Case {
        int64_t keepMs;
        int64_t firstMs;      // with history
        int64_t latestKeyMs;  // without
    };
    // The newest packet is at 9980 ms; key frames at 0, 2000, ... 8000.
    for (const Case& c : {Case{0, 8000, 8000}, Case{1000, 8000, 8000}, Case{5000, 4000, 8000}, Case{9980, 0, 8000},
                          Case{60000, 0, 8000}}) {
        SCOPED_TRACE(c.keepMs);
        PacketRing ring(c.keepMs * 1000, 64u << 20);
        feed(ring, 1000);
        const auto all = ring.snapshot(true);
        ASSERT_FALSE(all.empty());
        EXPECT_TRUE(all.front()->isVideo() && all.front()->key);
        EXPECT_EQ(all.front()->timeUs / 1000, c.firstMs);
        EXPECT_EQ(ring.snapshot(false).front()->timeUs / 1000, c.latestKeyMs);
    }
}

TEST(PacketRing, AStepOfTheCameraClockKeepsTheWindowOfArrival)
{
    // 10 s of stream whose clock is set 30 minutes back or ahead at 5 s (and
    // once just after a key frame); the ring still reaches 5 s back from the
    // newest packet, in the order the packets came.
    for (int64_t stepAt : {int64_t(5000), int64_t(6040)}) {
        for (int64_t step : {int64_t(-1800000), int64_t(1800000), int64_t(-1500)}) {
            SCOPED_TRACE(testing::Message() << stepAt << " " << step);
            PacketRing ring(5000 * 1000, 64u << 20);
            feed(ring, 1000, 10000, stepAt, step);
            const auto all = ring.snapshot(true);
            ASSERT_FALSE(all.empty());
            EXPECT_TRUE(all.front()->isVideo() && all.front()->key);
            const int64_t firstMs = all.front()->timeUs / 1000;
            EXPECT_EQ(firstMs >= stepAt ? firstMs - step : firstMs, 4000);
            EXPECT_EQ(all.size(), size_t(6000 / 40 + 6000 / 20));
        }
    }
}

TEST(PacketRing, TheByteCapGivesUpWholeGroupsOfPictures)
{
    // 50 pictures of 20 kB a group: about 1 MB each. A 2.5 MB cap keeps two.
    PacketRing ring(60000 * 1000, 2500 * 1000);
    feed(ring, 20000);
    EXPECT_LE(ring.bytes(), 2500u * 1000u);
    const auto all = ring.snapshot(true);
    EXPECT_TRUE(all.front()->isVideo() && all.front()->key);
    EXPECT_EQ(all.front()->timeUs / 1000, 6000);

    // A single group larger than the cap: nothing a recording could use is kept.
    PacketRing tiny(60000 * 1000, 100 * 1000);
    feed(tiny, 20000);
    EXPECT_LE(tiny.bytes(), 100u * 1000u);
    const auto rest = tiny.snapshot(true);
    EXPECT_TRUE(rest.empty() || (rest.front()->isVideo() && rest.front()->key));
}

TEST(PacketRing, NothingBeforeTheFirstKeyFrame)
{
    PacketRing ring(5000 * 1000, 64u << 20);
    const TrackPtr v = track(VXSTREAM_MEDIA_VIDEO);
    for (int64_t ms = 0; ms < 400; ms += 40)
        ring.push(packet(v, ms, false, 1000));
    EXPECT_EQ(ring.count(), 0u);
    ring.push(packet(v, 400, true, 1000));
    EXPECT_EQ(ring.count(), 1u);
}

}  // namespace
