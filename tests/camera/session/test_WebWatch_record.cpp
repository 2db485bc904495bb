// Record-only and windowed camera objects against camsim: play, record,
// segments, snapshots and what their parent hears.
#include "WebWatchTestSupport.h"

#include <set>
#include <thread>

using namespace wwtest;

namespace {

class RecordTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        cam = std::make_unique<CamsimProcess>(std::vector<std::string>{"--family", "HX", "--keyint", "5"});
        ASSERT_TRUE(cam->ok()) << cam->error();
        info = CamsimRecord(*cam);
        CWebWatchBase::SetRecLenSwitch(1);
        CWebWatchBase::SetRecLen(600);
    }
    void TearDown() override { CWebWatchBase::SetRecLenSwitch(1); }

    std::unique_ptr<CamsimProcess> cam;
    STWatchCameraInfo info;
};

TEST_F(RecordTest, RecordOnlyObjectRecordsAPlayableFileAndTellsItsParentOnlyOfRecording)
{
    std::string dir = TempDir("recordonly");
    ParentWindow parent;
    {
        CWebWatchNB camera(1, 7, 0, &parent);
        camera.SetCameraInfo(&info);
        camera.SetRecordOnly(1);
        EXPECT_EQ(camera.StartRecord(1), 0);  // not logged in: the host hears the recording is off
        EXPECT_TRUE(WaitFor([&] { return parent.Count(UM_VX_CAMERA_RECORD_STOPPED) == 1; }, 2000));
        ASSERT_EQ(camera.Connect(), 1);
        ASSERT_EQ(camera.StartPlay(), 1);
        EXPECT_EQ(camera.IsPlaying(), 1);
        camera.SetRecordPath(dir.c_str());  // no final separator
        ASSERT_EQ(camera.StartRecord(1), 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(3500));
        // Again while recording: the notice again, no second file.
        ASSERT_EQ(camera.StartRecord(1), 1);
        EXPECT_EQ(FilesIn(dir, ".mp4").size(), 1u);
        EXPECT_EQ(camera.StopRecord(), 1);
        camera.Cleanup();
        EXPECT_EQ(camera.IsPlaying(), 0);
        EXPECT_EQ(camera.IsLogin(), 0);
    }
    auto files = FilesIn(dir, ".mp4");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].size(), 18u);  // 14 digits and ".mp4"
    std::string probe = ProbeVideo(dir + "/" + files[0]);
    EXPECT_EQ(probe.rfind("h264,320,240,", 0), 0u) << probe;
    EXPECT_GT(atoi(probe.substr(probe.rfind(',') + 1).c_str()), 10) << probe;

    WaitFor([] { return false; }, 300);
    std::set<UINT> codes;
    for (const auto& m : parent.m_messages)
        codes.insert(m.code);
    EXPECT_EQ(codes, (std::set<UINT>{UM_VX_CAMERA_RECORD_STARTED, UM_VX_CAMERA_RECORD_STOPPED}));
    EXPECT_EQ(parent.Count(UM_VX_CAMERA_RECORD_STARTED), 2);
    for (const auto& m : parent.m_messages)
        EXPECT_EQ(m.wParam, VxForwardedWParam(7, m.code));
}

TEST_F(RecordTest, TwoSegmentsWithinOneSecondAreTwoFiles)
{
    std::string dir = TempDir("twosegments") + "/";
    CWebWatchNB camera(1, 1, 0, nullptr);
    camera.SetCameraInfo(&info);
    camera.SetRecordOnly(1);
    ASSERT_EQ(camera.Connect(), 1);
    ASSERT_EQ(camera.StartPlay(), 1);
    camera.SetRecordPath(dir.c_str());
    // A key frame in the player first: a recording without one leaves no file.
    std::this_thread::sleep_for(std::chrono::milliseconds(3500));
    ASSERT_EQ(camera.StartRecord(1), 1);
    CString first = camera.GetLastRecordFile();
    camera.StopRecord();
    ASSERT_EQ(camera.StartRecord(1), 1);
    CString second = camera.GetLastRecordFile();
    camera.StopRecord();
    EXPECT_NE(first, second);
    EXPECT_EQ(FilesIn(dir, ".mp4").size(), 2u);
    camera.Cleanup();
}

