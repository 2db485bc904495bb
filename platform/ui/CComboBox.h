#pragma once
// Combo boxes: drop-down lists and editable combos, items with data (GUI
// thread).

#include "platform/ui/CWnd.h"

class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)

public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::CreateEx(0, "COMBOBOX", "", dwStyle | WS_CHILD, rect, pParentWnd, nID);
    }
    int AddString(LPCSTR s) { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s))); }
    int InsertString(int i, LPCSTR s)
    {
        return static_cast<int>(SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s)));
    }
    int DeleteString(UINT i) { return static_cast<int>(SendMessage(CB_DELETESTRING, i)); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int i) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(i))); }
    int GetLBTextLen(int i) const { return static_cast<int>(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(i))); }
    int GetLBText(int i, LPSTR buf) const
    {
        return static_cast<int>(SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf)));
    }
    void GetLBText(int i, CString& s) const;
    int FindString(int start, LPCSTR s) const
    {
        return static_cast<int>(SendMessage(CB_FINDSTRING, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(s)));
    }
    int FindStringExact(int start, LPCSTR s) const
    {
        return static_cast<int>(
            SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(s)));
    }
    int SelectString(int start, LPCSTR s)
    {
        return static_cast<int>(SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(s)));
    }
    DWORD_PTR GetItemData(int i) const
    {
        return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(i)));
    }
    int SetItemData(int i, DWORD_PTR data)
    {
        return static_cast<int>(SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(i), static_cast<LPARAM>(data)));
    }
    void* GetItemDataPtr(int i) const { return reinterpret_cast<void*>(GetItemData(i)); }
    int SetItemDataPtr(int i, void* p) { return SetItemData(i, reinterpret_cast<DWORD_PTR>(p)); }
    void ShowDropDown(BOOL bShowIt = TRUE) { SendMessage(CB_SHOWDROPDOWN, bShowIt); }
    BOOL GetDroppedState() const { return static_cast<BOOL>(SendMessage(CB_GETDROPPEDSTATE)); }
    BOOL LimitText(int nMaxChars)
    {
        return static_cast<BOOL>(SendMessage(CB_LIMITTEXT, static_cast<WPARAM>(nMaxChars)));
    }

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {}
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {}
};
