// Moving a window to another parent, or out to the desktop and back. The
// window keeps its handle, its object (and so its message map), its
// children, timers and its kept picture: only its place in the family and
// its Qt parent change.
#include "platform/ui/CWnd.h"

#include "platform/ui/GuiThread_p.h"
#include "platform/ui/WindowCall_p.h"
#include "platform/ui/WindowRegistry_p.h"

#include <QWidget>

#include <algorithm>

using namespace vxw;

HWND SetParent(HWND hWnd, HWND hWndNewParent)
{
    if (!GuiThread::isGuiThread()) {
        HWND out = nullptr;
        if (GuiThread* gui = GuiThread::instance())
            gui->callFromWorker([&] { out = ::SetParent(hWnd, hWndNewParent); });
        return out;
    }
    WindowRecord* r = Rec(hWnd);
    if (!r || r->dead || !r->widget)
        return nullptr;
    WindowRecord* np = Rec(hWndNewParent);
    if (hWndNewParent && (!np || np->dead || !np->widget))
        return nullptr;
    // A window cannot become a child of itself or of its own descendant.
    if (hWndNewParent && (hWndNewParent == hWnd || ::IsChild(hWnd, hWndNewParent)))
        return nullptr;
    HWND old = r->parent;
    if (old == hWndNewParent && hWndNewParent)
        return old;

    if (WindowRecord* op = Rec(old))
        std::erase(op->children, hWnd);
    QWidget* w = r->widget;
    const bool visible = !w->isHidden();
    const QPoint pos = w->pos();
    if (np) {
        r->parent = hWndNewParent;
        r->owner = nullptr;
        r->style = (r->style | WS_CHILD) & ~WS_POPUP;
        np->children.push_back(hWnd);
        w->setParent(np->widget, Qt::Widget);
        w->setFocusPolicy(Qt::ClickFocus);
    } else {
        r->parent = nullptr;
        r->style = (r->style & ~WS_CHILD) | WS_POPUP;
        Qt::WindowFlags f = Qt::Window;
        if ((r->style & WS_CAPTION) != WS_CAPTION)
            f |= Qt::FramelessWindowHint;
        if (r->exStyle & WS_EX_TOPMOST)
            f |= Qt::WindowStaysOnTopHint;
        w->setParent(nullptr, f);
    }
    // The position stays the same number, now in the new parent's (or the
    // screen's) coordinates, as callers place the window afterwards.
    w->move(pos);
    if (visible) {
        w->show();
        if (np)
            w->raise();
    }
    ReportMoveSize(hWnd);
    return old;
}

CWnd* CWnd::SetParent(CWnd* pWndNewParent)
{
    if (!m_hWnd)
        return nullptr;
    HWND before = ::GetParent(m_hWnd);
    HWND target = CWnd::SafeHwnd(pWndNewParent);
    if (pWndNewParent && !target)
        return nullptr;
    if (!::SetParent(m_hWnd, target) && ::GetParent(m_hWnd) != target)
        return nullptr;
    return before ? CWnd::FromHandle(before) : nullptr;
}
