// Recording in process against camsim: the recording thread's states as the
// list shows them, segments on disk, schedule reloads, a low drive, motion
// holds, shared folders and a stop during a stalled connect.
#include "recorder_program.h"

#include "camera/session/CWebWatchNB.h"
#include "camera/session/CameraMessages.h"

#include <chrono>

using namespace rectest;

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point t)
{
    return std::chrono::duration<double>(Clock::now() - t).count();
}

std::string FolderOf(CMainDlg& dlg, int row)
{
    return dlg.Slot(dlg.SlotOfRow(row)).m_stCameraInfo.REC_PATH;
}

const CWebWatchNB* CameraOf(CMainDlg& dlg, int row)
{
    const STIPCfgKst* rec = dlg.RunRecord(dlg.SlotOfRow(row));
    return rec ? rec->m_pCamera : nullptr;
}

bool Connected(CMainDlg& dlg, int row)
{
    const CWebWatchNB* cam = CameraOf(dlg, row);
    return cam && (cam->IsLogin() || cam->IsPlaying());
}

double ProbeDuration(const std::string& path)
{
    std::string out =
        vxtest::runCommand("ffprobe -v error -show_entries format=duration -of csv=p=0 '" + path + "' 2>/dev/null");
    return atof(out.c_str());
}

std::string ProbeCodec(const std::string& path)
{
    std::string out = vxtest::runCommand("ffprobe -v error -select_streams v:0 -show_entries stream=codec_name "
                                         "-of csv=p=0 '"
                                         + path + "' 2>/dev/null");
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
        out.pop_back();
    return out;
}

}  // namespace

