// The alarm and talk side channels against the simulated camera, one
// family dialect at a time.
#include "camera/session/CVXHVDev.h"

#include "side_channel_env.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

using vxtest::WaitUntil;

struct Alarms {
    std::mutex mutex;
    std::vector<int> kinds;
    std::vector<int> states;
    static void CALLBACK OnStatus(int, int state, void* user)
    {
        auto* a = static_cast<Alarms*>(user);
        std::lock_guard lock(a->mutex);
        a->states.push_back(state);
    }
    static void CALLBACK OnAlarm(int, int kind, const char*, int, void* user)
    {
        auto* a = static_cast<Alarms*>(user);
        std::lock_guard lock(a->mutex);
        a->kinds.push_back(kind);
    }
    std::vector<int> Kinds()
    {
        std::lock_guard lock(mutex);
        return kinds;
    }
};

using Camera = SideCamera;

int StartAlarm(CVXHVDev& dev, Camera& c, Alarms& a, const char* password = "admin")
{
    return dev.StartAlarm("admin", password, c.cam.address().c_str(), SidePort(c.cam, c.family, false),
                          &Alarms::OnStatus, &Alarms::OnAlarm, &a);
}

class AlarmByFamily : public ::testing::TestWithParam<int> {};

TEST_P(AlarmByFamily, EventsOnCueRaiseTheirKind)
{
    const int family = GetParam();
    Camera c(family);
    SKIP_IF_UNBOUND(c);
    Alarms a;  // outlives the channel that calls it
    CVXHVDev dev(family);
    ASSERT_EQ(StartAlarm(dev, c, a), 0);
    ASSERT_TRUE(WaitUntil([&] { return c.State("alarm_active") == 1; }));

    struct Cue {
        const char* query;
        std::vector<int> kinds;  // what it adds
    };
    std::vector<Cue> cues = {
        {"event=motion", {0}},
        {"event=input", {1}},
        {"event=keepalive", {}},
    };
    if (family == 72) {
        cues.push_back({"event=motion&start=0", {}});
        cues.push_back({"event=input&start=0", {1}});
    } else {
        cues.push_back({"event=motion&byte9=E4", {0}});  // top bit ignored
        cues.push_back({"event=motion&byte9=65", {}});   // not an event frame
        cues.push_back({"event=text&text=door%20open", {0}});
    }
    for (const Cue& cue : cues) {
        size_t before = a.Kinds().size();
        long sent = c.State("alarm_events");
        ASSERT_NE(c.cam.get("/camsim/alarm?" + std::string(cue.query)), "") << cue.query;
        ASSERT_TRUE(WaitUntil([&] { return c.State("alarm_events") > sent; })) << cue.query;
        if (!cue.kinds.empty())
            ASSERT_TRUE(WaitUntil([&] { return a.Kinds().size() >= before + cue.kinds.size(); })) << cue.query;
        else
            std::this_thread::sleep_for(200ms);
        std::vector<int> k = a.Kinds();
        EXPECT_EQ(std::vector<int>(k.begin() + static_cast<long>(before), k.end()), cue.kinds) << cue.query;
    }
    auto t0 = std::chrono::steady_clock::now();
    dev.StopAlarm();
    EXPECT_LT(std::chrono::steady_clock::now() - t0, 2s);
    std::lock_guard lock(a.mutex);
    ASSERT_FALSE(a.states.empty());
    EXPECT_EQ(a.states.back(), 3);
}

INSTANTIATE_TEST_SUITE_P(Families, AlarmByFamily, ::testing::Values(71, 72, 76, 77));

TEST(CVXHVDevAlarm, ALostLinkOrBadFrameLeadsToANewSubscription)
{
    for (int family : {71, 72}) {
        Camera c(family);
        ASSERT_TRUE(c.cam.ok()) << c.cam.error();
        Alarms a;  // outlives the channel that calls it
        CVXHVDev dev(family);
        ASSERT_EQ(StartAlarm(dev, c, a), 0);
        ASSERT_TRUE(WaitUntil([&] { return c.State("alarm_active") == 1; }));
        std::vector<const char*> faults = {"alarm=drop"};
        if (family != 72)
            faults.push_back("alarm=badlength");
        for (const char* f : faults) {
            long subs = c.State("alarm_subscriptions");
            ASSERT_NE(c.cam.fault(f), "") << f;
            ASSERT_TRUE(WaitUntil([&] {
                return c.State("alarm_subscriptions") > subs && c.State("alarm_active") == 1;
            })) << FamilyName(family)
                << " " << f;
        }
        size_t before = a.Kinds().size();
        c.cam.get("/camsim/alarm?event=motion");
        EXPECT_TRUE(WaitUntil([&] { return a.Kinds().size() > before; }));
    }
}