TEST_F(RecordTest, WindowedObjectCutsSegmentsOnlyWithTheSwitch)
{
    ParentWindow parent;
    for (int recSwitch : {1, 0}) {
        std::string dir = TempDir("windowed" + std::to_string(recSwitch));
        CWebWatchBase::SetRecLenSwitch(recSwitch);
        CWebWatchBase::SetRecLen(1);
        CWebWatchNB camera(1, 2, 0, &parent);
        camera.SetCameraInfo(&info);
        ASSERT_TRUE(camera.Create(nullptr, "camera", WS_CHILD | WS_VISIBLE, CRect(0, 0, 320, 240), &parent, 1000));
        ASSERT_EQ(camera.Connect(), 1);
        ASSERT_EQ(camera.StartPlay(), 1);
        camera.SetRecordPath(dir.c_str());
        // Key frames first: a segment without one leaves no file.
        WaitFor([] { return false; }, 3000);
        ASSERT_EQ(camera.StartRecord(1), 1);
        if (recSwitch) {
            EXPECT_TRUE(WaitFor([&] { return FilesIn(dir, ".mp4").size() >= 3; }, 20000));
        } else {
            WaitFor([] { return false; }, 3500);
            EXPECT_EQ(FilesIn(dir, ".mp4").size(), 1u);
        }
        camera.StopRecord();
        camera.Cleanup();
        camera.DestroyWindow();
    }
}

TEST_F(RecordTest, SnapshotsHaveTheStreamsSizeAndTwoInOneSecondAreKept)
{
    std::string dir = TempDir("snapshots");
    CWebWatchNB camera(1, 1, 0, nullptr);
    camera.SetCameraInfo(&info);
    camera.SetRecordOnly(1);
    ASSERT_EQ(camera.Connect(), 1);
    ASSERT_EQ(camera.StartPlay(), 1);
    // The player takes snapshots once the stream's tracks are known.
    ASSERT_TRUE(WaitFor([&] { return camera.Snapshot(1, dir.c_str(), 0) == 1; }, 15000));
    ASSERT_EQ(camera.Snapshot(1, dir.c_str(), 0), 1);
    std::string folder = dir + "/snapshot";
    ASSERT_TRUE(WaitFor([&] { return FilesIn(folder, ".png").size() == 2; }, 15000));
    for (const std::string& name : FilesIn(folder, ".png")) {
        EXPECT_EQ(name.rfind("live_", 0), 0u);
        std::string probe = wwtest::runCommand("ffprobe -v error -show_entries stream=width,height -of csv=p=0 '"
                                               + folder + "/" + name + "' 2>/dev/null");
        EXPECT_EQ(probe.substr(0, 7), "320,240") << name;
    }
    camera.Cleanup();

    // No folder and no record folder: the program's folder takes them.
    std::string programDir = TempDir("programdir");
    setenv("VX_PROGRAM_DIR", programDir.c_str(), 1);
    CWebWatchNB other(1, 2, 0, nullptr);
    other.SetCameraInfo(&info);
    other.SetRecordOnly(1);
    ASSERT_EQ(other.Connect(), 1);
    ASSERT_EQ(other.StartPlay(), 1);
    ASSERT_TRUE(WaitFor([&] { return other.Snapshot(0, "", 0) == 1; }, 15000));
    EXPECT_TRUE(WaitFor([&] { return FilesIn(programDir + "/snapshot", ".png").size() == 1; }, 15000));
    other.Cleanup();
    unsetenv("VX_PROGRAM_DIR");
}

}  // namespace

WEBWATCH_TEST_MAIN()
