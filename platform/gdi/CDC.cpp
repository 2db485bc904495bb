#include "platform/gdi/CDC.h"

#include "platform/gdi/CGdiObject.h"
#include "platform/ui/CWnd.h"

#include <QTimer>

#include <map>
#include <memory>

namespace {

// Wrappers handed to message handlers; dropped once the loop is idle.
template <typename T, typename H>
T* TempWrapper(std::map<H, std::unique_ptr<T>>& map, H h)
{
    if (!h)
        return nullptr;
    auto& slot = map[h];
    if (!slot) {
        slot = std::make_unique<T>();
        slot->Attach(h);
        if (map.size() == 1)
            QTimer::singleShot(0, [&map] {
                for (auto& [k, v] : map)
                    v->Detach();
                map.clear();
            });
    }
    return slot.get();
}

thread_local std::map<HDC, std::unique_ptr<CDC>> t_dcs;
thread_local std::map<HGDIOBJ, std::unique_ptr<CFont>> t_fonts;

}  // namespace

CDC* CDC::FromHandle(HDC hDC)
{
    return TempWrapper(t_dcs, hDC);
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

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd())
{
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
    m_hDC = nullptr;
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd())
{
    // Drawing outside WM_PAINT arrives with the drawing layer.
}

CClientDC::~CClientDC() = default;

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

CFont* CFont::FromHandle(HFONT hFont)
{
    return TempWrapper(t_fonts, static_cast<HGDIOBJ>(hFont));
}