// A camera that accepts the subscription and then sends only frames the
// channel cannot take (a length out of range; for HV a record cut short):
// each failure waits longer than the last, so 20 s bring a handful of
// subscriptions, not thousands. Both families run in the same 20 s.
TEST(CVXHVDevAlarm, EndlessBadFramesAreRetriedWithGrowingPauses)
{
    Camera text(71), hv(72);
    ASSERT_TRUE(text.cam.ok() && hv.cam.ok());
    Alarms a1, a2;  // outlive the channels that call them
    CVXHVDev dev1(71), dev2(72);
    ASSERT_EQ(StartAlarm(dev1, text, a1), 0);
    ASSERT_EQ(StartAlarm(dev2, hv, a2), 0);
    for (Camera* c : {&text, &hv}) {
        ASSERT_TRUE(WaitUntil([&] { return c->State("alarm_active") == 1; })) << FamilyName(c->family);
        ASSERT_NE(c->cam.fault("alarm=badframes"), "");
    }
    // The link in place gets its bad frame at the next keepalive (2 s).
    const long before1 = text.State("alarm_subscriptions"), before2 = hv.State("alarm_subscriptions");
    std::this_thread::sleep_for(20s);
    for (auto [c, before] : {std::pair{&text, before1}, std::pair{&hv, before2}}) {
        const long subs = c->State("alarm_subscriptions") - before;
        EXPECT_GE(subs, 2) << FamilyName(c->family);
        EXPECT_LE(subs, 6) << FamilyName(c->family);
    }
    auto t0 = std::chrono::steady_clock::now();
    dev1.StopAlarm();
    dev2.StopAlarm();
    EXPECT_LT(std::chrono::steady_clock::now() - t0, 2s);  // a long pause ends at the stop
}

TEST(CVXHVDevAlarm, AWrongAccountIsTriedAgainEverySecond)
{
    Camera c(71);
    ASSERT_TRUE(c.cam.ok()) << c.cam.error();
    Alarms a;  // outlives the channel that calls it
    CVXHVDev dev(71);
    ASSERT_EQ(StartAlarm(dev, c, a, "wrong"), 0);
    ASSERT_TRUE(WaitUntil([&] { return c.State("alarm_refused") >= 1; }));
    std::this_thread::sleep_for(2500ms);
    // After 1 s each, not a tenth: two or three more in 2.5 s.
    long refused = c.State("alarm_refused");
    EXPECT_GE(refused, 2);
    EXPECT_LE(refused, 5);
    dev.StopAlarm();
}

TEST(CVXHVDevAlarm, ACameraThatIsGoneIsTriedAgainUntilStopped)
{
    Camera c(77);
    ASSERT_TRUE(c.cam.ok()) << c.cam.error();
    Alarms a;  // outlives the channel that calls it
    CVXHVDev dev(77);
    ASSERT_EQ(StartAlarm(dev, c, a), 0);
    ASSERT_TRUE(WaitUntil([&] { return c.State("alarm_active") == 1; }));
    std::string address = c.cam.address();
    c.cam.stop();
    // Connecting fails now; the receiver reports it and goes on trying.
    EXPECT_TRUE(WaitUntil([&] {
        std::lock_guard lock(a.mutex);
        return std::find(a.states.begin(), a.states.end(), 2) != a.states.end();
    }));
    auto t0 = std::chrono::steady_clock::now();
    dev.StopAlarm();
    EXPECT_LT(std::chrono::steady_clock::now() - t0, 2s);
}

TEST(CVXHVDevAlarm, ManyDescriptorsOpenStillWork)
{
    // Socket numbers above 1024 are what select() could not watch.
    std::vector<int> fds;
    for (int i = 0; i < 1100; ++i) {
        int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            break;
        fds.push_back(fd);
    }
    ASSERT_GE(fds.size(), 1030u) << "the descriptor limit is too low for this test";
    {
        Camera c(71);
        ASSERT_TRUE(c.cam.ok()) << c.cam.error();
        Alarms a;  // outlives the channel that calls it
        CVXHVDev dev(71);
        ASSERT_EQ(StartAlarm(dev, c, a), 0);
        ASSERT_TRUE(WaitUntil([&] { return c.State("alarm_active") == 1; }));
        c.cam.get("/camsim/alarm?event=motion");
        EXPECT_TRUE(WaitUntil([&] { return a.Kinds().size() == 1; }));
        auto t0 = std::chrono::steady_clock::now();
        dev.StopAlarm();
        EXPECT_LT(std::chrono::steady_clock::now() - t0, 2s);
    }
    for (int fd : fds)
        ::close(fd);
}

TEST(CVXHVDevAlarm, ALineBreakInTheAccountMakesNoConnection)
{
    Camera c(71);
    ASSERT_TRUE(c.cam.ok()) << c.cam.error();
    Alarms a;  // outlives the channel that calls it
    CVXHVDev dev(71);
    for (const char* pwd : {"admin\r\nX-Evil: 1", "admin\n"})
        EXPECT_EQ(StartAlarm(dev, c, a, pwd), -1);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(c.State("alarm_subscriptions"), 0);
    EXPECT_EQ(c.State("alarm_refused"), 0);
}

// ---- talk ----

struct TalkErrors {
    std::atomic<int> count{0};
    static void CALLBACK OnError(void* user) { ++static_cast<TalkErrors*>(user)->count; }
};

