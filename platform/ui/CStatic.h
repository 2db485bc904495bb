#pragma once
// Static texts, frames and pictures (GUI thread). The picture is a handle
// slot that the drawing layer paints.

#include "platform/ui/CWnd.h"

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)

public:
    BOOL Create(LPCSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xFFFF)
    {
        return CWnd::CreateEx(0, "STATIC", lpszText, dwStyle | WS_CHILD, rect, pParentWnd, nID);
    }
    HBITMAP SetBitmap(HBITMAP hBitmap)
    {
        return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, 0, reinterpret_cast<LPARAM>(hBitmap)));
    }
    HBITMAP GetBitmap() const { return reinterpret_cast<HBITMAP>(SendMessage(STM_GETIMAGE, 0)); }
    HICON SetIcon(HICON hIcon)
    {
        return reinterpret_cast<HICON>(SendMessage(STM_SETIMAGE, 1, reinterpret_cast<LPARAM>(hIcon)));
    }
    HICON GetIcon() const { return reinterpret_cast<HICON>(SendMessage(STM_GETIMAGE, 1)); }

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
