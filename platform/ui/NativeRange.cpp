// Controls with a position in a range: the trackbar (slider), the progress
// bar, the scroll bar and the up-down (spin) control. Sliders and scroll bars
// tell their parent with WM_HSCROLL / WM_VSCROLL, the up-down control first
// with UDN_DELTAPOS (which the parent may refuse).
#include "platform/ui/NativeControl_p.h"

#include "platform/ui/commctrl.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QScrollBar>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <string>

namespace vxw {

namespace {

void SendScroll(HWND control, bool vertical, UINT code, int pos)
{
    WindowRecord* r = Rec(control);
    if (!r || !r->parent)
        return;
    ::SendMessage(r->parent, vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(pos)),
                  reinterpret_cast<LPARAM>(control));
}

UINT ActionCode(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        return SB_LINEDOWN;
    case QAbstractSlider::SliderSingleStepSub:
        return SB_LINEUP;
    case QAbstractSlider::SliderPageStepAdd:
        return SB_PAGEDOWN;
    case QAbstractSlider::SliderPageStepSub:
        return SB_PAGEUP;
    case QAbstractSlider::SliderToMinimum:
        return SB_TOP;
    case QAbstractSlider::SliderToMaximum:
        return SB_BOTTOM;
    case QAbstractSlider::SliderMove:
        return SB_THUMBTRACK;
    default:
        return SB_ENDSCROLL;
    }
}

// ---- trackbar ----

// A slider that tells its parent each time it paints (NM_CUSTOMDRAW), as a
// trackbar does: pages update the number beside a slider from it.
class CustomDrawSlider : public QSlider {
public:
    CustomDrawSlider(Qt::Orientation o, QWidget* parent, const NativeControl* owner,
                     LRESULT (*send)(const NativeControl*, NMHDR*))
        : QSlider(o, parent), m_owner(owner), m_send(send)
    {
    }

    // Where the style puts the groove or the handle now.
    RECT styleRect(QStyle::SubControl part) const
    {
        QStyleOptionSlider opt;
        initStyleOption(&opt);
        QRect r = style()->subControlRect(QStyle::CC_Slider, &opt, part, this);
        return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    }

protected:
    void paintEvent(QPaintEvent* e) override
    {
        NMCUSTOMDRAW cd{};
        cd.hdr.code = NM_CUSTOMDRAW;
        cd.dwDrawStage = CDDS_PREPAINT;
        cd.rc = RECT{0, 0, width(), height()};
        QPointer<QSlider> self(this);
        LRESULT r = m_send(m_owner, &cd.hdr);
        if (!self || (r & CDRF_SKIPDEFAULT))
            return;
        QSlider::paintEvent(e);
    }

private:
    const NativeControl* m_owner;
    LRESULT (*m_send)(const NativeControl*, NMHDR*);
};

class TrackBar : public NativeControl {
public:
    QWidget* create(WindowRecord& r, QWidget* parent) override
    {
        m_vertical = (r.style & TBS_VERT) != 0;
        m_slider = new CustomDrawSlider(m_vertical ? Qt::Vertical : Qt::Horizontal, parent, this,
                                        [](const NativeControl* c, NMHDR* h) {
                                            return static_cast<const TrackBar*>(c)->notifyFromPaint(h);
                                        });
        m_slider->setRange(0, 100);
        m_slider->setPageStep(20);
        m_slider->setTickPosition((r.style & TBS_NOTICKS) ? QSlider::NoTicks
                                  : (r.style & TBS_BOTH)  ? QSlider::TicksBothSides
                                                          : QSlider::TicksBelow);
        m_slider->setFocusPolicy(Qt::StrongFocus);
        QObject::connect(m_slider, &QAbstractSlider::actionTriggered, m_slider, [this](int action) {
            if (!m_silent && action != QAbstractSlider::SliderMove && action != QAbstractSlider::SliderNoAction)
                m_pendingCode = ActionCode(action);
        });
        QObject::connect(m_slider, &QAbstractSlider::valueChanged, m_slider, [this](int v) {
            if (m_silent)
                return;
            UINT code = m_slider->isSliderDown() ? TB_THUMBTRACK : m_pendingCode;
            m_pendingCode = TB_ENDTRACK;
            SendScroll(hwnd, m_vertical, code, v);
        });
        QObject::connect(m_slider, &QAbstractSlider::sliderReleased, m_slider, [this] {
            HWND self = hwnd;
            bool vertical = m_vertical;
            int v = m_slider->value();
            SendScroll(self, vertical, TB_THUMBPOSITION, v);
            if (::IsWindow(self))
                SendScroll(self, vertical, TB_ENDTRACK, v);
            // The mouse let go of the thumb: a trackbar tells its parent so.
            if (::IsWindow(self)) {
                NMHDR released{};
                released.code = NM_RELEASEDCAPTURE;
                notify(&released);
            }
        });
        return m_slider;
    }

