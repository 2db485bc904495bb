#pragma once
// A static text that paints its own text in its own colours and font, and
// can act as a link: underlined, blue while the mouse is over it, hand
// cursor. The owner sets the plain members.
//
// GUI thread.

#include "platform/platform.h"

class CColorStatic : public CStatic {
public:
    CColorStatic() = default;
    ~CColorStatic() override;

    // Stores a different text and repaints that part of the parent at once;
    // the same text changes nothing.
    void SetText(const CString& text);
    const CString& GetText() const { return m_strText; }
    BOOL IsMouseOver() const { return m_bMouseOver; }

    COLORREF m_crText = 0;
    UINT m_nFormat = DT_CENTER;
    BOOL m_bBold = FALSE;
    BOOL m_bLink = FALSE;
    BOOL m_bMouseOver = FALSE;
    HCURSOR m_hHand = nullptr;
    COLORREF m_crBack = 0xFFFFFF;
    CString m_strText;
    CString m_strFontName = "Arial";
    int m_nFontHeight = 12;

    static constexpr UINT_PTR kHoverTimer = 100;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnPaint();
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnTimer(UINT_PTR nIDEvent);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()
};
