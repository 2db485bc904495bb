#pragma once
// Scroll bar controls; the parent moves them in answer to WM_HSCROLL /
// WM_VSCROLL (GUI thread).

#include "platform/ui/CWnd.h"

class CScrollBar : public CWnd {
    DECLARE_DYNAMIC(CScrollBar)

public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::CreateEx(0, "SCROLLBAR", "", dwStyle | WS_CHILD, rect, pParentWnd, nID);
    }
    int GetScrollPos() const { return static_cast<int>(SendMessage(SBM_GETPOS)); }
    int SetScrollPos(int nPos, BOOL bRedraw = TRUE)
    {
        return static_cast<int>(SendMessage(SBM_SETPOS, static_cast<WPARAM>(nPos), bRedraw));
    }
    void GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const
    {
        SendMessage(SBM_GETRANGE, reinterpret_cast<WPARAM>(lpMinPos), reinterpret_cast<LPARAM>(lpMaxPos));
    }
    void SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE)
    {
        SendMessage(SBM_SETRANGE, static_cast<WPARAM>(nMinPos), nMaxPos);
    }
    int GetScrollLimit() const
    {
        int lo = 0;
        int hi = 0;
        GetScrollRange(&lo, &hi);
        return hi;
    }
    BOOL SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE)
    {
        return CWnd::SetScrollInfo(SB_CTL, lpScrollInfo, bRedraw);
    }
    BOOL GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL)
    {
        return CWnd::GetScrollInfo(SB_CTL, lpScrollInfo, nMask);
    }
};
