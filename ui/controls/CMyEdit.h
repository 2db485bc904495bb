#pragma once
// An edit with its own text colour, a background colour that also fills its
// border band, a one-pixel border of its own colour and a font chosen by
// face name and height. GUI thread only; no locks.

#include "platform/platform.h"

class AFX_EXT_CLASS CMyEdit : public CEdit {
public:
    CMyEdit();
    ~CMyEdit() override;

    void SetTextColor(COLORREF crText);
    void SetBgColor(COLORREF crBack);
    void SetBorderColor(COLORREF crBorder);
    void SetFontName(const char* faceName, int height);

protected:
    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnNcPaint();
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    DECLARE_MESSAGE_MAP()

    // Members in this order are part of the class's layout.
    COLORREF m_crText;
    HBRUSH m_hBorderBrush;
    HBRUSH m_hBackBrush;
    CFont m_Font;
};
