// The STATIC class: text, frames and rectangles, and a picture slot that the
// drawing layer fills (SS_BITMAP, SS_ICON, STM_SETIMAGE).
#include "platform/ui/NativeControl_p.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPointer>

namespace vxw {

namespace {

class Label : public QLabel {
public:
    Label(HWND h, QWidget* parent) : QLabel(parent), m_hwnd(h) {}

protected:
    void mousePressEvent(QMouseEvent* e) override { notifyIf(e, STN_CLICKED); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { notifyIf(e, STN_DBLCLK); }
    void paintEvent(QPaintEvent* e) override
    {
        WindowRecord* r = Rec(m_hwnd);
        if (r && (r->style & SS_TYPEMASK) == SS_OWNERDRAW) {
            SendDrawItem(m_hwnd, this, ODT_STATIC, 0, isEnabled() ? 0 : ODS_DISABLED, rect(), 0);
            return;
        }
        PaintCtlColor(this, m_hwnd, WM_CTLCOLORSTATIC);
        QLabel::paintEvent(e);
    }

private:
    void notifyIf(QMouseEvent* e, UINT code)
    {
        WindowRecord* r = Rec(m_hwnd);
        // Only statics with SS_NOTIFY tell their parent about clicks.
        if (r && (r->style & SS_NOTIFY) && e->button() == Qt::LeftButton && r->parent) {
            e->accept();
            ::SendMessage(r->parent, WM_COMMAND, MAKEWPARAM(r->id, code), reinterpret_cast<LPARAM>(m_hwnd));
            return;
        }
        e->ignore();
    }
    HWND m_hwnd;
};

class Static : public NativeControl {
public:
    QWidget* create(WindowRecord& r, QWidget* parent) override
    {
        m_label = new Label(r.hwnd, parent);
        apply(r);
        return m_label;
    }

    bool handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        switch (msg) {
        case WM_SETTEXT:
            if (WindowRecord* r = rec()) {
                r->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
                apply(*r);
            }
            result = TRUE;
            return true;
        case STM_SETIMAGE:
            result = reinterpret_cast<LRESULT>(m_image);
            m_image = reinterpret_cast<HANDLE>(lParam);
            m_imageType = static_cast<UINT>(wParam);
            if (m_label)
                m_label->update();
            return true;
        case STM_GETIMAGE:
            result = reinterpret_cast<LRESULT>(m_image);
            return true;
        case WM_GETDLGCODE:
            result = DLGC_STATIC;
            return true;
        default:
            return false;
        }
    }

    UINT dlgCode() const override { return DLGC_STATIC; }
    void styleChanged(DWORD) override
    {
        if (WindowRecord* r = rec())
            apply(*r);
    }

    HANDLE image() const { return m_image; }

private:
    void apply(WindowRecord& r)
    {
        DWORD type = r.style & SS_TYPEMASK;
        switch (type) {
        case SS_BLACKFRAME:
        case SS_GRAYFRAME:
        case SS_WHITEFRAME:
            m_label->setFrameStyle(QFrame::Box | QFrame::Plain);
            m_label->setText(QString());
            return;
        case SS_ETCHEDFRAME:
            m_label->setFrameStyle(QFrame::Box | QFrame::Sunken);
            m_label->setText(QString());
            return;
        case SS_BLACKRECT:
        case SS_GRAYRECT:
        case SS_WHITERECT:
            m_label->setFrameStyle(QFrame::Panel | QFrame::Plain);
            m_label->setText(QString());
            return;
        case SS_BITMAP:
        case SS_ICON:
            m_label->setText(QString());
            return;
        default:
            break;
        }
        if (r.style & SS_SUNKEN)
            m_label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        else if (r.exStyle & (WS_EX_STATICEDGE | WS_EX_CLIENTEDGE))
            m_label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        Qt::Alignment a = Qt::AlignLeft;
        if (type == SS_CENTER)
            a = Qt::AlignHCenter;
        else if (type == SS_RIGHT)
            a = Qt::AlignRight;
        a |= (r.style & SS_CENTERIMAGE) ? Qt::AlignVCenter : Qt::AlignTop;
        m_label->setAlignment(a);
        m_label->setWordWrap(type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT);
        m_label->setTextFormat(Qt::PlainText);
        // SS_NOPREFIX (0x80) shows every '&' as it stands.
        m_label->setText((r.style & 0x80) ? ToQ(r.text) : StripMnemonics(ToQ(r.text)));
    }

    QPointer<Label> m_label;
    HANDLE m_image = nullptr;
    UINT m_imageType = 0;
};

}  // namespace

std::unique_ptr<NativeControl> MakeStatic()
{
    return std::make_unique<Static>();
}

}  // namespace vxw
