#pragma once
// Push buttons, check boxes, radio buttons and group boxes (GUI thread).
// Owner-drawn buttons (BS_OWNERDRAW) get DrawItem through reflection.

#include "platform/ui/CWnd.h"

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)

public:
    BOOL Create(LPCSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::CreateEx(0, "BUTTON", lpszCaption, dwStyle | WS_CHILD, rect, pParentWnd, nID);
    }
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int nCheck) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck)); }
    UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
    void SetState(BOOL bHighlight) { SendMessage(BM_SETSTATE, static_cast<WPARAM>(bHighlight)); }
    UINT GetButtonStyle() const { return GetStyle() & 0xFFFF; }
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE) { SendMessage(BM_SETSTYLE, nStyle, bRedraw); }
    HBITMAP SetBitmap(HBITMAP hBitmap);
    HBITMAP GetBitmap() const { return m_hBitmap; }
    HICON SetIcon(HICON hIcon);
    void Click() { SendMessage(BM_CLICK); }

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    HBITMAP m_hBitmap = nullptr;
    HICON m_hIcon = nullptr;
};
