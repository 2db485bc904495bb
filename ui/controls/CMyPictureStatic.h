#pragma once
// A static control showing a picture stretched over its client area, with
// an optional hand cursor and a tooltip. GUI thread only; takes no locks.
//
// Members keep their order (the class is exported whole).

#include "ui/controls/CMyPicture.h"
#include "ui/controls/CMyToolTipCtrl.h"

class AFX_EXT_CLASS CMyPictureStatic : public CStatic {
public:
    CMyPictureStatic();
    ~CMyPictureStatic() override;

    void SetImage(CString path);
    void SetTransparent(BOOL transparent, COLORREF key);
    void SetHandCursor();
    void SetToolTipText(CString text);

    CMyPicture m_Picture;
    HCURSOR m_hHandCursor;
    COLORREF m_crColourKey;
    BOOL m_bTransparent;
    CMyToolTipCtrl m_ToolTip;
    CString m_strToolTip;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnPaint();
    void OnMouseMove(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()
};
