#pragma once
// List boxes (GUI thread).

#include "platform/ui/CWnd.h"

class CListBox : public CWnd {
    DECLARE_DYNAMIC(CListBox)

public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::CreateEx(0, "LISTBOX", "", dwStyle | WS_CHILD, rect, pParentWnd, nID);
    }
    int AddString(LPCSTR s) { return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s))); }
    int InsertString(int i, LPCSTR s)
    {
        return static_cast<int>(SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s)));
    }
    int DeleteString(UINT i) { return static_cast<int>(SendMessage(LB_DELETESTRING, i)); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
    int SetCurSel(int i) { return static_cast<int>(SendMessage(LB_SETCURSEL, static_cast<WPARAM>(i))); }
    int GetSel(int i) const { return static_cast<int>(SendMessage(LB_GETSEL, static_cast<WPARAM>(i))); }
    int SetSel(int i, BOOL bSelect = TRUE) { return static_cast<int>(SendMessage(LB_SETSEL, bSelect, i)); }
    int GetSelCount() const { return static_cast<int>(SendMessage(LB_GETSELCOUNT)); }
    int GetSelItems(int nMaxItems, LPINT rgIndex) const
    {
        return static_cast<int>(
            SendMessage(LB_GETSELITEMS, static_cast<WPARAM>(nMaxItems), reinterpret_cast<LPARAM>(rgIndex)));
    }
    int GetTextLen(int i) const { return static_cast<int>(SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(i))); }
    int GetText(int i, LPSTR buf) const
    {
        return static_cast<int>(SendMessage(LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf)));
    }
    void GetText(int i, CString& s) const;
    int FindString(int start, LPCSTR s) const
    {
        return static_cast<int>(SendMessage(LB_FINDSTRING, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(s)));
    }
    int FindStringExact(int start, LPCSTR s) const
    {
        return static_cast<int>(
            SendMessage(LB_FINDSTRINGEXACT, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(s)));
    }
    DWORD_PTR GetItemData(int i) const
    {
        return static_cast<DWORD_PTR>(SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(i)));
    }
    int SetItemData(int i, DWORD_PTR data)
    {
        return static_cast<int>(SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(i), static_cast<LPARAM>(data)));
    }
    int GetTopIndex() const { return static_cast<int>(SendMessage(LB_GETTOPINDEX)); }
    int SetTopIndex(int i) { return static_cast<int>(SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(i))); }

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {}
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {}
};
