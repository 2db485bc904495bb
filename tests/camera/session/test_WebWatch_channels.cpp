// The camera object's PTZ queue, alarm channel and talk against the
// simulated camera of each family.
#include "camera/session/CWebWatchNB.h"
#include "camera/session/CameraMessages.h"
#include "platform/platform.h"

#include "side_channel_env.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr int kIndex = 7;

class Environment : public ::testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_TRUE(vxw::InitGuiThread());
        ASSERT_EQ(CWebWatchBase::InitLib(), 1);
    }
    void TearDown() override
    {
        CWebWatchBase::DeinitLib();
        vxw::ShutdownGuiThread();
    }
};

bool WaitFor(const std::function<bool()>& cond, DWORD ms = 10000)
{
    return vxw::PumpUntil(cond, ms);
}

void Idle(DWORD ms)
{
    WaitFor([] { return false; }, ms);
}

// The camera object's parent: keeps the camera messages it receives.
class Parent : public CWnd {
public:
    Parent() { CreateEx(0, "VxTestParent", "parent", WS_POPUP, 0, 0, 64, 48, nullptr, nullptr); }
    ~Parent() override
    {
        if (::IsWindow(m_hWnd))
            DestroyWindow();
    }
    LRESULT WindowProc(UINT m, WPARAM w, LPARAM l) override
    {
        if (m >= WM_USER && m < WM_USER + 100)
            got.push_back({m, w});
        return CWnd::WindowProc(m, w, l);
    }
    int Count(UINT code) const
    {
        int n = 0;
        for (const auto& [m, w] : got)
            n += m == code;
        return n;
    }
    std::vector<std::pair<UINT, WPARAM>> got;
};

struct Rig : SideCamera {
    Parent parent;
    std::unique_ptr<CWebWatchNB> camera;
    Rig(int f, bool recordOnly = false, std::vector<std::string> extra = {}) : SideCamera(f, std::move(extra))
    {
        camera = std::make_unique<CWebWatchNB>(1, kIndex, 0, &parent);
        camera->SetCameraInfo(cam.address().c_str(), cam.httpPort(), 554, 0, 0, "admin", "admin");
        camera->SetRecordOnly(recordOnly ? 1 : 0);
    }
    ~Rig() { camera.reset(); }
    std::string Journal() const { return cam.get("/camsim/ptz"); }
};

// ---- PTZ ----

TEST(WebWatchPtz, QueuedCommandsGoOutInOrderWithTheirOwnValues)
{
    Rig r(71);
    ASSERT_TRUE(r.cam.ok()) << r.cam.error();
    EXPECT_EQ(r.camera->domeControl(1, 50, 0), -1);  // not logged in: nothing queued
    ASSERT_EQ(r.camera->Connect(), 1);
    const int codes[] = {1, 3, 5, 7, 2, 20, 22, 24, 26, 45};
    for (int code : codes)
        EXPECT_EQ(r.camera->domeControl(code, 50, 0), 0);
    const std::string ten = "up 31\ndown 31\nleft 31\nright 31\nstop\nzoom-in\nzoom-out\nfocus-in\nfocus-out\nhome\n";
    EXPECT_TRUE(WaitFor([&] { return r.Journal() == ten; })) << r.Journal();

    // "Go to preset 6" and a move right after it, before the worker ran:
    // each keeps its own preset and speed.
    r.cam.get("/camsim/ptz?clear=1");
    EXPECT_EQ(r.camera->domeControl(18, 50, 6), 0);
    EXPECT_EQ(r.camera->domeControl(1, 100, 0), 0);
    EXPECT_TRUE(WaitFor([&] { return r.Journal() == "preset-goto 5\nup 63\n"; })) << r.Journal();
    r.camera->Cleanup();
    EXPECT_EQ(r.camera->domeControl(1, 50, 0), -1);
}

TEST(WebWatchPtz, EachDialectReachesTheCamera)
{
    struct Row {
        int family;
        int code, speed, preset;
        const char* journal;
    };
    const Row rows[] = {
        {76, 1, 50, 0, "up 1\n"},          {76, 17, 50, 5, "preset-set 5\n"}, {77, 20, 50, 0, "zoom-in\n"},
        {77, 17, 50, 5, "preset-set 5\n"}, {73, 7, 50, 0, "right 31\n"},
    };
    for (const Row& row : rows) {
        Rig r(row.family);
        SKIP_IF_UNBOUND(r);
        ASSERT_EQ(r.camera->Connect(), 1) << FamilyName(row.family);
        EXPECT_EQ(r.camera->domeControl(row.code, row.speed, row.preset), 0);
        EXPECT_TRUE(WaitFor([&] { return r.Journal() == row.journal; }))
            << FamilyName(row.family) << " code " << row.code << ": " << r.Journal();
    }
}

