#pragma once
// The owner-drawn push button of the recorder's skinned windows: one image
// for its normal state, one while pressed, one while disabled; shaped by a
// key colour, with a hand cursor and an optional tooltip. The images belong
// to the settings object: the button attaches their handles and detaches
// them again, never deleting them.
//
// GUI thread.

#include "recorder/CMyBitmap.h"
#include "recorder/CMyToolTipCtrl.h"

#include "platform/platform.h"

class CMyBitmapButton : public CButton {
public:
    CMyBitmapButton();
    ~CMyBitmapButton() override;

    // 0 when the normal image cannot be attached; otherwise non-zero unless
    // attaching one of the optional images failed.
    BOOL SetBitmaps(HBITMAP normal, HBITMAP pressed, HBITMAP disabled);
    void SetToolTipText(const CString& text, const CString& title);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    COLORREF m_crKey = 0;
    BOOL m_bUseKey = FALSE;

    // For tests: the state image DrawItem chooses, and the window region.
    HBITMAP ImageForState(UINT itemState) const;
    HRGN WindowRegion() const { return m_hRegion; }

protected:
    BOOL OnEraseBkgnd(CDC* pDC);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void RelayToTip(UINT message, UINT flags, CPoint point);
    void Detach();

    CMyBitmap m_bmpNormal;
    CMyBitmap m_bmpPressed;
    CMyBitmap m_bmpDisabled;
    HRGN m_hRegion = nullptr;
    HCURSOR m_hCursor = nullptr;
    vxkst::CMyToolTipCtrl m_tip;
    CString m_strTip;
    CString m_strTipTitle;
};