int StartTalk(CVXHVDev& dev, Camera& c, TalkErrors& e, int codec, const char* password = "admin")
{
    return dev.StartTalk(codec, "admin", password, "admin", password, c.cam.address().c_str(),
                         SidePort(c.cam, c.family, true), &TalkErrors::OnError, &e);
}

struct TalkCase {
    int family;
    int codec;
    const char* heard;
};

class TalkByFamily : public ::testing::TestWithParam<TalkCase> {};

TEST_P(TalkByFamily, TheCameraHearsTheToneInOrder)
{
    const TalkCase t = GetParam();
    Tone440 tone;
    Camera c(t.family);
    SKIP_IF_UNBOUND(c);
    TalkErrors e;
    CVXHVDev dev(t.family);
    ASSERT_EQ(StartTalk(dev, c, e, t.codec), 0);
    EXPECT_TRUE(dev.IsTalking());
    ASSERT_TRUE(WaitUntil([&] { return c.State("talk_packets") >= 60; }));
    dev.StopTalk();
    EXPECT_FALSE(dev.IsTalking());
    std::string s = c.cam.state();
    EXPECT_EQ(StateValue(s, "talk_sessions"), 1);
    EXPECT_EQ(StateValue(s, "talk_bad_packets"), 0) << s;
    EXPECT_EQ(StateValue(s, "talk_gaps"), 0) << s;
    EXPECT_EQ(StateText(s, "talk_codec"), t.heard);
    EXPECT_NEAR(StateValue(s, "talk_frequency"), 440, 25) << s;
    EXPECT_EQ(e.count, 0);
    // Blocks that come after the stop go nowhere.
    uint8_t block[160] = {};
    EXPECT_EQ(dev.SendTalkBlock(block, 160, 0), -1);
}

INSTANTIATE_TEST_SUITE_P(Families, TalkByFamily,
                         ::testing::Values(TalkCase{71, 0, "g711a"}, TalkCase{71, 1, "g726"}, TalkCase{72, 0, "g711a"},
                                           TalkCase{76, 0, "g711a"}, TalkCase{77, 0, "g711a"}));

TEST(CVXHVDevTalk, FaultsGiveTheirCodeAndLeaveNoSocket)
{
    struct Row {
        int family;
        const char* fault;
        int code;
    };
    const Row rows[] = {
        {71, "talk=refuse", -6},    {71, "talk=nosession", -6}, {71, "talk=slow", -7}, {71, "talk=split", 0},
        {77, "talk=nosession", -6}, {72, "talk=refuse", -4},    {72, "talk=slow", -7}, {72, "talk=split", 0},
    };
    Tone440 tone;
    for (const Row& r : rows) {
        Camera c(r.family);
        ASSERT_TRUE(c.cam.ok()) << c.cam.error();
        ASSERT_NE(c.cam.fault(r.fault), "");
        TalkErrors e;
        CVXHVDev dev(r.family);
        EXPECT_EQ(StartTalk(dev, c, e, 0), r.code) << FamilyName(r.family) << " " << r.fault;
        EXPECT_EQ(dev.IsTalking(), r.code == 0 ? TRUE : FALSE);
        if (r.code == 0) {
            EXPECT_TRUE(WaitUntil([&] { return c.State("talk_packets") >= 5; }));
        }
        dev.StopTalk();
        // The camera sees the connection go.
        EXPECT_TRUE(WaitUntil([&] { return c.State("talk_active") == 0; })) << r.fault;
    }
    // A wrong account, and no camera at all.
    {
        Camera c(72);
        ASSERT_TRUE(c.cam.ok());
        TalkErrors e;
        CVXHVDev dev(72);
        EXPECT_EQ(StartTalk(dev, c, e, 0, "wrong"), -2);
        c.cam.stop();
        EXPECT_EQ(StartTalk(dev, c, e, 0), -1);
        EXPECT_FALSE(dev.IsTalking());
    }
}

TEST(CVXHVDevTalk, ADropMidTalkIsReportedOnce)
{
    Tone440 tone;
    Camera c(71);
    ASSERT_TRUE(c.cam.ok()) << c.cam.error();
    ASSERT_NE(c.cam.fault("talk=drop"), "");
    TalkErrors e;
    CVXHVDev dev(71);
    ASSERT_EQ(StartTalk(dev, c, e, 0), 0);
    ASSERT_TRUE(WaitUntil([&] { return e.count.load() >= 1; }));
    std::this_thread::sleep_for(600ms);  // thirty blocks more
    EXPECT_EQ(e.count.load(), 1);
    dev.StopTalk();
}

TEST(CVXHVDevTalk, ALineBreakInThePasswordMakesNoConnection)
{
    Camera c(71);
    ASSERT_TRUE(c.cam.ok()) << c.cam.error();
    TalkErrors e;
    CVXHVDev dev(71);
    long requests = c.State("requests");
    EXPECT_EQ(StartTalk(dev, c, e, 0, "admin\r\nX-Evil: 1"), -1);
    EXPECT_EQ(c.State("talk_sessions"), 0);
    EXPECT_EQ(c.State("talk_refused"), 0);
    EXPECT_EQ(c.State("requests"), requests);
}

}  // namespace
