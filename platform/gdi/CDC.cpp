#include "platform/gdi/CDC.h"

#include "platform/gdi/GdiTemp_p.h"

namespace {

thread_local std::map<HDC, std::unique_ptr<CDC>> t_dcs;

HDC Src(CDC* dc)
{
    return dc ? dc->m_hDC : nullptr;
}

}  // namespace

CDC::~CDC()
{
    // A memory DC made by this object goes with it; attached ones are the
    // attacher's.
    DeleteDC();
}

CDC* CDC::FromHandle(HDC hDC)
{
    return vxgdi::TempWrapper(t_dcs, hDC);
}

BOOL CDC::Attach(HDC hDC)
{
    if (m_hDC || !hDC)
        return FALSE;
    m_hDC = hDC;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC h = m_hDC;
    m_hDC = nullptr;
    return h;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    return Attach(::CreateCompatibleDC(Src(pDC)));
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

CPen* CDC::SelectObject(CPen* pPen)
{
    return pPen ? CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, pPen->m_hObject))) : nullptr;
}

CBrush* CDC::SelectObject(CBrush* pBrush)
{
    return pBrush ? CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, pBrush->m_hObject))) : nullptr;
}

CFont* CDC::SelectObject(CFont* pFont)
{
    return pFont ? CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, pFont->m_hObject))) : nullptr;
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    return pBitmap ? CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, pBitmap->m_hObject))) : nullptr;
}

int CDC::SelectObject(CRgn* pRgn)
{
    return ::SelectClipRgn(m_hDC, pRgn ? static_cast<HRGN>(pRgn->m_hObject) : nullptr);
}

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject)
{
    return ::SelectObject(m_hDC, hObject);
}

CGdiObject* CDC::SelectStockObject(int nIndex)
{
    HGDIOBJ stock = ::GetStockObject(nIndex);
    return stock ? CGdiObject::FromHandle(::SelectObject(m_hDC, stock)) : nullptr;
}

CPen* CDC::GetCurrentPen() const
{
    return CPen::FromHandle(static_cast<HPEN>(::GetCurrentObject(m_hDC, OBJ_PEN)));
}

CBrush* CDC::GetCurrentBrush() const
{
    return CBrush::FromHandle(static_cast<HBRUSH>(::GetCurrentObject(m_hDC, OBJ_BRUSH)));
}

CFont* CDC::GetCurrentFont() const
{
    return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT)));
}

CBitmap* CDC::GetCurrentBitmap() const
{
    return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}

int CDC::SaveDC()
{
    return ::SaveDC(m_hDC);
}
BOOL CDC::RestoreDC(int nSavedDC)
{
    return ::RestoreDC(m_hDC, nSavedDC);
}
COLORREF CDC::SetTextColor(COLORREF crColor)
{
    return ::SetTextColor(m_hDC, crColor);
}
COLORREF CDC::GetTextColor() const
{
    return ::GetTextColor(m_hDC);
}
COLORREF CDC::SetBkColor(COLORREF crColor)
{
    return ::SetBkColor(m_hDC, crColor);
}
COLORREF CDC::GetBkColor() const
{
    return ::GetBkColor(m_hDC);
}
int CDC::SetBkMode(int nBkMode)
{
    return ::SetBkMode(m_hDC, nBkMode);
}
int CDC::GetBkMode() const
{
    return ::GetBkMode(m_hDC);
}
int CDC::SetROP2(int nDrawMode)
{
    return ::SetROP2(m_hDC, nDrawMode);
}
int CDC::SetStretchBltMode(int nStretchMode)
{
    return ::SetStretchBltMode(m_hDC, nStretchMode);
}
UINT CDC::SetTextAlign(UINT nFlags)
{
    return ::SetTextAlign(m_hDC, nFlags);
}
int CDC::GetDeviceCaps(int nIndex) const
{
    return ::GetDeviceCaps(m_hDC, nIndex);
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    POINT old{0, 0};
    ::SetViewportOrgEx(m_hDC, x, y, &old);
    return CPoint(old);
}

CPoint CDC::GetViewportOrg() const
{
    POINT org{0, 0};
    ::GetViewportOrgEx(m_hDC, &org);
    return CPoint(org);
}

CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight)
{
    POINT old{0, 0};
    ::OffsetViewportOrgEx(m_hDC, nWidth, nHeight, &old);
    return CPoint(old);
}

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2)
{
    return ::IntersectClipRect(m_hDC, x1, y1, x2, y2);
}

