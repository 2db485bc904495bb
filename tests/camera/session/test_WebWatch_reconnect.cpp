// The reconnect worker against camsim: a camera that goes away and comes
// back, toggling, and stopping it while it waits on a slow camera.
#include "WebWatchTestSupport.h"

#include "camera/session/VXCameraThread.h"

#include <chrono>
#include <memory>
#include <thread>

using namespace wwtest;

namespace {

TEST(WebWatchReconnect, ACameraThatVanishesIsConnectedAgainAndShowsAPicture)
{
    CamsimProcess cam({"--family", "HX", "--keyint", "5"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    STWatchCameraInfo info = CamsimRecord(cam);
    ParentWindow parent;
    CWebWatchNB camera(1, 3, 0, &parent);
    camera.SetCameraInfo(&info);
    ASSERT_TRUE(camera.Create(nullptr, "camera", WS_CHILD | WS_VISIBLE, CRect(0, 0, 160, 120), &parent, 1002));
    camera.StartAutoConnect();
    ASSERT_TRUE(WaitFor([&] { return parent.Count(UM_VX_CAMERA_VIDEO_VOUT) >= 1; }, 20000));
    EXPECT_GE(parent.Count(UM_VX_CAMERA_CONNECTING), 1);
    EXPECT_GE(parent.Count(UM_VX_CAMERA_VIDEO_STARTING), 1);
    for (const auto& m : parent.Of(UM_VX_CAMERA_CONNECTING))
        EXPECT_EQ(m.wParam, VxForwardedWParam(3, UM_VX_CAMERA_CONNECTING));

    const int pictures = parent.Count(UM_VX_CAMERA_VIDEO_VOUT);
    ASSERT_FALSE(cam.fault("vanish=8").empty());
    // The stream breaks, the worker fails to connect while the camera is
    // away, and once it is back the picture returns.
    ASSERT_TRUE(WaitFor([&] { return parent.Count(UM_VX_CAMERA_CONNECT_FAILED) >= 1; }, 20000));
    EXPECT_GE(parent.Count(UM_VX_CAMERA_VIDEO_FAILED), 1);
    ASSERT_TRUE(WaitFor([&] { return parent.Count(UM_VX_CAMERA_VIDEO_VOUT) > pictures; }, 40000));
    EXPECT_EQ(camera.IsPlaying(), 1);
    camera.StopAutoConnect();
    camera.Cleanup();
    camera.DestroyWindow();
}

TEST(WebWatchReconnect, HeartBeatClearsTheLoginOfAVanishedCameraAndStopsPromptly)
{
    CamsimProcess cam({"--family", "HX"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    STWatchCameraInfo info = CamsimRecord(cam);
    CWebWatchNB camera(1, 4, 0, nullptr);
    camera.SetCameraInfo(&info);
    camera.SetRecordOnly(1);
    ASSERT_EQ(camera.Connect(), 1);
    ASSERT_EQ(camera.StartHeartBeat(), 1);
    // A camera that answers keeps its login.
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    EXPECT_EQ(camera.IsLogin(), 1);

    ASSERT_FALSE(cam.fault("vanish=30").empty());
    EXPECT_TRUE(WaitFor([&] { return camera.IsLogin() == 0; }, 15000));
    ASSERT_NE(camera.m_hHeartBeatThread, nullptr);

    // Stopped inside its one-second pause, not after it.
    const auto start = std::chrono::steady_clock::now();
    camera.ClosePlayThread();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_EQ(camera.m_hHeartBeatThread, nullptr);
    EXPECT_EQ(camera.m_bHeartBeatRun.load(), 0);
}

TEST(WebWatchReconnect, ToggleConnectTwiceRestartsTheWorker)
{
    CamsimProcess cam({"--family", "HV"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    STWatchCameraInfo info = CamsimRecord(cam);
    ParentWindow parent;
    CWebWatchNB camera(1, 2, 0, &parent);
    camera.SetCameraInfo(&info);
    camera.SetRecordOnly(1);
    camera.ToggleConnect();
    ASSERT_NE(camera.m_pCameraThread, nullptr);
    ASSERT_TRUE(WaitFor([&] { return camera.IsPlaying() == 1; }, 20000));
    camera.ToggleConnect();
    EXPECT_EQ(camera.m_pCameraThread, nullptr);
    EXPECT_EQ(camera.IsLogin(), 0);
    EXPECT_EQ(camera.IsPlaying(), 0);
    ASSERT_TRUE(WaitFor([&] { return parent.Count(UM_VX_CAMERA_DISCONNECTED) == 1; }));
    EXPECT_EQ(parent.Of(UM_VX_CAMERA_DISCONNECTED)[0].wParam, VxForwardedWParam(2, UM_VX_CAMERA_DISCONNECTED));
    camera.ToggleConnect();
    ASSERT_NE(camera.m_pCameraThread, nullptr);
    EXPECT_TRUE(WaitFor([&] { return camera.IsPlaying() == 1; }, 20000));
}

TEST(WebWatchReconnect, DeletingDuringASlowConnectReturnsWithinASecond)
{
    CamsimProcess cam({"--family", "HX"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    ASSERT_FALSE(cam.fault("delay=5000").empty());
    STWatchCameraInfo info = CamsimRecord(cam);
    for (const char* stage : {"CWebWatchNB::Connect", "login HX ok"}) {
        if (std::string(stage) == "login HX ok") {
            // Slow follow-ups only: the connect passes, Login waits.
            ASSERT_FALSE(cam.fault("clear=1").empty());
            ASSERT_FALSE(cam.fault("match=web.ini&delay=5000").empty());
        }
        LogCapture::Get().Clear();
        auto camera = std::make_unique<CWebWatchNB>(1, 1, 0, nullptr);
        camera->SetCameraInfo(&info);
        camera->SetRecordOnly(1);
        camera->StartAutoConnect();
        ASSERT_TRUE(WaitFor([&] { return LogCapture::Get().Contains(stage); }, 15000)) << stage;
        WaitFor([] { return false; }, 300);  // well inside the slow request
        auto start = std::chrono::steady_clock::now();
        camera.reset();
        auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
        EXPECT_LT(ms, 1500) << stage;
    }
}

TEST(WebWatchReconnect, StartCameraSkipsTheStreamWhenStoppedDuringConnect)
{
    CamsimProcess cam({"--family", "HX"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    STWatchCameraInfo info = CamsimRecord(cam);
    CWebWatchNB camera(1, 1, 0, nullptr);
    camera.SetCameraInfo(&info);
    camera.SetRecordOnly(1);
    VXCameraThread worker;
    // Never started: its run flag is clear, so nothing happens at all.
    EXPECT_EQ(worker.StartCamera(1, 0), VXCameraThread::START_OK);
    EXPECT_EQ(camera.IsLogin(), 0);
}

}  // namespace

WEBWATCH_TEST_MAIN()
