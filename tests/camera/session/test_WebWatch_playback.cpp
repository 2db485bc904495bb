// File playback of a windowed playback object, and the camera window's
// handling of the player's messages.
#include "WebWatchTestSupport.h"

#include "camera/session/CStateBar.h"

#include <algorithm>

using namespace wwtest;

namespace {

class PlaybackTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = TempDir("playback");
        for (int i = 0; i < 3; ++i) {
            std::string path = dir + "/clip" + std::to_string(i) + ".mp4";
            runCommand("ffmpeg -v error -y -f lavfi -i testsrc=s=64x48:r=10 -t 1 -c:v libx264 -g 5 -pix_fmt yuv420p '"
                       + path + "'");
            clips.push_back(path);
        }
        // Longer than 2^31 microseconds (35.8 minutes).
        longClip = dir + "/long.mp4";
        runCommand(
            "ffmpeg -v error -y -f lavfi -i color=c=blue:s=64x48:r=1 -t 2230 -c:v libx264 -g 10 -pix_fmt yuv420p '"
            + longClip + "'");
    }

    void SetUp() override
    {
        ASSERT_TRUE(parent.GetSafeHwnd());
        ASSERT_TRUE(camera.Create(nullptr, "camera", WS_CHILD | WS_VISIBLE, CRect(0, 0, 160, 120), &parent, 1001));
    }
    void TearDown() override
    {
        camera.StopPlayFile();
        camera.DestroyWindow();
    }

    CArray<STRecordFile> List(const std::vector<std::string>& paths)
    {
        CArray<STRecordFile> list;
        int value = 10;
        for (const auto& p : paths) {
            STRecordFile f;
            f.strPath = p.c_str();
            f.nNotifyValue = value++;
            f.nMode = 2;
            list.Add(f);
        }
        return list;
    }
    std::vector<LPARAM> Notices(WPARAM kind)
    {
        std::vector<LPARAM> out;
        for (const auto& m : parent.Of(UM_VX_PLAYFILE_NOTIFY)) {
            if (m.wParam == kind)
                out.push_back(m.lParam);
        }
        return out;
    }

    static std::string dir;
    static std::vector<std::string> clips;
    static std::string longClip;
    ParentWindow parent;
    CWebWatchNB camera{0, 5, 0, &parent};
};

std::string PlaybackTest::dir;
std::vector<std::string> PlaybackTest::clips;
std::string PlaybackTest::longClip;

TEST_F(PlaybackTest, ThreeFilesPlayInTurnAndStopAfterTheThird)
{
    ASSERT_EQ(camera.StartPlayFile(nullptr, List(clips), 1), 1);
    // One "stopped" notice from the start, one at the end.
    ASSERT_TRUE(WaitFor([&] { return Notices(3).size() >= 2 && parent.Count(UM_VX_CAMERA_FILE_END) >= 3; }, 20000));
    EXPECT_EQ(Notices(0), (std::vector<LPARAM>{10, 11, 12}));
    // The length notice carries the length the file has once open.
    for (LPARAM length : Notices(1))
        EXPECT_GT(length, 500000);
    EXPECT_EQ(camera.IsPlaying(), 0);
    EXPECT_GE(parent.Count(UM_VX_CAMERA_FILE_END), 3);
}

TEST_F(PlaybackTest, AnEmptyListPlaysNothing)
{
    EXPECT_EQ(camera.StartPlayFile(nullptr, CArray<STRecordFile>(), 1), 0);
    EXPECT_EQ(camera.IsPlaying(), 0);
}

