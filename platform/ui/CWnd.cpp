#include "platform/ui/CWnd.h"

#include "platform/gdi/GdiObject_p.h"
#include "platform/gdi/Icon_p.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/GuiThread_p.h"
#include "platform/ui/NativeControl_p.h"
#include "platform/ui/WindowApi_p.h"
#include "platform/ui/WindowCall_p.h"
#include "platform/ui/WindowRegistry_p.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)
IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

namespace {

// The messages being handled on this thread, innermost last (Default and
// reflection read the top).
thread_local std::vector<MSG> t_msgStack;

struct MsgScope {
    MsgScope(HWND h, UINT m, WPARAM w, LPARAM l) { t_msgStack.push_back(MSG{h, m, w, l, 0, {}}); }
    ~MsgScope() { t_msgStack.pop_back(); }
};

const AFX_MSGMAP_ENTRY* FindEntry(const AFX_MSGMAP* map, UINT message, UINT code, UINT id, bool matchIds)
{
    for (; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e && e->pfn; ++e) {
            UINT m = e->nMessage;
            if (m == VX_REGISTERED_MESSAGE_MARK && e->nSig)
                m = *reinterpret_cast<const UINT*>(e->nSig);
            if (m != message)
                continue;
            if (!matchIds) {
                if (e->nCode == 0 && e->nID == 0)
                    return e;
                continue;
            }
            if (e->nCode == code && id >= e->nID && id <= e->nLastID)
                return e;
        }
    }
    return nullptr;
}

}  // namespace

// ---- CCmdTarget ----

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message, UINT code, UINT id) const
{
    bool ids = message == WM_COMMAND || message == WM_NOTIFY;
    return FindEntry(GetMessageMap(), message, code, id, ids);
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, void*)
{
    const AFX_MSGMAP_ENTRY* e = FindEntry(GetMessageMap(), WM_COMMAND, static_cast<UINT>(nCode), nID, true);
    if (!e)
        return FALSE;
    AFX_DISPATCH d{WM_COMMAND, nID, static_cast<UINT>(nCode), nullptr, TRUE};
    e->pfn(this, MAKEWPARAM(nID, nCode), reinterpret_cast<LPARAM>(pExtra), d);
    return d.bHandled;
}

// ---- CWnd ----

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    if (m_hWnd && !vxw::GuiThread::isGuiThread()) {
        // The window is the GUI thread's to destroy: the record lets go of
        // this object first, so nothing reaches freed memory through it, and
        // the GUI thread destroys the window when it comes to it.
        HWND h = m_hWnd;
        bool owned = false;
        {
            vxw::WindowRegistry& reg = vxw::WindowRegistry::instance();
            auto lock = reg.lock();
            vxw::WindowRecord* r = reg.findLocked(h);
            if (r && r->wnd == this) {
                r->wnd = nullptr;
                owned = !r->destroying;
            }
        }
        m_hWnd = nullptr;
        if (owned) {
            if (vxw::GuiThread* gui = vxw::GuiThread::instance())
                gui->runLater([h] { ::DestroyWindow(h); });
            vxw::CheckGuiThread("~CWnd of a live window");
        }
        return;
    }
    // An object that dies with its window still open takes the window along,
    // so the handle never points at freed memory.
    if (m_hWnd) {
        vxw::WindowRecord* r = vxw::Rec(m_hWnd);
        if (r && r->wnd == this) {
            if (!r->destroying) {
                DestroyWindow();
            } else {
                r->wnd = nullptr;
            }
        }
    }
}

HWND CWnd::GetSafeHwnd() const
{
    // Classic callers ask a null object for its handle.
    volatile uintptr_t self = reinterpret_cast<uintptr_t>(this);
    return self ? m_hWnd : nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    vxw::WindowRegistry& reg = vxw::WindowRegistry::instance();
    auto lock = reg.lock();
    vxw::WindowRecord* r = hWnd ? reg.findLocked(hWnd) : nullptr;
    return r && !r->dead ? r->wnd : nullptr;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    // Workers ask too (GetParent(), GetDlgItem()): the object is made under
    // the lock.
    vxw::WindowRegistry& reg = vxw::WindowRegistry::instance();
    auto lock = reg.lock();
    vxw::WindowRecord* r = hWnd ? reg.findLocked(hWnd) : nullptr;
    if (!r || r->dead)
        return nullptr;
    if (!r->wnd) {
        r->temp = std::make_unique<CWnd>();
        r->temp->m_hWnd = hWnd;
        r->wnd = r->temp.get();
    }
    return r->wnd;
}

