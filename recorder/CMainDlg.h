#pragma once
// The main window of VXKST-HD: a modal, borderless, skinned dialog with the
// camera list, the fixed table of camera slots, the tray icon and the
// handlers of the messages that a second start forwards. Its features live
// in CMainDlg_*.cpp: creation, rows and slots, tray, registered messages,
// exit.
//
// Threads: the window, its list and its controls belong to the GUI thread;
// only the GUI thread touches the list. Other threads reach the window only
// by PostMessage. Locks: m_csSlot guards the slot table; m_csHDD the drive
// table, m_csRecordMsg the status queue. m_csSlot may be held while either
// of the other two is taken, never the reverse, and those two are never held
// together. m_bExit is an atomic polled by every thread.

#include "recorder/CMyBitmapButton.h"
#include "recorder/Records.h"

#include "platform/platform.h"

#include <atomic>

class CMainDlg : public CDialog {
public:
    static constexpr int MOTION_TIMER_BASE = 9101;
    static constexpr UINT MOTION_HOLD_MS = 15000;
    static constexpr UINT WM_TRAY_NOTIFY = 1234;
    static constexpr UINT TRAY_ICON_ID = 128;

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
    void OnBtnMin();
    void OnBtnExit();
    void OnListRClick(NMHDR* pNMHDR, LRESULT* pResult);
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    void OnMenuRestore();
    void OnMenuExit();
    void OnMenuAbout();
    DECLARE_MESSAGE_MAP()

private:
    void InitControls();
    void SetUpButton(CMyBitmapButton& button, const struct STSkinElement& skin, UINT tipId);
    void WriteRowColumns(int row, const STIPCfgKst& slot);
    void LeaveTray();
    bool AnyCameraRunning();

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
};
