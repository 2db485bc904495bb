#pragma once
// A window: the C++ object of a window handle. The handle (HWND) is an opaque
// id into the window registry and stays a harmless dead id after the window is
// destroyed.
//
// Threads. Windows live on the GUI thread. Other threads may call the free
// functions (and the members that wrap them) in three kinds:
// - Questions, answered from the window's record under the registry's lock
//   without waiting for the GUI thread, so a worker holding a lock the GUI
//   thread wants never deadlocks: IsWindow, GetParent, GetDlgItem,
//   GetDlgCtrlID, GetWindow, IsChild, IsWindowVisible, IsWindowEnabled,
//   IsIconic, IsZoomed, GetClientRect, GetWindowRect, ClientToScreen,
//   ScreenToClient, GetWindowLong(Ptr), SetWindowLong(Ptr) of GWL_ID and
//   GWLP_USERDATA, GetClassName, WindowFromPoint, FindWindow, GetCapture, and
//   FromHandle.
//   The places and visibility are those the GUI thread saw last.
// - Posts, which return at once: PostMessage, PostQuitMessage, SetTimer,
//   KillTimer, SendNotifyMessage, SetForegroundWindow, SetCursorPos, and
//   InvalidateRect, InvalidateRgn and RedrawWindow without RDW_UPDATENOW
//   (they record the region; the GUI thread paints it later).
// - Sends, which run on the GUI thread while the caller waits, as a message
//   sent to another thread's window does (the GUI thread handles them also
//   while it waits in WaitForSingleObject and the like, but not while it
//   waits to enter a CRITICAL_SECTION): SendMessage, SetWindowText,
//   GetWindowText, GetWindowTextLength, ShowWindow, EnableWindow,
//   SetWindowPos, MoveWindow, UpdateWindow, RedrawWindow with RDW_UPDATENOW,
//   SetWindowLong(Ptr) of GWL_STYLE and GWL_EXSTYLE, and the dialog item
//   calls built on them. A worker must not hold a lock the GUI thread may
//   wait for across these.
// Focus, capture, the keyboard and the message being handled belong to the
// GUI thread: elsewhere GetFocus, GetActiveWindow and GetKeyState answer as
// for a thread without windows, and SetFocus, SetCapture, ReleaseCapture and
// TrackMouseEvent fail. Creating and destroying windows (CreateEx, Create,
// DestroyWindow, deleting the object of a live window) and painting
// (BeginPaint, EndPaint) are the GUI thread's only: elsewhere they stop the
// program in debug and sanitizer builds, and log an error and fail in
// release builds (a deleted object's window is then destroyed later by the
// GUI thread).

#include "platform/base/base.h"
#include "platform/ui/CCmdTarget.h"
#include "platform/ui/afxmsg.h"

class CDC;
class CFont;
class CMenu;
class CScrollBar;
class CDataExchange;
typedef int* LPINT;

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)

