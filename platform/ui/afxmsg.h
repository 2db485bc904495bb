#pragma once
// The ON_ entries of message maps. Each entry cracks wParam/lParam the way the
// classic handlers expect them and calls the handler on the class that owns
// the map (ThisClass, set by BEGIN_MESSAGE_MAP).

#include "platform/ui/CCmdTarget.h"

#define VX_MSG_THUNK(body)                                                                                             \
    [](CCmdTarget* t_, WPARAM wParam_, LPARAM lParam_, AFX_DISPATCH& d_) -> LRESULT {                                  \
        auto* p_ = static_cast<ThisClass*>(t_);                                                                        \
        (void)p_;                                                                                                      \
        (void)wParam_;                                                                                                 \
        (void)lParam_;                                                                                                 \
        (void)d_;                                                                                                      \
        body                                                                                                           \
    }

#define VX_ON_MSG(msg, body) {msg, 0, 0, 0, 0, VX_MSG_THUNK(body)},
#define VX_PT_               CPoint(GET_X_LPARAM(lParam_), GET_Y_LPARAM(lParam_))

#define ON_WM_CREATE()    VX_ON_MSG(WM_CREATE, return p_->OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam_));)
#define ON_WM_DESTROY()   VX_ON_MSG(WM_DESTROY, p_->OnDestroy(); return 0;)
#define ON_WM_NCDESTROY() VX_ON_MSG(WM_NCDESTROY, p_->OnNcDestroy(); return 0;)
#define ON_WM_CLOSE()     VX_ON_MSG(WM_CLOSE, p_->OnClose(); return 0;)
#define ON_WM_PAINT()     VX_ON_MSG(WM_PAINT, p_->OnPaint(); return 0;)
#define ON_WM_NCPAINT()   VX_ON_MSG(WM_NCPAINT, p_->OnNcPaint(); return 0;)
#define ON_WM_ERASEBKGND()                                                                                             \
    VX_ON_MSG(WM_ERASEBKGND, return p_->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wParam_)));)
#define ON_WM_TIMER() VX_ON_MSG(WM_TIMER, p_->OnTimer(static_cast<UINT_PTR>(wParam_)); return 0;)
#define ON_WM_SIZE()                                                                                                   \
    VX_ON_MSG(WM_SIZE, p_->OnSize(static_cast<UINT>(wParam_), (short)LOWORD(lParam_), (short)HIWORD(lParam_));         \
              return 0;)
#define ON_WM_MOVE() VX_ON_MSG(WM_MOVE, p_->OnMove((short)LOWORD(lParam_), (short)HIWORD(lParam_)); return 0;)
#define ON_WM_SHOWWINDOW()                                                                                             \
    VX_ON_MSG(WM_SHOWWINDOW, p_->OnShowWindow(static_cast<BOOL>(wParam_), static_cast<UINT>(lParam_)); return 0;)
#define ON_WM_ENABLE() VX_ON_MSG(WM_ENABLE, p_->OnEnable(static_cast<BOOL>(wParam_)); return 0;)
#define ON_WM_ACTIVATE()                                                                                               \
    VX_ON_MSG(WM_ACTIVATE,                                                                                             \
              p_->OnActivate(LOWORD(wParam_), CWnd::FromHandle(reinterpret_cast<HWND>(lParam_)), HIWORD(wParam_));     \
              return 0;)
#define ON_WM_SETFOCUS()                                                                                               \
    VX_ON_MSG(WM_SETFOCUS, p_->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam_))); return 0;)
#define ON_WM_KILLFOCUS()                                                                                              \
    VX_ON_MSG(WM_KILLFOCUS, p_->OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam_))); return 0;)
#define ON_WM_SETCURSOR()                                                                                              \
    VX_ON_MSG(WM_SETCURSOR, return p_->OnSetCursor(CWnd::FromHandle(reinterpret_cast<HWND>(wParam_)), LOWORD(lParam_), \
                                                   HIWORD(lParam_));)
