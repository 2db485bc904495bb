// The progress dialog against camsim: a reply ends the countdown two ticks
// later, a failure gives -5, the countdown alone asks nothing, and the early
// ends join the worker before the dialog is gone.
#include "camera/dialogs/DialogTestMain.h"
#include "camera/dialogs/window/CProgressDlg.h"
#include "camera/session/CWebWatchNB.h"
#include "platform/ui/TestHooks.h"
#include "resources/vxcam/resource.h"
#include "support/CamsimProcess.h"
#include "support/TempDir.h"
#include "utility/vx_log.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point t0)
{
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

class Owner : public CWnd {
public:
    Owner() { CreateEx(0, "VxOwner", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr); }
    ~Owner() override { DestroyWindow(); }
};

// A camera logged in to camsim, with its request log.
class Camera {
public:
    explicit Camera(vxtest::TempDir& dir)
        : log(dir.file("requests.log")), cam({"--no-rtsp", "--log", log}),
          object(std::make_unique<CWebWatchNB>(0, 33, 0, nullptr))
    {
        STWatchCameraInfo info;
        info.strIP = "127.0.0.1";
        info.nHttpPort = cam.httpPort();
        info.nEntryType = WATCH_ENTRY_HOST;
        info.strUser = "admin";
        info.strPwd = "admin";
        object->SetCameraInfo(&info);
    }
    ~Camera() { object->Cleanup(); }
    bool Connect() { return cam.ok() && object->Connect() == 1; }
    int Requests(const std::string& text) const
    {
        std::ifstream in(log);
        std::string line;
        int n = 0;
        while (std::getline(in, line))
            n += line.find(text) != std::string::npos;
        return n;
    }
    std::string log;
    CamsimProcess cam;
    std::unique_ptr<CWebWatchNB> object;
};

const char kPath[] = "/cgi-bin/hi3510/param.cgi?cmd=getaudioinvolume";

struct ModalRun {
    INT_PTR result = 0;
    double seconds = 0;
};

ModalRun RunModal(CProgressDlg& dlg, const std::function<void(CDialog&)>& atStart = nullptr)
{
    vxw::test::SetModalDialogHook([&](CDialog& d) {
        if (atStart)
            atStart(d);
    });
    auto t0 = Clock::now();
    ModalRun r;
    r.result = dlg.DoModal();
    r.seconds = SecondsSince(t0);
    vxw::test::SetModalDialogHook(nullptr);
    return r;
}

TEST(ProgressDialog, RequestTimeOutLeavesTenSecondsButNeverLessThanOne)
{
    EXPECT_EQ(CProgressDlg::RequestTimeoutMs(40), 30000);
    EXPECT_EQ(CProgressDlg::RequestTimeoutMs(70), 60000);
    EXPECT_EQ(CProgressDlg::RequestTimeoutMs(10), 1000);
    EXPECT_EQ(CProgressDlg::RequestTimeoutMs(5), 1000);
    EXPECT_EQ(CProgressDlg::RequestTimeoutMs(0), 1000);
}

TEST(ProgressDialog, SetFilePathSplitsNameAndFolder)
{
    CProgressDlg dlg(nullptr);
    dlg.SetFilePath("/home/u/fw/pkg.bin");
    EXPECT_EQ(dlg.m_strPath, "/home/u/fw/pkg.bin");
    EXPECT_EQ(dlg.m_strFileName, "pkg.bin");
    EXPECT_EQ(dlg.m_strFolder, "/home/u/fw/");
    dlg.SetFilePath("C:\\fw\\pkg.bin");
    EXPECT_EQ(dlg.m_strFileName, "pkg.bin");
    EXPECT_EQ(dlg.m_strFolder, "C:\\fw\\");
    dlg.SetFilePath("pkg.bin");
    EXPECT_EQ(dlg.m_strFileName, "pkg.bin");
    EXPECT_EQ(dlg.m_strFolder, "");
}

TEST(ProgressDialog, AReplyAfterTwoSecondsEndsTheCountdownTwoTicksLater)
{
    vxtest::TempDir dir("vx-progress");
    Camera camera(dir);
    ASSERT_TRUE(camera.Connect()) << camera.cam.error();
    ASSERT_FALSE(camera.cam.fault("match=getaudioinvolume&delay=2000").empty());
    Owner owner;
    CProgressDlg dlg(&owner);
    dlg.SetTextId(IDS_PROGRESS_EMAIL);
    dlg.SetDuration(40);
    dlg.m_pCamera = camera.object.get();
    dlg.m_strPath = kPath;
    std::string text;
    bool ownerDisabled = false;
    int range = 0;
    ModalRun r = RunModal(dlg, [&](CDialog& d) {
        char buf[256] = {};
        d.GetDlgItemText(IDC_PROGRESS_TEXT, buf, sizeof buf);
        text = buf;
        ownerDisabled = !owner.IsWindowEnabled();
        range = static_cast<int>(d.SendDlgItemMessage(IDC_PROGRESS_BAR, PBM_GETRANGE, FALSE, 0));
        d.SendMessage(WM_COMMAND, IDOK);
        d.SendMessage(WM_COMMAND, IDCANCEL);
        d.SendMessage(WM_CLOSE);
    });
    EXPECT_EQ(r.result, IDOK);
    EXPECT_EQ(text, "Testing email, please wait ......");
    // Enter, Escape and the close box did not end it before the reply.
    EXPECT_TRUE(ownerDisabled) << "the dialog is owned by its caller's window";
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_EQ(range, 40);
    // A reply without the key reads 0; the request worked.
    EXPECT_EQ(dlg.m_nResult, 0);
    EXPECT_TRUE(dlg.m_strResult.IsEmpty());
    // Two seconds for the reply and two ticks, far from the 40 s budget.
    EXPECT_GE(r.seconds, 2.0);
    EXPECT_LT(r.seconds, 20.0);
    EXPECT_EQ(camera.Requests("getaudioinvolume"), 1);
}

TEST(ProgressDialog, AFailedRequestGivesMinusFive)
{
    vxtest::TempDir dir("vx-progress");
    Camera camera(dir);
    ASSERT_TRUE(camera.Connect()) << camera.cam.error();
    ASSERT_FALSE(camera.cam.fault("match=getaudioinvolume&error=500").empty());
    CProgressDlg dlg(nullptr);
    dlg.SetTextId(IDS_PROGRESS_WIRELESS);
    dlg.SetDuration(40);
    dlg.m_pCamera = camera.object.get();
    dlg.m_strPath = kPath;
    ModalRun r = RunModal(dlg);
    EXPECT_EQ(r.result, IDOK);
    EXPECT_EQ(dlg.m_nResult, -5);
    EXPECT_LT(r.seconds, 20.0);
}

TEST(ProgressDialog, TheUpnpCountdownAsksNothingAndEndsWhenUsedUp)
{
    vxtest::TempDir dir("vx-progress");
    Camera camera(dir);
    ASSERT_TRUE(camera.Connect()) << camera.cam.error();
    CProgressDlg dlg(nullptr);
    dlg.SetTextId(IDS_PROGRESS_UPNP);
    dlg.SetDuration(2);
    dlg.m_pCamera = camera.object.get();
    dlg.m_strPath = kPath;
    ModalRun r = RunModal(dlg);
    EXPECT_EQ(r.result, IDOK);
    EXPECT_GE(r.seconds, 2.0);
    EXPECT_LT(r.seconds, 15.0);
    EXPECT_EQ(camera.Requests("getaudioinvolume"), 0);
}

// The early ends: the worker still waits for the camera, and the dialog
// ends only once it has been joined (the sanitizer build checks the rest).
TEST(ProgressDialog, EarlyEndsMidRequestJoinTheWorker)
{
    vxtest::TempDir dir("vx-progress");
    Camera camera(dir);
    ASSERT_TRUE(camera.Connect()) << camera.cam.error();
    ASSERT_FALSE(camera.cam.fault("match=getaudioinvolume&delay=1500").empty());
    struct Case {
        UINT message;
        WPARAM wParam;
        INT_PTR result;
        const char* text;
    };
    const Case cases[] = {
        {UM_PROGRESS_END_OK, 0, IDOK, ""},
        {UM_PROGRESS_END_CANCEL, IDS_PROGRESS_FTP, IDCANCEL, "Testing FTP, please wait ......"},
        {UM_PROGRESS_END_CANCEL, IDS_UPGRADE_DONE, IDCANCEL, ""},
    };
    int asked = 0;
    for (const Case& c : cases) {
        CProgressDlg dlg(nullptr);
        dlg.SetTextId(IDS_PROGRESS_EMAIL);
        dlg.SetDuration(60);
        dlg.m_pCamera = camera.object.get();
        dlg.m_strPath = kPath;
        ModalRun r = RunModal(dlg, [&](CDialog& d) {
            // Once the camera has the request, and before it answers.
            vxw::PumpUntil([&] { return camera.Requests("getaudioinvolume") > asked; }, 10000);
            d.PostMessage(c.message, c.wParam);
        });
        ++asked;
        EXPECT_EQ(r.result, c.result);
        EXPECT_EQ(dlg.GetResultText(), c.text);
        // Joined: the request had ended, so its result is there.
        EXPECT_EQ(dlg.m_nResult, 0);
        EXPECT_LT(r.seconds, 20.0);
        EXPECT_EQ(camera.Requests("getaudioinvolume"), asked);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    return dialog_tests::Main(argc, argv);
}
