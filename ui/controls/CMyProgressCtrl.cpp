#include "ui/controls/CMyProgressCtrl.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CMyProgressCtrl, CStatic)

BEGIN_MESSAGE_MAP(CMyProgressCtrl, CStatic)
ON_WM_PAINT()
END_MESSAGE_MAP()

CMyProgressCtrl::CMyProgressCtrl()
    : m_bBackNativeSize(FALSE), m_nMin(1), m_nMax(100), m_nStep(1), m_nPos(0), m_rcClient{0, 0, 0, 0}, m_fFraction(0.0f)
{}

CMyProgressCtrl::~CMyProgressCtrl() = default;

void CMyProgressCtrl::SetBackImage(UINT id, const char* type, BOOL transparent, COLORREF key, BOOL nativeSize)
{
    m_picBack.SetImage(id, type, transparent, key);
    m_bBackNativeSize = nativeSize;
}

void CMyProgressCtrl::SetForeImage(UINT id, const char* type, BOOL transparent, COLORREF key)
{
    m_picFore.SetImage(id, type, transparent, key);
}

void CMyProgressCtrl::SetRange(int a, int b)
{
    m_nMin = std::min(a, b);
    m_nMax = std::max(a, b);
}

void CMyProgressCtrl::GetRange(int& min, int& max)
{
    min = m_nMin;
    max = m_nMax;
}

int CMyProgressCtrl::SetPos(int pos)
{
    if (pos < m_nMin || pos > m_nMax)
        return 0;
    m_nPos = pos;
    return 1;
}

int CMyProgressCtrl::GetPos()
{
    return m_nPos;
}

int CMyProgressCtrl::SetStep(int step)
{
    if (step <= 0)
        return 0;
    m_nStep = step;
    return 1;
}

// Measured from the minimum, so that ranges not starting at 0 fill from
// their left edge; positions below the minimum (OffsetPos does not hold
// them) fill nothing rather than mirror the picture.
float CMyProgressCtrl::Fraction() const
{
    if (m_nMax == m_nMin)
        return 0.0f;
    float f = static_cast<float>(m_nPos - m_nMin) / static_cast<float>(m_nMax - m_nMin);
    return std::clamp(f, 0.0f, 1.0f);
}

int CMyProgressCtrl::OffsetPos(int delta)
{
    int width = m_rcClient.right - m_rcClient.left;
    int oldEdge = static_cast<int>(static_cast<float>(width) * std::clamp(m_fFraction, 0.0f, 1.0f));
    m_nPos += delta;
    int result = 1;
    if (m_nPos > m_nMax) {
        m_nPos = m_nMax;
        result = 0;
    }
    // A shrinking bar must repaint what it gave up, left of the old edge.
    int newEdge = static_cast<int>(static_cast<float>(width) * Fraction());
    RECT dirty = m_rcClient;
    dirty.left = m_rcClient.left + std::min(oldEdge, newEdge);
    if (::IsWindow(GetSafeHwnd()))
        InvalidateRect(&dirty, TRUE);
    return result;
}

int CMyProgressCtrl::StepIt()
{
    return OffsetPos(m_nStep);
}

void CMyProgressCtrl::OnPaint()
{
    CPaintDC dc(this);
    m_fFraction = Fraction();
    GetClientRect(&m_rcClient);
    int w = m_rcClient.right - m_rcClient.left;
    int h = m_rcClient.bottom - m_rcClient.top;
    if (m_bBackNativeSize) {
        w = m_picBack.GetWidth();
        h = m_picBack.GetHeight();
    }
    HDC hdc = dc.GetSafeHdc();
    m_picBack.DrawImage(hdc, 0, 0, w, h);
    // The fore picture is cut, not squeezed.
    int destW = static_cast<int>(static_cast<float>(w) * m_fFraction);
    int srcW = static_cast<int>(static_cast<float>(m_picFore.GetWidth()) * m_fFraction);
    if (destW > 0 && srcW > 0)
        m_picFore.DrawImage(hdc, 0, 0, destW, h, 0, 0, srcW, m_picFore.GetHeight());
}
