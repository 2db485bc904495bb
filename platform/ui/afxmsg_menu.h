#pragma once
// Message-map entries for the menu messages.

#include "platform/ui/afxmsg.h"
#include "platform/ui/menu.h"

class CMenu;

// LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu)
#define ON_WM_MENUCHAR()                                                                                               \
    VX_ON_MSG(WM_MENUCHAR, return p_->OnMenuChar(LOWORD(wParam_), HIWORD(wParam_),                                     \
                                                 CMenu::FromHandle(reinterpret_cast<HMENU>(lParam_)));)
// void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
#define ON_WM_INITMENUPOPUP()                                                                                          \
    VX_ON_MSG(WM_INITMENUPOPUP, p_->OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(wParam_)),               \
                                                    LOWORD(lParam_), HIWORD(lParam_));                                 \
              return 0;)
