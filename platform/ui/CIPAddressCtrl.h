#pragma once
// IP address fields (GUI thread).

#include "platform/ui/CWnd.h"
#include "platform/ui/commctrl.h"

class CIPAddressCtrl : public CWnd {
    DECLARE_DYNAMIC(CIPAddressCtrl)

public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::CreateEx(0, WC_IPADDRESS, "", dwStyle | WS_CHILD, rect, pParentWnd, nID);
    }
    BOOL IsBlank() const { return static_cast<BOOL>(SendMessage(IPM_ISBLANK)); }
    void ClearAddress() { SendMessage(IPM_CLEARADDRESS); }
    int GetAddress(BYTE& f0, BYTE& f1, BYTE& f2, BYTE& f3) const
    {
        DWORD a = 0;
        int n = GetAddress(a);
        f0 = static_cast<BYTE>(FIRST_IPADDRESS(a));
        f1 = static_cast<BYTE>(SECOND_IPADDRESS(a));
        f2 = static_cast<BYTE>(THIRD_IPADDRESS(a));
        f3 = static_cast<BYTE>(FOURTH_IPADDRESS(a));
        return n;
    }
    int GetAddress(DWORD& dwAddress) const
    {
        return static_cast<int>(SendMessage(IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&dwAddress)));
    }
    void SetAddress(DWORD dwAddress) { SendMessage(IPM_SETADDRESS, 0, static_cast<LPARAM>(dwAddress)); }
    void SetAddress(BYTE f0, BYTE f1, BYTE f2, BYTE f3)
    {
        SetAddress(static_cast<DWORD>(MAKEIPADDRESS(f0, f1, f2, f3)));
    }
    void SetFieldFocus(WORD nField) { SendMessage(IPM_SETFOCUS, nField); }
    void SetFieldRange(int nField, BYTE nLower, BYTE nUpper)
    {
        SendMessage(IPM_SETRANGE, static_cast<WPARAM>(nField), MAKEWORD(nLower, nUpper));
    }
};
