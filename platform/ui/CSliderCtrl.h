#pragma once
// Sliders (trackbars); the parent hears WM_HSCROLL / WM_VSCROLL (GUI thread).

#include "platform/ui/CWnd.h"
#include "platform/ui/commctrl.h"

class CSliderCtrl : public CWnd {
    DECLARE_DYNAMIC(CSliderCtrl)

public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::CreateEx(0, TRACKBAR_CLASS, "", dwStyle | WS_CHILD, rect, pParentWnd, nID);
    }
    int GetPos() const { return static_cast<int>(SendMessage(TBM_GETPOS)); }
    void SetPos(int nPos) { SendMessage(TBM_SETPOS, TRUE, nPos); }
    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE)
    {
        SendMessage(TBM_SETRANGEMIN, FALSE, nMin);
        SendMessage(TBM_SETRANGEMAX, bRedraw, nMax);
    }
    void GetRange(int& nMin, int& nMax) const
    {
        nMin = GetRangeMin();
        nMax = GetRangeMax();
    }
    void SetRangeMin(int nMin, BOOL bRedraw = FALSE) { SendMessage(TBM_SETRANGEMIN, bRedraw, nMin); }
    void SetRangeMax(int nMax, BOOL bRedraw = FALSE) { SendMessage(TBM_SETRANGEMAX, bRedraw, nMax); }
    int GetRangeMin() const { return static_cast<int>(SendMessage(TBM_GETRANGEMIN)); }
    int GetRangeMax() const { return static_cast<int>(SendMessage(TBM_GETRANGEMAX)); }
    int SetPageSize(int nSize) { return static_cast<int>(SendMessage(TBM_SETPAGESIZE, 0, nSize)); }
    int GetPageSize() const { return static_cast<int>(SendMessage(TBM_GETPAGESIZE)); }
    int SetLineSize(int nSize) { return static_cast<int>(SendMessage(TBM_SETLINESIZE, 0, nSize)); }
    int GetLineSize() const { return static_cast<int>(SendMessage(TBM_GETLINESIZE)); }
    void SetTicFreq(int nFreq) { SendMessage(TBM_SETTICFREQ, static_cast<WPARAM>(nFreq)); }
    BOOL SetTic(int nTic) { return static_cast<BOOL>(SendMessage(TBM_SETTIC, 0, nTic)); }
    void ClearTics(BOOL bRedraw = FALSE) { SendMessage(TBM_CLEARTICS, bRedraw); }
    // The groove the thumb runs in and the thumb itself, as the style draws
    // them, in client coordinates.
    void GetChannelRect(LPRECT lprc) const { SendMessage(TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(lprc)); }
    void GetThumbRect(LPRECT lprc) const { SendMessage(TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(lprc)); }
};
