#pragma once
// The header of a report list (GUI thread).

#include "platform/ui/CWnd.h"
#include "platform/ui/commctrl.h"

class CHeaderCtrl : public CWnd {
    DECLARE_DYNAMIC(CHeaderCtrl)

public:
    int GetItemCount() const { return static_cast<int>(SendMessage(HDM_GETITEMCOUNT)); }
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const
    {
        return static_cast<BOOL>(
            SendMessage(HDM_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect)));
    }
    BOOL GetItem(int nPos, HDITEM* pHeaderItem) const
    {
        return static_cast<BOOL>(
            SendMessage(HDM_GETITEM, static_cast<WPARAM>(nPos), reinterpret_cast<LPARAM>(pHeaderItem)));
    }
    BOOL SetItem(int nPos, HDITEM* pHeaderItem)
    {
        return static_cast<BOOL>(
            SendMessage(HDM_SETITEM, static_cast<WPARAM>(nPos), reinterpret_cast<LPARAM>(pHeaderItem)));
    }
    int OrderToIndex(int nOrder) const
    {
        return static_cast<int>(SendMessage(HDM_ORDERTOINDEX, static_cast<WPARAM>(nOrder)));
    }
    BOOL GetOrderArray(LPINT piArray, int iCount = -1) const
    {
        if (iCount < 0)
            iCount = GetItemCount();
        return static_cast<BOOL>(
            SendMessage(HDM_GETORDERARRAY, static_cast<WPARAM>(iCount), reinterpret_cast<LPARAM>(piArray)));
    }
    BOOL SetOrderArray(int iCount, LPINT piArray)
    {
        return static_cast<BOOL>(
            SendMessage(HDM_SETORDERARRAY, static_cast<WPARAM>(iCount), reinterpret_cast<LPARAM>(piArray)));
    }
};
