#pragma once
// An owner-drawn button drawn entirely from up to five pictures: normal, hot
// (hovered or pressed), on, off and disabled. It tracks hover itself, can
// take the shape of its picture's opaque pixels or its picture's size, and
// shows a hand cursor and a tooltip with two texts. GUI thread only; no
// locks.

#include "platform/platform.h"
#include "ui/controls/CMyPicture.h"
#include "ui/controls/CMyToolTipCtrl.h"

class AFX_EXT_CLASS CMyPictureButton : public CButton {
    DECLARE_DYNAMIC(CMyPictureButton)

public:
    CMyPictureButton();
    ~CMyPictureButton() override;

    // Resources are loaded in the order normal, on, off, hot, disabled; an
    // id that fails leaves its picture empty. 1 when the normal one loaded.
    int SetImage(UINT normal, UINT hot, UINT on, UINT off, UINT disabled, const char* resType, BOOL transparent,
                 COLORREF key, BOOL repaint);
    int SetImage(CString normal, CString hot, CString on, CString off, CString disabled, BOOL repaint);
    void SetTransparent(BOOL transparent, COLORREF key);
    void SetButtonOnOff(BOOL on, BOOL off);
    BOOL IsButtonOn() const { return m_bButtonOn; }
    void SetFitImageSize();
    void SetFitTransparentRegion();
    void SetHandCursor();
    void SetToolTipText(CString text, CString text2);
    void SetToolTipText(BOOL first);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    BOOL OnEraseBkgnd(CDC* pDC);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnDestroy();
    void OnMouseHover(UINT nFlags, CPoint point);
    void OnMouseLeave();
    void OnEnable(BOOL bEnable);
    DECLARE_MESSAGE_MAP()

    // The picture DrawItem shows for the item state.
    CMyPicture* FaceFor(UINT itemState);

    // Members in this order are part of the class's layout.
    CMyPicture m_picNormal;
    CMyPicture m_picHot;
    CMyPicture m_picOn;
    CMyPicture m_picOff;
    CMyPicture m_picDisabled;
    COLORREF m_crColourKey;
    BOOL m_bTransparent;
    HCURSOR m_hHandCursor;
    CMyToolTipCtrl m_ToolTip;
    CString m_strToolTip;
    CString m_strToolTip2;
    BOOL m_bButtonOn;
    BOOL m_bButtonOff;
    BOOL m_bTrackArmed;
};
