#include "platform/ui/CDialog.h"

#include "platform/gdi/GdiObject_p.h"
#include "platform/gdi/wingdi.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/DialogInit_p.h"
#include "platform/ui/GuiThread_p.h"
#include "platform/ui/NativeControl_p.h"
#include "platform/ui/TestHooks.h"
#include "platform/ui/WindowCall_p.h"
#include "platform/ui/WindowRegistry_p.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QWidget>

#include <cstring>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
END_MESSAGE_MAP()

namespace {

vxw::test::ModalDialogHook g_modalHook;

// The dialog font of a template: the classic dialog faces map to the
// desktop's sans-serif face at the same point size.
QFont TemplateFont(const vxw::DialogTemplate& t)
{
    QFont f = QApplication::font();
    std::string face = t.fontName;
    static const char* const kGeneric[] = {"MS Shell Dlg", "MS Shell Dlg 2", "MS Sans Serif", "System", ""};
    bool generic = false;
    for (const char* g : kGeneric)
        generic = generic || face == g;
    if (!generic)
        f.setFamily(vxw::ToQ(face));
    f.setPointSize(t.fontSize > 0 ? t.fontSize : 8);
    return f;
}

// Dialog base units: the average width of the alphabet and the line height
// of the template's font.
void BaseUnits(const QFont& f, int& bx, int& by)
{
    QFontMetrics fm(f);
    int w = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    bx = (w / 26 + 1) / 2;
    by = fm.height();
    if (bx <= 0)
        bx = 6;
    if (by <= 0)
        by = 13;
}

int MulDivRound(int v, int mul, int div)
{
    long long r = static_cast<long long>(v) * mul;
    return static_cast<int>(r >= 0 ? (r + div / 2) / div : (r - div / 2) / div);
}

}  // namespace

namespace vxw::test {
void SetModalDialogHook(ModalDialogHook hook)
{
    g_modalHook = std::move(hook);
}
}  // namespace vxw::test

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDHelp(nIDTemplate), m_lpszTemplateName(MAKEINTRESOURCE(nIDTemplate)), m_pParentWnd(pParentWnd)
{}

CDialog::CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd)
{
    if (IS_INTRESOURCE(lpszTemplateName))
        m_nIDHelp = static_cast<UINT>(reinterpret_cast<uintptr_t>(lpszTemplateName));
}

CDialog::~CDialog()
{
    if (m_hDialogFont)
        ::DeleteObject(m_hDialogFont);
}

const vxw::DialogTemplate* CDialog::FindTemplate() const
{
    if (!m_lpszTemplateName || !IS_INTRESOURCE(m_lpszTemplateName))
        return nullptr;
    HINSTANCE h = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
    const vxw::ResourceModule* m = vxw::FindResourceModule(h);
    return m ? m->FindDialog(static_cast<UINT>(reinterpret_cast<uintptr_t>(m_lpszTemplateName))) : nullptr;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    return Create(MAKEINTRESOURCE(nIDTemplate), pParentWnd);
}

BOOL CDialog::Create(LPCSTR lpszTemplateName, CWnd* pParentWnd)
{
    m_lpszTemplateName = lpszTemplateName;
    if (IS_INTRESOURCE(lpszTemplateName) && !m_nIDHelp)
        m_nIDHelp = static_cast<UINT>(reinterpret_cast<uintptr_t>(lpszTemplateName));
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    const vxw::DialogTemplate* t = FindTemplate();
    if (!t)
        return FALSE;
    CWnd* parent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    if (parent == this)
        parent = nullptr;
    return CreateFromTemplate(*t, CWnd::SafeHwnd(parent), false);
}

BOOL CDialog::CreateIndirect(const vxw::DialogTemplate& dialogTemplate, CWnd* pParentWnd)
{
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    return CreateFromTemplate(dialogTemplate, CWnd::SafeHwnd(m_pParentWnd), false);
}