TEST(WebWatchPtz, LogoutWaitsOutTheRequestInFlightAndNothingFollows)
{
    Rig r(71);
    ASSERT_TRUE(r.cam.ok()) << r.cam.error();
    ASSERT_EQ(r.camera->Connect(), 1);
    ASSERT_NE(r.cam.fault("delay=1500"), "");
    for (int code : {1, 3, 5})
        r.camera->domeControl(code, 50, 0);
    ASSERT_TRUE(WaitFor([&] { return r.Journal() == "up 31\n"; }, 5000));
    auto t0 = std::chrono::steady_clock::now();
    r.camera->Logout();
    auto took = std::chrono::steady_clock::now() - t0;
    EXPECT_LT(took, 5s);
    Idle(800);
    EXPECT_EQ(r.Journal(), "up 31\n");
}

// A released PTZ button sends "stop"; closing the view right after it
// cleans up or deletes the object while the worker sends that command.
// Each round must end; a hang is a failure after seconds, not a timing test.
TEST(WebWatchPtz, CleanupOrDeleteRightAfterACommandAlwaysReturns)
{
    // A playing camera: stopping its stream keeps the clean-up busy before
    // it joins the worker, the time in which the worker takes a command.
    CamsimProcess cam({"--family", "HX", "--replay"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    Parent parent;
    std::mt19937 rng(30);
    for (int round = 0; round < 200; ++round) {
        auto camera = std::make_unique<CWebWatchNB>(1, kIndex, 0, &parent);
        camera->SetCameraInfo(cam.address().c_str(), cam.httpPort(), cam.rtspPort(), 0, 0, "admin", "admin");
        camera->SetRecordOnly(0);
        ASSERT_EQ(camera->Connect(), 1) << "round " << round;
        ASSERT_EQ(camera->StartPlay(), 1) << "round " << round;
        for (int code : {1, 3, 5, 7, 2})
            camera->domeControl(code, 50, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(rng() % 91));
        std::atomic<bool> done{false};
        const bool cleanupFirst = round % 2 == 0;
        std::thread stopper([&] {
            if (cleanupFirst)
                camera->Cleanup();
            camera.reset();
            done = true;
        });
        if (!WaitFor([&] { return done.load(); }, 15000)) {
            ADD_FAILURE() << "round " << round << ": " << (cleanupFirst ? "Cleanup" : "the destructor")
                          << " did not return";
            stopper.detach();
            std::_Exit(1);
        }
        stopper.join();
    }
}

// ---- alarms ----

class AlarmByFamily : public ::testing::TestWithParam<int> {};

TEST_P(AlarmByFamily, CameraAlarmsReachTheParent)
{
    Rig r(GetParam(), true);  // the recorder's kind: record-only, no window
    SKIP_IF_UNBOUND(r);
    ASSERT_EQ(r.camera->Connect(), 1);
    ASSERT_TRUE(WaitFor([&] { return r.State("alarm_active") == 1; }));
    EXPECT_FALSE(r.camera->IsMotionDetected());

    r.cam.get("/camsim/alarm?event=motion");
    ASSERT_TRUE(WaitFor([&] { return r.parent.Count(UM_VX_CAMERA_MOTION_ALARM) == 1; }));
    EXPECT_TRUE(r.camera->IsMotionDetected());
    r.cam.get("/camsim/alarm?event=input");
    ASSERT_TRUE(WaitFor([&] { return r.parent.Count(UM_VX_CAMERA_IO_ALARM) == 1; }));
    r.cam.get("/camsim/alarm?event=keepalive");
    Idle(300);
    EXPECT_EQ(r.parent.Count(UM_VX_CAMERA_MOTION_ALARM), 1);
    EXPECT_EQ(r.parent.Count(UM_VX_CAMERA_IO_ALARM), 1);
    for (const auto& [m, w] : r.parent.got) {
        if (m == UM_VX_CAMERA_MOTION_ALARM || m == UM_VX_CAMERA_IO_ALARM) {
            EXPECT_EQ(w, static_cast<WPARAM>(kIndex));
        }
    }
    r.camera->Cleanup();
    EXPECT_TRUE(WaitFor([&] { return r.State("alarm_active") == 0; }));
}

INSTANTIATE_TEST_SUITE_P(Families, AlarmByFamily, ::testing::Values(71, 72, 76, 77));

TEST(WebWatchAlarm, PlaybackObjectsStartNoAlarmChannel)
{
    CamsimProcess cam(Rig::Args(71, {}));
    ASSERT_TRUE(cam.ok()) << cam.error();
    Parent parent;
    CWebWatchNB camera(0, kIndex, 0, &parent);
    camera.SetCameraInfo(cam.address().c_str(), cam.httpPort(), 554, 0, 0, "admin", "admin");
    ASSERT_EQ(camera.Connect(), 1);
    Idle(300);
    EXPECT_EQ(StateValue(cam.state(), "alarm_subscriptions"), 0);
}

// ---- talk ----

struct TalkCase {
    int family;
    const char* codec;
};

class TalkByFamily : public ::testing::TestWithParam<TalkCase> {};

TEST_P(TalkByFamily, SetMicCarriesTheTone)
{
    Tone440 tone;
    const TalkCase t = GetParam();
    Rig r(t.family);
    SKIP_IF_UNBOUND(r);
    if (std::string(t.codec) == "g726")
        r.cam.set("aeformat_1=g726");
    if (t.family == 76 && std::string(t.codec) == "g711u")
        r.cam.set("encode_type=G.711");
    ASSERT_EQ(r.camera->Connect(), 1);
    EXPECT_EQ(r.camera->SetMic(0), 1);  // already off: nothing changes
    ASSERT_EQ(r.camera->SetMic(1), 1);
    ASSERT_TRUE(WaitFor([&] { return r.State("talk_packets") >= 50; }));
    EXPECT_EQ(r.camera->SetMic(0), 1);
    std::string s = r.cam.state();
    EXPECT_EQ(StateValue(s, "talk_bad_packets"), 0) << s;
    EXPECT_EQ(StateValue(s, "talk_gaps"), 0) << s;
    EXPECT_EQ(StateText(s, "talk_codec"), t.codec);
    EXPECT_NEAR(StateValue(s, "talk_frequency"), 440, 25) << s;
    EXPECT_TRUE(WaitFor([&] { return r.State("talk_active") == 0; }));
}

INSTANTIATE_TEST_SUITE_P(Families, TalkByFamily,
                         ::testing::Values(TalkCase{71, "g711a"}, TalkCase{71, "g726"}, TalkCase{72, "g711a"},
                                           TalkCase{76, "g711a"}, TalkCase{76, "g711u"}, TalkCase{77, "g711a"}));

TEST(WebWatchTalk, FamiliesWithoutTalkAndFailuresGiveZero)
{
    Tone440 tone;
    {
        Rig r(73);
        ASSERT_TRUE(r.cam.ok()) << r.cam.error();
        EXPECT_EQ(r.camera->SetMic(1), 0);  // not logged in
        ASSERT_EQ(r.camera->Connect(), 1);
        EXPECT_EQ(r.camera->SetMic(1), 0);  // no talk dialect
    }
    {
        // AJ's talk knows G.711 A-law and mu-law only.
        Rig r(76);
        SKIP_IF_UNBOUND(r);
        r.cam.set("encode_type=G.726");
        ASSERT_EQ(r.camera->Connect(), 1);
        EXPECT_EQ(r.camera->SetMic(1), 0);
        EXPECT_TRUE(WaitFor([&] { return r.State("talk_active") == 0; }));
    }
    for (const char* fault : {"talk=refuse", "talk=nosession", "talk=slow"}) {
        Rig r(71);
        ASSERT_TRUE(r.cam.ok()) << r.cam.error();
        ASSERT_EQ(r.camera->Connect(), 1);
        r.cam.fault(fault);
        EXPECT_EQ(r.camera->SetMic(1), 0) << fault;
        EXPECT_TRUE(WaitFor([&] { return r.State("talk_active") == 0; })) << fault;
    }
}

TEST(WebWatchTalk, ADropMidTalkPostsOneTalkError)
{
    Tone440 tone;
    Rig r(77);
    ASSERT_TRUE(r.cam.ok()) << r.cam.error();
    ASSERT_EQ(r.camera->Connect(), 1);
    r.cam.fault("talk=drop");
    ASSERT_EQ(r.camera->SetMic(1), 1);
    ASSERT_TRUE(WaitFor([&] { return r.parent.Count(UM_VX_CAMERA_TALK_ERROR) >= 1; }));
    Idle(600);
    EXPECT_EQ(r.parent.Count(UM_VX_CAMERA_TALK_ERROR), 1);
    for (const auto& [m, w] : r.parent.got) {
        if (m == UM_VX_CAMERA_TALK_ERROR) {
            EXPECT_EQ(w, VxForwardedWParam(kIndex, UM_VX_CAMERA_TALK_ERROR));
        }
    }
    EXPECT_EQ(r.camera->SetMic(0), 1);
}

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new Environment());
    return RUN_ALL_TESTS();
}
