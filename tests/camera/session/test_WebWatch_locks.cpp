// The camera object's lock rule: what the GUI thread does for display and
// recording never waits for a call that waits on the camera. Each lock is
// held on a helper thread (as a connect, a request or a stream open would
// hold it) while the GUI thread calls the operations; every operation that
// the header does not say takes that lock must return while it is held.
#include "WebWatchTestSupport.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

using namespace wwtest;

namespace {

enum class Lock { State, Player, Session, Text };

const char* NameOf(Lock l)
{
    switch (l) {
    case Lock::State:
        return "state lock";
    case Lock::Player:
        return "player lock";
    case Lock::Session:
        return "session lock";
    case Lock::Text:
        return "text lock";
    }
    return "?";
}

// Holds one of the camera's locks on a thread of its own until Release, or
// for at most 10 s (then `expired` tells that the holder had to give up).
class Holder {
public:
    Holder(CWebWatchNB& camera, Lock lock) : m_camera(camera), m_lock(lock)
    {
        m_thread = std::thread([this] {
            Take();
            m_held = true;
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (!m_release && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            expired = !m_release.load();
            Give();
        });
        while (!m_held)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~Holder() { Release(); }
    void Release()
    {
        m_release = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    std::atomic<bool> expired{false};

private:
    void Take()
    {
        switch (m_lock) {
        case Lock::State:
            WaitForSingleObject(m_camera.m_hStateLock, INFINITE);
            break;
        case Lock::Player:
            EnterCriticalSection(&m_camera.m_csPlayer);
            break;
        case Lock::Session:
            EnterCriticalSection(&m_camera.m_csSession);
            break;
        case Lock::Text:
            EnterCriticalSection(&m_camera.m_csText);
            break;
        }
    }
    void Give()
    {
        switch (m_lock) {
        case Lock::State:
            ReleaseMutex(m_camera.m_hStateLock);
            break;
        case Lock::Player:
            LeaveCriticalSection(&m_camera.m_csPlayer);
            break;
        case Lock::Session:
            LeaveCriticalSection(&m_camera.m_csSession);
            break;
        case Lock::Text:
            LeaveCriticalSection(&m_camera.m_csText);
            break;
        }
    }
    CWebWatchNB& m_camera;
    Lock m_lock;
    std::thread m_thread;
    std::atomic<bool> m_held{false}, m_release{false};
};

struct Op {
    const char* name;
    std::function<void()> run;
    std::vector<Lock> takes;  // the locks it may wait for
};

TEST(WebWatchLocks, EveryOperationReturnsWhileALockItDoesNotTakeIsHeld)
{
    CamsimProcess cam({"--family", "HX"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    STWatchCameraInfo info = CamsimRecord(cam);
    ParentWindow parent;
    CWebWatchNB camera(1, 6, 0, &parent);
    camera.SetCameraInfo(&info);
    ASSERT_TRUE(camera.Create(nullptr, "camera", WS_CHILD | WS_VISIBLE, CRect(0, 0, 160, 120), &parent, 1006));
    ASSERT_EQ(camera.Connect(), 1);
    ASSERT_EQ(camera.StartPlay(), 1);
    ASSERT_TRUE(WaitFor([&] { return parent.Count(UM_VX_CAMERA_VIDEO_VOUT) >= 1; }, 20000));
    const std::string dir = TempDir("locks");
    camera.SetRecordPath((dir + "/").c_str());
    const HWND self = camera.GetSafeHwnd();

    using L = Lock;
    const std::vector<Op> ops = {
        {"SetFlip", [&] { camera.SetFlip(); }, {L::Player}},
        {"SetMirror", [&] { camera.SetMirror(); }, {L::Player}},
        {"SetExactFit()", [&] { camera.SetExactFit(); }, {L::Player}},
        {"SetExactFit(0)", [&] { camera.SetExactFit(0); }, {L::Player}},
        {"SetExactFit(1)", [&] { camera.SetExactFit(1); }, {L::Player}},
        {"SetTransform", [&] { camera.SetTransform(); }, {L::Player}},
        {"SetShowBitRate(1)", [&] { camera.SetShowBitRate(1); }, {L::Player}},
        {"SetShowBitRate(0)", [&] { camera.SetShowBitRate(0); }, {L::Player}},
        {"SetAudio(1)", [&] { camera.SetAudio(1); }, {L::Player}},
        {"SetAudio(0)", [&] { camera.SetAudio(0); }, {L::Player}},
        {"MoveWindow", [&] { camera.MoveWindow(0, 0, 150 + rand() % 20, 110); }, {L::Player}},
        {"first-picture message", [&] { ::SendMessage(self, UM_VX_CAMERA_VIDEO_VOUT, UM_VX_CAMERA_VIDEO_VOUT, 0); },
         {L::Player}},
        {"Snapshot", [&] { camera.Snapshot(1, dir.c_str(), 0); }, {L::Player, L::Text}},
        {"StartRecord", [&] { camera.StartRecord(1); }, {L::Player, L::Text}},
        {"StopRecord", [&] { camera.StopRecord(); }, {L::Player}},
        {"SetMic(1)", [&] { camera.SetMic(1); }, {}},
        {"SetMic(0)", [&] { camera.SetMic(0); }, {}},
        {"domeControl", [&] { camera.domeControl(2, 50, 0); }, {}},
        {"DrawAlarm", [&] { camera.DrawAlarm(); }, {}},
        {"questions",
         [&] {
             camera.IsLogin();
             camera.IsPlaying();
             camera.IsRecording();
             camera.IsExactFit();
             camera.IsShowBitrate();
             camera.IsMotionDetected();
             camera.GetChipType();
             camera.GetUseIPForP2P();
         },
         {}},
        {"GetLastRecordFile", [&] { camera.GetLastRecordFile(); }, {L::Text}},
        {"SetRecordPath", [&] { camera.SetRecordPath((dir + "/").c_str()); }, {L::Text}},
        {"GetModelVersion", [&] { camera.GetModelVersion(); }, {L::Text}},
        {"TestConnection", [&] { camera.TestConnection(); }, {L::Session}},
        {"GetCgi", [&] {
             CString reply;
             camera.GetCgi("/web.ini", reply, 3000);
         },
         {L::Session}},
        {"GetCameraTime", [&] {
             COleDateTime t;
             camera.GetCameraTime(t);
         },
         {L::Session}},
    };
    for (Lock lock : {Lock::State, Lock::Player, Lock::Session, Lock::Text}) {
        for (const Op& op : ops) {
            if (std::find(op.takes.begin(), op.takes.end(), lock) != op.takes.end())
                continue;
            Holder holder(camera, lock);
            op.run();  // on the GUI thread
            const bool returnedWhileHeld = !holder.expired.load();
            holder.Release();
            EXPECT_TRUE(returnedWhileHeld) << op.name << " waited for the " << NameOf(lock);
        }
    }
    // The object still works after all of it.
    EXPECT_EQ(camera.IsPlaying(), 1);
    camera.Cleanup();
    camera.DestroyWindow();
}

// A camera that takes 3 s for every answer: while the reconnect sequence's
// Connect waits on it (holding its state lock), every display and recording
// call of the GUI thread returns, before Connect does.
TEST(WebWatchLocks, GuiCallsReturnWhileConnectWaitsOnASlowCamera)
{
    CamsimProcess cam({"--family", "HX", "--delay-ms", "3000"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    STWatchCameraInfo info = CamsimRecord(cam);
    ParentWindow parent;
    auto camera = std::make_unique<CWebWatchNB>(1, 8, 0, &parent);
    camera->SetCameraInfo(&info);
    ASSERT_TRUE(camera->Create(nullptr, "camera", WS_CHILD | WS_VISIBLE, CRect(0, 0, 160, 120), &parent, 1008));
    const std::string dir = TempDir("slowconnect");

    std::atomic<bool> connectDone{false};
    std::thread connecting([&] {
        camera->Connect();
        connectDone = true;
    });
    // Connect holds the state lock from its start to its end.
    ASSERT_TRUE(WaitFor([&] {
        if (WaitForSingleObject(camera->m_hStateLock, 0) == WAIT_OBJECT_0) {
            ReleaseMutex(camera->m_hStateLock);
            return false;
        }
        return true;
    }, 5000));
    camera->SetFlip();
    camera->SetMirror();
    camera->SetExactFit();
    camera->SetExactFit(0);
    camera->SetTransform();
    camera->SetShowBitRate(1);
    camera->SetShowBitRate();
    camera->SetAudio(1);
    camera->SetMic(1);
    camera->SetMic();
    camera->Snapshot(1, dir.c_str(), 0);
    camera->GetLastRecordFile();
    camera->StartRecord(1);
    camera->MoveWindow(0, 0, 200, 150);
    camera->PostMessage(UM_VX_CAMERA_VIDEO_VOUT, UM_VX_CAMERA_VIDEO_VOUT, 0);
    const bool handled = WaitFor([&] { return parent.Count(UM_VX_CAMERA_VIDEO_VOUT) >= 1 || connectDone; }, 10000);
    EXPECT_TRUE(handled);
    EXPECT_FALSE(connectDone.load()) << "a GUI call waited for the connect";
    connecting.join();
    camera->DestroyWindow();
}

}  // namespace

WEBWATCH_TEST_MAIN()
