#pragma once
// Date and time pickers (GUI thread).

#include "platform/ui/CWnd.h"
#include "platform/ui/commctrl.h"

class CDateTimeCtrl : public CWnd {
    DECLARE_DYNAMIC(CDateTimeCtrl)

public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::CreateEx(0, DATETIMEPICK_CLASS, "", dwStyle | WS_CHILD, rect, pParentWnd, nID);
    }
    DWORD GetTime(LPSYSTEMTIME pTimeDest) const
    {
        return static_cast<DWORD>(SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(pTimeDest)));
    }
    BOOL SetTime(const SYSTEMTIME* pTimeNew)
    {
        return static_cast<BOOL>(
            SendMessage(DTM_SETSYSTEMTIME, pTimeNew ? GDT_VALID : GDT_NONE, reinterpret_cast<LPARAM>(pTimeNew)));
    }
    BOOL SetFormat(LPCSTR pstrFormat)
    {
        return static_cast<BOOL>(SendMessage(DTM_SETFORMAT, 0, reinterpret_cast<LPARAM>(pstrFormat)));
    }
    BOOL SetRange(const SYSTEMTIME* pMinRange, const SYSTEMTIME* pMaxRange);
    BOOL GetTime(COleDateTime& timeDest) const
    {
        SYSTEMTIME st{};
        if (GetTime(&st) != GDT_VALID)
            return FALSE;
        timeDest = COleDateTime(st);
        return TRUE;
    }
    BOOL SetTime(const COleDateTime& timeNew)
    {
        SYSTEMTIME st{};
        return timeNew.GetAsSystemTime(st) && SetTime(&st);
    }
    DWORD GetTime(CTime& timeDest) const
    {
        SYSTEMTIME st{};
        DWORD r = GetTime(&st);
        if (r == GDT_VALID)
            timeDest = CTime(st);
        return r;
    }
    BOOL SetTime(const CTime* pTimeNew)
    {
        SYSTEMTIME st{};
        return pTimeNew && pTimeNew->GetAsSystemTime(st) ? SetTime(&st)
                                                         : SetTime(static_cast<const SYSTEMTIME*>(nullptr));
    }
};
