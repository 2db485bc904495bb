#pragma once
// A report list whose columns cannot be resized by the mouse and whose rows
// can be reordered by dragging, with a callback after every swap of two rows.
// GUI thread only; takes no locks.
//
// Embedded in dialogs of other libraries: members keep their order.

#include "platform/platform.h"

class AFX_EXT_CLASS CMyListCtrl : public CListCtrl {
public:
    typedef void (*SwapRowsFn)(void* user, int row1, int row2);

    CMyListCtrl();
    ~CMyListCtrl() override;

    void SetSwapRowsCallback(SwapRowsFn fn, void* user);

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void PreSubclassWindow() override;

protected:
    void OnLvnBegindrag(NMHDR* pNMHDR, LRESULT* pResult);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    DECLARE_MESSAGE_MAP()

public:
    BOOL m_bBlockColumnResize;
    BOOL m_bDragEnabled;
    SwapRowsFn m_pfnSwapRows;
    void* m_pSwapRowsUser;
    int m_nDragRow;
    BOOL m_bDragging;

private:
    void SwapRows(int row1, int row2);
    void MoveSelection(int delta);

    // The layer subclasses windows it creates too (before WM_CREATE): the
    // callback a creation must keep is held here meanwhile.
    SwapRowsFn m_pfnKeptSwapRows = nullptr;
    void* m_pKeptSwapRowsUser = nullptr;
};
