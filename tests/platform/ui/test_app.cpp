// The application object: the program's main runs InitInstance, the loop
// until PostQuitMessage, then ExitInstance, whose result is the exit code.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT UM_PING = WM_USER + 5;

class MainWnd : public CWnd {
public:
    int pings = 0;

protected:
    LRESULT OnPing(WPARAM, LPARAM)
    {
        ++pings;
        ::PostQuitMessage(7);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MainWnd, CWnd)
ON_MESSAGE(UM_PING, OnPing)
END_MESSAGE_MAP()

class TestApp : public CWinApp {
public:
    TestApp() : CWinApp("TestApp") {}
    MainWnd wnd;
    std::string cmdLine;
    std::vector<UINT> preTranslated;
    bool exited = false;

    BOOL InitInstance() override
    {
        cmdLine = m_lpCmdLine;
        if (!wnd.CreateEx(0, "VxMain", "main", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr))
            return FALSE;
        m_pMainWnd = &wnd;
        wnd.PostMessage(UM_PING);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        preTranslated.push_back(pMsg->message);
        return CWinApp::PreTranslateMessage(pMsg);
    }
    int ExitInstance() override
    {
        exited = true;
        wnd.DestroyWindow();
        return CWinApp::ExitInstance();
    }
};

TEST(App, RunsInitInstanceTheLoopAndExitInstance)
{
    TestApp app;
    EXPECT_EQ(AfxGetApp(), &app);
    std::string a0 = "vxtest", a1 = "--minimized", a2 = "x y";
    char* argv[] = {a0.data(), a1.data(), a2.data()};
    EXPECT_EQ(AfxWinMain(3, argv), 7);
    EXPECT_EQ(app.cmdLine, "--minimized x y");
    EXPECT_EQ(app.wnd.pings, 1);
    EXPECT_TRUE(app.exited);
    // Posted messages pass the application's pre-translation first.
    EXPECT_NE(std::find(app.preTranslated.begin(), app.preTranslated.end(), UM_PING), app.preTranslated.end());
}

}  // namespace