int CDC::IntersectClipRect(LPCRECT r)
{
    return r ? IntersectClipRect(r->left, r->top, r->right, r->bottom) : ERROR;
}

int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2)
{
    return ::ExcludeClipRect(m_hDC, x1, y1, x2, y2);
}

int CDC::ExcludeClipRect(LPCRECT r)
{
    return r ? ExcludeClipRect(r->left, r->top, r->right, r->bottom) : ERROR;
}

int CDC::SelectClipRgn(CRgn* pRgn)
{
    return ::SelectClipRgn(m_hDC, pRgn ? static_cast<HRGN>(pRgn->m_hObject) : nullptr);
}

int CDC::GetClipBox(LPRECT lpRect) const
{
    return ::GetClipBox(m_hDC, lpRect);
}
BOOL CDC::PtVisible(int x, int y) const
{
    return ::PtVisible(m_hDC, x, y);
}
BOOL CDC::RectVisible(LPCRECT lpRect) const
{
    return ::RectVisible(m_hDC, lpRect);
}

COLORREF CDC::GetPixel(int x, int y) const
{
    return ::GetPixel(m_hDC, x, y);
}
COLORREF CDC::SetPixel(int x, int y, COLORREF c)
{
    return ::SetPixel(m_hDC, x, y, c);
}
BOOL CDC::SetPixelV(int x, int y, COLORREF c)
{
    return ::SetPixelV(m_hDC, x, y, c);
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT old{0, 0};
    ::MoveToEx(m_hDC, x, y, &old);
    return CPoint(old);
}

BOOL CDC::LineTo(int x, int y)
{
    return ::LineTo(m_hDC, x, y);
}
BOOL CDC::Polyline(const POINT* p, int n)
{
    return ::Polyline(m_hDC, p, n);
}
BOOL CDC::Polygon(const POINT* p, int n)
{
    return ::Polygon(m_hDC, p, n);
}
BOOL CDC::Rectangle(int x1, int y1, int x2, int y2)
{
    return ::Rectangle(m_hDC, x1, y1, x2, y2);
}

BOOL CDC::Rectangle(LPCRECT r)
{
    return r && Rectangle(r->left, r->top, r->right, r->bottom);
}

BOOL CDC::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    return ::RoundRect(m_hDC, x1, y1, x2, y2, x3, y3);
}

BOOL CDC::RoundRect(LPCRECT r, POINT p)
{
    return r && RoundRect(r->left, r->top, r->right, r->bottom, p.x, p.y);
}

BOOL CDC::Ellipse(int x1, int y1, int x2, int y2)
{
    return ::Ellipse(m_hDC, x1, y1, x2, y2);
}

BOOL CDC::Ellipse(LPCRECT r)
{
    return r && Ellipse(r->left, r->top, r->right, r->bottom);
}

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush)
{
    if (pBrush)
        ::FillRect(m_hDC, lpRect, static_cast<HBRUSH>(pBrush->m_hObject));
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    if (!lpRect)
        return;
    // The classic call paints with the background colour and leaves it set.
    ::SetBkColor(m_hDC, clr);
    ::ExtTextOut(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr)
{
    RECT r{x, y, x + cx, y + cy};
    FillSolidRect(&r, clr);
}

void CDC::FrameRect(LPCRECT lpRect, CBrush* pBrush)
{
    if (pBrush)
        ::FrameRect(m_hDC, lpRect, static_cast<HBRUSH>(pBrush->m_hObject));
}

void CDC::InvertRect(LPCRECT lpRect)
{
    ::InvertRect(m_hDC, lpRect);
}

BOOL CDC::FillRgn(CRgn* pRgn, CBrush* pBrush)
{
    return pRgn && pBrush
           && ::FillRgn(m_hDC, static_cast<HRGN>(pRgn->m_hObject), static_cast<HBRUSH>(pBrush->m_hObject));
}

BOOL CDC::FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight)
{
    return pRgn && pBrush
           && ::FrameRgn(m_hDC, static_cast<HRGN>(pRgn->m_hObject), static_cast<HBRUSH>(pBrush->m_hObject), nWidth,
                         nHeight);
}

void CDC::Draw3dRect(LPCRECT r, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    if (r)
        Draw3dRect(r->left, r->top, r->right - r->left, r->bottom - r->top, clrTopLeft, clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    // Top and left in one colour, bottom and right in the other; the corner
    // pixels at top-right and bottom-left belong to the bottom-right colour.
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, clrBottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, clrBottomRight);
}