#define ON_WM_MOUSEMOVE()   VX_ON_MSG(WM_MOUSEMOVE, p_->OnMouseMove(static_cast<UINT>(wParam_), VX_PT_); return 0;)
#define ON_WM_LBUTTONDOWN() VX_ON_MSG(WM_LBUTTONDOWN, p_->OnLButtonDown(static_cast<UINT>(wParam_), VX_PT_); return 0;)
#define ON_WM_LBUTTONUP()   VX_ON_MSG(WM_LBUTTONUP, p_->OnLButtonUp(static_cast<UINT>(wParam_), VX_PT_); return 0;)
#define ON_WM_LBUTTONDBLCLK()                                                                                          \
    VX_ON_MSG(WM_LBUTTONDBLCLK, p_->OnLButtonDblClk(static_cast<UINT>(wParam_), VX_PT_); return 0;)
#define ON_WM_RBUTTONDOWN() VX_ON_MSG(WM_RBUTTONDOWN, p_->OnRButtonDown(static_cast<UINT>(wParam_), VX_PT_); return 0;)
#define ON_WM_RBUTTONUP()   VX_ON_MSG(WM_RBUTTONUP, p_->OnRButtonUp(static_cast<UINT>(wParam_), VX_PT_); return 0;)
#define ON_WM_RBUTTONDBLCLK()                                                                                          \
    VX_ON_MSG(WM_RBUTTONDBLCLK, p_->OnRButtonDblClk(static_cast<UINT>(wParam_), VX_PT_); return 0;)
#define ON_WM_MBUTTONDOWN() VX_ON_MSG(WM_MBUTTONDOWN, p_->OnMButtonDown(static_cast<UINT>(wParam_), VX_PT_); return 0;)
#define ON_WM_MBUTTONUP()   VX_ON_MSG(WM_MBUTTONUP, p_->OnMButtonUp(static_cast<UINT>(wParam_), VX_PT_); return 0;)
#define ON_WM_MOUSEWHEEL()                                                                                             \
    VX_ON_MSG(WM_MOUSEWHEEL, return p_->OnMouseWheel(LOWORD(wParam_), (short)HIWORD(wParam_), VX_PT_);)
#define ON_WM_MOUSELEAVE() VX_ON_MSG(WM_MOUSELEAVE, p_->OnMouseLeave(); return 0;)
#define ON_WM_MOUSEHOVER() VX_ON_MSG(WM_MOUSEHOVER, p_->OnMouseHover(static_cast<UINT>(wParam_), VX_PT_); return 0;)
#define ON_WM_KEYDOWN()                                                                                                \
    VX_ON_MSG(WM_KEYDOWN, p_->OnKeyDown(static_cast<UINT>(wParam_), LOWORD(lParam_), HIWORD(lParam_)); return 0;)
#define ON_WM_KEYUP()                                                                                                  \
    VX_ON_MSG(WM_KEYUP, p_->OnKeyUp(static_cast<UINT>(wParam_), LOWORD(lParam_), HIWORD(lParam_)); return 0;)
#define ON_WM_CHAR()                                                                                                   \
    VX_ON_MSG(WM_CHAR, p_->OnChar(static_cast<UINT>(wParam_), LOWORD(lParam_), HIWORD(lParam_)); return 0;)
#define ON_WM_SYSCOMMAND() VX_ON_MSG(WM_SYSCOMMAND, p_->OnSysCommand(static_cast<UINT>(wParam_), lParam_); return 0;)
#define ON_WM_GETDLGCODE() VX_ON_MSG(WM_GETDLGCODE, return p_->OnGetDlgCode();)
#define ON_WM_NCHITTEST()  VX_ON_MSG(WM_NCHITTEST, return p_->OnNcHitTest(VX_PT_);)
#define ON_WM_NCLBUTTONDOWN()                                                                                          \
    VX_ON_MSG(WM_NCLBUTTONDOWN, p_->OnNcLButtonDown(static_cast<UINT>(wParam_), VX_PT_); return 0;)
