// The firmware upload against camsim's upgrade endpoint: a package for the
// camera's model is taken and the camera comes back with its version; every
// other answer is a failure; a silent camera and a stop end the upload.
#include "camera/dialogs/DialogTestMain.h"
#include "camera/dialogs/window/CProgressDlg.h"
#include "camera/dialogs/window/UploadFirmware.h"
#include "camera/session/CWebWatchNB.h"
#include "platform/ui/TestHooks.h"
#include "resources/vxcam/resource.h"
#include "support/CamsimProcess.h"
#include "support/TempDir.h"
#include "utility/vx_log.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point t0)
{
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

std::string MakePackage(const vxtest::TempDir& dir, const std::string& model, const std::string& version,
                        long payload = 4096)
{
    std::string out = dir.file(model + "-" + version + ".pkg");
    std::string cmd = std::string(VX_BIN_DIR) + "/camsim --make-package '" + model + "' '" + version + "' '" + out
                      + "' " + std::to_string(payload);
    return std::system(cmd.c_str()) == 0 ? out : std::string();
}

TEST(UploadFirmware, TheRequestCountsItsBodyExactly)
{
    UploadRequest r = MakeUploadRequest("admin", "p:w@d", 2500);
    size_t at = r.head.find("Content-Length: ");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(std::stoll(r.head.substr(at + 16)), 2500 + static_cast<long long>(r.partHeader.size()) + 20);
    EXPECT_EQ(r.closing.size(), 20u);
    EXPECT_NE(r.head.find("Connection: close\r\n"), std::string::npos);
    EXPECT_NE(r.head.find("Authorization: Basic YWRtaW46cDp3QGQ=\r\n"), std::string::npos);
    EXPECT_EQ(r.head.substr(r.head.size() - 4), "\r\n\r\n");
    // An account far beyond any fixed buffer travels whole.
    std::string user(100, 'u'), secret(100, 's');
    r = MakeUploadRequest(user.c_str(), secret.c_str(), 0);
    at = r.head.find("Authorization: Basic ");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(r.head.find("\r\n", at) - (at + 21), 268u);
}

TEST(UploadFirmware, RepliesTable)
{
    EXPECT_TRUE(UploadSucceeded("HTTP/1.1 200 OK\r\nContent-Length: 16\r\n\r\nupgrade succeed."));
    EXPECT_FALSE(UploadSucceeded("HTTP/1.1 200 OK\r\n\r\nupgrade succeed.\n"));
    EXPECT_FALSE(UploadSucceeded("HTTP/1.1 401 Unauthorized\r\n\r\nupgrade succeed."));
    EXPECT_FALSE(UploadSucceeded(""));
    EXPECT_FALSE(UploadSucceeded("HTTP/1.1 200 OK\r\n\r\nupgrade failed: model mismatch."));
    // The answer's text lies past the first kilobyte.
    EXPECT_TRUE(UploadSucceeded("HTTP/1.1 200 OK\r\nX-Pad: " + std::string(2000, 'x') + "\r\n\r\nupgrade succeed."));
}

// The Content-Length an upload of that file announces.
long long AnnouncedLength(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    UploadRequest r = MakeUploadRequest("admin", "admin", static_cast<int64_t>(in.tellg()));
    size_t at = r.head.find("Content-Length: ");
    return std::stoll(r.head.substr(at + 16));
}

// The camera's count of upload body bytes read, asked again while a reboot
// has its port closed; -1 when it never answers.
long long UpgradeBytes(const CamsimProcess& cam)
{
    for (int i = 0; i < 50; ++i) {
        std::string state = cam.state();
        size_t at = state.find("\nupgradebytes=");
        if (at != std::string::npos)
            return std::stoll(state.substr(at + 14));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return -1;
}

TEST(UploadFirmware, AgainstTheCamera)
{
    vxtest::TempDir dir("vx-upload");
    std::string good = MakePackage(dir, "CAMXA1-N", "V19.2.0.1");
    std::string other = MakePackage(dir, "CAMXe", "V19.2.0.1");
    ASSERT_FALSE(good.empty());
    ASSERT_FALSE(other.empty());
    {
        std::ofstream bad(dir.file("bad.pkg"), std::ios::binary);
        std::ifstream in(good, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        bytes.back() ^= 1;
        bad << bytes;
        std::ofstream shortened(dir.file("short.pkg"), std::ios::binary);
        shortened << bytes.substr(0, 20);
    }
    const long long whole = AnnouncedLength(good);
    struct Case {
        const char* name;
        std::string package;
        const char* password;
        const char* setting;  // for /camsim/set
        const char* fault;    // for /camsim/fault
        int want;
        long long received;  // body bytes the camera read; -1: the announced length
    };
    const std::string cutMidway = "match=upgrade&cut=" + std::to_string(whole / 2);
    const Case cases[] = {
        {"success", good, "admin", "", "", 1, -1},
        {"wrong password", good, "nope", "", "", 0, -1},
        {"another model", other, "admin", "", "", 0, -1},
        {"bad checksum", dir.file("bad.pkg"), "admin", "", "", 0, -1},
        {"short package", dir.file("short.pkg"), "admin", "", "", 0, -1},
        {"the model the camera takes", other, "admin", "pkgmodel=CAMXe", "", 1, -1},
        {"no longer that model", good, "admin", "pkgmodel=CAMXe", "", 0, -1},
        {"trailing newline", good, "admin", "upgradereply=newline", "", 0, -1},
        {"cut midway", good, "admin", "", cutMidway.c_str(), 0, whole / 2},
        {"silent camera", good, "admin", "upgradereply=silent", "", 0, -1},
        {"connection kept", good, "admin", "upgradereply=keep", "", 1, -1},
        {"missing file", dir.file("none.pkg"), "admin", "", "", 0, 0},
    };
    for (const Case& c : cases) {
        CamsimProcess cam({"--no-rtsp", "--reboot-seconds", "1"});
        ASSERT_TRUE(cam.ok()) << cam.error();
        if (*c.setting) {
            ASSERT_FALSE(cam.set(c.setting).empty());
        }
        if (*c.fault) {
            ASSERT_FALSE(cam.fault(c.fault).empty());
        }
        UploadOptions o;
        o.idleMs = 1500;
        auto t0 = Clock::now();
        EXPECT_EQ(UploadFirmware(c.package.c_str(), cam.address().c_str(), cam.httpPort(), "admin", c.password, o),
                  c.want)
            << c.name;
        EXPECT_LT(SecondsSince(t0), 10.0) << c.name;
        EXPECT_EQ(UpgradeBytes(cam), c.received < 0 ? AnnouncedLength(c.package) : c.received) << c.name;
    }
}

TEST(UploadFirmware, EveryFamilyWithTheParameterCgiTakesAPackage)
{
    vxtest::TempDir dir("vx-upload");
    std::string good = MakePackage(dir, "CAMXA1-N", "V19.2.0.1");
    ASSERT_FALSE(good.empty());
    const std::pair<const char*, int> families[] = {{"HX", 1}, {"DY", 1}, {"AJ", 1}, {"HTL", 1}, {"HV", 0}};
    for (const auto& [family, want] : families) {
        CamsimProcess cam({"--no-rtsp", "--family", family, "--reboot-seconds", "1"});
        ASSERT_TRUE(cam.ok()) << cam.error();
        UploadOptions o;
        o.idleMs = 1500;
        EXPECT_EQ(UploadFirmware(good.c_str(), cam.address().c_str(), cam.httpPort(), "admin", "admin", o), want)
            << family;
    }
}

// Hundreds of cameras open many descriptors: the upload's socket then lies
// past what a select() set can hold.
TEST(UploadFirmware, ASocketPastDescriptor1023Works)
{
    rlimit lim{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &lim), 0);
    if (lim.rlim_max != RLIM_INFINITY && lim.rlim_max < 1200)
        GTEST_SKIP() << "the descriptor limit is below 1200";
    rlimit raised = lim;
    raised.rlim_cur = std::max<rlim_t>(lim.rlim_cur, 1200);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &raised), 0);
    vxtest::TempDir dir("vx-upload");
    std::string good = MakePackage(dir, "CAMXA1-N", "V19.2.0.1");
    CamsimProcess cam({"--no-rtsp", "--reboot-seconds", "1"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    std::vector<int> filler;
    for (int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC); fd >= 0 && fd < 1100;
         fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC))
        filler.push_back(fd);
    UploadOptions o;
    o.idleMs = 1500;
    int result = UploadFirmware(good.c_str(), "127.0.0.1", cam.httpPort(), "admin", "admin", o);
    bool filled = !filler.empty() && filler.back() >= 1023;
    for (int fd : filler)
        ::close(fd);
    setrlimit(RLIMIT_NOFILE, &lim);
    ASSERT_TRUE(filled);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(UpgradeBytes(cam), AnnouncedLength(good));
}

