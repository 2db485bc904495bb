#pragma once
// A tab control that draws its own tabs: face-coloured background, an
// optional image-list icon, and the label in one colour and font for the
// selected tab and another for the others. GUI thread only; takes no locks.
//
// Derived in other libraries: members and virtuals keep their order.

#include "platform/platform.h"

class AFX_EXT_CLASS CTabCtrlEx : public CTabCtrl {
    DECLARE_DYNAMIC(CTabCtrlEx)

public:
    CTabCtrlEx();
    ~CTabCtrlEx() override;

    void SetColours(COLORREF selected, COLORREF unselected);
    void SetFonts(int selWeight, int selItalic, int selUnderline, int unselWeight, int unselItalic, int unselUnderline);
    void SetFonts(CFont* selected, CFont* unselected);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    COLORREF m_crSelColour;
    COLORREF m_crUnselColour;
    CFont m_SelFont;
    CFont m_UnselFont;

protected:
    void PreSubclassWindow() override;
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    DECLARE_MESSAGE_MAP()
};