#define ON_WM_GETMINMAXINFO()                                                                                          \
    VX_ON_MSG(WM_GETMINMAXINFO, p_->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam_)); return 0;)
#define ON_WM_QUERYDRAGICON()  VX_ON_MSG(WM_QUERYDRAGICON, return reinterpret_cast<LRESULT>(p_->OnQueryDragIcon());)
#define ON_WM_SYSCOLORCHANGE() VX_ON_MSG(WM_SYSCOLORCHANGE, p_->OnSysColorChange(); return 0;)
#define ON_WM_CANCELMODE()     VX_ON_MSG(WM_CANCELMODE, p_->OnCancelMode(); return 0;)
#define ON_WM_CONTEXTMENU()                                                                                            \
    VX_ON_MSG(WM_CONTEXTMENU, p_->OnContextMenu(CWnd::FromHandle(reinterpret_cast<HWND>(wParam_)), VX_PT_); return 0;)
#define ON_WM_HSCROLL()                                                                                                \
    VX_ON_MSG(WM_HSCROLL,                                                                                              \
              p_->OnHScroll(LOWORD(wParam_), (short)HIWORD(wParam_),                                                   \
                            reinterpret_cast<CScrollBar*>(CWnd::FromHandle(reinterpret_cast<HWND>(lParam_))));         \
              return 0;)
#define ON_WM_VSCROLL()                                                                                                \
    VX_ON_MSG(WM_VSCROLL,                                                                                              \
              p_->OnVScroll(LOWORD(wParam_), (short)HIWORD(wParam_),                                                   \
                            reinterpret_cast<CScrollBar*>(CWnd::FromHandle(reinterpret_cast<HWND>(lParam_))));         \
              return 0;)
#define ON_WM_DRAWITEM()                                                                                               \
    VX_ON_MSG(WM_DRAWITEM, p_->OnDrawItem(static_cast<int>(wParam_), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam_));     \
              return TRUE;)
#define ON_WM_MEASUREITEM()                                                                                            \
    VX_ON_MSG(WM_MEASUREITEM,                                                                                          \
              p_->OnMeasureItem(static_cast<int>(wParam_), reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam_));            \
              return TRUE;)
// wParam is the HDC, lParam the control; the control kind travels in d_.nCode.
#define ON_WM_CTLCOLOR()                                                                                               \
    VX_ON_MSG(WM_CTLCOLOR, return reinterpret_cast<LRESULT>(                                                           \
                               p_->OnCtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wParam_)),                         \
                                              CWnd::FromHandle(reinterpret_cast<HWND>(lParam_)), d_.nCode));)
// A control painting itself asks for its own colours first (reflection).
#define ON_WM_CTLCOLOR_REFLECT()                                                                                       \
    {                                                                                                                  \
        WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0, 0,                                                                     \
            VX_MSG_THUNK(return reinterpret_cast<LRESULT>(                                                             \
                                    p_->CtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wParam_)), d_.nCode));)         \
    }                                                                                                                  \
    ,

#define ON_MESSAGE(message, memberFxn)                                                                                 \
    {                                                                                                                  \
        static_cast<UINT>(message), 0, 0, 0, 0, VX_MSG_THUNK(return p_->memberFxn(wParam_, lParam_);)                  \
    }                                                                                                                  \
    ,
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                                             \
    {                                                                                                                  \
        VX_REGISTERED_MESSAGE_MARK, 0, 0, 0, reinterpret_cast<UINT_PTR>(&nMessageVariable),                            \
            VX_MSG_THUNK(return p_->memberFxn(wParam_, lParam_);)                                                      \
    }                                                                                                                  \
    ,

