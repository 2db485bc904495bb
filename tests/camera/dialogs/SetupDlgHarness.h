#pragma once
// A settings window connected to its own camsim, for the page tests: message
// boxes answered at once and kept, the request log at hand, pages found by
// category and index and driven through their controls.
#include "camera/dialogs/CCameraSetupDlg.h"
#include "camera/dialogs/CSettingsPage.h"
#include "camera/dialogs/vxcam_interface.h"
#include "platform/ui/ShellTestHooks.h"
#include "resources/vxcam/resource.h"
#include "support/CamsimProcess.h"

#include <gtest/gtest.h>

#include <cstdio>
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

class Owner : public CWnd {
public:
    Owner() { CreateEx(0, "VxOwner", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr); }
    ~Owner() override { DestroyWindow(); }
};

template <class Page>
Page* PageAt(CCameraSetupDlg* dlg, int category, int index)
{
    CDlgConfigurationSettings* c = dlg->m_tabCategories.GetCategory(category);
    return c ? static_cast<Page*>(c->m_tabCtrl.GetPage(index)) : nullptr;
}

inline bool Loaded(CSettingsPage* page)
{
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

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A connected window on its own camsim with a request log.
struct Fixture {
    explicit Fixture(std::vector<std::string> args, const char* fault = nullptr)
        : log(LogPath()), cam([&] {
              args.insert(args.end(), {"--no-rtsp", "--log", log});
              return args;
          }())
    {
        if (!cam.ok())
            return;
        if (fault)
            cam.fault(fault);
        Open();
    }
    ~Fixture() { Close(); }

    void Open()
    {
        info.strIP = "127.0.0.1";
        info.nHttpPort = cam.httpPort();
        info.nMediaPort = cam.rtspPort();
        info.nEntryType = WATCH_ENTRY_HOST;
        info.strName = "camsim";
        info.strUser = "admin";
        info.strPwd = "admin";
        vxcam_interface::ShowDialog(0, owner.GetSafeHwnd(), &info, 0, "", "", 0);
        HWND h = FindWindow(nullptr, "Camera Properties");
        dlg = h ? static_cast<CCameraSetupDlg*>(CWnd::FromHandlePermanent(h)) : nullptr;
        connected = dlg && WaitFor([&] { return ItemText(dlg, IDC_SETUP_STATUS) == "Connected"; });
    }
    void Close()
    {
        if (!dlg || !::IsWindow(dlg->GetSafeHwnd()))
            return;
        HWND h = dlg->GetSafeHwnd();
        dlg->PostMessage(WM_CLOSE);
        EXPECT_TRUE(WaitFor([&] { return !::IsWindow(h); }, 30000)) << "the window stays";
        dlg = nullptr;
    }
    std::string Log() const { return ReadFile(log); }

    static std::string LogPath()
    {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& ch : name) {
            if (ch == '/')
                ch = '_';
        }
        std::string path = std::string(VX_BIN_DIR) + "/alarmpages-" + name + ".log";
        std::remove(path.c_str());
        return path;
    }

    std::string log;
    CamsimProcess cam;
    Owner owner;
    Boxes boxes;
    STWatchCameraInfo info;
    CCameraSetupDlg* dlg = nullptr;
    bool connected = false;
};

}  // namespace setup_harness
