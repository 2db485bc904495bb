#include "ui/controls/CLinkStatic.h"

#include "ui/controls/LinkTarget.h"

COLORREF CLinkStatic::g_colorUnvisited = RGB(0, 0, 255);
COLORREF CLinkStatic::g_colorVisited = RGB(128, 0, 128);
COLORREF CLinkStatic::g_colorOver = RGB(255, 0, 0);
HCURSOR CLinkStatic::g_hCursorLink = nullptr;

namespace {
// The shared cursor is loaded once; a failed load is not retried.
bool g_cursorTried = false;
}  // namespace

// ---- CLinkTarget ----

CLinkTarget::CLinkTarget(const char* link) : m_strLink(link ? link : "") {}

CLinkTarget::CLinkTarget(const CLinkTarget& other) = default;

CLinkTarget& CLinkTarget::operator=(const CLinkTarget& other) = default;

CLinkTarget& CLinkTarget::operator=(const char* link)
{
    m_strLink = link ? link : "";
    return *this;
}

CLinkTarget::~CLinkTarget() = default;

HINSTANCE CLinkTarget::Navigate()
{
    if (m_strLink.IsEmpty())
        return nullptr;
    // The shell opens files and programs as readily as web pages: a link
    // must never become a way to start one.
    if (!vxui::IsOpenableLink(m_strLink.GetString()))
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_NOASSOC));
    return ShellExecute(nullptr, "open", m_strLink, nullptr, nullptr, SW_SHOWNORMAL);
}

// ---- CLinkStatic ----

IMPLEMENT_DYNAMIC(CLinkStatic, CStatic)

BEGIN_MESSAGE_MAP(CLinkStatic, CStatic)
ON_WM_NCHITTEST()
ON_WM_CTLCOLOR_REFLECT()
ON_WM_LBUTTONDOWN()
ON_WM_SETCURSOR()
ON_WM_TIMER()
ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
END_MESSAGE_MAP()

CLinkStatic::CLinkStatic(const char* link, BOOL deleteOnDestroy)
    : m_link(link), m_crText(g_colorUnvisited), m_bDeleteOnDestroy(deleteOnDestroy), m_bHover(FALSE), m_nTimerId(1),
      m_bNoLink(FALSE)
{}

CLinkStatic::~CLinkStatic() = default;

void CLinkStatic::PreSubclassWindow()
{
    ModifyStyle(0, SS_NOTIFY);
    CStatic::PreSubclassWindow();
}

void CLinkStatic::PostNcDestroy()
{
    if (m_bDeleteOnDestroy)
        delete this;
}

LRESULT CLinkStatic::OnNcHitTest(CPoint)
{
    if (!m_bHover) {
        m_bHover = TRUE;
        m_crText = g_colorOver;
        Invalidate();
        SetTimer(m_nTimerId, 100);
    }
    return HTCLIENT;
}

void CLinkStatic::OnTimer(UINT_PTR nIDEvent)
{
    const DWORD pos = GetMessagePos();
    CPoint pt(GET_X_LPARAM(pos), GET_Y_LPARAM(pos));
    ScreenToClient(&pt);
    CRect rc;
    GetClientRect(&rc);
    if (!rc.PtInRect(pt)) {
        m_bHover = FALSE;
        KillTimer(m_nTimerId);
        m_crText = g_colorUnvisited;
        Invalidate();
    }
    Default();
}

HBRUSH CLinkStatic::CtlColor(CDC* pDC, UINT)
{
    // Only text statics are links; SS_NOPREFIX and other flags share the
    // low byte with the type, so the type is masked out.
    if ((GetStyle() & SS_TYPEMASK) > SS_RIGHT)
        return nullptr;
    if (!m_Font.GetSafeHandle()) {
        LOGFONT lf{};
        CFont* font = GetFont();
        if (font && font->GetLogFont(&lf))
            m_Font.CreateFontIndirect(&lf);
    }
    if (m_Font.GetSafeHandle())
        pDC->SelectObject(&m_Font);
    pDC->SetTextColor(m_crText);
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

void CLinkStatic::OnLButtonDown(UINT, CPoint)
{
    Default();
}

BOOL CLinkStatic::OnSetCursor(CWnd*, UINT, UINT)
{
    if (!g_hCursorLink && !g_cursorTried) {
        g_hCursorLink = LoadCursor(nullptr, IDC_HAND);
        g_cursorTried = true;
    }
    if (!g_hCursorLink)
        return FALSE;
    SetCursor(g_hCursorLink);
    return TRUE;
}

void CLinkStatic::OnClicked()
{
    CString link = static_cast<const char*>(m_link);
    if (link.IsEmpty()) {
        if (!link.LoadString(static_cast<UINT>(GetDlgCtrlID())))
            GetWindowText(link);
        if (link.IsEmpty())
            return;
        m_link = link.GetString();
    }
    const HINSTANCE result = m_link.Navigate();
    if (reinterpret_cast<INT_PTR>(result) <= 32)
        MessageBeep(0);
    else
        Invalidate();
}