    LRESULT notifyFromPaint(NMHDR* hdr) const { return notify(hdr); }

    bool handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (!m_slider)
            return false;
        Silence s(m_silent);
        switch (msg) {
        case TBM_GETPOS:
            result = m_slider->value();
            return true;
        case TBM_SETPOS:
            m_slider->setValue(static_cast<int>(lParam));
            result = 0;
            return true;
        case TBM_SETRANGE:
            m_slider->setRange(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            result = 0;
            return true;
        case TBM_SETRANGEMIN:
            m_slider->setMinimum(static_cast<int>(lParam));
            result = 0;
            return true;
        case TBM_SETRANGEMAX:
            m_slider->setMaximum(static_cast<int>(lParam));
            result = 0;
            return true;
        case TBM_GETRANGEMIN:
            result = m_slider->minimum();
            return true;
        case TBM_GETRANGEMAX:
            result = m_slider->maximum();
            return true;
        case TBM_SETPAGESIZE:
            result = m_slider->pageStep();
            m_slider->setPageStep(static_cast<int>(lParam));
            return true;
        case TBM_GETPAGESIZE:
            result = m_slider->pageStep();
            return true;
        case TBM_SETLINESIZE:
            result = m_slider->singleStep();
            m_slider->setSingleStep(static_cast<int>(lParam));
            return true;
        case TBM_GETLINESIZE:
            result = m_slider->singleStep();
            return true;
        case TBM_SETTICFREQ:
            m_slider->setTickInterval(static_cast<int>(wParam));
            result = 0;
            return true;
        case TBM_SETTIC:
        case TBM_CLEARTICS:
            result = TRUE;
            return true;
        case TBM_GETCHANNELRECT:
        case TBM_GETTHUMBRECT:
            if (lParam) {
                *reinterpret_cast<RECT*>(lParam) =
                    static_cast<CustomDrawSlider*>(m_slider.data())
                        ->styleRect(msg == TBM_GETCHANNELRECT ? QStyle::SC_SliderGroove : QStyle::SC_SliderHandle);
            }
            result = 0;
            return true;
        case WM_GETDLGCODE:
            result = DLGC_WANTARROWS;
            return true;
        default:
            return false;
        }
    }

private:
    struct Silence {
        explicit Silence(bool& f) : flag(f), was(f) { f = true; }
        ~Silence() { flag = was; }
        bool& flag;
        bool was;
    };
    QPointer<QSlider> m_slider;
    bool m_vertical = false;
    bool m_silent = false;
    UINT m_pendingCode = TB_ENDTRACK;
};

// ---- progress bar ----

class Progress : public NativeControl {
public:
    QWidget* create(WindowRecord& r, QWidget* parent) override
    {
        m_bar = new QProgressBar(parent);
        m_bar->setTextVisible(false);
        m_bar->setOrientation((r.style & PBS_VERTICAL) ? Qt::Vertical : Qt::Horizontal);
        m_bar->setRange(0, 100);
        m_bar->setValue(0);
        return m_bar;
    }

    bool handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (!m_bar)
            return false;
        switch (msg) {
        case PBM_SETRANGE:
            result = MAKELRESULT(m_bar->minimum(), m_bar->maximum());
            setRange(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            return true;
        case PBM_SETRANGE32:
            result = MAKELRESULT(m_bar->minimum(), m_bar->maximum());
            setRange(static_cast<int>(wParam), static_cast<int>(lParam));
            return true;
        case PBM_GETRANGE: {
            struct Range {
                int iLow;
                int iHigh;
            };
            if (auto* pr = reinterpret_cast<Range*>(lParam)) {
                pr->iLow = m_bar->minimum();
                pr->iHigh = m_bar->maximum();
            }
            result = wParam ? m_bar->minimum() : m_bar->maximum();
            return true;
        }
        case PBM_SETPOS:
            result = m_pos;
            setPos(static_cast<int>(wParam));
            return true;
        case PBM_DELTAPOS:
            result = m_pos;
            setPos(m_pos + static_cast<int>(static_cast<INT_PTR>(wParam)));
            return true;
        case PBM_SETSTEP:
            result = m_step;
            m_step = static_cast<int>(static_cast<INT_PTR>(wParam));
            return true;
        case PBM_STEPIT: {
            result = m_pos;
            // Stepping past the end starts again at the beginning.
            int next = m_pos + m_step;
            if (next > m_bar->maximum())
                next = m_bar->minimum() + (next - m_bar->maximum());
            setPos(next);
            return true;
        }
        case PBM_GETPOS:
            result = m_pos;
            return true;
        default:
            return false;
        }
    }

private:
    void setRange(int lo, int hi)
    {
        m_bar->setRange(lo, std::max(lo, hi));
        setPos(m_pos);
    }
    void setPos(int p)
    {
        m_pos = std::clamp(p, m_bar->minimum(), m_bar->maximum());
        m_bar->setValue(m_pos);
    }
    QPointer<QProgressBar> m_bar;
    int m_pos = 0;
    int m_step = 10;
};