BOOL CWnd::Attach(HWND hWnd)
{
    vxw::WindowRecord* r = vxw::Rec(hWnd);
    if (!r || r->dead || m_hWnd)
        return FALSE;
    if (r->wnd && r->wnd != r->temp.get())
        return FALSE;
    r->wnd = this;
    m_hWnd = hWnd;
    if (r->temp) {
        r->temp->m_hWnd = nullptr;
        r->temp.reset();
    }
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND h = m_hWnd;
    vxw::WindowRecord* r = vxw::Rec(h);
    if (r && r->wnd == this)
        r->wnd = nullptr;
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND h = ::GetDlgItem(CWnd::SafeHwnd(pParent), static_cast<int>(nID));
    return h ? SubclassWindow(h) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    return Detach();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT&)
{
    return TRUE;
}

void CWnd::PreSubclassWindow() {}

void CWnd::PostNcDestroy() {}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, void*)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, CWnd::SafeHwnd(pParentWnd),
                    reinterpret_cast<HMENU>(static_cast<uintptr_t>(nID)), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    using namespace vxw;
    VX_ASSERT_GUI_THREAD(FALSE);
    if (m_hWnd)
        return FALSE;
    CREATESTRUCT cs{};
    cs.lpCreateParams = lpParam;
    cs.hMenu = nIDorHMenu;
    cs.hwndParent = hWndParent;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.style = static_cast<LONG>(dwStyle);
    cs.lpszName = lpszWindowName;
    cs.lpszClass = lpszClassName;
    cs.dwExStyle = dwExStyle;
    if (!PreCreateWindow(cs))
        return FALSE;
    bool child = (cs.style & WS_CHILD) != 0;
    if (child && !WindowRegistry::instance().alive(cs.hwndParent))
        return FALSE;

    auto rec = std::make_unique<WindowRecord>();
    rec->className = cs.lpszClass && !IS_INTRESOURCE(cs.lpszClass) ? cs.lpszClass : "";
    rec->style = static_cast<DWORD>(cs.style);
    rec->exStyle = cs.dwExStyle;
    rec->text = cs.lpszName && !IS_INTRESOURCE(cs.lpszName) ? cs.lpszName : "";
    if (child) {
        rec->parent = cs.hwndParent;
        rec->id = static_cast<int>(reinterpret_cast<intptr_t>(cs.hMenu));
    } else {
        HWND owner = cs.hwndParent;
        // The owner of a pop-up is always a top-level window.
        while (owner && Rec(owner) && Rec(owner)->parent)
            owner = Rec(owner)->parent;
        rec->owner = owner;
        rec->menu = cs.hMenu;
    }
    rec->native = CreateNativeControl(rec->className);
    rec->classProc = ClassDefaultProc(rec->className);
    rec->wnd = this;
    HWND h = WindowRegistry::instance().add(std::move(rec));
    WindowRecord* r = Rec(h);
    m_hWnd = h;
    if (r->native)
        r->native->hwnd = h;
    if (r->parent)
        LinkChild(r->parent, h);

    QWidget* parentWidget = WidgetOf(r->parent ? r->parent : r->owner);
    QWidget* w = r->native ? r->native->create(*r, parentWidget) : CreateWindowWidget(*r, parentWidget);
    r->widget = w;
    int cy = std::max(0, cs.cy);
    if (r->native && r->native->fixedHeight() >= 0)
        cy = r->native->fixedHeight();
    w->setGeometry(cs.x, cs.y, std::max(0, cs.cx), cy);
    if (r->style & WS_DISABLED)
        w->setEnabled(false);
    if (!r->text.empty() && !child)
        w->setWindowTitle(ToQ(r->text));
    AttachWidget(*r);
    if (r->native)
        r->native->created();

    // As on the system we mirror, the style asked for decides the showing:
    // styles read during creation lack WS_VISIBLE (nothing is shown yet), so
    // a ModifyStyle in PreSubclassWindow or WM_CREATE writes it back without.
    const bool createVisible = (cs.style & WS_VISIBLE) != 0;
    PreSubclassWindow();
    AskMinMaxInfo(h);
    if (!::IsWindow(h))
        return FALSE;
    cs.hInstance = nullptr;
    if (CallWindow(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        ::DestroyWindow(h);
        return FALSE;
    }
    if (!::IsWindow(h))
        return FALSE;
    r->reportedSize = w->size();
    CallWindow(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w->width(), w->height()));
    if (!::IsWindow(h))
        return FALSE;
    r->reportedPos = w->pos();
    CallWindow(h, WM_MOVE, 0, MAKELPARAM(w->x(), w->y()));
    if (!::IsWindow(h))
        return FALSE;
    if ((r->style & WS_VISIBLE) || createVisible) {
        w->show();
        if (r->parent)
            w->raise();
    } else {
        // Hidden on purpose: the toolkit would otherwise show a child along
        // with its parent, where the system we mirror keeps it hidden until
        // ShowWindow.
        w->hide();
    }
    MirrorWidgetState(h);
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