BOOL CDialog::CreateFromTemplate(const vxw::DialogTemplate& t, HWND hParent, bool modal)
{
    QFont font = TemplateFont(t);
    BaseUnits(font, m_baseX, m_baseY);
    DWORD style = t.style & ~WS_VISIBLE;
    if (modal)
        style &= ~WS_CHILD;
    if (!(style & WS_CHILD))
        style |= WS_POPUP;
    RECT rc{t.x, t.y, t.x + t.cx, t.y + t.cy};
    MapDialogRect(&rc);
    m_modal = modal;
    if (!CreateEx(t.exStyle, WC_DIALOG, t.caption.c_str(), style, rc.left, rc.top, rc.right - rc.left,
                  rc.bottom - rc.top, hParent, nullptr, nullptr))
        return FALSE;
    HWND self = m_hWnd;
    vxw::WindowRecord* r = vxw::Rec(self);
    r->widget->setFont(font);
    // The dialog and its controls report the template's font (WM_GETFONT),
    // as controls that build fonts of their own start from it.
    if (!m_hDialogFont) {
        LOGFONT lf = vxgdi::LogFontFromQFont(font);
        m_hDialogFont = ::CreateFontIndirect(&lf);
    }
    r->font = m_hDialogFont;
    for (const vxw::DialogItemTemplate& item : t.items) {
        RECT ir{item.x, item.y, item.x + item.cx, item.y + item.cy};
        MapDialogRect(&ir);
        HWND c = CreateWindowEx(item.exStyle, item.className.c_str(), item.text.c_str(), item.style | WS_CHILD, ir.left,
                                ir.top, ir.right - ir.left, ir.bottom - ir.top, self,
                                reinterpret_cast<HMENU>(static_cast<intptr_t>(item.id)), nullptr, nullptr);
        if (!c)
            return FALSE;
        if (vxw::WindowRecord* k = vxw::Rec(c))
            k->font = m_hDialogFont;
        vxw::AddInitialStrings(c, item);
    }
    // The first control with a tab stop gets the focus unless
    // OnInitDialog says it has set it.
    RECT placed{};
    ::GetWindowRect(self, &placed);
    LRESULT focusDefault = ::SendMessage(self, WM_INITDIALOG, 0, 0);
    if (!::IsWindow(self))
        return FALSE;
    if (focusDefault) {
        if (CWnd* first = GetNextDlgTabItem(nullptr))
            ::SetFocus(first->m_hWnd);
    }
    // Centred when the template asks for it (or gives no place), unless
    // OnInitDialog has placed the window itself.
    RECT now{};
    ::GetWindowRect(self, &now);
    const bool moved = now.left != placed.left || now.top != placed.top;
    if (!moved && ((t.style & DS_CENTER) || (modal && t.x == 0 && t.y == 0)))
        CenterWindow();
    if (t.style & WS_VISIBLE)
        ::ShowWindow(self, SW_SHOWNORMAL);
    return TRUE;
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    return OnInitDialog();
}

BOOL CDialog::OnInitDialog()
{
    // Moves the members' values into the controls; a failure is no reason
    // to refuse the dialog.
    UpdateData(FALSE);
    return TRUE;
}

