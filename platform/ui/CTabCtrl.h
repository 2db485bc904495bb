#pragma once
// Tab controls (GUI thread). Owner-drawn tabs get DrawItem by reflection.

#include "platform/gdi/CImageList.h"
#include "platform/ui/CWnd.h"
#include "platform/ui/commctrl.h"

class CTabCtrl : public CWnd {
    DECLARE_DYNAMIC(CTabCtrl)

public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::CreateEx(0, WC_TABCONTROL, "", dwStyle | WS_CHILD, rect, pParentWnd, nID);
    }
    LONG InsertItem(int nItem, LPCSTR lpszItem);
    LONG InsertItem(int nItem, LPCSTR lpszItem, int nImage);
    LONG InsertItem(int nItem, TCITEM* pTabCtrlItem)
    {
        return static_cast<LONG>(
            SendMessage(TCM_INSERTITEM, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(pTabCtrlItem)));
    }
    BOOL DeleteItem(int nItem) { return static_cast<BOOL>(SendMessage(TCM_DELETEITEM, static_cast<WPARAM>(nItem))); }
    BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessage(TCM_DELETEALLITEMS)); }
    int GetItemCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT)); }
    BOOL GetItem(int nItem, TCITEM* pTabCtrlItem) const
    {
        return static_cast<BOOL>(
            SendMessage(TCM_GETITEM, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(pTabCtrlItem)));
    }
    BOOL SetItem(int nItem, TCITEM* pTabCtrlItem)
    {
        return static_cast<BOOL>(
            SendMessage(TCM_SETITEM, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(pTabCtrlItem)));
    }
    int GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
    int SetCurSel(int nItem) { return static_cast<int>(SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(nItem))); }
    int GetCurFocus() const { return static_cast<int>(SendMessage(TCM_GETCURFOCUS)); }
    void SetCurFocus(int nItem) { SendMessage(TCM_SETCURFOCUS, static_cast<WPARAM>(nItem)); }
    BOOL GetItemRect(int nItem, LPRECT lpRect) const
    {
        return static_cast<BOOL>(
            SendMessage(TCM_GETITEMRECT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(lpRect)));
    }
    void AdjustRect(BOOL bLarger, LPRECT lpRect)
    {
        SendMessage(TCM_ADJUSTRECT, bLarger, reinterpret_cast<LPARAM>(lpRect));
    }
    CImageList* SetImageList(CImageList* pImageList);
    CImageList* GetImageList() const;

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