TEST(Recording, ContinuousSegmentsFollowTheScheduleAndTheDrive)
{
    CamsimProcess cam({"--family", "DY", "--keyint", "15"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    Program p;
    const int id = p.Add(CameraOf(cam));
    p.Run([&](CMainDlg& dlg) {
        StatusWatch watch(dlg, 0);
        const std::string folder = FolderOf(dlg, 0);
        EXPECT_NE(folder.find("Camera-" + std::to_string(id) + "/"), std::string::npos) << folder;
        dlg.DoStartCamera(0);
        ASSERT_TRUE(watch.WaitFor(2, 20000)) << "status " << watch.Now();
        ASSERT_GE(watch.applied.size(), 2u);
        EXPECT_EQ(watch.applied[0], 1);
        EXPECT_EQ(watch.applied[1], 2);
        ASSERT_TRUE(watch.Until([&] { return SegmentsIn(folder).size() == 1; }, 10000));
        // Key frames into the file, so it stays when it closes.
        watch.Pump(3000);

        // The hour leaves the schedule: segment and connection end at once.
        p.SetSchedule(id, Hours::None);
        auto reloaded = Clock::now();
        dlg.ReloadSchedules();
        ASSERT_TRUE(watch.WaitFor(3, 5000));
        EXPECT_TRUE(watch.Until([&] { return !Connected(dlg, 0); }, 3000));
        EXPECT_LT(SecondsSince(reloaded), 3.0);
        const std::string first = folder + SegmentsIn(folder)[0];
        long long size = FileSize(first);
        watch.Pump(1500);
        EXPECT_EQ(FileSize(first), size) << "the segment is still written";
        EXPECT_EQ(ProbeCodec(first), "h264");

        // Back in the schedule: a new segment.
        p.SetSchedule(id, Hours::All);
        dlg.ReloadSchedules();
        ASSERT_TRUE(watch.WaitFor(2, 20000));
        ASSERT_TRUE(watch.Until([&] { return SegmentsIn(folder).size() == 2; }, 10000));
        watch.Pump(3000);

        // A drive below the threshold: status 5, the segment closed, the
        // stream dropped; set back, recording resumes in a new segment.
        rectest::WriteFile(p.dir.file("config/vxkstcfg.ini"),
                           "[Config]\nDataType=1\n[SysParam]\nRecordLength=1\nFreeSpace=4294967295\n");
        GlobalInfo().LoadSysParam();
        ASSERT_TRUE(watch.WaitFor(5, 15000));
        EXPECT_TRUE(watch.Until([&] { return !Connected(dlg, 0); }, 3000));
        rectest::WriteFile(p.dir.file("config/vxkstcfg.ini"),
                           "[Config]\nDataType=1\n[SysParam]\nRecordLength=1\nFreeSpace=0\n");
        GlobalInfo().LoadSysParam();
        ASSERT_TRUE(watch.WaitFor(2, 25000));
        EXPECT_TRUE(watch.Until([&] { return SegmentsIn(folder).size() == 3; }, 10000));
        // The free-space column shows the drive.
        EXPECT_STRNE(dlg.List().GetItemText(0, 7).GetString(), "-");

        dlg.DoStopCamera(0);
        EXPECT_TRUE(watch.WaitFor(0, 3000));
        EXPECT_EQ(dlg.RunRecord(dlg.SlotOfRow(0)), nullptr);
    });
}

TEST(Recording, ADeadPortAlternatesAndStopsAtOnce)
{
    // A port that nothing listens on.
    int port = 0;
    {
        CamsimProcess gone({"--family", "DY"});
        ASSERT_TRUE(gone.ok());
        port = gone.httpPort();
    }
    Program p;
    Camera c;
    c.httpPort = port;
    c.rtspPort = port;
    p.Add(c);
    p.Run([&](CMainDlg& dlg) {
        StatusWatch watch(dlg, 0);
        dlg.DoStartCamera(0);
        ASSERT_TRUE(watch.WaitFor(17, 15000));
        // 1, 17, 1, 17 ... about every 3 s.
        ASSERT_TRUE(watch.Until([&] { return watch.applied.size() >= 6; }, 15000));
        for (size_t i = 0; i < watch.applied.size(); ++i)
            EXPECT_EQ(watch.applied[i], i % 2 ? 17 : 1) << i;
        auto start = Clock::now();
        dlg.DoStopCamera(0);
        EXPECT_LT(SecondsSince(start), 2.0);
        EXPECT_TRUE(watch.WaitFor(0, 3000));
    });
}

TEST(Recording, DisabledAndEmptySchedulesNeverConnect)
{
    const std::string log = std::string(::testing::TempDir()) + "recorder_idle_" + std::to_string(getpid()) + ".log";
    CamsimProcess cam({"--family", "DY", "--log", log});
    ASSERT_TRUE(cam.ok()) << cam.error();
    Program p;
    Camera disabled = CameraOf(cam);
    disabled.enable = 0;
    p.Add(disabled);
    p.Add(CameraOf(cam, Hours::None));
    p.Run([&](CMainDlg& dlg) {
        StatusWatch first(dlg, 0), second(dlg, 1);
        dlg.DoStartCamera(0);
        dlg.DoStartCamera(1);
        EXPECT_TRUE(first.WaitFor(4, 5000));
        EXPECT_TRUE(second.WaitFor(3, 5000));
        first.Pump(2500);
        EXPECT_EQ(first.Now(), 4);
        EXPECT_EQ(second.Now(), 3);
        EXPECT_FALSE(Connected(dlg, 0));
        EXPECT_FALSE(Connected(dlg, 1));
    });
    EXPECT_EQ(ReadFile(log), "") << "the camera was asked something";
    unlink(log.c_str());
}

TEST(Recording, AMotionAlarmOpensASegmentThatTheHoldKeeps)
{
    CamsimProcess cam({"--family", "DY", "--keyint", "15"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    Program p("RecordLength=1\nFreeSpace=0\n", "preRecordlen=3000\n");
    const int id = p.Add(CameraOf(cam, Hours::Motion));
    p.Run([&](CMainDlg& dlg) {
        StatusWatch watch(dlg, 0);
        const std::string folder = FolderOf(dlg, 0);
        dlg.DoStartCamera(0);
        ASSERT_TRUE(watch.WaitFor(7, 20000));
        // A pre-record worth of stream first.
        watch.Pump(4000);
        ASSERT_TRUE(Connected(dlg, 0));
        EXPECT_TRUE(SegmentsIn(folder).empty());

        auto alarm = Clock::now();
        dlg.PostMessage(UM_VX_CAMERA_MOTION_ALARM, static_cast<WPARAM>(id), 0);
        ASSERT_TRUE(watch.WaitFor(2, 2000));
        ASSERT_TRUE(watch.Until([&] { return SegmentsIn(folder).size() == 1; }, 5000));
        // A second alarm 8 s later holds the segment to 15 s after it.
        watch.Pump(8000);
        auto last = Clock::now();
        dlg.PostMessage(UM_VX_CAMERA_MOTION_ALARM, static_cast<WPARAM>(id), 0);
        watch.Pump(9000);
        EXPECT_EQ(watch.Now(), 2) << "the hold ended before 15 s after the last alarm";
        ASSERT_TRUE(watch.WaitFor(7, 10000));
        const double held = SecondsSince(last);
        EXPECT_GE(held, 14.0);
        EXPECT_LE(held, 18.0);
        const double recorded = SecondsSince(alarm);
        ASSERT_EQ(SegmentsIn(folder).size(), 1u);
        watch.Pump(1000);
        const double duration = ProbeDuration(folder + SegmentsIn(folder)[0]);
        // The file begins with the pre-record, before the first alarm.
        EXPECT_GT(duration, recorded + 1.0) << "recorded " << recorded;
        EXPECT_TRUE(Connected(dlg, 0)) << "the end of a hold keeps the stream";
    });
}

TEST(Recording, ACamerasOwnMotionAlarmStartsARecording)
{
    // HX cameras report motion on their alarm channel.
    CamsimProcess cam({"--family", "HX", "--keyint", "15"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    Program p;
    p.Add(CameraOf(cam, Hours::Motion));
    p.Run([&](CMainDlg& dlg) {
        StatusWatch watch(dlg, 0);
        const std::string folder = FolderOf(dlg, 0);
        dlg.DoStartCamera(0);
        ASSERT_TRUE(watch.WaitFor(7, 20000));
        ASSERT_TRUE(watch.Until([&] { return cam.state().find("alarm_subscriptions=1") != std::string::npos; }, 10000))
            << cam.state();
        watch.Pump(2000);
        cam.get("/camsim/alarm?event=motion&start=1");
        ASSERT_TRUE(watch.WaitFor(2, 5000));
        EXPECT_TRUE(watch.Until([&] { return SegmentsIn(folder).size() == 1; }, 5000));
    });
}

TEST(Recording, TwoCamerasSharingAFolderKeepTheirFiles)
{
    CamsimProcess a({"--family", "DY", "--keyint", "15"});
    CamsimProcess b({"--family", "DY", "--keyint", "15"});
    ASSERT_TRUE(a.ok() && b.ok());
    Program p;
    vxtest::TempDir shared;
    Camera ca = CameraOf(a), cb = CameraOf(b);
    ca.folder = cb.folder = shared.path() + "/";
    p.Add(ca);
    p.Add(cb);
    p.Run([&](CMainDlg& dlg) {
        StatusWatch first(dlg, 0), second(dlg, 1);
        dlg.DoStartCamera(0);
        dlg.DoStartCamera(1);
        ASSERT_TRUE(first.WaitFor(2, 20000));
        ASSERT_TRUE(second.WaitFor(2, 20000));
        first.Pump(4000);
        dlg.DoStopAll();
        EXPECT_EQ(SegmentsIn(shared.path()).size(), 2u);
        for (const std::string& f : SegmentsIn(shared.path()))
            EXPECT_EQ(ProbeCodec(shared.path() + "/" + f), "h264") << f;
    });
}

TEST(Recording, AStopDuringAStalledConnectFreesTheSlotAndExitWaits)
{
    // The camera never answers: each connect sits 3 s in its first request,
    // longer than the stop waits here.
    CamsimProcess cam({"--family", "DY", "--hang"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    Program p;
    p.Add(CameraOf(cam));
    p.Run([&](CMainDlg& dlg) {
        StatusWatch watch(dlg, 0);
        dlg.DoStartCamera(0);
        watch.Pump(500);
        CMainDlg::s_dwStopWaitMs = 1000;
        auto start = Clock::now();
        dlg.DoStopCamera(0);
        CMainDlg::s_dwStopWaitMs = 10000;
        EXPECT_LT(SecondsSince(start), 2.0);
        const int slot = dlg.SlotOfRow(0);
        EXPECT_EQ(dlg.Slot(slot).m_hFinishEvent, nullptr);
        EXPECT_EQ(dlg.RunRecord(slot), nullptr);
        // The slot takes the camera again at once.
        dlg.DoStartCamera(0);
        EXPECT_NE(dlg.RunRecord(slot), nullptr);
        watch.Pump(500);
        // The exit (after this) waits for every thread, also the first one.
    });
}

VX_RECORDER_TEST_MAIN()
