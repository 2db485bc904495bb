#pragma once
// The base of dialogs whose look comes entirely from a skin: it loads the
// skin file at start-up, takes the title and size from it, drops the
// caption, lets the user drag the window by any point, paints the skin's
// background through an off-screen bitmap, and offers hooks for set-up,
// extra painting, Escape and closing.
//
// A derived class creates the skin with new (the dialog owns and deletes
// it) and sets the skin file path, icon and switches in its constructor,
// before the window exists. GUI thread only; no locks.

#include "platform/platform.h"
#include "ui/controls/CSkin.h"

class AFX_EXT_CLASS CDialogBase : public CDialog {
    DECLARE_DYNAMIC(CDialogBase)

public:
    CDialogBase(UINT nIDTemplate, CWnd* pParent = nullptr);
    ~CDialogBase() override;

    void SetQuitConfirm(int nQuitConfirm) { m_nQuitConfirm = nQuitConfirm; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    virtual void Init();
    // Draws extras into the off-screen DC after the background.
    virtual void OnDrawBackgroundEnd(HDC hMemDC);
    virtual void DoEscape();
    // 0 from either keeps the window open on WM_CLOSE.
    virtual int DoQuitConfirm();
    virtual int DoExit();
    virtual void InitControls();

    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    LRESULT OnNcHitTest(CPoint point);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    // Members in this order are part of the class's layout.
    int m_nQuitConfirm;  // kept for derived classes
    HICON m_hIcon;
    CString m_strSkinFile;
    CString m_strLoadError;
    int m_nNoCenter;
    int m_nNoRightStrip;
    int m_nNoRightTop;
    int m_nNoDrag;        // clicks do not move the window; no skin background
    int m_nNoBackground;  // no skin background
    CSkin* m_pSkin;       // owned
};