INT_PTR CDialog::DoModal()
{
    const vxw::DialogTemplate* t = FindTemplate();
    vxw::GuiThread* gui = vxw::GuiThread::instance();
    if (!t || !gui || !vxw::GuiThread::isGuiThread())
        return -1;
    CWnd* parent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    if (parent == this)
        parent = nullptr;
    HWND hParent = parent ? CWnd::SafeHwnd(parent->GetTopLevelParent()) : nullptr;
    // The owner takes no input while its modal dialog runs.
    bool reenable = false;
    if (hParent && ::IsWindowEnabled(hParent)) {
        ::EnableWindow(hParent, FALSE);
        reenable = true;
    }
    m_nModalResult = -1;
    m_bInModalLoop = true;
    INT_PTR result = -1;
    if (CreateFromTemplate(*t, hParent, true)) {
        HWND self = m_hWnd;
        if (m_bInModalLoop)
            ::ShowWindow(self, SW_SHOWNORMAL);
        if (g_modalHook && m_bInModalLoop && ::IsWindow(self))
            g_modalHook(*this);
        if (m_bInModalLoop && ::IsWindow(self))
            gui->runNested([this, self] { return !::IsWindow(self) || !m_bInModalLoop; });
        result = m_nModalResult;
        if (::IsWindow(self)) {
            ::SetWindowPos(self, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
        }
    }
    m_bInModalLoop = false;
    if (reenable)
        ::EnableWindow(hParent, TRUE);
    if (hParent && ::IsWindow(hParent))
        ::SetForegroundWindow(hParent);
    DestroyWindow();
    m_modal = false;
    return result;
}

void CDialog::EndDialog(int nResult)
{
    if (m_modal) {
        EndModalLoop(nResult);
        return;
    }
    // A modeless dialog only hides; its owner destroys it.
    m_nModalResult = nResult;
    ::ShowWindow(m_hWnd, SW_HIDE);
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

namespace {

bool IsKeyMessage(const MSG* m)
{
    return m && m->message >= WM_KEYDOWN && m->message <= WM_CHAR;
}

// Enter and Escape are the dialog's (its default button, its Cancel) unless
// the focused control asks for every key.
bool IsDialogKey(const MSG* m)
{
    UINT vk = static_cast<UINT>(m->wParam);
    if (vk != VK_RETURN && vk != VK_ESCAPE)
        return false;
    UINT code = static_cast<UINT>(::SendMessage(m->hwnd, WM_GETDLGCODE, vk, reinterpret_cast<LPARAM>(m)));
    return !(code & DLGC_WANTALLKEYS);
}

}  // namespace

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (!IsKeyMessage(pMsg))
        return FALSE;
    if (GetStyle() & WS_CHILD) {
        // A dialog inside another dialog gives its controls the keys they
        // take, so the windows above never see them; Enter and Escape stay
        // the outer dialog's.
        if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd))
            return FALSE;
        if (IsDialogKey(pMsg))
            return FALSE;
        vxw::DispatchKeyMessage(*pMsg);
        return TRUE;
    }
    return ::IsDialogMessage(m_hWnd, pMsg);
}

