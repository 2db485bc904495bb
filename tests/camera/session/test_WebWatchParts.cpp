// The camera object's window-free parts, driven by tables: the connect block,
// the connect report, reading CGI replies, log masking, file names, the
// version helpers and the message codes.
#include "camera/session/CWebWatchNB.h"
#include "camera/session/CameraMessages.h"
#include "camera/session/CgiReply.h"
#include "camera/session/ConnectBlock.h"
#include "camera/session/ConnectReport.h"
#include "camera/session/SegmentName.h"
#include "support/TimeZoneGuard.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace {

STWatchCameraInfo Record(int type)
{
    STWatchCameraInfo info;
    info.strIP = type == WATCH_ENTRY_RTSP_URL ? "rtsp://cam.example:8554/live" : "192.168.1.20";
    info.strP2PID = "VXID-000123-ABCDE";
    info.nHttpPort = 8080;
    info.nMediaPort = 8554;
    info.nChannel = 2;
    info.nStream = 1;
    info.nEntryType = type;
    info.strName = "hall";
    info.strUser = "ad min";
    info.strPwd = "p&ss=1";
    return info;
}

TEST(ConnectBlock, EachEntryTypeFillsItsFields)
{
    vxcam::P2PServerInfo server{1, "p2p.example", "p2p2.example", 32100};

    STWatchCameraInfo rtsp = Record(WATCH_ENTRY_RTSP_URL);
    STConnectInfo b;
    vxcam::FillConnectBlock(b, rtsp, server, 1);
    EXPECT_STREQ(b.szRtspUrl, "rtsp://cam.example:8554/live");
    EXPECT_STREQ(b.szHost, "");
    EXPECT_STREQ(b.szUser, "");
    EXPECT_STREQ(b.szPassword, "");
    EXPECT_STREQ(b.szUserEncoded, "");
    EXPECT_EQ(b.nHttpPort, 0);
    EXPECT_EQ(b.nIsP2P, 0);

    STWatchCameraInfo p2p = Record(WATCH_ENTRY_P2P_ID);
    vxcam::FillConnectBlock(b, p2p, server, 1);
    EXPECT_EQ(b.nIsP2P, 1);
    EXPECT_EQ(b.nP2PServerFlag, 1);
    EXPECT_EQ(b.nLive, 1);
    EXPECT_STREQ(b.szHost, "192.168.1.20");
    EXPECT_EQ(b.nHttpPort, 8080);
    EXPECT_EQ(b.nMediaPort, 8554);
    EXPECT_EQ(b.nChannel, 2);
    EXPECT_EQ(b.nStream, 2);
    EXPECT_STREQ(b.szP2PId, "VXID-000123-ABCDE");
    EXPECT_STREQ(b.szP2PServer, "p2p.example");
    EXPECT_STREQ(b.szP2PServer2, "p2p2.example");
    EXPECT_EQ(b.nP2PServerPort, 32100);
    EXPECT_STREQ(b.szUser, "ad min");
    EXPECT_STREQ(b.szUserEncoded, "ad%20min");
    EXPECT_STREQ(b.szPasswordEncoded, "p%26ss%3D1");
    EXPECT_EQ(p2p.strPwdEncoded, "p%26ss%3D1");

    STWatchCameraInfo host = Record(WATCH_ENTRY_HOST);
    host.strP2PID = "ignored";
    vxcam::FillConnectBlock(b, host, server, 1);
    EXPECT_EQ(b.nIsP2P, 0);
    EXPECT_EQ(b.nP2PServerFlag, 0);
    EXPECT_EQ(b.nLive, 0);
    EXPECT_STREQ(b.szP2PId, "");
    EXPECT_STREQ(b.szP2PServer, "");
    EXPECT_STREQ(b.szHost, "192.168.1.20");
    EXPECT_EQ(b.nStream, 2);

    // Texts longer than their field are cut to the field less one.
    host.strPwd = CString('x', 100);
    host.strIP = CString('h', 300);
    vxcam::FillConnectBlock(b, host, server, 1);
    EXPECT_EQ(strlen(b.szPassword), sizeof b.szPassword - 1);
    EXPECT_EQ(strlen(b.szHost), sizeof b.szHost - 1);
}

