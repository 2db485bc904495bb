#include "ui/controls/CMyToolTipCtrl.h"

IMPLEMENT_DYNAMIC(CMyToolTipCtrl, CToolTipCtrl)

int CMyToolTipCtrl::AddWindowTool(CWnd* pWnd, const char* text)
{
    if (!pWnd)
        return 0;
    TOOLINFO ti{};
    ti.cbSize = sizeof(TOOLINFO);
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = ::GetParent(pWnd->GetSafeHwnd());
    ti.uId = reinterpret_cast<UINT_PTR>(pWnd->GetSafeHwnd());
    ti.hinst = AfxGetInstanceHandle();
    ti.lpszText = const_cast<LPSTR>(text);
    return static_cast<int>(SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti)));
}

int CMyToolTipCtrl::AddRectTool(CWnd* pWnd, const char* text, const RECT* rect, UINT id)
{
    if (!pWnd)
        return 0;
    TOOLINFO ti{};
    ti.cbSize = sizeof(TOOLINFO);
    ti.uFlags = TTF_SUBCLASS;
    ti.hwnd = pWnd->GetSafeHwnd();
    ti.uId = id;
    if (rect)
        ti.rect = *rect;
    ti.hinst = AfxGetInstanceHandle();
    ti.lpszText = const_cast<LPSTR>(text);
    return static_cast<int>(SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti)));
}

void CMyToolTipCtrl::RelayEvent(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!::IsWindow(GetSafeHwnd()))
        return;
    MSG msg{};
    msg.hwnd = hWnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = 0;
    // Client coordinates left of or above the window are negative.
    msg.pt.x = GET_X_LPARAM(lParam);
    msg.pt.y = GET_Y_LPARAM(lParam);
    SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}