// ---- commands and control notifications (WM_COMMAND) ----
#define ON_COMMAND(id, memberFxn)                                                                                      \
    {                                                                                                                  \
        WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(id), 0, VX_MSG_THUNK(p_->memberFxn(); return 0;)       \
    }                                                                                                                  \
    ,
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                                        \
    {                                                                                                                  \
        WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(idLast), 0,                                            \
            VX_MSG_THUNK(p_->memberFxn(d_.nID); return 0;)                                                             \
    }                                                                                                                  \
    ,
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                                         \
    {                                                                                                                  \
        WM_COMMAND, static_cast<UINT>(wNotifyCode), static_cast<UINT>(id), static_cast<UINT>(id), 0,                   \
            VX_MSG_THUNK(p_->memberFxn(); return 0;)                                                                   \
    }                                                                                                                  \
    ,
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn)                                                           \
    {                                                                                                                  \
        WM_COMMAND, static_cast<UINT>(wNotifyCode), static_cast<UINT>(id), static_cast<UINT>(idLast), 0,               \
            VX_MSG_THUNK(p_->memberFxn(d_.nID); return 0;)                                                             \
    }                                                                                                                  \
    ,
#define ON_BN_CLICKED(id, memberFxn)       ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn)        ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn)        ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn)      ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn)     ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn)       ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn)    ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn)     ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn)      ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn)   ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn)     ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn)    ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn)    ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn)       ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn)      ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn)       ON_CONTROL(STN_DBLCLK, id, memberFxn)

// ---- WM_NOTIFY ----
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                                          \
    {                                                                                                                  \
        WM_NOTIFY, static_cast<UINT>(wNotifyCode), static_cast<UINT>(id), static_cast<UINT>(id), 0,                    \
            VX_MSG_THUNK(p_->memberFxn(reinterpret_cast<NMHDR*>(lParam_), d_.pResult); return 0;)                      \
    }                                                                                                                  \
    ,
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                                                            \
    {                                                                                                                  \
        WM_NOTIFY, static_cast<UINT>(wNotifyCode), static_cast<UINT>(id), static_cast<UINT>(idLast), 0,                \
            VX_MSG_THUNK(p_->memberFxn(d_.nID, reinterpret_cast<NMHDR*>(lParam_), d_.pResult); return 0;)              \
    }                                                                                                                  \
    ,
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn)                                                                       \
    {                                                                                                                  \
        WM_NOTIFY, static_cast<UINT>(wNotifyCode), static_cast<UINT>(id), static_cast<UINT>(id), 0,                    \
            VX_MSG_THUNK(d_.bHandled = p_->memberFxn(d_.nID, reinterpret_cast<NMHDR*>(lParam_), d_.pResult);           \
                         return 0;)                                                                                    \
    }                                                                                                                  \
    ,

// ---- reflected to the control that sent them ----
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn)                                                                     \
    {                                                                                                                  \
        WM_REFLECT_BASE + WM_COMMAND, static_cast<UINT>(wNotifyCode), 0, 0, 0,                                         \
            VX_MSG_THUNK(p_->memberFxn(); return 0;)                                                                   \
    }                                                                                                                  \
    ,
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn)                                                                  \
    {                                                                                                                  \
        WM_REFLECT_BASE + WM_COMMAND, static_cast<UINT>(wNotifyCode), 0, 0, 0,                                         \
            VX_MSG_THUNK(d_.bHandled = p_->memberFxn(); return 0;)                                                     \
    }                                                                                                                  \
    ,
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                                                      \
    {                                                                                                                  \
        WM_REFLECT_BASE + WM_NOTIFY, static_cast<UINT>(wNotifyCode), 0, 0, 0,                                          \
            VX_MSG_THUNK(p_->memberFxn(reinterpret_cast<NMHDR*>(lParam_), d_.pResult); return 0;)                      \
    }                                                                                                                  \
    ,
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)                                                                   \
    {                                                                                                                  \
        WM_REFLECT_BASE + WM_NOTIFY, static_cast<UINT>(wNotifyCode), 0, 0, 0,                                          \
            VX_MSG_THUNK(d_.bHandled = p_->memberFxn(reinterpret_cast<NMHDR*>(lParam_), d_.pResult); return 0;)        \
    }                                                                                                                  \
    ,
#define ON_BN_CLICKED_REFLECT(memberFxn) ON_CONTROL_REFLECT(BN_CLICKED, memberFxn)