TEST(UploadFirmware, ASlowCameraReadsTheBodyAsItArrives)
{
    vxtest::TempDir dir("vx-upload");
    std::string good = MakePackage(dir, "CAMXA1-N", "V19.2.0.1");
    const long long whole = AnnouncedLength(good);
    CamsimProcess cam({"--no-rtsp", "--reboot-seconds", "1"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    // About two seconds for the whole body.
    ASSERT_FALSE(cam.fault("match=upgrade&rate=" + std::to_string(whole / 2)).empty());
    std::atomic<bool> done{false};
    long long midway = -1;
    std::thread watcher([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        if (!done)
            midway = UpgradeBytes(cam);
    });
    std::vector<int64_t> shown;
    UploadOptions o;
    o.idleMs = 5000;
    o.progress = [&](int64_t sent, int64_t total) {
        EXPECT_LE(sent, total);
        shown.push_back(sent);
    };
    auto t0 = Clock::now();
    EXPECT_EQ(UploadFirmware(good.c_str(), "127.0.0.1", cam.httpPort(), "admin", "admin", o), 1);
    double seconds = SecondsSince(t0);
    done = true;
    watcher.join();
    EXPECT_GE(seconds, 1.5);
    EXPECT_GT(midway, 0);
    EXPECT_LT(midway, whole);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), std::filesystem::file_size(good));
    EXPECT_EQ(UpgradeBytes(cam), whole);
}