// ---- dispatch ----

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessage(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessage(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::SendNotifyMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendNotifyMessage(m_hWnd, message, wParam, lParam);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep)
{
    vxw::WindowRecord* r = vxw::Rec(m_hWnd);
    if (!r)
        return;
    std::vector<HWND> kids = r->children;
    for (HWND c : kids) {
        ::SendMessage(c, message, wParam, lParam);
        if (bDeep) {
            if (CWnd* w = FromHandle(c))
                w->SendMessageToDescendants(message, wParam, lParam, TRUE);
        }
    }
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = 0;
    if (message == WM_COMMAND) {
        if (OnCommand(wParam, lParam)) {
            *pResult = 1;
            return TRUE;
        }
        return FALSE;
    }
    if (message == WM_NOTIFY) {
        auto* nm = reinterpret_cast<NMHDR*>(lParam);
        if (nm && OnNotify(wParam, lParam, &lResult)) {
            *pResult = lResult;
            return TRUE;
        }
        return FALSE;
    }
    UINT lookup = message;
    UINT ctlKind = 0;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        lookup = WM_CTLCOLOR;
        ctlKind = message - WM_CTLCOLORMSGBOX;
    }
    const AFX_MSGMAP_ENTRY* e = FindEntry(GetMessageMap(), lookup, 0, 0, false);
    if (!e)
        return FALSE;
    AFX_DISPATCH d{message, 0, ctlKind, pResult, TRUE};
    lResult = e->pfn(this, wParam, lParam, d);
    *pResult = lResult;
    return TRUE;
}

LRESULT CWnd::Default()
{
    if (t_msgStack.empty())
        return 0;
    MSG m = t_msgStack.back();
    return DefWindowProc(m.message, m.wParam, m.lParam);
}

const MSG* CWnd::GetCurrentMessage()
{
    return t_msgStack.empty() ? nullptr : &t_msgStack.back();
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND h = pMsg->hwnd; h; h = ::GetParent(h)) {
        CWnd* w = FromHandlePermanent(h);
        if (w && w->PreTranslateMessage(pMsg))
            return TRUE;
        if (h == hWndStop)
            break;
    }
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    int nCode = HIWORD(wParam);
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    if (hWndCtrl) {
        // The control gets the first look at its own notification.
        if (ReflectLastMsg(hWndCtrl))
            return TRUE;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    auto* nm = reinterpret_cast<NMHDR*>(lParam);
    if (ReflectLastMsg(nm->hwndFrom, pResult))
        return TRUE;
    UINT id = static_cast<UINT>(nm->idFrom);
    const AFX_MSGMAP_ENTRY* e = FindEntry(GetMessageMap(), WM_NOTIFY, nm->code, id, true);
    if (!e)
        return FALSE;
    AFX_DISPATCH d{WM_NOTIFY, id, nm->code, pResult, TRUE};
    e->pfn(this, static_cast<WPARAM>(id), lParam, d);
    return d.bHandled;
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* child = FromHandlePermanent(hWndChild);
    if (!child || t_msgStack.empty())
        return FALSE;
    MSG m = t_msgStack.back();
    return child->OnChildNotify(m.message, m.wParam, m.lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const AFX_MSGMAP_ENTRY* e = nullptr;
    AFX_DISPATCH d{message, 0, 0, pResult, TRUE};
    LRESULT dummy = 0;
    if (!d.pResult)
        d.pResult = &dummy;
    if (message == WM_COMMAND) {
        d.nCode = HIWORD(wParam);
        e = FindEntry(GetMessageMap(), WM_REFLECT_BASE + WM_COMMAND, d.nCode, 0, true);
        if (!e)
            return FALSE;
        e->pfn(this, wParam, lParam, d);
        return d.bHandled;
    }
    if (message == WM_NOTIFY) {
        d.nCode = reinterpret_cast<NMHDR*>(lParam)->code;
        e = FindEntry(GetMessageMap(), WM_REFLECT_BASE + WM_NOTIFY, d.nCode, 0, true);
        if (!e)
            return FALSE;
        e->pfn(this, wParam, lParam, d);
        return d.bHandled;
    }
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        e = FindEntry(GetMessageMap(), WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, false);
        if (!e)
            return FALSE;
        d.nCode = message - WM_CTLCOLORMSGBOX;
        LRESULT brush = e->pfn(this, wParam, lParam, d);
        if (!brush)
            return FALSE;
        *d.pResult = brush;
        return TRUE;
    }
    return FALSE;
}

