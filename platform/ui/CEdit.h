#pragma once
// Single- and multi-line edits (GUI thread).

#include "platform/ui/CWnd.h"

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)

public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::CreateEx(0, "EDIT", "", dwStyle | WS_CHILD, rect, pParentWnd, nID);
    }
    void SetLimitText(UINT nMax) { SendMessage(EM_LIMITTEXT, nMax); }
    void LimitText(int nChars = 0) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(nChars)); }
    UINT GetLimitText() const { return static_cast<UINT>(SendMessage(EM_GETLIMITTEXT)); }
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE)
    {
        SendMessage(EM_SETSEL, static_cast<WPARAM>(nStartChar), nEndChar);
    }
    void GetSel(int& nStartChar, int& nEndChar) const
    {
        DWORD s = 0;
        DWORD e = 0;
        SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
        nStartChar = static_cast<int>(s);
        nEndChar = static_cast<int>(e);
    }
    void ReplaceSel(LPCSTR lpszNewText, BOOL bCanUndo = FALSE)
    {
        SendMessage(EM_REPLACESEL, static_cast<WPARAM>(bCanUndo), reinterpret_cast<LPARAM>(lpszNewText));
    }
    BOOL SetReadOnly(BOOL bReadOnly = TRUE) { return static_cast<BOOL>(SendMessage(EM_SETREADONLY, bReadOnly)); }
    void SetPasswordChar(char ch) { SendMessage(EM_SETPASSWORDCHAR, static_cast<WPARAM>(ch)); }
    int GetLineCount() const { return static_cast<int>(SendMessage(EM_GETLINECOUNT)); }
    void Clear() { ReplaceSel(""); }
};
