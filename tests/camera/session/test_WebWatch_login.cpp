// Connecting and logging in to camsim per family, refusals, CGI requests and
// what the log keeps of them.
#include "WebWatchTestSupport.h"
#include "side_channel_env.h"

#include <memory>

using namespace wwtest;

namespace {

struct FamilyCase {
    const char* family;
    std::vector<std::string> args;
    int chip;
    int streams;
    const char* model;
    int codec;
    int hvPort;
};

TEST(WebWatchLogin, EachFamilyLogsInWithItsFollowUps)
{
    const FamilyCase cases[] = {
        {"HX", {"--streams", "2", "--model", "CAMXC4-HX"}, 71, 2, "CAMXC4-HX", 0, 90},
        {"HV", {}, 72, 3, "", 0, -1},  // the port camsim's binary side channel got
        {"HV", {"--video-port", "8123"}, 72, 3, "", 0, 8123},
        {"HV", {"--video-port", "70000"}, 72, 3, "", 0, 90},  // no port: the usual one stays
        {"HV", {"--video-port", "0"}, 72, 3, "", 0, 90},
        {"DY", {}, 73, 3, "", 0, 90},
        {"AJ", {}, 76, 3, "", 0, 90},
        {"HTL", {}, 77, 3, "", 0, 8088},
    };
    for (const FamilyCase& c : cases) {
        // An address of its own: the alarm ports of AJ and HTL are fixed.
        const std::string requests = std::string(::testing::TempDir()) + "login_requests_" + std::to_string(getpid());
        std::remove(requests.c_str());
        std::vector<std::string> args = {"--family", c.family, "--no-rtsp", "--bind", UniqueLoopback(),
                                         "--log",    requests};
        args.insert(args.end(), c.args.begin(), c.args.end());
        CamsimProcess cam(args);
        ASSERT_TRUE(cam.ok()) << cam.error();
        const int hvPort = c.hvPort >= 0 ? c.hvPort : static_cast<int>(StateValue(cam.state(), "side_port"));
        STWatchCameraInfo info = CamsimRecord(cam);
        for (int live : {1, 0}) {
            CWebWatchNB camera(live, 3, 0, nullptr);
            camera.SetCameraInfo(&info);
            ASSERT_EQ(camera.Connect(), 1) << c.family << " live " << live;
            EXPECT_EQ(camera.IsLogin(), 1);
            EXPECT_EQ(camera.GetChipType(), c.chip) << c.family;
            EXPECT_EQ(camera.GetStreamCount(), c.streams) << c.family;
            EXPECT_EQ(camera.GetModelVersion(), c.model) << c.family;
            EXPECT_EQ(camera.GetTalkCodec(), c.codec) << c.family;
            EXPECT_EQ(camera.GetHVVideoPort(), hvPort) << c.family;
            EXPECT_EQ(camera.TestConnectionWithoutVideo(), 1);
            // Connect while logged in changes nothing.
            VXNET_HANDLE held = camera.m_hSession;
            EXPECT_EQ(camera.Connect(), 1);
            EXPECT_EQ(camera.m_hSession, held);
            camera.Cleanup();
            EXPECT_EQ(camera.IsLogin(), 0);
            EXPECT_EQ(camera.GetChipType(), 0);
            EXPECT_EQ(camera.m_hSession, nullptr);
        }
        // The account travels in a URL only to a camera known to be AJ.
        cam.stop();
        const std::string log = runCommand("cat '" + requests + "'");
        EXPECT_EQ(log.find("password=admin") != std::string::npos, std::string(c.family) == "AJ") << c.family << "\n"
                                                                                                     << log;
        std::remove(requests.c_str());
    }
}

struct RefusalCase {
    const char* name;
    const char* family;
    const char* fault;  // /camsim/fault query, or empty
    const char* set;    // /camsim/set query, or empty
    const char* password;
    int result;
    int codec;
};

TEST(WebWatchLogin, RefusalsAndFailedFollowUpsLeaveOneSession)
{
    const RefusalCase cases[] = {
        {"HX authLevel 0", "HX", "", "authLevel=0", "admin", 0, -1},
        {"DY guest", "DY", "refuse=1", "", "admin", 0, -1},
        {"HX audio request fails", "HX", "match=getaencattr&error=500", "", "admin", 0, -1},
        {"AJ account request fails", "AJ", "match=user_management&skip=1&error=500", "", "admin", 1, 0},
        {"AJ G.711A", "AJ", "", "encode_type=G.711A", "admin", 1, 0},
        {"AJ G.711", "AJ", "", "encode_type=G.711", "admin", 1, 2},
        {"AJ other", "AJ", "", "encode_type=G.726", "admin", 1, 3},
        {"HV wrong password", "HV", "", "", "wrong", 0, -1},
        {"HX wrong password", "HX", "", "", "wrong", 0, -1},
    };
    for (const RefusalCase& c : cases) {
        CamsimProcess cam({"--family", c.family, "--no-rtsp"});
        ASSERT_TRUE(cam.ok()) << cam.error();
        if (*c.fault) {
            ASSERT_FALSE(cam.fault(c.fault).empty()) << c.name;
        }
        if (*c.set) {
            ASSERT_FALSE(cam.set(c.set).empty()) << c.name;
        }
        STWatchCameraInfo info = CamsimRecord(cam, "admin", c.password);
        CWebWatchNB camera(0, 1, 0, nullptr);
        camera.SetCameraInfo(&info);
        EXPECT_EQ(camera.Connect(), c.result) << c.name;
        EXPECT_EQ(camera.IsLogin(), c.result) << c.name;
        if (c.codec >= 0) {
            EXPECT_EQ(camera.GetTalkCodec(), c.codec) << c.name;
        }
        if (c.result)
            continue;
        // A refused login may keep its session; the next Connect releases it
        // instead of opening a second one beside it.
        VXNET_HANDLE first = camera.m_hSession;
        EXPECT_EQ(camera.Connect(), 0) << c.name;
        if (first) {
            EXPECT_NE(vxnet_get_status(first), 0) << c.name << ": the first session is still open";
        }
        camera.Cleanup();
        EXPECT_EQ(camera.m_hSession, nullptr) << c.name;
    }
}

TEST(WebWatchLogin, AnAlarmChannelThatCannotStartDoesNotFailTheLogin)
{
    // Without the port reply the usual port 90 stays, where nothing listens.
    CamsimProcess cam({"--family", "HV", "--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    ASSERT_FALSE(cam.fault("match=netport_get&error=500").empty());
    STWatchCameraInfo info = CamsimRecord(cam);
    CWebWatchNB camera(1, 1, 0, nullptr);
    camera.SetCameraInfo(&info);
    camera.SetRecordOnly(1);
    LogCapture::Get().Clear();
    EXPECT_EQ(camera.Connect(), 1);
    EXPECT_EQ(camera.GetHVVideoPort(), 90);
    EXPECT_TRUE(LogCapture::Get().Contains("get m_nHVVideoPort error"));
    EXPECT_TRUE(LogCapture::Get().Contains("HV Start Alarm error"));
    camera.Cleanup();
}

TEST(WebWatchLogin, P2PEntryWithAnAddressReportsItAndLogsIn)
{
    CamsimProcess cam({"--family", "HX", "--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    ParentWindow parent;
    STWatchCameraInfo info = CamsimRecord(cam);
    info.nEntryType = WATCH_ENTRY_P2P_ID;
    info.strP2PID = "VXID-000001-TESTX";
    CWebWatchNB camera(1, 4, 0, &parent);
    camera.SetRecordOnly(1);
    camera.SetCameraInfo(&info);
    ASSERT_EQ(camera.Connect(), 1);
    EXPECT_EQ(camera.GetUseIPForP2P(), 1);
    ASSERT_TRUE(WaitFor([&] { return parent.Count(UM_VX_CAMERA_CONNECT_REPORT) >= 1; }));
    WaitFor([] { return false; }, 200);
    auto reports = parent.Of(UM_VX_CAMERA_CONNECT_REPORT);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].wParam, 4u);
    EXPECT_EQ(reports[0].lParam, 2);
}

TEST(WebWatchCgi, RepliesAreReadByTheirStatusAndLogsHoldNoPassword)
{
    CamsimProcess cam({"--family", "AJ", "--no-rtsp", "--password", "s&cr=t"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    STWatchCameraInfo info = CamsimRecord(cam, "admin", "s&cr=t");
    CWebWatchNB camera(0, 1, 0, nullptr);
    camera.SetCameraInfo(&info);
    CString reply;
    // Without a session nothing is sent.
    EXPECT_EQ(camera.GetCgi("/web.ini", reply, 3000), 0);
    EXPECT_TRUE(reply.IsEmpty());

    LogCapture::Get().Clear();
    ASSERT_EQ(camera.Connect(), 1);
    EXPECT_EQ(camera.GetCgi("/cgi-bin/hi3510/param.cgi?cmd=getservertime", reply, 3000), 1);
    EXPECT_EQ(reply.Left(12), "HTTP/1.1 200");
    EXPECT_EQ(camera.PostCgi("/cgi-bin/hi3510/param.cgi?cmd=getservertime", reply, 3000), 1);
    // A 404 page that quotes a success line is a failure.
    EXPECT_EQ(camera.GetCgi("/no/such/page?HTTP/1.1%20200", reply, 3000), 0);
    EXPECT_EQ(camera.PostCgi("/no/such/page?HTTP/1.1%20200%20OK", reply, 3000), 0);
    EXPECT_EQ(reply.Left(12), "HTTP/1.1 404");
    ASSERT_FALSE(cam.fault("match=getservertime&error=500").empty());
    EXPECT_EQ(camera.GetCgi("/cgi-bin/hi3510/param.cgi?cmd=getservertime", reply, 3000), 0);

    bool sawAccountRequest = false;
    for (const std::string& line : LogCapture::Get().Lines()) {
        EXPECT_EQ(line.find("s&cr=t"), std::string::npos) << line;
        EXPECT_EQ(line.find("s%26cr%3Dt"), std::string::npos) << line;
        sawAccountRequest =
            sawAccountRequest || line.find("user_management?username=admin&password=***") != std::string::npos;
    }
    EXPECT_TRUE(sawAccountRequest);
}

TEST(WebWatchCgi, HvMessageRepliesAndTheCameraClock)
{
    CamsimProcess hv({"--family", "HV", "--no-rtsp"});
    ASSERT_TRUE(hv.ok()) << hv.error();
    STWatchCameraInfo info = CamsimRecord(hv);
    CWebWatchNB camera(0, 1, 0, nullptr);
    camera.SetCameraInfo(&info);
    COleDateTime t;
    EXPECT_EQ(camera.GetCameraTime(t), 0);  // not logged in
    ASSERT_EQ(camera.Connect(), 1);
    CString reply;
    EXPECT_EQ(camera.GetCgi("/cgi/sys_get?Group=TimeInfo", reply, 3000), 1);
    EXPECT_NE(reply.Find("</Message>"), -1);
    ASSERT_EQ(camera.GetCameraTime(t), 1);
    COleDateTimeSpan off = COleDateTime::GetCurrentTime() - t;
    EXPECT_LT(std::abs(off.GetTotalSeconds()), 120.0);

    CamsimProcess hx({"--family", "HX", "--no-rtsp"});
    ASSERT_TRUE(hx.ok()) << hx.error();
    info = CamsimRecord(hx);
    CWebWatchNB other(0, 2, 0, nullptr);
    other.SetCameraInfo(&info);
    ASSERT_EQ(other.Connect(), 1);
    struct Case {
        const char* time;
        int result;
    };
    const Case cases[] = {{"20261210134501", 1}, {"2026121013450", 0}, {"2026121x134501", 0}, {"20261340134501", 0}};
    for (const Case& c : cases) {
        ASSERT_FALSE(hx.set(std::string("time=") + c.time).empty());
        COleDateTime got;
        EXPECT_EQ(other.GetCameraTime(got), c.result) << c.time;
        if (c.result) {
            EXPECT_EQ(got, COleDateTime(2026, 12, 10, 13, 45, 1));
        }
    }
}

TEST(WebWatchCgi, DownloadsAFileOrLeavesNone)
{
    CamsimProcess cam({"--family", "HX", "--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    STWatchCameraInfo info = CamsimRecord(cam);
    CWebWatchNB camera(0, 1, 0, nullptr);
    camera.SetCameraInfo(&info);
    std::string dir = TempDir("download");
    std::string got = dir + "/snap.jpg";
    EXPECT_EQ(camera.Download("/web/tmpfs/snap.jpg", got.c_str(), 5000), 0);  // no session yet
    ASSERT_EQ(camera.Connect(), 1);
    EXPECT_EQ(camera.Download("/web/tmpfs/snap.jpg", got.c_str(), 5000), 1);
    struct stat st {};
    ASSERT_EQ(stat(got.c_str(), &st), 0);
    EXPECT_GT(st.st_size, 100);
    std::string missing = dir + "/missing.bin";
    EXPECT_EQ(camera.Download("/no/such/file.bin", missing.c_str(), 5000), 0);
    EXPECT_NE(stat(missing.c_str(), &st), 0);
}

TEST(WebWatchCgi, DownloadPathMessagesToTheParent)
{
    ParentWindow parent;
    CWebWatchNB camera(0, 1, 0, &parent);
    // The parent fills the whole buffer: the text still ends inside it.
    EXPECT_EQ(camera.GetDownloadPath().GetLength(), 259);
    camera.SetDownloadPath("/media/downloads");
    EXPECT_EQ(parent.m_downloadPath, "/media/downloads");
}

}  // namespace

WEBWATCH_TEST_MAIN()
