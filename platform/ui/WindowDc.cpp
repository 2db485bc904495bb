// Window DCs: the painting DC of WM_PAINT, and DCs taken outside painting
// (GetDC, GetWindowDC). Qt lets nobody draw on a widget outside its paint
// event, so a DC taken outside painting draws on an image that starts as
// what the window shows; released, the image is shown over the window at
// its next paint, which follows at once. Reading such a DC (BitBlt from it)
// gives what the window showed when the DC was taken.
#include "platform/gdi/CDC.h"

#include "platform/gdi/DcHandle_p.h"
#include "platform/gdi/GdiObject_p.h"
#include "platform/ui/CWnd.h"
#include "platform/ui/WindowCall_p.h"
#include "platform/ui/WindowRegistry_p.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <map>
#include <set>

namespace vxgdi {
namespace {

// Images drawn through released DCs, waiting for their window's next paint.
std::map<HWND, QImage>& Pending()
{
    static std::map<HWND, QImage> s;
    return s;
}

// Shows what was drawn outside painting on top of the window's own
// painting.
void ShowPendingOnPaint(HDC hdc)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc || !dc->device || dc->own)
        return;
    auto* w = dynamic_cast<QWidget*>(dc->device);
    if (!w)
        return;
    HWND h = vxw::WindowRegistry::fromWidget(w);
    auto it = Pending().find(h);
    if (it == Pending().end())
        return;
    QImage img = std::move(it->second);
    Pending().erase(it);
    QPainter p(w);
    p.drawImage(0, 0, img);
}

// The border band being painted now (WM_NCPAINT), and the DCs handed out
// for it.
struct NonClientPaint {
    HWND hwnd = nullptr;
    QWidget* widget = nullptr;
    QRegion band;
};
NonClientPaint* g_nonClient = nullptr;
std::set<HDC>& NonClientDcs()
{
    static std::set<HDC> s;
    return s;
}

}  // namespace
}  // namespace vxgdi

void vxw::PaintNonClient(HWND hwnd, QWidget* widget)
{
    WindowRecord* r = Rec(hwnd);
    if (!r || !widget)
        return;
    int width = 0;
    if (r->exStyle & WS_EX_CLIENTEDGE)
        width = 2;
    else if ((r->style & WS_BORDER) || (r->exStyle & WS_EX_STATICEDGE))
        width = 1;
    if (!width)
        return;
    QRect all = widget->rect();
    vxgdi::NonClientPaint nc{hwnd, widget, QRegion(all) - QRegion(all.adjusted(width, width, -width, -width))};
    vxgdi::NonClientPaint* prev = vxgdi::g_nonClient;
    vxgdi::g_nonClient = &nc;
    CallWindow(hwnd, WM_NCPAINT, 1, 0);
    vxgdi::g_nonClient = prev;
}

void vxw::ReleasePaintDc(HDC hdc)
{
    vxgdi::ShowPendingOnPaint(hdc);
    vxgdi::ReleaseWindowDc(hdc);
}

using namespace vxgdi;

HDC GetDC(HWND hWnd)
{
    auto dc = std::make_unique<DcHandle>();
    if (!hWnd) {
        // The screen: drawing on it goes nowhere; bitmaps made compatible
        // with it are colour bitmaps.
        dc->kind = DcHandle::Kind::Screen;
        QSize s(1024, 768);
        if (QScreen* scr = QGuiApplication::primaryScreen())
            s = scr->size();
        dc->own = std::make_unique<QImage>(s, QImage::Format_RGB32);
        dc->own->fill(Qt::black);
        dc->size = s;
        return NewDc(std::move(dc));
    }
    QWidget* w = vxw::WidgetOf(hWnd);
    if (!w)
        return nullptr;
    dc->kind = DcHandle::Kind::Window;
    dc->hwnd = hWnd;
    dc->size = w->size();
    dc->own = std::make_unique<QImage>(CurrentLook(w));
    return NewDc(std::move(dc));
}

HDC GetWindowDC(HWND hWnd)
{
    // While the window's border band is painted, its window DC draws on the
    // window at once, clipped to the band.
    if (g_nonClient && hWnd && g_nonClient->hwnd == hWnd) {
        HDC hdc = CreateWindowDc(g_nonClient->widget, g_nonClient->widget->size());
        if (DcHandle* dc = FromHdc(hdc)) {
            dc->hwnd = hWnd;
            dc->st.clip = g_nonClient->band;
            NonClientDcs().insert(hdc);
        }
        return hdc;
    }
    return GetDC(hWnd);
}

int ReleaseDC(HWND, HDC hDC)
{
    if (NonClientDcs().erase(hDC)) {
        ReleaseWindowDc(hDC);
        return 1;
    }
    DcHandle* dc = FromHdc(hDC);
    if (!dc || dc->kind == DcHandle::Kind::Memory || (dc->kind == DcHandle::Kind::Window && !dc->own))
        return 0;
    if (dc->hwnd && dc->drawn && dc->own) {
        if (QWidget* w = vxw::WidgetOf(dc->hwnd)) {
            Pending()[dc->hwnd] = *dc->own;
            w->update();
        }
    }
    FreeDc(hDC);
    return 1;
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

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->GetSafeHwnd() : nullptr)
{
    m_hDC = ::GetDC(m_hWnd);
}

CClientDC::~CClientDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->GetSafeHwnd() : nullptr)
{
    m_hDC = ::GetWindowDC(m_hWnd);
}

CWindowDC::~CWindowDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}