// ---- scroll bar ----

class ScrollBar : public NativeControl {
public:
    QWidget* create(WindowRecord& r, QWidget* parent) override
    {
        m_vertical = (r.style & SBS_VERT) != 0;
        m_bar = new QScrollBar(m_vertical ? Qt::Vertical : Qt::Horizontal, parent);
        m_bar->setRange(0, 100);
        QObject::connect(m_bar, &QAbstractSlider::actionTriggered, m_bar, [this](int action) {
            if (m_silent || action == QAbstractSlider::SliderNoAction)
                return;
            int target = m_bar->sliderPosition();
            HWND self = hwnd;
            SendScroll(self, m_vertical, ActionCode(action), target);
            // As with the classic control, the parent moves the bar: the
            // position stays where the parent put it.
            if (::IsWindow(self) && m_bar && action != QAbstractSlider::SliderMove)
                m_bar->setSliderPosition(m_pos);
        });
        QObject::connect(m_bar, &QAbstractSlider::sliderReleased, m_bar, [this] {
            HWND self = hwnd;
            SendScroll(self, m_vertical, SB_THUMBPOSITION, m_bar->sliderPosition());
            if (!::IsWindow(self))
                return;
            SendScroll(self, m_vertical, SB_ENDSCROLL, m_pos);
            if (::IsWindow(self) && m_bar)
                m_bar->setSliderPosition(m_pos);
        });
        return m_bar;
    }

    bool handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (!m_bar)
            return false;
        bool was = m_silent;
        m_silent = true;
        bool handled = true;
        switch (msg) {
        case SBM_SETPOS:
            result = m_pos;
            m_pos = std::clamp(static_cast<int>(wParam), m_bar->minimum(), m_bar->maximum());
            m_bar->setValue(m_pos);
            break;
        case SBM_GETPOS:
            result = m_pos;
            break;
        case SBM_SETRANGE:
            m_bar->setRange(static_cast<int>(wParam), std::max(static_cast<int>(wParam), static_cast<int>(lParam)));
            m_pos = std::clamp(m_pos, m_bar->minimum(), m_bar->maximum());
            m_bar->setValue(m_pos);
            result = TRUE;
            break;
        case SBM_GETRANGE:
            if (wParam)
                *reinterpret_cast<int*>(wParam) = m_bar->minimum();
            if (lParam)
                *reinterpret_cast<int*>(lParam) = m_bar->maximum();
            result = TRUE;
            break;
        default:
            handled = false;
            break;
        }
        m_silent = was;
        return handled;
    }

private:
    QPointer<QScrollBar> m_bar;
    bool m_vertical = false;
    bool m_silent = false;
    int m_pos = 0;
};

// ---- up-down ----

class UpDown : public NativeControl {
public:
    QWidget* create(WindowRecord& r, QWidget* parent) override
    {
        m_style = r.style;
        m_widget = new QWidget(parent);
        bool horz = (r.style & UDS_HORZ) != 0;
        QBoxLayout* box = horz ? static_cast<QBoxLayout*>(new QHBoxLayout(m_widget))
                               : static_cast<QBoxLayout*>(new QVBoxLayout(m_widget));
        box->setContentsMargins(0, 0, 0, 0);
        box->setSpacing(0);
        auto* up = new QToolButton(m_widget);
        auto* down = new QToolButton(m_widget);
        up->setArrowType(horz ? Qt::RightArrow : Qt::UpArrow);
        down->setArrowType(horz ? Qt::LeftArrow : Qt::DownArrow);
        up->setAutoRepeat(true);
        down->setAutoRepeat(true);
        for (QToolButton* b : {up, down}) {
            b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
            b->setFocusPolicy(Qt::NoFocus);
        }
        if (horz) {
            box->addWidget(down);
            box->addWidget(up);
        } else {
            box->addWidget(up);
            box->addWidget(down);
        }
        QObject::connect(up, &QToolButton::clicked, m_widget, [this] { step(+1); });
        QObject::connect(down, &QToolButton::clicked, m_widget, [this] { step(-1); });
        return m_widget;
    }

