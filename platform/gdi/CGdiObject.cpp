#include "platform/gdi/CGdiObject.h"

#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/CRgn.h"
#include "platform/gdi/GdiTemp_p.h"

namespace {
thread_local std::map<HGDIOBJ, std::unique_ptr<CGdiObject>> t_objects;
thread_local std::map<HGDIOBJ, std::unique_ptr<CFont>> t_fonts;
thread_local std::map<HGDIOBJ, std::unique_ptr<CPen>> t_pens;
thread_local std::map<HGDIOBJ, std::unique_ptr<CBrush>> t_brushes;
thread_local std::map<HGDIOBJ, std::unique_ptr<CBitmap>> t_bitmaps;
thread_local std::map<HGDIOBJ, std::unique_ptr<CRgn>> t_rgns;
}  // namespace

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (m_hObject || !hObject)
        return FALSE;
    m_hObject = hObject;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const
{
    return ::GetObject(m_hObject, nCount, lpObject);
}

UINT CGdiObject::GetObjectType() const
{
    return ::GetObjectType(m_hObject);
}

BOOL CGdiObject::CreateStockObject(int nIndex)
{
    return Attach(::GetStockObject(nIndex));
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject)
{
    return vxgdi::TempWrapper(t_objects, hObject);
}

CFont* CFont::FromHandle(HFONT hFont)
{
    return vxgdi::TempWrapper(t_fonts, static_cast<HGDIOBJ>(hFont));
}

CPen* CPen::FromHandle(HPEN hPen)
{
    return vxgdi::TempWrapper(t_pens, static_cast<HGDIOBJ>(hPen));
}

CBrush* CBrush::FromHandle(HBRUSH hBrush)
{
    return vxgdi::TempWrapper(t_brushes, static_cast<HGDIOBJ>(hBrush));
}

CBitmap* CBitmap::FromHandle(HBITMAP hBitmap)
{
    return vxgdi::TempWrapper(t_bitmaps, static_cast<HGDIOBJ>(hBitmap));
}

CRgn* CRgn::FromHandle(HRGN hRgn)
{
    return vxgdi::TempWrapper(t_rgns, static_cast<HGDIOBJ>(hRgn));
}
