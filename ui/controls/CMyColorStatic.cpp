#include "ui/controls/CMyColorStatic.h"

#include <cstring>

namespace {
constexpr UINT_PTR kHoverTimer = 100;
}

BEGIN_MESSAGE_MAP(CMyColorStatic, CStatic)
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
ON_WM_SETCURSOR()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CMyColorStatic::CMyColorStatic()
    : m_crText(RGB(0, 0, 0)), m_nTextFormat(DT_CENTER), m_bTextBold(FALSE), m_bHyperLink(FALSE), m_bHover(FALSE),
      m_bItalic(FALSE), m_hHandCursor(nullptr), m_nTextFontSize(12), m_nMaxCaption(0), m_bTransparentBk(TRUE),
      m_crBack(RGB(255, 255, 255)), m_strFontName("Arial")
{}

CMyColorStatic::~CMyColorStatic()
{
    if (m_hHandCursor)
        DestroyCursor(m_hHandCursor);
}

int CMyColorStatic::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    return CStatic::OnCreate(lpCreateStruct) == -1 ? -1 : 0;
}

void CMyColorStatic::SetCaption(CString text, int maxLength)
{
    if (text == m_strCaption)
        return;
    m_nMaxCaption = maxLength;
    m_strCaption = text;
    if (maxLength > 0 && maxLength < text.GetLength())
        SetToolTipText(text);
    CWnd* parent = GetParent();
    if (!parent)
        return;
    // The caption is drawn over the parent's picture (transparent text), so
    // the parent repaints what lies under the control first.
    CRect rc;
    GetWindowRect(&rc);
    parent->ScreenToClient(&rc);
    parent->InvalidateRect(&rc, TRUE);
    parent->UpdateWindow();
}

void CMyColorStatic::SetCaption(int value)
{
    CString text;
    text.Format("%d", value);
    SetCaption(text, 0);
}

void CMyColorStatic::SetToolTipText(CString text)
{
    m_strToolTip = text;
    if (m_ToolTip.m_hWnd) {
        m_ToolTip.UpdateTipText(text, this, 0);
        return;
    }
    if (!m_hWnd || !m_ToolTip.Create(this))
        return;
    m_ToolTip.AddTool(this, text, nullptr, 0);
    m_ToolTip.Activate(TRUE);
}

void CMyColorStatic::MakeCaptionFont(LOGFONT& lf) const
{
    std::memset(&lf, 0, sizeof(lf));
    CWnd* parent = GetParent();
    HFONT parentFont = parent ? reinterpret_cast<HFONT>(parent->SendMessage(WM_GETFONT)) : nullptr;
    if (!parentFont || !GetObject(parentFont, sizeof(lf), &lf)) {
        // A parent without a font: the desktop's message font is the basis.
        NONCLIENTMETRICS ncm{};
        ncm.cbSize = sizeof(ncm);
        if (SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0))
            lf = ncm.lfMessageFont;
    }
    lf.lfHeight = m_nTextFontSize;
    lf.lfWidth = 0;
    lf.lfWeight = m_bTextBold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = static_cast<BYTE>(m_bItalic & 0xFF);
    lf.lfUnderline = m_bHyperLink ? 1 : 0;
    std::memset(lf.lfFaceName, 0, sizeof(lf.lfFaceName));
    std::strncpy(lf.lfFaceName, m_strFontName.GetString(), sizeof(lf.lfFaceName) - 1);
}

void CMyColorStatic::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    dc.SetBkColor(m_crBack);
    dc.SetBkMode(m_bTransparentBk ? TRANSPARENT : OPAQUE);
    dc.SetTextColor(m_crText);
    LOGFONT lf;
    MakeCaptionFont(lf);
    CFont font;
    font.CreateFontIndirect(&lf);
    CFont* oldFont = dc.SelectObject(&font);
    UINT format = m_nTextFormat;
    if (m_nMaxCaption > 0 && m_nMaxCaption < m_strCaption.GetLength())
        format |= DT_PATH_ELLIPSIS;
    else
        format |= DT_END_ELLIPSIS;
    dc.DrawText(m_strCaption, &rc, format);
    dc.SelectObject(oldFont);
    font.DeleteObject();
}

void CMyColorStatic::OnMouseMove(UINT nFlags, CPoint point)
{
    m_ToolTip.RelayEvent(m_hWnd, WM_MOUSEMOVE, nFlags, MAKELPARAM(point.x, point.y));
    Default();
}

void CMyColorStatic::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kHoverTimer) {
        CPoint pt;
        GetCursorPos(&pt);
        ScreenToClient(&pt);
        CRect rc;
        GetClientRect(&rc);
        if (!rc.PtInRect(pt)) {
            m_bHover = FALSE;
            KillTimer(kHoverTimer);
            Invalidate();
        }
    }
    Default();
}

BOOL CMyColorStatic::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (!m_bHyperLink)
        return static_cast<BOOL>(Default());
    if (!m_hHandCursor)
        m_hHandCursor = LoadCursor(nullptr, IDC_HAND);
    SetCursor(m_hHandCursor);
    return TRUE;
}

BOOL CMyColorStatic::OnEraseBkgnd(CDC*)
{
    return TRUE;
}