namespace vxw {

thread_local NativeDefault* g_nativeDefault = nullptr;

LRESULT CallWindow(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWnd* w = CWnd::FromHandle(hwnd);
    if (!w)
        return 0;
    MsgScope scope(hwnd, msg, wParam, lParam);
    return w->WindowProc(msg, wParam, lParam);
}

void DestroyAllWindows()
{
    for (HWND h : WindowRegistry::instance().topLevels())
        ::DestroyWindow(h);
}

}  // namespace vxw

namespace {

// A top-level window shows its icons in the task bar and window list; the
// main window's (or the first one set) is the application's icon too, for
// the windows that set none.
void ShowWindowIcon(HWND hwnd, HICON big, HICON small)
{
    QIcon icon;
    for (HICON h : {big, small}) {
        if (vxgdi::IconObj* o = vxgdi::Icon(h); o && !o->image.isNull())
            icon.addPixmap(QPixmap::fromImage(o->image));
    }
    vxw::WindowRecord* r = vxw::Rec(hwnd);
    QWidget* w = r ? r->widget.data() : nullptr;
    if (!w || r->parent)
        return;
    w->setWindowIcon(icon);
    CWnd* main = AfxGetMainWnd();
    if (!icon.isNull() && ((main && main->m_hWnd == hwnd) || QApplication::windowIcon().isNull()))
        QApplication::setWindowIcon(icon);
}

}  // namespace

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    using namespace vxw;
    if (g_nativeDefault && g_nativeDefault->hwnd == m_hWnd && g_nativeDefault->msg == message) {
        g_nativeDefault->reached = true;
        if (g_nativeDefault->event && !g_nativeDefault->ran)
            RunNativeDefault(*g_nativeDefault);
        return 0;
    }
    WindowRecord* r = Rec(m_hWnd);
    if (!r || r->dead)
        return 0;
    LRESULT result = 0;
    if (r->native && r->native->handle(message, wParam, lParam, result))
        return result;
    if (r->classProc && r->classProc(m_hWnd, message, wParam, lParam, result))
        return result;
    QWidget* w = r->widget;
    switch (message) {
    case WM_CLOSE:
        ::DestroyWindow(m_hWnd);
        return 0;
    case WM_SETTEXT: {
        // FindWindow reads top-level texts on any thread.
        std::string text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        {
            auto lock = WindowRegistry::instance().lock();
            r->text = text;
        }
        if (w && !r->parent)
            w->setWindowTitle(ToQ(text));
        if (w)
            w->update();
        return TRUE;
    }
    case WM_GETTEXT:
        return CopyOut(r->text, reinterpret_cast<char*>(lParam), static_cast<int>(wParam));
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(r->text.size());
    case WM_SETFONT:
        r->font = reinterpret_cast<HFONT>(wParam);
        if (w) {
            if (vxgdi::FontObj* f = vxgdi::Font(reinterpret_cast<HGDIOBJ>(wParam)))
                w->setFont(f->font);
            if (LOWORD(lParam))
                w->update();
        }
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(r->font);
    case WM_SETICON: {
        HICON old = wParam == ICON_BIG ? r->iconBig : r->iconSmall;
        (wParam == ICON_BIG ? r->iconBig : r->iconSmall) = reinterpret_cast<HICON>(lParam);
        ShowWindowIcon(m_hWnd, r->iconBig, r->iconSmall);
        return reinterpret_cast<LRESULT>(old);
    }
    case WM_SETREDRAW:
        r->redraw = wParam != 0;
        if (w) {
            w->setUpdatesEnabled(r->redraw);
            if (r->redraw)
                w->update();
        }
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_MINIMIZE:
            ::ShowWindow(m_hWnd, SW_MINIMIZE);
            break;
        case SC_MAXIMIZE:
            ::ShowWindow(m_hWnd, SW_MAXIMIZE);
            break;
        case SC_RESTORE:
            ::ShowWindow(m_hWnd, SW_RESTORE);
            break;
        case SC_CLOSE:
            ::SendMessage(m_hWnd, WM_CLOSE, 0, 0);
            break;
        default:
            break;
        }
        return 0;
    case WM_NCLBUTTONDOWN:
        if (wParam == HTCAPTION && w && w->window()->windowHandle())
            w->window()->windowHandle()->startSystemMove();
        return 0;
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_SETCURSOR:
        if (r->parent && ::SendMessage(r->parent, WM_SETCURSOR, wParam, lParam))
            return TRUE;
        return FALSE;
    case WM_ERASEBKGND:
        return 1;
    case WM_CONTEXTMENU:
        if (r->parent)
            return ::SendMessage(r->parent, WM_CONTEXTMENU, wParam, lParam);
        return 0;
    case WM_CANCELMODE:
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        return 0;
    case WM_GETDLGCODE:
        return r->native ? r->native->dlgCode() : 0;
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
        LRESULT res = 0;
        return dis && ReflectLastMsg(dis->hwndItem, &res) ? TRUE : FALSE;
    }
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
        LRESULT res = 0;
        return mis && ReflectLastMsg(::GetDlgItem(m_hWnd, static_cast<int>(mis->CtlID)), &res) ? TRUE : FALSE;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        LRESULT brush = 0;
        if (ReflectLastMsg(reinterpret_cast<HWND>(lParam), &brush))
            return brush;
        return 0;
    }
    case WM_NCCREATE:
        return TRUE;
    default:
        return 0;
    }
}

