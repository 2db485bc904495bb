#include "ui/controls/CMyEdit.h"

BEGIN_MESSAGE_MAP(CMyEdit, CEdit)
ON_MESSAGE(WM_NCCALCSIZE, OnNcCalcSize)
ON_WM_ERASEBKGND()
ON_WM_NCPAINT()
ON_WM_CTLCOLOR_REFLECT()
ON_WM_CREATE()
END_MESSAGE_MAP()

CMyEdit::CMyEdit() : m_crText(RGB(0, 0, 0)), m_hBorderBrush(nullptr), m_hBackBrush(nullptr) {}

CMyEdit::~CMyEdit()
{
    if (m_hBorderBrush)
        DeleteObject(m_hBorderBrush);
    if (m_hBackBrush)
        DeleteObject(m_hBackBrush);
    m_Font.DeleteObject();
}

void CMyEdit::SetTextColor(COLORREF crText)
{
    m_crText = crText;
}

void CMyEdit::SetBgColor(COLORREF crBack)
{
    if (m_hBackBrush)
        DeleteObject(m_hBackBrush);
    m_hBackBrush = CreateSolidBrush(crBack);
}

void CMyEdit::SetBorderColor(COLORREF crBorder)
{
    if (m_hBorderBrush)
        DeleteObject(m_hBorderBrush);
    m_hBorderBrush = CreateSolidBrush(crBorder);
}

void CMyEdit::SetFontName(const char* faceName, int height)
{
    m_Font.DeleteObject();
    // Texts are UTF-8, so the font is not tied to one 8-bit character set.
    m_Font.CreateFont(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, faceName);
    if (m_hWnd)
        SetFont(&m_Font, TRUE);
}

LRESULT CMyEdit::OnNcCalcSize(WPARAM, LPARAM)
{
    return Default();
}

BOOL CMyEdit::OnEraseBkgnd(CDC* pDC)
{
    return CEdit::OnEraseBkgnd(pDC);
}

void CMyEdit::OnNcPaint()
{
    Default();
    if (!m_hBackBrush && !m_hBorderBrush)
        return;
    CWindowDC dc(this);
    CRect rc;
    GetWindowRect(&rc);
    rc.OffsetRect(-rc.left, -rc.top);
    if (m_hBackBrush)
        ::FillRect(dc.m_hDC, &rc, m_hBackBrush);
    if (m_hBorderBrush)
        ::FrameRect(dc.m_hDC, &rc, m_hBorderBrush);
}

HBRUSH CMyEdit::CtlColor(CDC* pDC, UINT)
{
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(m_crText);
    // Null until a background colour is set: the parent then colours it.
    return m_hBackBrush;
}

int CMyEdit::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    return CEdit::OnCreate(lpCreateStruct) == -1 ? -1 : 0;
}
