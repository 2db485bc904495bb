#pragma once
// A slider drawn from bitmap resources: a channel with an optional "active"
// part before the thumb, and a thumb with an optional active picture while
// dragging. GUI thread only; takes no locks.
//
// Exported whole: members keep their order.

#include "platform/platform.h"

// Posted to the parent: wParam the control id, lParam the position.
#define IMAGESLIDER_MOVING 0x28D1  // the thumb moves under the mouse
#define IMAGESLIDER_MOVED  0x28D2  // the button was released or a key moved it

class AFX_EXT_CLASS CImageSlider : public CStatic {
public:
    CImageSlider();
    ~CImageSlider() override;

    // key 0xFF000000 stands for the colour of pixel (x, y) of the bitmap.
    BOOL SetBitmapChannel(UINT nID, UINT nActiveID = 0, BOOL bTransparent = FALSE, COLORREF crKey = 0xFF000000,
                          int x = 0, int y = 0);
    BOOL SetBitmapThumb(UINT nID, UINT nActiveID = 0, BOOL bTransparent = FALSE, COLORREF crKey = 0xFF000000, int x = 0,
                        int y = 0);
    void SetRange(int nMin, int nMax, BOOL bRepaint = FALSE);
    void SetRangeMin(int nMin, BOOL bRepaint = FALSE);
    void SetRangeMax(int nMax, BOOL bRepaint = FALSE);
    void GetRange(int& nMin, int& nMax) const;
    int GetRangeMin() const { return m_nMin; }
    int GetRangeMax() const { return m_nMax; }
    void SetPos(int nPos);
    int GetPos() const { return m_nPos; }
    int SetPageSize(int nSize);
    void SetMargin(int nLeft, int nTop, int nRight, int nBottom);
    void SetMarginLeft(int nMargin) { m_nMarginLeft = nMargin; }
    void SetMarginTop(int nMargin) { m_nMarginTop = nMargin; }
    void SetMarginRight(int nMargin) { m_nMarginRight = nMargin; }
    void SetMarginBottom(int nMargin) { m_nMarginBottom = nMargin; }
    void SetVertical(BOOL bVertical) { m_bVertical = bVertical; }
    void DrawFocusRect(BOOL bDraw = TRUE, BOOL bRepaint = FALSE);
    void Enable(BOOL bEnable = TRUE);
    // The pictures come from the bitmaps above only.
    HBITMAP SetBitmap(HBITMAP) { return nullptr; }

protected:
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnPaint();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    UINT OnGetDlgCode();
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKillFocus(CWnd* pNewWnd);
    void OnSetFocus(CWnd* pOldWnd);
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    int Pos2Pixel(int nPos) const;
    int Pixel2Pos(int nPixel) const;
    void Notify(UINT message) const;
    // Draws a bitmap, through its mask when it has one.
    static void DrawBitmap(CDC* pDC, int x, int y, int w, int h, CBitmap* pBitmap, CBitmap* pMask, int srcX, int srcY);

public:
    int m_nMax;
    int m_nMin;
    int m_nPos;
    int m_nPage;
    RECT m_rcClient;
    int m_nChannelWidth;
    int m_nChannelHeight;
    int m_nThumbWidth;
    int m_nThumbHeight;
    int m_nMarginLeft;
    int m_nMarginTop;
    int m_nMarginRight;
    int m_nMarginBottom;
    int m_nThumbBkX;
    int m_nThumbBkY;
    int m_nDragOffset;
    BOOL m_bVertical;
    BOOL m_bChannelActive;
    BOOL m_bThumbActive;
    BOOL m_bChannelTransparent;
    BOOL m_bThumbTransparent;
    BOOL m_bThumbLoaded;
    BOOL m_bChannelLoaded;
    BOOL m_bDragging;
    BOOL m_bFocused;
    BOOL m_bFocusRectShown;
    BOOL m_bDrawFocusRect;
    BOOL m_bEnabled;
    CBitmap m_bmChannel;
    CBitmap m_bmChannelMask;
    CBitmap m_bmChannelActive;
    CBitmap m_bmChannelActiveMask;
    CBitmap m_bmThumb;
    CBitmap m_bmThumbMask;
    CBitmap m_bmThumbActive;
    CBitmap m_bmThumbActiveMask;
    CBitmap m_bmThumbBk;
};
