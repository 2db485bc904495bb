#pragma once
// A static that draws its own caption in a chosen colour, face, size, weight
// and slant, optionally underlined with a hand cursor as a link. A caption
// longer than its limit is shortened in the middle and shown whole as the
// tooltip. GUI thread only; no locks.

#include "platform/platform.h"
#include "ui/controls/CMyToolTipCtrl.h"

class AFX_EXT_CLASS CMyColorStatic : public CStatic {
public:
    CMyColorStatic();
    ~CMyColorStatic() override;

    void SetCaption(CString text, int maxLength);
    void SetCaption(int value);
    CString GetCaption() const { return m_strCaption; }
    void SetTextColor(COLORREF crText) { m_crText = crText; }
    void SetBackColor(COLORREF crBack) { m_crBack = crBack; }
    void SetTextBold(BOOL bBold) { m_bTextBold = bBold; }
    void SetItalic(BOOL bItalic) { m_bItalic = bItalic; }
    void SetHyperLink(BOOL bHyperLink) { m_bHyperLink = bHyperLink; }
    void SetTextFontName(CString name) { m_strFontName = name; }
    void SetTextFontSize(int size) { m_nTextFontSize = size; }
    void SetTextFormat(UINT format) { m_nTextFormat = format; }
    void SetToolTipText(CString text);

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnPaint();
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnTimer(UINT_PTR nIDEvent);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    // The caption's font: the parent's font with this control's changes.
    void MakeCaptionFont(LOGFONT& lf) const;

    // Members in this order are part of the class's layout.
    CMyToolTipCtrl m_ToolTip;
    CString m_strToolTip;
    COLORREF m_crText;
    UINT m_nTextFormat;
    BOOL m_bTextBold;
    BOOL m_bHyperLink;
    BOOL m_bHover;
    BOOL m_bItalic;
    HCURSOR m_hHandCursor;
    int m_nTextFontSize;
    int m_nMaxCaption;
    BOOL m_bTransparentBk;
    COLORREF m_crBack;
    CString m_strCaption;
    CString m_strFontName;
};