BOOL CDC::DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags)
{
    return ::DrawEdge(m_hDC, lpRect, nEdge, nFlags);
}
void CDC::DrawFocusRect(LPCRECT lpRect)
{
    ::DrawFocusRect(m_hDC, lpRect);
}
BOOL CDC::PatBlt(int x, int y, int w, int h, DWORD rop)
{
    return ::PatBlt(m_hDC, x, y, w, h, rop);
}

int CDC::DrawText(LPCSTR s, int n, LPRECT r, UINT f)
{
    return ::DrawText(m_hDC, s, n, r, f);
}

int CDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat)
{
    return DrawText(str.GetString(), str.GetLength(), lpRect, nFormat);
}

BOOL CDC::TextOut(int x, int y, LPCSTR s, int n)
{
    return ::TextOut(m_hDC, x, y, s, n);
}

BOOL CDC::TextOut(int x, int y, const CString& str)
{
    return TextOut(x, y, str.GetString(), str.GetLength());
}

BOOL CDC::ExtTextOut(int x, int y, UINT o, LPCRECT r, LPCSTR s, UINT n, INT* dx)
{
    return ::ExtTextOut(m_hDC, x, y, o, r, s, n, dx);
}

BOOL CDC::ExtTextOut(int x, int y, UINT o, LPCRECT r, const CString& str, INT* dx)
{
    return ExtTextOut(x, y, o, r, str.GetString(), static_cast<UINT>(str.GetLength()), dx);
}

CSize CDC::GetTextExtent(LPCSTR s, int n) const
{
    SIZE sz{0, 0};
    ::GetTextExtentPoint32(m_hDC, s, n, &sz);
    return CSize(sz);
}

CSize CDC::GetTextExtent(const CString& str) const
{
    return GetTextExtent(str.GetString(), str.GetLength());
}

BOOL CDC::GetTextMetrics(LPTEXTMETRIC tm) const
{
    return ::GetTextMetrics(m_hDC, tm);
}
int CDC::GetTextFace(int n, LPSTR face) const
{
    return ::GetTextFace(m_hDC, n, face);
}

BOOL CDC::BitBlt(int x, int y, int w, int h, CDC* pSrcDC, int xs, int ys, DWORD rop)
{
    return ::BitBlt(m_hDC, x, y, w, h, Src(pSrcDC), xs, ys, rop);
}

BOOL CDC::StretchBlt(int x, int y, int w, int h, CDC* pSrcDC, int xs, int ys, int ws, int hs, DWORD rop)
{
    return ::StretchBlt(m_hDC, x, y, w, h, Src(pSrcDC), xs, ys, ws, hs, rop);
}

BOOL CDC::TransparentBlt(int x, int y, int w, int h, CDC* pSrcDC, int xs, int ys, int ws, int hs, UINT key)
{
    return ::TransparentBlt(m_hDC, x, y, w, h, Src(pSrcDC), xs, ys, ws, hs, key);
}

BOOL CDC::AlphaBlend(int x, int y, int w, int h, CDC* pSrcDC, int xs, int ys, int ws, int hs, BLENDFUNCTION bf)
{
    return ::AlphaBlend(m_hDC, x, y, w, h, Src(pSrcDC), xs, ys, ws, hs, bf);
}

BOOL CDC::DrawIcon(int x, int y, HICON hIcon)
{
    return ::DrawIcon(m_hDC, x, y, hIcon);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, HBRUSH hBrush)
{
    return ::DrawState(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(hIcon), 0, pt.x, pt.y, size.cx, size.cy,
                       nFlags | DST_ICON);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush)
{
    return ::DrawState(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(hBitmap), 0, pt.x, pt.y, size.cx, size.cy,
                       nFlags | DST_BITMAP);
}

BOOL CDC::DrawState(CPoint pt, CSize size, CBitmap* pBitmap, UINT nFlags, CBrush* pBrush)
{
    return pBitmap
           && DrawState(pt, size, static_cast<HBITMAP>(pBitmap->m_hObject), nFlags,
                        pBrush ? static_cast<HBRUSH>(pBrush->m_hObject) : nullptr);
}

BOOL CDC::DrawState(CPoint pt, CSize size, LPCSTR lpszText, UINT nFlags, BOOL bPrefixText, int nTextLen, HBRUSH hBrush)
{
    return ::DrawState(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(lpszText), static_cast<WPARAM>(nTextLen), pt.x,
                       pt.y, size.cx, size.cy, nFlags | (bPrefixText ? DST_PREFIXTEXT : DST_TEXT));
}
