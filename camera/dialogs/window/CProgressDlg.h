#pragma once
// The modal wait dialog of the settings pages: one long camera operation
// runs on a worker while a one-second countdown moves the bar; the dialog
// ends when the countdown is used up. A CGI request (wireless, e-mail and
// FTP tests) shortens the wait by moving the bar near its end once the
// camera answered; a countdown alone (text id IDS_PROGRESS_UPNP) makes no
// request at all. In upload mode the worker sends a firmware package and the
// countdown starts once the transfer is over (the camera then writes its
// firmware and restarts). While the package goes out, the bar shows the
// share the camera took; it reaches its end only once the camera answered.
//
//   CProgressDlg dlg(this);            // owned by the page's top-level window
//   dlg.SetTextId(IDS_PROGRESS_WIRELESS);
//   dlg.SetDuration(40);
//   dlg.m_pCamera = Camera();
//   dlg.m_strPath = "/cgi-bin/hi3510/...";
//   dlg.DoModal();                     // then read dlg.m_nResult
//
// Enter and Escape never end it: the camera may be writing its firmware.
//
// Threads: the dialog, its bar and its timer belong to the GUI thread. The
// worker touches no window: it writes the result members, then posts
// UM_PROGRESS_* to the dialog, which moves the bar, starts the timer and
// shows the share sent.
// Every way out (countdown, WM_USER+101/102, destruction) stops and joins
// the worker first, so the result members are read only after the join.
// No lock; the stop flag is atomic.

#include "camera/dialogs/window/UploadFirmware.h"
#include "platform/platform.h"

#include <atomic>
#include <thread>

class CWebWatchNB;

#define UM_PROGRESS_DONE       (WM_APP + 130)  // wParam: 1 when the operation worked
#define UM_PROGRESS_SENT       (WM_APP + 131)  // wParam: the share (percent) the camera took
#define UM_PROGRESS_END_OK     (WM_USER + 101)
#define UM_PROGRESS_END_CANCEL (WM_USER + 102)  // wParam: a string id for the result text

class CProgressDlg : public CDialog {
public:
    explicit CProgressDlg(CWnd* pParent);
    ~CProgressDlg() override;

    void SetTextId(int nTextId) { m_nTextId = nTextId; }
    void SetDuration(int nSeconds) { m_nDuration = nSeconds; }
    // Keeps the path and splits it into the file's name and its folder (with
    // the final separator).
    void SetFilePath(const CString& strPath);
    CString GetResultText() const { return m_strResult; }
    INT_PTR DoModal() override;

    // The CGI request's time-out: the budget less ten seconds, never below
    // one second (a short budget must not mean "no time-out").
    static int RequestTimeoutMs(int nDurationSeconds);

    // ---- set by the caller before DoModal ----
    int m_nDuration = 240;  // seconds: the bar's range and the budget
    int m_nTextId = 0;      // 0 keeps the template's text
    CWebWatchNB* m_pCamera = nullptr;
    CString m_strPath;  // the CGI path, or the package in upload mode
    CString m_strHost;  // upload mode: dotted IPv4 address, HTTP port, account
    int m_nPort = 80;
    CString m_strUser;
    CString m_strPwd;
    int m_bUpgrade = 0;  // 1: upload mode
    // The caller runs the request on a worker of its own and posts
    // UM_PROGRESS_DONE when it ended: the dialog only counts down.
    bool m_bCallerRequest = false;
    // Upload mode: the longest silence of the camera, and the slowest camera
    // the upload's deadline allows for (tests shorten the one and raise the
    // other).
    int m_nUploadIdleMs = 60000;
    int64_t m_nUploadMinBytesPerSecond = UploadOptions().minBytesPerSecond;
    CString m_strFileName;  // SetFilePath's parts
    CString m_strFolder;
    // ---- results, read after DoModal ----
    int m_nResult = 0;    // the reply key's value; -5 when the request failed
    CString m_strResult;  // empty on success

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnTimer(UINT_PTR nIDEvent);
    LRESULT OnDone(WPARAM wParam, LPARAM lParam);
    LRESULT OnEndOk(WPARAM wParam, LPARAM lParam);
    LRESULT OnEndCancel(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void StartTimer();
    void RunCgi(HWND notify);
    void RunUpload(HWND notify);
    LRESULT OnSent(WPARAM wParam, LPARAM lParam);
    // Asks the worker to stop and waits for it.
    void StopWorker();
    void End(int nResult);

    std::thread m_worker;
    std::atomic<bool> m_bStop{false};
    bool m_bTimerSet = false;
};
