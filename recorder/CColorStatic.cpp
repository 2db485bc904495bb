#include "recorder/CColorStatic.h"

#include "resources/VXKSTRes/resource.h"

#include <cstring>

BEGIN_MESSAGE_MAP(CColorStatic, CStatic)
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CColorStatic::~CColorStatic()
{
    if (m_hHand)
        ::DestroyCursor(m_hHand);
}

int CColorStatic::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    return CStatic::OnCreate(lpCreateStruct) == -1 ? -1 : 0;
}

void CColorStatic::SetText(const CString& text)
{
    if (text == m_strText)
        return;
    m_strText = text;
    CWnd* parent = GetParent();
    if (!parent)
        return;
    CRect rc;
    GetClientRect(&rc);
    MapWindowPoints(parent, &rc);
    parent->InvalidateRect(&rc, FALSE);
    parent->UpdateWindow();
}

void CColorStatic::OnPaint()
{
    CPaintDC dc(this);
    dc.SetBkColor(m_crBack);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_crText);
    LOGFONT lf{};
    HFONT parentFont = nullptr;
    if (CWnd* parent = GetParent())
        parentFont = reinterpret_cast<HFONT>(parent->SendMessage(WM_GETFONT));
    if (!parentFont || !::GetObject(parentFont, sizeof lf, &lf))
        lf = LOGFONT{};
    lf.lfHeight = m_nFontHeight;
    lf.lfWidth = 0;
    lf.lfWeight = m_bBold ? 700 : 400;
    std::strncpy(lf.lfFaceName, m_strFontName, LF_FACESIZE - 1);
    lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    lf.lfUnderline = FALSE;
    if (m_bLink) {
        lf.lfUnderline = TRUE;
        if (m_bMouseOver)
            dc.SetTextColor(0xFF0000);
    }
    CFont font;
    font.CreateFontIndirect(&lf);
    CFont* old = dc.SelectObject(&font);
    CRect rc;
    GetClientRect(&rc);
    dc.DrawText(m_strText, &rc, m_nFormat);
    dc.SelectObject(old);
}

void CColorStatic::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_bLink && !m_bMouseOver) {
        m_bMouseOver = TRUE;
        Invalidate();
        UpdateWindow();
        SetTimer(kHoverTimer, 10, nullptr);
    }
    CStatic::OnMouseMove(nFlags, point);
}

void CColorStatic::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kHoverTimer && m_bLink) {
        // No leave message is asked for: the timer notices the mouse left.
        CPoint pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        CRect rc;
        GetClientRect(&rc);
        if (!rc.PtInRect(pt)) {
            m_bMouseOver = FALSE;
            KillTimer(kHoverTimer);
            Invalidate();
            UpdateWindow();
        }
    }
    CStatic::OnTimer(nIDEvent);
}

BOOL CColorStatic::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (!m_bLink)
        return CStatic::OnSetCursor(pWnd, nHitTest, message);
    if (!m_hHand) {
        HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(IDC_HAND_CURSOR), RT_GROUP_CURSOR);
        if (module)
            m_hHand = ::LoadCursor(module, MAKEINTRESOURCE(IDC_HAND_CURSOR));
    }
    ::SetCursor(m_hHand);
    return TRUE;
}
