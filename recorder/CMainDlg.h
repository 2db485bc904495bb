#pragma once
// The main window of VXKST-HD: a modal, borderless, skinned dialog with the
// camera list, the fixed table of camera slots, the tray icon and the
// handlers of the messages that a second start forwards. Its features live
// in CMainDlg_*.cpp: creation, rows and slots, tray, registered messages,
// exit, the dialogs it opens.
//
// Threads: the window, its list and its controls belong to the GUI thread;
// only the GUI thread touches the list. The retention, status and disk
// threads (CMainDlg_Service.cpp) and one recording thread per started camera
// (CMainDlg_Record.cpp) reach the window only by PostMessage and by the
// queue and tables below; none of them waits for the GUI thread.
// Locks, in this order: m_csSlot (slot table, runs) before a camera's slot
// mutex (its run's schedule record and recording flags), before m_csHDD
// (drive table) and m_csRecordMsg (status queue); m_csPosted (the batches
// waiting for the GUI thread) is taken alone. m_bExit is an atomic polled by
// every thread.

#include "recorder/CMyBitmapButton.h"
#include "recorder/CameraRun.h"
#include "recorder/Records.h"

#include "platform/platform.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class CMainDlg : public CDialog {
public:
    static constexpr int MOTION_TIMER_BASE = 9101;
    static constexpr UINT MOTION_HOLD_MS = 15000;
    // How long a stop waits for a recording thread before it lets the run
    // end on its own (tests shorten it).
    static inline DWORD s_dwStopWaitMs = 10000;
    static constexpr UINT WM_TRAY_NOTIFY = 1234;
    static constexpr UINT TRAY_ICON_ID = 128;
    // A batch of status messages waits in m_arrPostedMsg.
    static constexpr UINT UM_RECORD_STATUS = WM_APP + 0x141;
    // Posted by OnInitDialog: the question about a crash of the last run,
    // asked once the window runs and its cameras record.
    static constexpr UINT UM_OFFER_CRASH_REPORT = WM_APP + 0x142;

    explicit CMainDlg(CWnd* pParent = nullptr);
    ~CMainDlg() override;

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // A slot for the record (the one of its camera, else the first free
    // one), with a new row when `row` is negative; -1 when no slot is left.
    int InsertCameraItem(const STIPCfgKst& record, int row);
    // Enables the buttons by the number of cameras; 1 at the camera limit.
    int UpdateButtons();
    // The drive table's entry of a record folder ("-" while unknown).
    STHDDFreeSpace GetDriveInfo(const CString& path);

    // Camera commands (CMainDlg_Commands.cpp). Rows without a camera, slots
    // outside the table and running cameras (start) are left alone.
    int DoStartCamera(int row);
    int DoStopCamera(int row);
    void DoStopAll();
    // Add (cameraId -1, row -1) or edit a camera through the camera dialog.
    void EditCamera(int cameraId, int row);
    void DeleteCamera(int row);
    // After the schedules were saved: every slot that holds a camera reads
    // its schedule again; running threads take it at their next check.
    void ReloadSchedules();

    // Status queue and drives (CMainDlg_Service.cpp); any thread.
    void PostRecordMsg(int cameraId, int code, const CString& text);
    static uint64_t GetDiskFreeBytes(const CString& root);
    // Measures every drive that holds a record folder and shows it.
    void RefreshDriveTable();

    // Recording (CMainDlg_Record.cpp). DoMotionRecord runs on the GUI thread.
    int DoMotionRecord(STIPCfgKst* slot);
    static int ConnectServer(STIPCfgKst* slot);
    // The record of a running camera's run (null when it is not running).
    const STIPCfgKst* RunRecord(int slot) const;

    // Told every status the list applies, in order (tests watch it: the list
    // itself shows only the last of a batch).
    std::function<void(const STRecordMsg&)> m_fnStatusApplied;

    // The exit question (341 with running cameras, else 327); on Yes the
    // exit runs and the dialog ends.
    void AskExit();
    void DoExit();

    // Whether the window sits in the tray now.
    BOOL IsInTray() const { return m_bInTray; }
    BOOL IsExiting() const { return m_bExit.load(); }
    // The slot of a list row, or -1.
    int SlotOfRow(int row);
    const STIPCfgKst& Slot(int index) const { return m_arrSlot[index]; }
    CListCtrl& List() { return m_listCamera; }
    CMyBitmapButton& Button(int id);
    int GetSelItem() const { return m_nSelItem; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnSize(UINT nType, int cx, int cy);
    LRESULT OnInstanceMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnExitMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnEndSession(WPARAM wParam, LPARAM lParam);
    void OnBtnMin();
    void OnBtnExit();
    void OnListRClick(NMHDR* pNMHDR, LRESULT* pResult);
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    void OnMenuRestore();
    void OnMenuExit();
    void OnMenuAbout();
    void OnBtnAddCamera();
    void OnMenuEditCamera();
    void OnMenuDeleteCamera();
    void OnBtnDeleteAll();
    void OnMenuStartCamera();
    void OnMenuStopCamera();
    void OnBtnStartAll();
    void OnBtnStopAll();
    // The dialogs (CMainDlg_Dialogs.cpp).
    void OnBtnSysParam();
    void OnBtnRecSchedule();
    void OnBtnRecQuery();
    LRESULT OnStartRecMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnStopRecMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnMotionDetected(WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnRecordStatus(WPARAM wParam, LPARAM lParam);
    LRESULT OnOfferCrashReport(WPARAM wParam, LPARAM lParam);
    void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()

private:
    void InitControls();
    // The exit that nobody confirms (a second start's "-exit", the end of
    // the session): every dialog, box and menu open over the window ends
    // first, then the exit runs and the dialog ends.
    void ExitUnasked(const char* why);
    void SetUpButton(CMyBitmapButton& button, const struct STSkinElement& skin, UINT tipId);
    void WriteRowColumns(int row, const STIPCfgKst& slot);
    void LeaveTray();
    bool AnyCameraRunning();
    void StartServiceThreads();
    void StopServiceThreads();
    void ApplyStatus(const STRecordMsg& msg);
    void PostFreeSpaceMsgs();
    // Releases a run whose thread has ended: object, mutex, events, thread.
    void FinishRun(STCameraRun& run);
    // Finishes the let-go runs whose threads have ended; with `wait`, waits
    // for all of them.
    void ReapEndingRuns(bool wait);
    void SetRunStop(STCameraRun& run);
    static DWORD WINAPI DoCleanOldRecords(LPVOID window);
    static DWORD WINAPI DoUpdateStatus(LPVOID window);
    static DWORD WINAPI DoCheckDiskSpace(LPVOID window);
    static DWORD WINAPI DoRecord(LPVOID run);
    void RecordLoop(STCameraRun& run);

    CMyBitmapButton m_btnMin;
    CMyBitmapButton m_btnMax;
    CMyBitmapButton m_btnExit;
    CMyBitmapButton m_btnSysParam;
    CMyBitmapButton m_btnAddCamera;
    CMyBitmapButton m_btnRecSchedule;
    CMyBitmapButton m_btnRecQuery;
    CMyBitmapButton m_btnStartAll;
    CMyBitmapButton m_btnStopAll;
    CMyBitmapButton m_btnDeleteAll;
    CListCtrl m_listCamera;

public:
    HICON m_hIcon = nullptr;

private:
    NOTIFYICONDATA m_nid{};
    CBitmap m_bmpBack;
    int m_nCameraCount = 0;
    int m_nSelItem = -1;
    CImageList m_imgList;
    std::atomic<BOOL> m_bExit{FALSE};
    STIPCfgKst m_arrSlot[MAX_CAMERA];
    CRITICAL_SECTION m_csRecordMsg;
    CArray<STRecordMsg> m_arrRecordMsg;
    HANDLE m_hStatusThread = nullptr;
    CRITICAL_SECTION m_csHDD;
    CArray<STHDDFreeSpace> m_arrHDDFreeSpace;
    HANDLE m_hDiskThread = nullptr;
    CRITICAL_SECTION m_csSlot;
    HANDLE m_hCleanThread = nullptr;
    BOOL m_bInTray = FALSE;
    BOOL m_bLocksReady = FALSE;
    // Set at exit: wakes the service threads' waits.
    HANDLE m_hServiceStop = nullptr;
    // The run of each running slot (under m_csSlot) and the runs let go by a
    // stop that timed out (GUI thread only).
    std::shared_ptr<STCameraRun> m_arrRun[MAX_CAMERA];
    std::vector<std::shared_ptr<STCameraRun>> m_vecEnding;
    // Batches of the status thread for the GUI thread; one post while any wait.
    CRITICAL_SECTION m_csPosted;
    CArray<STRecordMsg> m_arrPostedMsg;
    BOOL m_bStatusPosted = FALSE;
};