// ---- default handlers ----

int CWnd::OnCreate(LPCREATESTRUCT)
{
    return static_cast<int>(Default());
}
void CWnd::OnDestroy()
{
    Default();
}
void CWnd::OnNcDestroy()
{
    Default();
}
void CWnd::OnClose()
{
    Default();
}
void CWnd::OnPaint()
{
    Default();
}
void CWnd::OnNcPaint()
{
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnTimer(UINT_PTR)
{
    Default();
}
void CWnd::OnSize(UINT, int, int)
{
    Default();
}
void CWnd::OnMove(int, int)
{
    Default();
}
void CWnd::OnShowWindow(BOOL, UINT)
{
    Default();
}
void CWnd::OnEnable(BOOL)
{
    Default();
}
void CWnd::OnActivate(UINT, CWnd*, BOOL)
{
    Default();
}
void CWnd::OnSetFocus(CWnd*)
{
    Default();
}
void CWnd::OnKillFocus(CWnd*)
{
    Default();
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnMouseMove(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonDblClk(UINT, CPoint)
{
    Default();
}
void CWnd::OnMButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnMButtonUp(UINT, CPoint)
{
    Default();
}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnMouseLeave()
{
    Default();
}
void CWnd::OnMouseHover(UINT, CPoint)
{
    Default();
}
void CWnd::OnKeyDown(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnKeyUp(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnChar(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnSysCommand(UINT, LPARAM)
{
    Default();
}
UINT CWnd::OnGetDlgCode()
{
    return static_cast<UINT>(Default());
}
LRESULT CWnd::OnNcHitTest(CPoint)
{
    return Default();
}
void CWnd::OnNcLButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnGetMinMaxInfo(MINMAXINFO*)
{
    Default();
}
HCURSOR CWnd::OnQueryDragIcon()
{
    return reinterpret_cast<HCURSOR>(Default());
}
void CWnd::OnSysColorChange()
{
    Default();
}
void CWnd::OnCancelMode()
{
    Default();
}
void CWnd::OnContextMenu(CWnd*, CPoint)
{
    Default();
}
void CWnd::OnHScroll(UINT, UINT, CScrollBar*)
{
    Default();
}
void CWnd::OnVScroll(UINT, UINT, CScrollBar*)
{
    Default();
}
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT)
{
    Default();
}
void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT)
{
    Default();
}
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT)
{
    return reinterpret_cast<HBRUSH>(Default());
}
