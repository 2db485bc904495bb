#pragma once
// Up-down (spin) controls, usually with a buddy edit (GUI thread).

#include "platform/ui/CWnd.h"
#include "platform/ui/commctrl.h"

class CSpinButtonCtrl : public CWnd {
    DECLARE_DYNAMIC(CSpinButtonCtrl)

public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::CreateEx(0, UPDOWN_CLASS, "", dwStyle | WS_CHILD, rect, pParentWnd, nID);
    }
    void SetRange(short nLower, short nUpper) { SendMessage(UDM_SETRANGE, 0, MAKELPARAM(nUpper, nLower)); }
    void SetRange32(int nLower, int nUpper) { SendMessage(UDM_SETRANGE32, static_cast<WPARAM>(nLower), nUpper); }
    void GetRange32(int& nLower, int& nUpper) const
    {
        SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&nLower), reinterpret_cast<LPARAM>(&nUpper));
    }
    int SetPos(int nPos) { return static_cast<int>(SendMessage(UDM_SETPOS, 0, MAKELPARAM(nPos, 0))); }
    int GetPos() const { return static_cast<int>(SendMessage(UDM_GETPOS)); }
    int SetPos32(int nPos) { return static_cast<int>(SendMessage(UDM_SETPOS32, 0, nPos)); }
    int GetPos32() const { return static_cast<int>(SendMessage(UDM_GETPOS32)); }
    CWnd* SetBuddy(CWnd* pWndBuddy)
    {
        return CWnd::FromHandle(
            reinterpret_cast<HWND>(SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(CWnd::SafeHwnd(pWndBuddy)))));
    }
    CWnd* GetBuddy() const { return CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY))); }
};