TEST_F(PlaybackTest, MessagesAtTheCameraWindow)
{
    ASSERT_EQ(camera.StartPlayFile(nullptr, List({longClip, clips[0]}), 1), 1);
    ASSERT_TRUE(camera.IsPlaying());
    // A position from the player goes on to the parent as a progress notice.
    camera.PostMessage(UM_VX_CAMERA_FILE_POSITION, UM_VX_CAMERA_FILE_POSITION, 1234567);
    ASSERT_TRUE(WaitFor([&] {
        auto p = Notices(2);
        return std::find(p.begin(), p.end(), 1234567) != p.end();
    }));
    // The end of a file steps to the next one.
    camera.PostMessage(UM_VX_CAMERA_FILE_END, UM_VX_CAMERA_FILE_END, 0);
    ASSERT_TRUE(WaitFor([&] { return Notices(0).size() == 2; }));
    EXPECT_EQ(Notices(0).back(), 11);
    // A failed stream stops playback.
    camera.PostMessage(UM_VX_CAMERA_VIDEO_FAILED, UM_VX_CAMERA_VIDEO_FAILED, 0);
    ASSERT_TRUE(WaitFor([&] { return Notices(3).size() >= 2 && parent.Count(UM_VX_CAMERA_VIDEO_FAILED) > 0; }));
    EXPECT_EQ(camera.IsPlaying(), 0);
    auto failed = parent.Of(UM_VX_CAMERA_VIDEO_FAILED);
    ASSERT_FALSE(failed.empty());
    EXPECT_EQ(failed.back().wParam, 328729u);  // index 5, code 1049
}

TEST_F(PlaybackTest, LongFileReportsItsLengthAndSeeksInMicroseconds)
{
    ASSERT_EQ(camera.StartPlayFile(nullptr, List({longClip, clips[0]}), 1), 1);
    const int64_t length = camera.GetPlayFileLength();
    EXPECT_GT(length, int64_t(2229) * 1000000);
    EXPECT_LT(length, int64_t(2231) * 1000000);
    ASSERT_FALSE(Notices(1).empty());
    EXPECT_EQ(static_cast<uint32_t>(Notices(1).front()), static_cast<uint32_t>(length));

    EXPECT_EQ(camera.PlayFilePos(int64_t(2200) * 1000000), 1);
    ASSERT_TRUE(WaitFor(
        [&] {
            for (LPARAM p : Notices(2)) {
                if (p >= int64_t(2200) * 1000000)
                    return true;
            }
            return false;
        },
        15000));
    EXPECT_GE(camera.GetPlayFilePosition(), int64_t(2200) * 1000000);

    // At the length it steps on to the next file.
    EXPECT_EQ(camera.PlayFilePos(camera.GetPlayFileLength()), 1);
    ASSERT_TRUE(WaitFor([&] { return Notices(0).size() == 2; }));
    EXPECT_EQ(Notices(0).back(), 11);
}

TEST(WebWatchWindow, TheCameraWindowCarriesItsVideoSurface)
{
    ParentWindow parent;
    auto camera = std::make_unique<CWebWatchNB>(1, 6, 0, &parent);
    ASSERT_TRUE(camera->Create(nullptr, "camera", WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), &parent, 1003));
    CStateBar* surface = camera->GetStateBar();
    ASSERT_NE(surface, nullptr);
    HWND hSurface = surface->GetSafeHwnd();
    ASSERT_TRUE(::IsWindow(hSurface));
    EXPECT_EQ(surface->GetParent(), camera.get());
    camera->MoveWindow(0, 0, 240, 180);
    CRect rc;
    surface->GetClientRect(&rc);
    EXPECT_EQ(rc.Width(), 240);
    EXPECT_EQ(rc.Height(), 180);
    // The worker's messages reach the surface too, forwarded.
    camera->PostMessage(UM_VX_CAMERA_CONNECT_FAILED, UM_VX_CAMERA_CONNECT_FAILED, 0);
    ASSERT_TRUE(WaitFor([&] { return parent.Count(UM_VX_CAMERA_CONNECT_FAILED) == 1; }));
    EXPECT_TRUE(WaitFor([&] { return !surface->GetStatusText().IsEmpty(); }));
    camera.reset();
    EXPECT_FALSE(::IsWindow(hSurface));
}

}  // namespace

WEBWATCH_TEST_MAIN()
