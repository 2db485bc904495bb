#pragma once
// A settings window connected to its own camsim, for the page tests: message
// boxes answered at once and kept, the request log at hand, pages found by
// category and index and driven through their controls. Everything here runs
// on the test's thread, which is the GUI thread.
#include "camera/dialogs/vxcam_interface.h"
#include "camera/dialogs/window/CCameraSetupDlg.h"
#include "camera/dialogs/window/CSettingsPage.h"
#include "camera/session/CameraMessages.h"
#include "platform/ui/ShellTestHooks.h"
#include "resources/vxcam/resource.h"
#include "support/CamsimProcess.h"
#include "support/CamsimRecord.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace setup_harness {

constexpr DWORD kWait = 20000;  // generous: the machine is shared

inline bool WaitFor(const std::function<bool()>& cond, DWORD ms = kWait)
{
    return vxw::PumpUntil(cond, ms);
}

inline std::string ItemText(CWnd* w, int id)
{
    char buf[512] = {};
    w->GetDlgItemText(id, buf, sizeof buf);
    return buf;
}

class Boxes {
public:
    Boxes()
    {
        vxw::test::SetMessageBoxHook([this](const vxw::test::MessageBoxCall& c) {
            calls.push_back(c);
            return answer;
        });
    }
    ~Boxes() { vxw::test::SetMessageBoxHook(nullptr); }
    vxw::test::MessageBoxCall Next()
    {
        size_t want = seen + 1;
        WaitFor([&] { return calls.size() >= want; });
        if (calls.size() < want)
            return {nullptr, "(no box)", "(no box)", 0};
        seen = want;
        return calls[want - 1];
    }
    std::vector<vxw::test::MessageBoxCall> calls;
    size_t seen = 0;
    int answer = IDOK;
};

// The host window. Given a folder, it tells the settings window that
// downloads go there, as the host program does.
class Owner : public CWnd {
public:
    explicit Owner(std::string downloads = {}) : m_downloads(std::move(downloads))
    {
        CreateEx(0, "VxOwner", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr);
    }
    ~Owner() override { DestroyWindow(); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == UM_VX_GET_DOWNLOAD_PATH && lParam && !m_downloads.empty()) {
            std::snprintf(reinterpret_cast<char*>(lParam), 260, "%s", m_downloads.c_str());
            return 1;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    std::string m_downloads;
};

using vxtest::CamsimRecord;

// Opens the settings window as the host does; the window, or null.
inline CCameraSetupDlg* ShowSetupDlg(HWND owner, STWatchCameraInfo& info)
{
    vxcam_interface::ShowDialog(0, owner, &info, 0, "", "", 0);
    HWND h = FindWindow(nullptr, "Camera Properties");
    return h ? static_cast<CCameraSetupDlg*>(CWnd::FromHandlePermanent(h)) : nullptr;
}

inline bool Connected(CCameraSetupDlg* dlg)
{
    return ItemText(dlg, IDC_SETUP_STATUS) == "Connected";
}

// Closes the window as its close box does and waits until it is gone; its
// owner, when given, must be usable again.
inline void CloseSetupDlg(CCameraSetupDlg* dlg, HWND owner = nullptr)
{
    HWND h = dlg->GetSafeHwnd();
    dlg->PostMessage(WM_CLOSE);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(h); }, 30000)) << "the window stays";
    if (owner) {
        EXPECT_TRUE(::IsWindowEnabled(owner)) << "the owner stays disabled";
    }
}

template <class Page>
Page* PageAt(CCameraSetupDlg* dlg, int category, int index)
{
    CDlgConfigurationSettings* c = dlg->m_tabCategories.GetCategory(category);
    return c ? static_cast<Page*>(c->m_tabCtrl.GetPage(index)) : nullptr;
}

// Shows the page (its first showing loads it) and waits for the load.
inline bool Loaded(CSettingsPage* page)
{
    if (!page)
        return false;
    page->ShowWindow(SW_SHOW);
    return WaitFor([&] { return page->IsLoaded() && !page->IsRequestPending(); });
}

inline bool Idle(CSettingsPage* page)
{
    return WaitFor([&] { return !page->IsRequestPending(); });
}

inline void Click(CWnd* page, int id)
{
    CWnd* button = page->GetDlgItem(id);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->IsWindowEnabled()) << "button " << id << " is disabled";
    page->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button->GetSafeHwnd()));
}

// Selects a combo item the way a user does: the page hears CBN_SELCHANGE.
inline void Choose(CWnd* page, int id, int index)
{
    CWnd* combo = page->GetDlgItem(id);
    ASSERT_NE(combo, nullptr);
    combo->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index));
    page->SendMessage(WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo->GetSafeHwnd()));
}

// Checks or unchecks a box the way a click does.
inline void Tick(CWnd* page, int id, bool on)
{
    CWnd* box = page->GetDlgItem(id);
    ASSERT_NE(box, nullptr);
    page->CheckDlgButton(id, on ? BST_CHECKED : BST_UNCHECKED);
    page->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(box->GetSafeHwnd()));
}

// The threads this process runs now, but for the idle workers of the
// toolkit's own pool (they scale pictures and end by themselves).
inline int ThreadCount()
{
    int n = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        std::getline(comm, name);
        if (name != "Thread (pooled)")
            ++n;
    }
    return n;
}

// The threads this process runs, named, one a line.
inline std::string ThreadNames()
{
    std::string names;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        std::getline(comm, name);
        names += name + "\n";
    }
    return names;
}

// The threads of a window just gone may still be on their way out.
inline bool ThreadsBackTo(int most)
{
    return WaitFor([&] { return ThreadCount() <= most; }, 10000);
}

using vxtest::ReadFile;

// How a Fixture starts, beyond camsim's arguments.
struct Setup {
    const char* fault = nullptr;     // a camsim fault set before the window opens
    const char* password = "admin";  // the account's password the window is given
    bool open = true;                // false: the test prepares camsim, then calls Open
};

// A settings window on its own camsim with a request log, opened at once
// unless the setup says otherwise, and reopened by Open.
struct Fixture {
    explicit Fixture(std::vector<std::string> args, const char* fault = nullptr)
        : Fixture(std::move(args), Setup{fault})
    {}
    Fixture(std::vector<std::string> args, const Setup& setup)
        : log(logDir.file("camsim.log")), cam([&] {
              args.insert(args.end(), {"--no-rtsp", "--log", log});
              return args;
          }()),
          password(setup.password)
    {
        if (!cam.ok())
            return;
        if (setup.fault)
            cam.fault(setup.fault);
        if (setup.open)
            Open();
    }
    ~Fixture() { Close(); }

    // True once the window shows it is connected.
    bool Open()
    {
        info = CamsimRecord(cam, "admin", password);
        dlg = ShowSetupDlg(owner.GetSafeHwnd(), info);
        connected = dlg && WaitFor([&] { return Connected(dlg); });
        return connected;
    }
    void Close()
    {
        if (!dlg || !::IsWindow(dlg->GetSafeHwnd()))
            return;
        CloseSetupDlg(dlg, owner.GetSafeHwnd());
        dlg = nullptr;
    }
    std::string Log() const { return ReadFile(log); }

    // camsim's request log, in a folder of the fixture's own that goes with it
    // (after camsim, which is declared later and so ends first).
    vxtest::TempDir logDir{"vx-setup"};
    std::string log;
    CamsimProcess cam;
    const char* password;
    Owner owner;
    Boxes boxes;
    STWatchCameraInfo info;
    CCameraSetupDlg* dlg = nullptr;
    bool connected = false;
};

}  // namespace setup_harness
