// Device-context handles: the registry of live DCs, the surface each draws
// on, and the painter that applies a DC's state.
#include "platform/gdi/DcHandle_p.h"

#include "platform/gdi/GdiObject_p.h"

#include <QWidget>

#include <mutex>
#include <unordered_map>

namespace vxgdi {
namespace {

std::mutex g_mutex;  // guards g_dcs
std::unordered_map<const void*, std::unique_ptr<DcHandle>> g_dcs;

void InitState(DcState& st)
{
    st.pen = GetStockObject(BLACK_PEN);
    st.brush = GetStockObject(WHITE_BRUSH);
    st.font = DefaultFont();
}

}  // namespace

HDC NewDc(std::unique_ptr<DcHandle> dc)
{
    InitState(dc->st);
    HDC h = reinterpret_cast<HDC>(dc.get());
    std::lock_guard lock(g_mutex);
    g_dcs.emplace(h, std::move(dc));
    return h;
}

void FreeDc(HDC hdc)
{
    std::unique_ptr<DcHandle> dc;
    {
        std::lock_guard lock(g_mutex);
        auto it = g_dcs.find(hdc);
        if (it == g_dcs.end())
            return;
        dc = std::move(it->second);
        g_dcs.erase(it);
    }
    if (BitmapObj* b = Bitmap(dc->st.bitmap))
        --b->selectedIn;
    for (DcState& s : dc->saved)
        if (BitmapObj* b = Bitmap(s.bitmap))
            --b->selectedIn;
}

DcHandle* FromHdc(HDC hdc)
{
    if (!hdc)
        return nullptr;
    std::lock_guard lock(g_mutex);
    auto it = g_dcs.find(hdc);
    return it == g_dcs.end() ? nullptr : it->second.get();
}

HDC CreateWindowDc(QPaintDevice* device, QSize size)
{
    auto dc = std::make_unique<DcHandle>();
    dc->device = device;
    dc->size = size;
    dc->kind = DcHandle::Kind::Window;
    return NewDc(std::move(dc));
}

void ReleaseWindowDc(HDC hdc)
{
    FreeDc(hdc);
}

thread_local QWidget* t_painting = nullptr;

namespace {

thread_local bool t_grabbing = false;

// The window layer marks each window's widgets (a control's parts too) with
// the window's handle.
bool SameWindow(const QWidget* a, const QWidget* b)
{
    QVariant ha = a->property("vx_hwnd");
    return ha.isValid() && ha == b->property("vx_hwnd");
}

// While a paint is in progress a grab would paint recursively. What is read
// then is the window's own painting without its children, and for the window
// being painted (or one of its parts) its parent's painting under it: what a
// control that draws a transparent face or background expects to find.
QImage LookDuringPaint(QWidget* w)
{
    QImage img(w->size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    img.fill(w->palette().color(w->backgroundRole()));
    QWidget* source = w;
    QPoint offset(0, 0);
    if (t_painting && SameWindow(t_painting, w)) {
        source = w->parentWidget();
        offset = w->pos();
    }
    if (!source)
        return img;
    t_grabbing = true;
    source->render(&img, QPoint(), QRegion(QRect(offset, w->size())), QWidget::DrawWindowBackground);
    t_grabbing = false;
    return img;
}

}  // namespace

QImage CurrentLook(QWidget* w)
{
    if (t_grabbing || !w->isVisible()) {
        QImage blank(w->size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        blank.fill(w->palette().color(w->backgroundRole()));
        return blank;
    }
    if (t_painting)
        return LookDuringPaint(w);
    t_grabbing = true;
    QImage img = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    t_grabbing = false;
    if (img.size() != w->size())
        img = img.scaled(w->size().expandedTo(QSize(1, 1)));
    return img;
}

QPaintDevice* DcHandle::Target()
{
    switch (kind) {
    case Kind::Memory: {
        BitmapObj* b = Bitmap(st.bitmap);
        return b ? &b->image : nullptr;
    }
    case Kind::Screen:
        return own.get();
    case Kind::Window:
        return own ? own.get() : device;
    }
    return nullptr;
}

QImage* DcHandle::TargetImage()
{
    QPaintDevice* t = Target();
    if (!t || t->devType() != QInternal::Image)
        return nullptr;
    return static_cast<QImage*>(t);
}

QImage DcHandle::Snapshot()
{
    if (QImage* img = TargetImage())
        return *img;
    if (auto* w = dynamic_cast<QWidget*>(Target()))
        return CurrentLook(w);
    return QImage();
}

bool DcHandle::TargetIsMono()
{
    if (kind != Kind::Memory)
        return false;
    BitmapObj* b = Bitmap(st.bitmap);
    return b && b->mono;
}

QSize DcHandle::TargetSize()
{
    if (QImage* img = TargetImage())
        return img->size();
    return size;
}

DcPainter::DcPainter(DcHandle* dc) : m_dc(dc)
{
    if (!dc)
        return;
    QPaintDevice* t = dc->Target();
    if (!t)
        return;
    if (auto* img = dc->TargetImage(); img && img->isNull())
        return;
    if (!m_p.begin(t))
        return;
    m_ok = true;
    m_mono = dc->TargetIsMono();
    if (dc->own)
        dc->drawn = true;
    if (dc->st.clip)
        m_p.setClipRegion(*dc->st.clip);
    m_p.translate(dc->st.org);
}

DcPainter::~DcPainter()
{
    if (m_ok)
        m_p.end();
}

QColor DcPainter::Color(COLORREF c) const
{
    if (m_mono) {
        int lum = (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
        return lum >= 128 ? QColor(Qt::white) : QColor(Qt::black);
    }
    return ToQColor(c);
}

QBrush DcPainter::Brush() const
{
    BrushObj* b = vxgdi::Brush(m_dc->st.brush);
    if (!b)
        return QBrush(Qt::NoBrush);
    if (b->dcBrush)
        return QBrush(Color(m_dc->st.dcBrush));
    switch (b->lb.lbStyle) {
    case BS_SOLID:
        return QBrush(Color(b->lb.lbColor));
    case BS_HATCHED: {
        static const Qt::BrushStyle styles[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::BDiagPattern,
                                                Qt::FDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(Color(b->lb.lbColor), styles[std::min<ULONG_PTR>(b->lb.lbHatch, 5)]);
    }
    case BS_PATTERN:
        return QBrush(b->pattern);
    default:
        return QBrush(Qt::NoBrush);
    }
}

QPen DcPainter::Pen() const
{
    PenObj* p = vxgdi::Pen(m_dc->st.pen);
    if (!p)
        return QPen(Qt::NoPen);
    if (p->dcPen)
        return QPen(Color(m_dc->st.dcPen), 1);
    Qt::PenStyle style = Qt::SolidLine;
    switch (p->lp.lopnStyle & PS_STYLE_MASK) {
    case PS_NULL:
        return QPen(Qt::NoPen);
    case PS_DASH:
        style = Qt::DashLine;
        break;
    case PS_DOT:
        style = Qt::DotLine;
        break;
    case PS_DASHDOT:
        style = Qt::DashDotLine;
        break;
    case PS_DASHDOTDOT:
        style = Qt::DashDotDotLine;
        break;
    default:
        break;
    }
    QPen pen(Color(p->lp.lopnColor), std::max<LONG>(1, p->lp.lopnWidth.x), style, Qt::FlatCap, Qt::MiterJoin);
    if (p->lp.lopnWidth.x <= 1)
        pen.setWidth(0);  // cosmetic: exactly one pixel
    return pen;
}

int DcPainter::PenWidth() const
{
    PenObj* p = vxgdi::Pen(m_dc->st.pen);
    if (!p || (!p->dcPen && (p->lp.lopnStyle & PS_STYLE_MASK) == PS_NULL))
        return 0;
    return p->dcPen ? 1 : std::max<LONG>(1, p->lp.lopnWidth.x);
}

}  // namespace vxgdi