TEST(ConnectReport, ReportsAndAdoptionByTheSessionsAnswer)
{
    STConnectInfo stored{};
    strcpy(stored.szHost, "Cam.Example");
    stored.nHttpPort = 80;
    stored.nMediaPort = 554;
    struct Case {
        const char* name;
        bool connected;
        int useIp;
        const char* host;
        int http;
        int media;
        int type;
        std::vector<int> reports;
        bool adopt;
    };
    const Case cases[] = {
        {"failed host entry", false, 0, "", 0, 0, WATCH_ENTRY_HOST, {}, false},
        {"failed P2P entry", false, 0, "", 0, 0, WATCH_ENTRY_P2P_ID, {0}, false},
        {"host entry", true, 0, "cam.example", 80, 554, WATCH_ENTRY_HOST, {}, false},
        {"P2P entry, no address", true, 0, "cam.example", 80, 554, WATCH_ENTRY_P2P_ID, {0}, false},
        {"P2P entry, same address", true, 1, "cam.example", 80, 554, WATCH_ENTRY_P2P_ID, {2}, false},
        {"P2P entry, other host", true, 1, "10.0.0.9", 80, 554, WATCH_ENTRY_P2P_ID, {2, 1}, true},
        {"P2P entry, other HTTP port", true, 1, "cam.example", 81, 554, WATCH_ENTRY_P2P_ID, {2, 1}, true},
        {"P2P entry, other media port", true, 1, "cam.example", 80, 555, WATCH_ENTRY_P2P_ID, {2, 1}, true},
        {"RTSP entry", true, 0, "", 0, 0, WATCH_ENTRY_RTSP_URL, {}, false},
    };
    for (const Case& c : cases) {
        STConnectInfo session{};
        session.nUseIP = c.useIp;
        strcpy(session.szHost, c.host);
        session.nHttpPort = c.http;
        session.nMediaPort = c.media;
        vxcam::ConnectReport r = vxcam::DecideConnectReport(stored, c.connected ? &session : nullptr, c.type);
        EXPECT_EQ(r.lParams, c.reports) << c.name;
        EXPECT_EQ(r.bAdoptAddress, c.adopt) << c.name;
        EXPECT_EQ(r.bDirectAddress, c.useIp == 1 && c.connected) << c.name;
    }
}