public:
    CWnd();
    ~CWnd() override;

    HWND m_hWnd = nullptr;
    // Null for a null object too, as callers rely on.
    HWND GetSafeHwnd() const;
    // The same without calling through a null pointer (our own code).
    static HWND SafeHwnd(const CWnd* pWnd) { return pWnd ? pWnd->m_hWnd : nullptr; }
    operator HWND() const { return GetSafeHwnd(); }  // NOLINT: the classic implicit conversion

    // The object of a handle: the C++ object that owns it, or a temporary one
    // kept by the registry for the window's life. Null for a dead handle.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    BOOL Attach(HWND hWnd);
    HWND Detach();
    // Takes over a window made elsewhere (a control of a dialog template).
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    // ---- creation ----
    virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                        UINT nID, void* pContext = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x, int y, int nWidth,
                  int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void PreSubclassWindow();
    virtual void PostNcDestroy();

    // ---- messages ----
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL SendNotifyMessage(UINT message, WPARAM wParam, LPARAM lParam) const;
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    static BOOL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);
    // Asks each window from pMsg->hwnd up to hWndStop to pre-translate.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
    // The default handling of the message being handled now.
    LRESULT Default();
    const MSG* GetCurrentMessage();

    // ---- family ----
    CWnd* GetParent() const;
    CWnd* SetParent(CWnd* pWndNewParent);
    CWnd* GetOwner() const;
    void SetOwner(CWnd* pOwner);
    CWnd* GetTopLevelParent() const;
    CWnd* GetDlgItem(int nID) const;
    void GetDlgItem(int nID, HWND* phWnd) const;
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int nID);
    CWnd* GetWindow(UINT nCmd) const;
    CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;
    CWnd* GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;
    BOOL IsChild(const CWnd* pWnd) const;
    static CWnd* GetFocus();
    CWnd* SetFocus();
    static CWnd* GetCapture();
    CWnd* SetCapture();
    static CWnd* GetForegroundWindow();
    static CWnd* GetActiveWindow();
    BOOL SetForegroundWindow();
    CWnd* SetActiveWindow();
    void BringWindowToTop();
    static CWnd* WindowFromPoint(POINT point);

    // ---- state ----
    BOOL IsWindowVisible() const;
    BOOL IsWindowEnabled() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL ShowWindow(int nCmdShow);
    BOOL IsIconic() const;
    BOOL IsZoomed() const;
    BOOL IsWindow() const { return ::IsWindow(m_hWnd); }

    // ---- geometry ----
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void GetClientRect(LPRECT lpRect) const;
    void GetWindowRect(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void CenterWindow(CWnd* pAlternateOwner = nullptr);
    void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const;
    void MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const;

    // ---- text, font, icon, style ----
    void SetWindowText(LPCSTR lpszString);
    int GetWindowText(LPSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    HICON GetIcon(BOOL bBigIcon) const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    static BOOL ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
    static BOOL ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);

    // ---- painting ----
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void ValidateRect(LPCRECT lpRect);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, void* prgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    void SetRedraw(BOOL bRedraw = TRUE);
    // Drawing outside WM_PAINT and the window's shape (CWnd_drawing.cpp).
    CDC* GetDC();
    CDC* GetWindowDC();
    int ReleaseDC(CDC* pDC);
    int SetWindowRgn(HRGN hRgn, BOOL bRedraw);
    int GetWindowRgn(HRGN hRgn) const;

    // ---- timers ----
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // ---- dialog-item helpers (also used on any parent window) ----
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
    int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton);
    void SetDlgItemText(int nID, LPCSTR lpszString);
    int GetDlgItemText(int nID, LPSTR lpStr, int nMaxCount) const;
    int GetDlgItemText(int nID, CString& rString) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // ---- data exchange ----
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // ---- misc ----
    int MessageBox(LPCSTR lpszText, LPCSTR lpszCaption = nullptr, UINT nType = MB_OK);
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
    BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    int GetScrollPos(int nBar) const;
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const;
    CMenu* GetMenu() const;
    CMenu* GetSystemMenu(BOOL bRevert) const;
    void DragAcceptFiles(BOOL bAccept = TRUE);
    // Run-time class of the window for the messages' CWnd* arguments.
    virtual BOOL ContinueModal();
    virtual void EndModalLoop(int nResult);
    int RunModalLoop(DWORD dwFlags = 0);

    // ---- default handlers (each runs the default window procedure) ----
protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnNcDestroy();
    void OnClose();
    void OnPaint();
    void OnNcPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnTimer(UINT_PTR nIDEvent);
    void OnSize(UINT nType, int cx, int cy);
    void OnMove(int x, int y);
    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnEnable(BOOL bEnable);
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    void OnRButtonDblClk(UINT nFlags, CPoint point);
    void OnMButtonDown(UINT nFlags, CPoint point);
    void OnMButtonUp(UINT nFlags, CPoint point);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    void OnMouseLeave();
    void OnMouseHover(UINT nFlags, CPoint point);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysCommand(UINT nID, LPARAM lParam);
    UINT OnGetDlgCode();
    LRESULT OnNcHitTest(CPoint point);
    void OnNcLButtonDown(UINT nHitTest, CPoint point);
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    HCURSOR OnQueryDragIcon();
    void OnSysColorChange();
    void OnCancelMode();
    void OnContextMenu(CWnd* pWnd, CPoint pos);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    DECLARE_MESSAGE_MAP()

    // Modal state of RunModalLoop.
    int m_nModalResult = -1;
    bool m_bInModalLoop = false;

private:
    friend struct VxWindowAccess;
};

// The device context that the CDC arguments of handlers need.
#include "platform/gdi/CDC.h"
