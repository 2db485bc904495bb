#pragma once
// What every settings page shares under CDlgTabItem: its owner (the settings
// window), whether a load has succeeded, the request in flight and the
// message boxes. A page loads when it is first shown and on "Refresh", and
// applies on its apply button; the camera calls run on the window's request
// worker, and the page learns the result from a posted message. "Refresh"
// and "Apply" stay disabled while a request is in flight, and "Apply" stays
// disabled until a load has succeeded: a page that never read the camera's
// settings never writes its template defaults over them.
//
// GUI thread only; the job it shares with the worker is read only after the
// worker posted that it is done.
//
// A message box runs a message loop, and the settings window may close in
// it (the camera removed, the program ending), freeing its pages. So a box
// is the last thing a page does, or the page goes on only when the box
// helpers below say it still exists; the handling of a finished request
// touches the page after JobDone only then.
//
// A camera that works a while before it answers (a test of entered
// settings) gets one GET under a countdown-only progress dialog: the call
// is a job of the same worker, the camera's answer ends the countdown, and
// a page closed meanwhile ends the dialog at once and leaves the job's end
// to the worker. The window's watchdog rests while the dialog runs, since
// its liveness check would wait behind the call on the camera's session.

#include "camera/dialogs/window/CRequestWorker.h"
#include "ui/controls/CDlgTabItem.h"

#include <memory>
#include <vector>

class CCameraSetupDlg;
class CProgressDlg;
class CWebWatchNB;

#define UM_PAGE_REQUEST_DONE (WM_APP + 120)
#define UM_PAGE_COUNTDOWN_DONE (WM_APP + 123)

class CSettingsPage : public CDlgTabItem {
public:
    CSettingsPage(UINT nTemplateId, UINT nLabelId, CCameraSetupDlg* pOwner, UINT nApplyId);

    bool IsLoaded() const { return m_bLoaded; }
    bool IsRequestPending() const { return m_job != nullptr; }
    // Loads again (the "Refresh" button).
    void Load();

protected:
    enum class Request { Load, Apply, Sync };

    // The page's own parts.
    virtual CString LoadPath() = 0;
    // Puts the values of a successful load reply into the controls.
    virtual void ShowLoaded(const CString& reply) = 0;
    // Checks the controls and makes the apply request; empty when the page
    // refused (it has shown why).
    virtual CString ApplyPath() = 0;
    // After a successful apply or sync; the default shows the success box.
    virtual void Applied(Request kind);
    // A page with requests of its own (tests, follow-up requests, replies
    // judged by their text) takes the finished job here first; true when it
    // handled it.
    virtual bool JobDone(Request kind, const RequestJob& job)
    {
        (void)kind;
        (void)job;
        return false;
    }
    // After a failed apply or sync; the default shows the apply failure box.
    virtual void Failed(Request kind);

    // Runs a request on the window's worker; false when one is in flight or
    // there is no camera object.
    bool StartRequest(Request kind, const CString& path, bool post, int nTimeoutMs);
    CWebWatchNB* Camera() const;
    void UpdateButtons();
    // The boxes; each is true when the page outlived it (see above).
    bool ShowError(UINT nTextId);
    bool ShowSuccess();
    bool ShowInfo(UINT nTextId);  // under the page's label
    // Asks yes or no; true for a yes to a page that still exists.
    bool Confirm(UINT nCaptionId, UINT nTextId);
    // For a page's own modal runs (progress dialogs, pickers): expired once
    // the page is gone.
    std::weak_ptr<int> LifeToken() const { return m_life; }
    // How a countdown request ended.
    enum class Countdown {
        NotStarted,  // no camera or no worker: nothing ran, the watchdog untouched
        Closed,      // the page went during the countdown: touch nothing
        Ended,       // result holds the reply's key, or -5 for no answer in time
    };
    // GETs path under a countdown of the given seconds with the text textId,
    // and reads the number under key from the reply.
    Countdown RunCountdownRequest(const CString& path, int seconds, UINT textId, const char* key, int& result);

    // Keeps both buttons disabled for good (a camera the page cannot serve).
    void SetInert()
    {
        m_bInert = true;
        UpdateButtons();
    }

    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnShowWindow() override;
    void OnRefresh();
    void OnApply();
    LRESULT OnRequestDone(WPARAM wParam, LPARAM lParam);
    LRESULT OnCountdownDone(WPARAM wParam, LPARAM lParam);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    CCameraSetupDlg* m_pOwner;
    UINT m_nLabelId;
    UINT m_nApplyId;
    // Further buttons that write to the camera: enabled as "Apply" is.
    std::vector<UINT> m_writeButtons;
    bool m_bLoaded = false;
    bool m_bInert = false;
    Request m_pending = Request::Load;
    std::shared_ptr<RequestJob> m_job;
    int m_nApplyTimeoutMs = 3000;
    int m_nLoadTimeoutMs = 3000;

private:
    std::shared_ptr<RequestJob> m_countdownJob;
    CProgressDlg* m_pCountdown = nullptr;  // while a countdown's dialog runs
    // Expires with the page; callers keep only weak copies.
    std::shared_ptr<int> m_life = std::make_shared<int>(0);
};