TEST(UploadFirmware, AStopEndsAnUploadToASilentCameraAtOnce)
{
    vxtest::TempDir dir("vx-upload");
    std::string good = MakePackage(dir, "CAMXA1-N", "V19.2.0.1");
    CamsimProcess cam({"--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    ASSERT_FALSE(cam.set("upgradereply=silent").empty());
    std::atomic<bool> stop{false};
    UploadOptions o;
    o.stop = &stop;
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        stop = true;
    });
    auto t0 = Clock::now();
    EXPECT_EQ(UploadFirmware(good.c_str(), "127.0.0.1", cam.httpPort(), "admin", "admin", o), 0);
    stopper.join();
    EXPECT_LT(SecondsSince(t0), 3.0);
}

struct ModalRun {
    INT_PTR result;
    double seconds;
};

ModalRun RunUpload(CProgressDlg& dlg)
{
    auto t0 = Clock::now();
    ModalRun r{};
    r.result = dlg.DoModal();
    r.seconds = SecondsSince(t0);
    return r;
}

TEST(ProgressDialogUpload, ASentPackageLetsTheCountdownRunOnAndTheCameraComesBackUpgraded)
{
    vxtest::TempDir dir("vx-upload");
    std::string good = MakePackage(dir, "CAMXA1-N", "V19.2.0.1");
    CamsimProcess cam({"--no-rtsp", "--reboot-seconds", "1"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    // The camera takes about two seconds to read the package.
    ASSERT_FALSE(cam.fault("match=upgrade&rate=" + std::to_string(AnnouncedLength(good) / 2)).empty());
    long long readWhileSending = -1;
    std::string shareAfter;
    vxw::test::SetModalDialogHook([&](CDialog& d) {
        auto share = [&d] {
            char buf[64] = {};
            d.GetDlgItemText(IDC_PROGRESS_SHARE, buf, sizeof buf);
            return std::string(buf);
        };
        vxw::PumpUntil([] { return false; }, 1000);
        readWhileSending = UpgradeBytes(cam);
        vxw::PumpUntil([&] { return share() == "100%"; }, 10000);
        shareAfter = share();
    });
    CProgressDlg dlg(nullptr);
    dlg.m_bUpgrade = 1;
    dlg.SetTextId(IDS_PROGRESS_UPGRADE);
    dlg.SetDuration(3);
    dlg.m_strPath = good.c_str();
    dlg.m_strHost = "127.0.0.1";
    dlg.m_nPort = cam.httpPort();
    dlg.m_strUser = "admin";
    dlg.m_strPwd = "admin";
    ModalRun r = RunUpload(dlg);
    vxw::test::SetModalDialogHook(nullptr);
    EXPECT_EQ(r.result, IDOK);
    EXPECT_TRUE(dlg.m_strResult.IsEmpty());
    // The countdown waits while the camera still reads the package, then
    // runs its whole length.
    EXPECT_GT(readWhileSending, 0);
    EXPECT_LT(readWhileSending, AnnouncedLength(good));
    EXPECT_EQ(shareAfter, "100%");
    EXPECT_GE(r.seconds, 3.5);
    // Back after its reboot, with the package's version.
    std::string reply;
    for (int i = 0; i < 100 && reply.find("V19.2.0.1") == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        CWebWatchNB probe(0, 35, 0, nullptr);
        STWatchCameraInfo info;
        info.strIP = "127.0.0.1";
        info.nHttpPort = cam.httpPort();
        info.nEntryType = WATCH_ENTRY_HOST;
        info.strUser = "admin";
        info.strPwd = "admin";
        probe.SetCameraInfo(&info);
        if (probe.Connect() == 1) {
            CString text;
            probe.GetCgi("/cgi-bin/hi3510/param.cgi?cmd=getserverinfo", text, 3000);
            reply.assign(text.view());
            probe.Cleanup();
        }
    }
    EXPECT_NE(reply.find("var softVersion=\"V19.2.0.1\""), std::string::npos) << reply;
}

CProgressDlg& SetUpload(CProgressDlg& dlg, const std::string& package, const CamsimProcess& cam, int duration)
{
    dlg.m_bUpgrade = 1;
    dlg.SetTextId(IDS_PROGRESS_UPGRADE);
    dlg.SetDuration(duration);
    dlg.m_strPath = package.c_str();
    dlg.m_strHost = "127.0.0.1";
    dlg.m_nPort = cam.httpPort();
    dlg.m_strUser = "admin";
    dlg.m_strPwd = "admin";
    return dlg;
}

TEST(ProgressDialogUpload, TheBarFollowsWhatTheCameraTookAndOnlyItsAnswerShowsTheWhole)
{
    vxtest::TempDir dir("vx-upload");
    std::string big = MakePackage(dir, "CAMXA1-N", "V19.2.0.1", 400000);
    const long long whole = AnnouncedLength(big);
    CamsimProcess cam({"--no-rtsp", "--reboot-seconds", "1"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    // The camera reads 100 kB a second: about four seconds for the package.
    ASSERT_FALSE(cam.fault("match=upgrade&rate=100000").empty());
    std::set<int> sharesWhileSending;
    std::vector<int> barWhileSending;
    long long readAtWhole = -1;
    vxw::test::SetModalDialogHook([&](CDialog& d) {
        for (int i = 0; i < 300; ++i) {
            vxw::PumpUntil([] { return false; }, 50);
            char buf[64] = {};
            d.GetDlgItemText(IDC_PROGRESS_SHARE, buf, sizeof buf);
            if (std::string(buf) == "100%") {
                readAtWhole = UpgradeBytes(cam);
                return;
            }
            if (buf[0])
                sharesWhileSending.insert(std::atoi(buf));
            barWhileSending.push_back(static_cast<int>(d.SendDlgItemMessage(IDC_PROGRESS_BAR, PBM_GETPOS)));
        }
    });
    CProgressDlg dlg(nullptr);
    ModalRun r = RunUpload(SetUpload(dlg, big, cam, 2));
    vxw::test::SetModalDialogHook(nullptr);
    EXPECT_EQ(r.result, IDOK);
    EXPECT_TRUE(dlg.m_strResult.IsEmpty());
    // The share moved through the middle while the camera read ...
    EXPECT_GE(
        std::count_if(sharesWhileSending.begin(), sharesWhileSending.end(), [](int s) { return s > 0 && s < 90; }), 3)
        << sharesWhileSending.size();
    ASSERT_FALSE(barWhileSending.empty());
    EXPECT_GT(*std::max_element(barWhileSending.begin(), barWhileSending.end()), 0);
    EXPECT_TRUE(std::is_sorted(barWhileSending.begin(), barWhileSending.end()));
    // ... and showed the whole only once the camera had it all.
    EXPECT_EQ(readAtWhole, whole);
}

TEST(ProgressDialogUpload, ACameraThatTricklesFailsAtTheUploadsDeadline)
{
    vxtest::TempDir dir("vx-upload");
    std::string big = MakePackage(dir, "CAMXA1-N", "V19.2.0.1", 400000);
    const long long whole = AnnouncedLength(big);
    CamsimProcess cam({"--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    // It keeps taking bytes (a window's worth every three seconds or so),
    // so it is never silent for the five seconds allowed here, but at 40 kB
    // a second it would need about ten: the deadline, made six seconds
    // here, comes first.
    ASSERT_FALSE(cam.fault("match=upgrade&rate=40000").empty());
    CProgressDlg dlg(nullptr);
    SetUpload(dlg, big, cam, 150);
    dlg.m_nUploadIdleMs = 5000;
    dlg.m_nUploadMinBytesPerSecond = whole / 6;
    ModalRun r = RunUpload(dlg);
    EXPECT_EQ(r.result, IDOK);
    EXPECT_EQ(dlg.m_strResult, "Error");
    EXPECT_GE(r.seconds, 5.8);
    EXPECT_LT(r.seconds, 9.5);
    EXPECT_LT(UpgradeBytes(cam), whole);
}

TEST(ProgressDialogUpload, ARefusedPackageEndsAtOnceWithError)
{
    vxtest::TempDir dir("vx-upload");
    std::string other = MakePackage(dir, "CAMXe", "V1");
    CamsimProcess cam({"--no-rtsp"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    CProgressDlg dlg(nullptr);
    dlg.m_bUpgrade = 1;
    dlg.SetTextId(IDS_PROGRESS_UPGRADE);
    dlg.SetDuration(150);
    dlg.m_strPath = other.c_str();
    dlg.m_strHost = "127.0.0.1";
    dlg.m_nPort = cam.httpPort();
    dlg.m_strUser = "admin";
    dlg.m_strPwd = "admin";
    ModalRun r = RunUpload(dlg);
    EXPECT_EQ(r.result, IDOK);
    EXPECT_EQ(dlg.m_strResult, "Error");
    EXPECT_LT(r.seconds, 10.0);
}

}  // namespace

int main(int argc, char** argv)
{
    return dialog_tests::Main(argc, argv);
}