BOOL CDialog::ControlTakesKey(const MSG* pMsg)
{
    if (!IsKeyMessage(pMsg) || !::IsWindow(pMsg->hwnd))
        return FALSE;
    UINT vk = static_cast<UINT>(pMsg->wParam);
    UINT code = static_cast<UINT>(::SendMessage(pMsg->hwnd, WM_GETDLGCODE, vk, reinterpret_cast<LPARAM>(pMsg)));
    if (code & DLGC_WANTALLKEYS)
        return TRUE;
    switch (vk) {
    case VK_SPACE:
        // Edits, lists and combo boxes type or select with it; buttons and
        // check boxes are pressed by it.
        return (code & (DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_BUTTON)) != 0;
    case VK_RETURN:
    case VK_ESCAPE:
        return FALSE;
    default:
        return TRUE;
    }
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    if (!pWndCtrl)
        return;
    ::SetFocus(pWndCtrl->m_hWnd);
    if (::SendMessage(pWndCtrl->m_hWnd, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        ::SendMessage(pWndCtrl->m_hWnd, EM_SETSEL, 0, -1);
}

void CDialog::NextDlgCtrl() const
{
    if (CWnd* next = GetNextDlgTabItem(CWnd::GetFocus(), FALSE))
        const_cast<CDialog*>(this)->GotoDlgCtrl(next);
}

void CDialog::PrevDlgCtrl() const
{
    if (CWnd* prev = GetNextDlgTabItem(CWnd::GetFocus(), TRUE))
        const_cast<CDialog*>(this)->GotoDlgCtrl(prev);
}

void CDialog::SetDefID(UINT nID)
{
    SendMessage(DM_SETDEFID, nID, 0);
}

DWORD CDialog::GetDefID() const
{
    return static_cast<DWORD>(SendMessage(DM_GETDEFID, 0, 0));
}

void CDialog::MapDialogRect(LPRECT lpRect) const
{
    if (!lpRect)
        return;
    lpRect->left = MulDivRound(lpRect->left, m_baseX, 4);
    lpRect->right = MulDivRound(lpRect->right, m_baseX, 4);
    lpRect->top = MulDivRound(lpRect->top, m_baseY, 8);
    lpRect->bottom = MulDivRound(lpRect->bottom, m_baseY, 8);
}

// ---- the dialog manager ----

namespace {

bool IsPushButton(HWND h)
{
    vxw::WindowRecord* r = vxw::Rec(h);
    if (!r || strcasecmp(r->className.c_str(), "BUTTON") != 0)
        return false;
    DWORD t = r->style & BS_TYPEMASK;
    return t == BS_PUSHBUTTON || t == BS_DEFPUSHBUTTON || t == BS_OWNERDRAW;
}

HWND FindDefaultButton(HWND hDlg)
{
    vxw::WindowRecord* r = vxw::Rec(hDlg);
    if (!r)
        return nullptr;
    for (HWND c : r->children) {
        vxw::WindowRecord* k = vxw::Rec(c);
        if (k && strcasecmp(k->className.c_str(), "BUTTON") == 0 && (k->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            return c;
    }
    return nullptr;
}

void ClickCommand(HWND hDlg, int id)
{
    HWND b = ::GetDlgItem(hDlg, id);
    if (b && !::IsWindowEnabled(b))
        return;
    ::SendMessage(hDlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(b));
}

}  // namespace

BOOL IsDialogMessage(HWND hDlg, LPMSG msg)
{
    if (!IsKeyMessage(msg) || !::IsWindow(hDlg))
        return FALSE;
    HWND focus = msg->hwnd;
    if (focus != hDlg && !::IsChild(hDlg, focus))
        return FALSE;
    // Every key meant for the dialog is handled here: the dialog's own keys
    // press its buttons, all others go to the focused control.
    if (!IsDialogKey(msg)) {
        vxw::DispatchKeyMessage(*msg);
        return TRUE;
    }
    // The key-up and character of Enter and Escape belong to the key-down.
    if (msg->message != WM_KEYDOWN)
        return TRUE;
    if (static_cast<UINT>(msg->wParam) == VK_ESCAPE) {
        ClickCommand(hDlg, IDCANCEL);
        return TRUE;
    }
    if (focus != hDlg && IsPushButton(focus)) {
        if (::IsWindowEnabled(focus))
            ::SendMessage(hDlg, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(focus), BN_CLICKED),
                          reinterpret_cast<LPARAM>(focus));
        return TRUE;
    }
    LRESULT def = ::SendMessage(hDlg, DM_GETDEFID, 0, 0);
    int id = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK;
    ClickCommand(hDlg, id);
    return TRUE;
}

namespace vxw {

bool DefDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM, LRESULT& result)
{
    switch (msg) {
    case WM_CLOSE:
        ::SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                      reinterpret_cast<LPARAM>(::GetDlgItem(hwnd, IDCANCEL)));
        result = 0;
        return true;
    case DM_GETDEFID: {
        HWND b = FindDefaultButton(hwnd);
        result = b ? MAKELRESULT(::GetDlgCtrlID(b), DC_HASDEFID) : 0;
        return true;
    }
    case DM_SETDEFID: {
        HWND old = FindDefaultButton(hwnd);
        if (old)
            ::SendMessage(old, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        if (HWND b = ::GetDlgItem(hwnd, static_cast<int>(wParam)))
            ::SendMessage(b, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
        result = TRUE;
        return true;
    }
    case WM_INITDIALOG:
        result = TRUE;
        return true;
    case WM_NEXTDLGCTL: {
        CWnd* d = CWnd::FromHandle(hwnd);
        CWnd* target = d ? d->GetNextDlgTabItem(CWnd::GetFocus(), wParam != 0) : nullptr;
        if (target)
            ::SetFocus(target->m_hWnd);
        result = 0;
        return true;
    }
    default:
        return false;
    }
}

}  // namespace vxw
