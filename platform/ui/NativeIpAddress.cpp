// The IP address control: four fields of 0 to 255. A field that gets three
// digits passes the focus on; '.' does too. Changes reach the parent as
// EN_CHANGE and IPN_FIELDCHANGED.
#include "platform/ui/NativeControl_p.h"

#include "platform/ui/commctrl.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpressionValidator>

#include <array>

namespace vxw {

namespace {

class IpAddress : public NativeControl, public QObject {
public:
    QWidget* create(WindowRecord& r, QWidget* parent) override
    {
        m_widget = new QFrame(parent);
        m_widget->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        m_widget->setAutoFillBackground(true);
        m_widget->setBackgroundRole(QPalette::Base);
        auto* box = new QHBoxLayout(m_widget);
        box->setContentsMargins(2, 0, 2, 0);
        box->setSpacing(0);
        for (int i = 0; i < 4; ++i) {
            auto* e = new QLineEdit(m_widget);
            e->setFrame(false);
            e->setAlignment(Qt::AlignCenter);
            e->setMaxLength(3);
            e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), e));
            e->installEventFilter(this);
            box->addWidget(e, 1);
            if (i < 3)
                box->addWidget(new QLabel(QStringLiteral("."), m_widget));
            m_fields[static_cast<size_t>(i)] = e;
            QObject::connect(e, &QLineEdit::textEdited, e, [this, i](const QString& t) { onEdited(i, t); });
            QObject::connect(e, &QLineEdit::editingFinished, e, [this, i] { clampField(i); });
        }
        m_widget->setFocusProxy(m_fields[0]);
        return m_widget;
    }

    bool handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (!m_widget)
            return false;
        switch (msg) {
        case IPM_SETADDRESS: {
            auto a = static_cast<DWORD>(lParam);
            for (int i = 0; i < 4; ++i)
                m_fields[static_cast<size_t>(i)]->setText(QString::number((a >> (24 - 8 * i)) & 0xFF));
            result = TRUE;
            return true;
        }
        case IPM_GETADDRESS: {
            DWORD a = 0;
            int filled = 0;
            for (int i = 0; i < 4; ++i) {
                QString t = m_fields[static_cast<size_t>(i)]->text();
                if (!t.isEmpty())
                    ++filled;
                a |= static_cast<DWORD>(std::min(255, t.toInt())) << (24 - 8 * i);
            }
            if (lParam)
                *reinterpret_cast<DWORD*>(lParam) = a;
            result = filled;
            return true;
        }
        case IPM_CLEARADDRESS:
            for (auto* f : m_fields)
                f->clear();
            result = 0;
            return true;
        case IPM_ISBLANK: {
            bool blank = true;
            for (auto* f : m_fields)
                blank = blank && f->text().isEmpty();
            result = blank;
            return true;
        }
        case IPM_SETFOCUS: {
            int i = std::clamp(static_cast<int>(wParam), 0, 3);
            m_fields[static_cast<size_t>(i)]->setFocus();
            m_fields[static_cast<size_t>(i)]->selectAll();
            result = 0;
            return true;
        }
        case IPM_SETRANGE: {
            int i = static_cast<int>(wParam);
            if (i >= 0 && i < 4) {
                m_lo[static_cast<size_t>(i)] = LOBYTE(lParam);
                m_hi[static_cast<size_t>(i)] = HIBYTE(lParam);
            }
            result = TRUE;
            return true;
        }
        case WM_SETTEXT: {
            QStringList parts = ToQ(lParam ? reinterpret_cast<const char*>(lParam) : "").split(QLatin1Char('.'));
            for (int i = 0; i < 4; ++i)
                m_fields[static_cast<size_t>(i)]->setText(i < parts.size() ? parts[i].trimmed() : QString());
            result = TRUE;
            return true;
        }
        case WM_GETTEXT:
            result = CopyOut(text(), reinterpret_cast<char*>(lParam), static_cast<int>(wParam));
            return true;
        case WM_GETTEXTLENGTH:
            result = static_cast<LRESULT>(text().size());
            return true;
        case WM_GETDLGCODE:
            result = DLGC_WANTCHARS | DLGC_WANTARROWS;
            return true;
        default:
            return false;
        }
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress)
            return false;
        auto* ke = static_cast<QKeyEvent*>(e);
        for (int i = 0; i < 4; ++i) {
            if (o != m_fields[static_cast<size_t>(i)])
                continue;
            if (ke->text() == QStringLiteral(".") && i < 3) {
                m_fields[static_cast<size_t>(i + 1)]->setFocus();
                m_fields[static_cast<size_t>(i + 1)]->selectAll();
                return true;
            }
            if (ke->key() == Qt::Key_Backspace && i > 0 && m_fields[static_cast<size_t>(i)]->text().isEmpty()) {
                m_fields[static_cast<size_t>(i - 1)]->setFocus();
                return true;
            }
        }
        return false;
    }

private:
    std::string text() const
    {
        QStringList parts;
        for (auto* f : m_fields)
            parts << (f->text().isEmpty() ? QStringLiteral("0") : f->text());
        return FromQ(parts.join(QLatin1Char('.')));
    }

    void clampField(int i)
    {
        QLineEdit* f = m_fields[static_cast<size_t>(i)];
        if (f->text().isEmpty())
            return;
        int v = f->text().toInt();
        int lo = m_lo[static_cast<size_t>(i)];
        int hi = m_hi[static_cast<size_t>(i)];
        if (v < lo || v > hi) {
            f->setText(QString::number(std::clamp(v, lo, hi)));
            fieldChanged(i);
        }
    }

    void onEdited(int i, const QString& t)
    {
        if (t.size() == 3) {
            clampField(i);
            if (i < 3) {
                m_fields[static_cast<size_t>(i + 1)]->setFocus();
                m_fields[static_cast<size_t>(i + 1)]->selectAll();
            }
        }
        fieldChanged(i);
    }

    void fieldChanged(int i)
    {
        HWND self = hwnd;
        NMIPADDRESS nm{};
        nm.hdr.code = IPN_FIELDCHANGED;
        nm.iField = i;
        QString t = m_fields[static_cast<size_t>(i)]->text();
        nm.iValue = t.isEmpty() ? -1 : t.toInt();
        notify(&nm.hdr);
        if (::IsWindow(self))
            notifyCommand(EN_CHANGE);
    }

    QPointer<QFrame> m_widget;
    std::array<QLineEdit*, 4> m_fields{};
    std::array<int, 4> m_lo{0, 0, 0, 0};
    std::array<int, 4> m_hi{255, 255, 255, 255};
};

}  // namespace

std::unique_ptr<NativeControl> MakeIpAddress()
{
    return std::make_unique<IpAddress>();
}

}  // namespace vxw