    void created() override
    {
        // An auto buddy is the window made just before this one.
        WindowRecord* r = rec();
        if (!r || !(m_style & UDS_AUTOBUDDY))
            return;
        if (HWND prev = ::GetWindow(hwnd, GW_HWNDPREV))
            setBuddy(prev);
    }

    bool handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        switch (msg) {
        case UDM_SETRANGE:
            m_min = static_cast<short>(HIWORD(lParam));
            m_max = static_cast<short>(LOWORD(lParam));
            result = 0;
            return true;
        case UDM_SETRANGE32:
            m_min = static_cast<int>(wParam);
            m_max = static_cast<int>(lParam);
            result = 0;
            return true;
        case UDM_GETRANGE:
            result = MAKELRESULT(m_max, m_min);
            return true;
        case UDM_GETRANGE32:
            if (wParam)
                *reinterpret_cast<int*>(wParam) = m_min;
            if (lParam)
                *reinterpret_cast<int*>(lParam) = m_max;
            result = 0;
            return true;
        case UDM_SETPOS:
        case UDM_SETPOS32:
            result = m_pos;
            m_pos = clampPos(msg == UDM_SETPOS ? static_cast<short>(LOWORD(lParam)) : static_cast<int>(lParam));
            showInBuddy();
            return true;
        case UDM_GETPOS:
            result = MAKELRESULT(m_pos, 0);
            return true;
        case UDM_GETPOS32:
            result = m_pos;
            return true;
        case UDM_SETBUDDY:
            result = reinterpret_cast<LRESULT>(m_buddy);
            setBuddy(reinterpret_cast<HWND>(wParam));
            return true;
        case UDM_GETBUDDY:
            result = reinterpret_cast<LRESULT>(m_buddy);
            return true;
        default:
            return false;
        }
    }

private:
    int clampPos(int p) const
    {
        int lo = std::min(m_min, m_max);
        int hi = std::max(m_min, m_max);
        return std::clamp(p, lo, hi);
    }
    void setBuddy(HWND buddy)
    {
        m_buddy = buddy;
        if (!buddy)
            return;
        if ((m_style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) && m_widget) {
            RECT rc{};
            ::GetWindowRect(buddy, &rc);
            POINT tl{rc.left, rc.top};
            WindowRecord* r = rec();
            if (r && r->parent)
                ::ScreenToClient(r->parent, &tl);
            int w = m_widget->width() > 0 ? m_widget->width() : 16;
            int h = rc.bottom - rc.top;
            int x = (m_style & UDS_ALIGNRIGHT) ? tl.x + (rc.right - rc.left) : tl.x - w;
            m_widget->setGeometry(x, tl.y, w, h);
        }
        showInBuddy();
    }
    void showInBuddy()
    {
        if (m_buddy && (m_style & UDS_SETBUDDYINT))
            ::SetWindowText(m_buddy, std::to_string(m_pos).c_str());
    }
    void step(int dir)
    {
        // A range given high-to-low runs the arrows the other way.
        int delta = m_min > m_max ? -dir : dir;
        NMUPDOWN nm{};
        nm.hdr.code = UDN_DELTAPOS;
        nm.iPos = m_pos;
        nm.iDelta = delta;
        HWND self = hwnd;
        if (notify(&nm.hdr) || !::IsWindow(self))
            return;
        int next = m_pos + nm.iDelta;
        int lo = std::min(m_min, m_max);
        int hi = std::max(m_min, m_max);
        if (m_style & UDS_WRAP) {
            if (next > hi)
                next = lo;
            else if (next < lo)
                next = hi;
        }
        m_pos = std::clamp(next, lo, hi);
        showInBuddy();
        bool vertical = !(m_style & UDS_HORZ);
        int pos = m_pos;
        SendScroll(self, vertical, SB_THUMBPOSITION, pos);
        if (::IsWindow(self))
            SendScroll(self, vertical, SB_ENDSCROLL, pos);
    }

    QPointer<QWidget> m_widget;
    DWORD m_style = 0;
    HWND m_buddy = nullptr;
    int m_min = 100;
    int m_max = 0;
    int m_pos = 0;
};

}  // namespace

std::unique_ptr<NativeControl> MakeTrackBar()
{
    return std::make_unique<TrackBar>();
}

std::unique_ptr<NativeControl> MakeProgress()
{
    return std::make_unique<Progress>();
}

std::unique_ptr<NativeControl> MakeScrollBar()
{
    return std::make_unique<ScrollBar>();
}

std::unique_ptr<NativeControl> MakeUpDown()
{
    return std::make_unique<UpDown>();
}

}  // namespace vxw
