#pragma once
// A tooltip with helpers for the one tool each skinned control adds: a whole
// child window or a rectangle of a window, and relaying one mouse message.
// GUI thread only; takes no locks.

#include "platform/platform.h"

class AFX_EXT_CLASS CMyToolTipCtrl : public CToolTipCtrl {
    DECLARE_DYNAMIC(CMyToolTipCtrl)

public:
    int AddWindowTool(CWnd* pWnd, const char* text);
    int AddRectTool(CWnd* pWnd, const char* text, const RECT* rect, UINT id);
    void RelayEvent(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};