TEST(CgiReply, SuccessReadsTheStatusLine)
{
    struct Case {
        const char* reply;
        bool get;
        bool post;
    };
    const Case cases[] = {
        {"HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\nvar a=\"1\";", true, true},
        {"HTTP/1.0 200 OK\r\n\r\n", true, true},
        {"HTTP/1.1 200 Ok\r\n\r\n", true, true},
        {"HTTP/2 200\r\n\r\n", true, true},
        {"HTTP/1.1 200 OK\r\n\r\n[Error]-volume: bad value.\r\n", true, false},  // a refused write
        {"HTTP/1.1 404 Not Found\r\n\r\n<p>expected HTTP/1.1 200 OK</p>", false, false},
        {"HTTP/1.1 500 Error\r\n\r\n<Message><result code=\"200\"/></Message>", false, false},
        {"HTTP/1.1 2000 OK\r\n\r\n", false, false},
        {"<?xml version=\"1.0\"?>\r\n<Message>\r\n<result code=\"200\"></result>\r\n</Message>\r\n", true, false},
        {"<html>see </Message></html>", false, false},
        {"", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(vxcam::CgiGetSucceeded(c.reply), c.get) << c.reply;
        EXPECT_EQ(vxcam::CgiPostSucceeded(c.reply), c.post) << c.reply;
    }
    EXPECT_FALSE(vxcam::CgiGetSucceeded(nullptr));
    EXPECT_EQ(vxcam::CgiReplyStatus("HTTP/1.1 401 Unauthorized\r\n"), 401);
}

TEST(CgiReply, CameraTimeNeedsFourteenDigitsOfAValidDate)
{
    struct Case {
        const char* text;
        bool ok;
    };
    const Case cases[] = {
        {"20261210134501", true},  {"2026121013450", false},  {"202612101345011", false},
        {"2026121013450x", false}, {"abcdefghijklmn", false}, {"20261310134501", false},
        {"20260230120000", false}, {"20261210246001", false}, {"", false},
    };
    for (const Case& c : cases) {
        COleDateTime t(2000, 1, 1, 0, 0, 0);
        EXPECT_EQ(vxcam::ParseCameraTimeText(c.text, t), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(t.GetYear(), 2026);
            EXPECT_EQ(t.GetMonth(), 12);
            EXPECT_EQ(t.GetDay(), 10);
            EXPECT_EQ(t.GetHour(), 13);
            EXPECT_EQ(t.GetMinute(), 45);
            EXPECT_EQ(t.GetSecond(), 1);
        } else {
            EXPECT_EQ(t.GetYear(), 2000) << c.text;
        }
    }
}

TEST(CgiReply, LogLinesCarryNoPassword)
{
    struct Case {
        const char* text;
        const char* password;
        const char* encoded;
        const char* expected;
    };
    const Case cases[] = {
        {"/cgi-bin/user_management?username=admin&password=s%26cret", "s&cret", "s%26cret",
         "/cgi-bin/user_management?username=admin&password=***"},
        {"echo s&cret and s%26cret", "s&cret", "s%26cret", "echo *** and ***"},
        {"PassWord=abc;next", "zzz", "zzz", "PassWord=***"},
        {"var at_password1=\"other one\";\r\n", "zzz", "zzz", "var at_password1=***;\r\n"},
        {"nothing secret", "", "", "nothing secret"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vxcam::MaskSecrets(c.text, c.password, c.encoded), c.expected) << c.text;
}

TEST(SegmentName, NextFreeSecondKeepsTheFourteenDigits)
{
    vxtest::TimeZoneGuard zone("UTC");
    struct tm when {};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 10;
    when.tm_hour = 13;
    when.tm_min = 25;
    when.tm_sec = 1;
    const time_t t = timegm(&when);
    std::set<std::string> taken;
    auto exists = [&](const CString& p) { return taken.count(std::string(p)) != 0; };
    CString first = vxcam::NextFreeTimedPath("/rec/cam1", t, "%Y%m%d%H%M%S", ".mp4", exists);
    EXPECT_EQ(first, "/rec/cam1/20261210132501.mp4");
    taken.insert(std::string(first));
    EXPECT_EQ(vxcam::NextFreeTimedPath("/rec/cam1/", t, "%Y%m%d%H%M%S", ".mp4", exists),
              "/rec/cam1/20261210132502.mp4");
    EXPECT_EQ(vxcam::JoinFolder("C:\\rec\\", "a.mp4"), "C:\\rec\\a.mp4");
    EXPECT_EQ(vxcam::JoinFolder("", "a.mp4"), "a.mp4");
    EXPECT_EQ(vxcam::NextFreeTimedPath("/x", t, "live_%y%m%d%H%M%S", ".png", exists), "/x/live_261210132501.png");
    EXPECT_TRUE(vxcam::NextFreeTimedPath("/x", t, "%Y", ".mp4", [](const CString&) { return true; }).IsEmpty());
}

TEST(WebWatchHelpers, VersionsTypesAndUpgradeFiles)
{
    EXPECT_EQ(CWebWatchNB::GetCamType("V10.1.4.2"), 33);
    EXPECT_EQ(CWebWatchNB::GetCamType("V10.1.10.2"), 34);
    EXPECT_EQ(CWebWatchNB::GetCamType("V19.1.20"), 16);

    struct V {
        const char* a;
        const char* b;
        int r;
    };
    const V versions[] = {
        {"V19.1.20", "V19.1.3", 1}, {"v19.1.3", "19.1.20", -1}, {"19.1", "19.1.0", 0}, {"19.1.1", "19.1", 1},
        {"V2.0-beta", "2.0", 0},    {"..3.1", "3.1", 0},        {"", "1", -1},         {"1", "", -1},
    };
    for (const V& v : versions)
        EXPECT_EQ(CWebWatchNB::VersionLaterThan(v.a, v.b), v.r) << v.a << " " << v.b;
    EXPECT_EQ(CWebWatchNB::VersionLaterThan(nullptr, "1"), -1);

    EXPECT_EQ(CWebWatchNB::CheckUpgradeFile("/tmp/fw/CAMXA1-N-F19.1.bin", "camxa1-n"), 0);
    EXPECT_EQ(CWebWatchNB::CheckUpgradeFile("C:\\fw\\CAMXA1-N-F19.1.bin", "CAMXA1-N"), 0);
    EXPECT_EQ(CWebWatchNB::CheckUpgradeFile("/tmp/fw/CAMXB2-F19.1.bin", "CAMXA1-N"), -1);
    EXPECT_EQ(CWebWatchNB::CheckUpgradeFile("/tmp/CAMX-dir/other.bin", "CAMXA1-N"), 0);
}

TEST(CameraMessages, ForwardedFormCarriesTheIndexAbove)
{
    EXPECT_EQ(VxForwardedWParam(5, UM_VX_CAMERA_VIDEO_FAILED), 328729u);
    EXPECT_EQ(UM_VX_CAMERA_VIDEO_VOUT, 1057u);
    EXPECT_EQ(UM_VX_CAMERA_CONNECT_REPORT, 1066u);
}

}  // namespace
