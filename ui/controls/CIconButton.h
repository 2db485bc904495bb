#pragma once
// An owner-drawn push button with its own face colours, an icon or a
// transparent bitmap beside, above or right of its caption (with an optional
// grey copy for the normal state), a flat look with hover highlighting, an
// optional check-box behaviour, a tooltip, a cursor, a link opened when
// clicked, and a drop-down owner-drawn menu.
//
// GUI thread only; takes no locks. Embedded in dialogs of other libraries:
// members and virtuals keep their order (new virtuals after CButton's).

#include "ui/controls/ZelMenu.h"

class AFX_EXT_CLASS CIconButton : public CButton {
public:
    enum ButtonColorIndex {
        BTNST_COLOR_BK_IN = 0,     // background hovered or pressed
        BTNST_COLOR_FG_IN = 1,     // text hovered or pressed
        BTNST_COLOR_BK_OUT = 2,    // background normal
        BTNST_COLOR_FG_OUT = 3,    // text normal
        BTNST_COLOR_BK_FOCUS = 4,  // background focused
        BTNST_COLOR_FG_FOCUS = 5,  // text focused (stored only)
        BTNST_MAX_COLORS = 6,
    };
    enum ResultCode : DWORD {
        BTNST_OK = 0,
        BTNST_INVALIDRESOURCE = 1,
        BTNST_FAILEDMASK = 2,
        BTNST_INVALIDINDEX = 3,
        BTNST_INVALIDALIGN = 4,
        BTNST_BADPARAM = 5,
    };
    enum ImageAlign : BYTE { ST_ALIGN_HORIZ = 0, ST_ALIGN_VERT = 1, ST_ALIGN_HORIZ_RIGHT = 2 };
    // SetIcon's second icon: the grey copy of the first.
    static constexpr int kGreyCopy = -2;

    CIconButton();
    ~CIconButton() override;

    DWORD SetIcon(int nIconIn, int nIconOut = 0);
    DWORD SetIcon(HICON hIconIn, HICON hIconOut = nullptr);
    DWORD SetBitmaps(int nBitmapIn, COLORREF crTransColorIn, int nBitmapOut = 0, COLORREF crTransColorOut = 0);
    DWORD SetBitmaps(HBITMAP hBitmapIn, COLORREF crTransColorIn, HBITMAP hBitmapOut = nullptr,
                     COLORREF crTransColorOut = 0);
    DWORD SetAlign(BYTE byAlign, BOOL bRepaint = TRUE);
    DWORD SetColor(BYTE byColorIndex, COLORREF crColor, BOOL bRepaint = TRUE);
    DWORD GetColor(BYTE byColorIndex, COLORREF* crpColor);
    DWORD OffsetColor(BYTE byColorIndex, short shOffset, BOOL bRepaint = TRUE);
    DWORD SetDefaultColors(BOOL bRepaint = TRUE);
    DWORD SetFlat(BOOL bFlat = TRUE, BOOL bRepaint = TRUE);
    DWORD DrawBorder(BOOL bDrawBorder = TRUE, BOOL bRepaint = TRUE);
    DWORD DrawFlatFocus(BOOL bDrawFlatFocus, BOOL bRepaint = TRUE);
    DWORD SetAlwaysTrack(BOOL bAlwaysTrack = TRUE);
    DWORD SetCheck(int nCheck, BOOL bRepaint = TRUE);
    int GetCheck();
    BOOL GetDefault();
    void DrawTransparent(BOOL bRepaint = FALSE);
    DWORD SetBtnCursor(int nCursorId = 0, BOOL bRepaint = TRUE);
    DWORD SetURL(const char* szURL = nullptr);
    void SetTooltipText(const char* szText, BOOL bActivate = TRUE);
    void SetTooltipText(int nText, BOOL bActivate = TRUE);
    void ActivateTooltip(BOOL bEnable = TRUE);
    DWORD SetMenu(UINT nMenu, HWND hParentWnd, BOOL bWinXPStyle = TRUE, UINT nToolbarID = 0,
                  CSize sizeToolbarIcon = CSize(16, 16), COLORREF crToolbarBk = RGB(255, 0, 255), BOOL bRepaint = TRUE);
    static const char* GetVersionC();
    static short GetVersionI();

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    virtual DWORD OnDrawBackground(CDC* pDC, const RECT* pRect);
    virtual DWORD OnDrawBorder(CDC* pDC, const RECT* pRect);

    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnKillFocus(CWnd* pNewWnd);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnSysColorChange();
    BOOL OnClicked();
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnEnable(BOOL bEnable);
    void OnCancelMode();
    UINT OnGetDlgCode();
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);
    void OnMouseLeave();
    LRESULT OnSetCheck(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetCheck(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

public:
    struct STRUCT_ICONS {
        HICON hIcon;
        DWORD dwWidth;
        DWORD dwHeight;
    };
    struct STRUCT_BITMAPS {
        HBITMAP hBitmap;
        DWORD dwWidth;
        DWORD dwHeight;
        HBITMAP hMask;
        COLORREF crTransparent;
    };

    BOOL m_bGreyDisabledBitmap;
    BOOL m_bFlat;
    BOOL m_bHover;
    BOOL m_bParentFace;
    BOOL m_bPressed;
    BOOL m_bFocused;
    BOOL m_bDisabled;
    BOOL m_bDefaultButton;
    BOOL m_bCheckBoxMode;
    BYTE m_nImageAlign;
    BOOL m_bFlatBorder;
    BOOL m_bFlatFocusRect;
    COLORREF m_crColours[BTNST_MAX_COLORS];
    HWND m_hMenuTarget;
    BOOL m_bMenuOpen;
    ZelMenu m_DropMenu;
    HCURSOR m_hBtnCursor;
    CToolTipCtrl m_Tip;
    CDC m_dcParentFace;
    CBitmap m_bmpParentFace;
    CBitmap* m_pOldFaceBitmap;
    BOOL m_bTrackAlways;
    int m_nCheckState;
    int m_nStyleType;
    char m_szLinkURL[260];
    STRUCT_ICONS m_Icons[2];
    STRUCT_BITMAPS m_Bitmaps[2];

private:
    void FreeResources(BOOL bCheckForNULL = TRUE);
    void CancelHover();
    void Repaint(BOOL bRepaint);
    void InitToolTip();
    void CaptureParentFace(CDC* pDC);
    void DropParentFace();
    void ShowDropMenu();
    HICON CreateGreyCopy(HICON hIcon);
    HBITMAP CreateBitmapMask(HBITMAP hSource, DWORD dwWidth, DWORD dwHeight, COLORREF crTransColor);
    void PrepareImageRect(BOOL bHasTitle, RECT* rpItem, CRect* rpTitle, BOOL bIsPressed, DWORD dwWidth, DWORD dwHeight,
                          CRect* rpImage);
    void DrawTheIcon(CDC* pDC, BOOL bHasTitle, RECT* rpItem, CRect* rpCaption, BOOL bIsPressed, BOOL bIsDisabled);
    void DrawTheBitmap(CDC* pDC, BOOL bHasTitle, RECT* rpItem, CRect* rpCaption, BOOL bIsPressed, BOOL bIsDisabled);
    int ChosenImage() const;
};
