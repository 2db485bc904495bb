#pragma once
// "Camera Properties": the modeless settings window of one camera. It owns a
// windowless camera object that connects to the camera and carries every
// request of the pages, shows the camera's address, name, connection status
// and clock, keeps the link alive with a watchdog and hosts the category tabs.
// It deletes itself after it closed.
//
// Threads: the window and everything it shows belong to the GUI thread. The
// connect thread (Cleanup and Connect) and the clock thread (GetCameraTime)
// only post plain values to the window (UM_SETUP_*); the request worker runs
// the pages' requests and the watchdog's connection test; the exit thread
// waits for all of them, deletes the camera object and asks the window to
// destroy itself. Flags shared with those threads are atomics; the window
// takes no lock of its own.

#include "camera/dialogs/window/CDlgCameraSetupTabCtrl.h"
#include "camera/dialogs/window/CRequestWorker.h"
#include "camera/session/STWatchCameraInfo.h"
#include "platform/platform.h"

#include <atomic>
#include <memory>

class CWebWatchNB;

// Messages of the window's own threads.
#define UM_SETUP_STATUS       (WM_APP + 101)  // wParam: status string id
#define UM_SETUP_CONNECTED    (WM_APP + 102)  // the connect thread logged in
#define UM_SETUP_CLOCK        (WM_APP + 103)  // the clock value changed
#define UM_SETUP_WATCHDOG     (WM_APP + 104)  // wParam: the connection test's result
#define UM_SETUP_DESTROY      (WM_APP + 105)  // the exit thread is done: destroy
#define UM_SETUP_CONNECT_DONE (WM_APP + 106)  // the connect thread ended

class CCameraSetupDlg : public CDialog {
public:
    explicit CCameraSetupDlg(CWnd* pParent = nullptr);
    ~CCameraSetupDlg() override;

    // The camera object every page sends its requests through; null before
    // OnInitDialog and after the exit thread deleted it.
    CWebWatchNB* Camera() const { return m_pCamera; }
    CRequestWorker& Worker() { return *m_worker; }
    // The watchdog timer, which long page operations stop and start again.
    void StopWatchdog();
    void StartWatchdog();
    bool IsConnected() const { return m_bConnected.load(); }
    // The login the window connects with changed (User Accounts): keep the
    // new one and connect again with it.
    void LoginChanged(const CString& strUser, const CString& strPassword);
    const STWatchCameraInfo& CameraInfo() const { return m_stCameraInfo; }
    // Swallows Enter, Escape and Space for the window and its pages.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // ---- members, in the order of their meaning ----
    CDlgCameraSetupTabCtrl m_tabCategories;
    HANDLE m_hConnectThread = nullptr;            // GUI thread writes; the exit thread waits on it
    std::atomic<HANDLE> m_hClockThread{nullptr};  // the connect thread waits on it too
    std::atomic<int> m_bExiting{0};
    std::atomic<int> m_bClockRunning{0};
    std::atomic<int> m_bConnectBusy{0};
    int m_bTimerSet = 0;         // GUI thread only
    int m_bCategoriesShown = 0;  // GUI thread only
    std::atomic<int> m_bConnected{0};
    CWebWatchNB* m_pCamera = nullptr;
    int m_nIndex = 0;
    // The clock as a DATE, so the clock thread and the window share it
    // without a lock.
    std::atomic<double> m_dtClock;
    std::atomic<int> m_bTimeKnown{0};
    STWatchCameraInfo m_stCameraInfo;
    HWND m_hOwner = nullptr;
    int m_bP2P = 0;
    CString m_strServer;
    CString m_strServer2;
    int m_nServerPort = 0;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void PostNcDestroy() override;

    void OnTimer(UINT_PTR nIDEvent);
    void OnClose();
    void OnDestroy();
    LRESULT OnGetDownloadPath(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetDownloadPath(WPARAM wParam, LPARAM lParam);
    LRESULT OnStatus(WPARAM wParam, LPARAM lParam);
    LRESULT OnConnected(WPARAM wParam, LPARAM lParam);
    LRESULT OnClock(WPARAM wParam, LPARAM lParam);
    LRESULT OnWatchdog(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroyRequest(WPARAM wParam, LPARAM lParam);
    LRESULT OnConnectDone(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // CCameraSetupDlg_Threads.cpp
    void StartConnectThread();
    void StartClockThread();
    void StartExitThread();
    static DWORD WINAPI ConnectThreadProc(LPVOID p);
    static DWORD WINAPI ClockThreadProc(LPVOID p);
    static DWORD WINAPI ExitThreadProc(LPVOID p);
    void StartPlay();
    void GetTimeThread();
    void DoExitThread();
    void DoExit();
    void ShowCategories();
    void OpenCameraPage();

    std::unique_ptr<CRequestWorker> m_worker;
    std::shared_ptr<RequestJob> m_watchdogJob;  // the pending connection test
    HANDLE m_hExitThread = nullptr;
    // The login changed: the connect thread gives the camera object the new
    // one between its Cleanup and Connect.
    std::atomic<int> m_bLoginChanged{0};
};
