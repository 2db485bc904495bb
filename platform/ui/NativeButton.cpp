// The BUTTON class: push buttons, check boxes, radio buttons, group boxes and
// owner-drawn buttons.
#include "platform/ui/NativeControl_p.h"

#include "platform/ui/WindowCall_p.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include <strings.h>

namespace vxw {

namespace {

class OwnerDrawButton : public QPushButton {
public:
    OwnerDrawButton(HWND h, QWidget* parent) : QPushButton(parent), m_hwnd(h) {}

protected:
    void paintEvent(QPaintEvent* e) override
    {
        WindowRecord* r = Rec(m_hwnd);
        if (!r || (r->style & BS_TYPEMASK) != BS_OWNERDRAW) {
            QPushButton::paintEvent(e);
            return;
        }
        UINT state = 0;
        if (isDown())
            state |= ODS_SELECTED;
        if (hasFocus())
            state |= ODS_FOCUS;
        if (!isEnabled())
            state |= ODS_DISABLED;
        SendDrawItem(m_hwnd, this, ODT_BUTTON, 0, state, rect(), 0);
    }

private:
    HWND m_hwnd;
};

// Check boxes, radio buttons and group boxes take their colours from the
// parent, as statics do.
template <typename Base>
class Colored : public Base {
public:
    template <typename... A>
    Colored(HWND h, A&&... args) : Base(std::forward<A>(args)...), m_hwnd(h)
    {}

protected:
    void paintEvent(QPaintEvent* e) override
    {
        PaintCtlColor(this, m_hwnd, WM_CTLCOLORSTATIC);
        Base::paintEvent(e);
    }

private:
    HWND m_hwnd;
};

bool SameClass(HWND h, const char* name)
{
    WindowRecord* r = Rec(h);
    return r && strcasecmp(r->className.c_str(), name) == 0;
}

class Button : public NativeControl {
public:
    QWidget* create(WindowRecord& r, QWidget* parent) override
    {
        m_type = r.style & BS_TYPEMASK;
        QString text = ToQ(r.text);
        switch (m_type) {
        case BS_GROUPBOX: {
            auto* g = new Colored<QGroupBox>(r.hwnd, StripMnemonics(text), parent);
            m_widget = g;
            return g;
        }
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE: {
            auto* c = new Colored<QCheckBox>(r.hwnd, text, parent);
            c->setTristate(m_type == BS_3STATE || m_type == BS_AUTO3STATE);
            m_button = c;
            break;
        }
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: {
            auto* b = new Colored<QRadioButton>(r.hwnd, text, parent);
            // Groups follow WS_GROUP, not the parent widget.
            b->setAutoExclusive(false);
            m_button = b;
            break;
        }
        default: {
            auto* b = new OwnerDrawButton(r.hwnd, parent);
            b->setText(text);
            b->setDefault(m_type == BS_DEFPUSHBUTTON);
            b->setAutoDefault(false);
            m_button = b;
            break;
        }
        }
        m_widget = m_button;
        m_button->setFocusPolicy(Qt::StrongFocus);
        QObject::connect(m_button, &QAbstractButton::clicked, m_button, [this] { onClicked(); });
        return m_button;
    }

    bool handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        switch (msg) {
        case BM_GETCHECK:
            result = checkState();
            return true;
        case BM_SETCHECK:
            setCheck(static_cast<int>(wParam));
            result = 0;
            return true;
        case BM_GETSTATE:
            result = checkState() | (m_button && m_button->isDown() ? BST_PUSHED : 0)
                     | (m_widget && m_widget->hasFocus() ? BST_FOCUS : 0);
            return true;
        case BM_SETSTATE:
            if (m_button)
                m_button->setDown(wParam != 0);
            result = 0;
            return true;
        case BM_SETSTYLE: {
            WindowRecord* r = rec();
            if (r) {
                SetRecordStyle(*r, (r->style & ~0xFFFFu) | (static_cast<DWORD>(wParam) & 0xFFFFu));
                m_type = r->style & BS_TYPEMASK;
            }
            if (auto* pb = qobject_cast<QPushButton*>(m_button))
                pb->setDefault(m_type == BS_DEFPUSHBUTTON);
            becomeOwnerDrawnIfAsked();
            if (lParam && m_widget)
                m_widget->update();
            result = 0;
            return true;
        }
        case BM_CLICK:
            if (m_button && m_button->isEnabled())
                m_button->click();
            result = 0;
            return true;
        case WM_SETTEXT: {
            WindowRecord* r = rec();
            QString t = ToQ(lParam ? reinterpret_cast<const char*>(lParam) : "");
            if (r)
                r->text = FromQ(t);
            if (m_button)
                m_button->setText(t);
            else if (auto* g = qobject_cast<QGroupBox*>(m_widget))
                g->setTitle(StripMnemonics(t));
            result = TRUE;
            return true;
        }
        case WM_GETDLGCODE:
            result = dlgCode();
            return true;
        default:
            return false;
        }
    }

    UINT dlgCode() const override
    {
        switch (m_type) {
        case BS_PUSHBUTTON:
        case BS_OWNERDRAW:
            return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        case BS_DEFPUSHBUTTON:
            return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return DLGC_BUTTON | DLGC_RADIOBUTTON;
        case BS_GROUPBOX:
            return DLGC_STATIC;
        default:
            return DLGC_BUTTON;
        }
    }

    void styleChanged(DWORD) override
    {
        if (WindowRecord* r = rec()) {
            m_type = r->style & BS_TYPEMASK;
            if (auto* pb = qobject_cast<QPushButton*>(m_button))
                pb->setDefault(m_type == BS_DEFPUSHBUTTON);
            becomeOwnerDrawnIfAsked();
            if (m_widget)
                m_widget->update();
        }
    }

private:
    // A check box or radio button whose type becomes BS_OWNERDRAW (a class
    // that draws its own buttons subclassed it) must ask its parent to draw
    // it: it takes the owner-drawn widget in place of the one it was made as.
    void becomeOwnerDrawnIfAsked()
    {
        WindowRecord* r = rec();
        if (!r || m_type != BS_OWNERDRAW || !m_widget || dynamic_cast<OwnerDrawButton*>(m_widget.data()))
            return;
        QWidget* old = m_widget;
        QRect geometry = old->geometry();
        bool hidden = old->isHidden();
        bool enabled = old->isEnabled();
        auto* b = new OwnerDrawButton(r->hwnd, old->parentWidget());
        b->setText(ToQ(r->text));
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::StrongFocus);
        b->setGeometry(geometry);
        b->setEnabled(enabled);
        b->stackUnder(old);
        DetachWidget(*r);
        m_button = b;
        m_widget = b;
        r->widget = b;
        QObject::connect(b, &QAbstractButton::clicked, b, [this] { onClicked(); });
        AttachWidget(*r);
        b->setVisible(!hidden);
    }

    int checkState() const
    {
        if (auto* c = qobject_cast<QCheckBox*>(m_button)) {
            switch (c->checkState()) {
            case Qt::Checked:
                return BST_CHECKED;
            case Qt::PartiallyChecked:
                return BST_INDETERMINATE;
            default:
                return BST_UNCHECKED;
            }
        }
        if (auto* rb = qobject_cast<QRadioButton*>(m_button))
            return rb->isChecked() ? BST_CHECKED : BST_UNCHECKED;
        return BST_UNCHECKED;
    }

    void setCheck(int state)
    {
        if (auto* c = qobject_cast<QCheckBox*>(m_button)) {
            c->setCheckState(state == BST_CHECKED         ? Qt::Checked
                             : state == BST_INDETERMINATE ? (c->isTristate() ? Qt::PartiallyChecked : Qt::Checked)
                                                          : Qt::Unchecked);
        } else if (auto* rb = qobject_cast<QRadioButton*>(m_button)) {
            rb->setChecked(state == BST_CHECKED);
        }
    }

    // Auto radio buttons check themselves and clear the others of their
    // group: the radio buttons between WS_GROUP marks.
    void checkRadioInGroup()
    {
        WindowRecord* r = rec();
        WindowRecord* p = r ? Rec(r->parent) : nullptr;
        if (!p)
            return;
        auto& kids = p->children;
        auto it = std::find(kids.begin(), kids.end(), hwnd);
        if (it == kids.end())
            return;
        size_t i = static_cast<size_t>(it - kids.begin());
        size_t first = i;
        while (first > 0 && !(::GetWindowLong(kids[first], GWL_STYLE) & WS_GROUP))
            --first;
        for (size_t k = first; k < kids.size(); ++k) {
            if (k != first && (::GetWindowLong(kids[k], GWL_STYLE) & WS_GROUP))
                break;
            if (kids[k] == hwnd || !SameClass(kids[k], "BUTTON"))
                continue;
            DWORD t = static_cast<DWORD>(::GetWindowLong(kids[k], GWL_STYLE)) & BS_TYPEMASK;
            if (t == BS_AUTORADIOBUTTON)
                ::SendMessage(kids[k], BM_SETCHECK, BST_UNCHECKED, 0);
        }
        setCheck(BST_CHECKED);
    }

    void onClicked()
    {
        switch (m_type) {
        case BS_CHECKBOX:
        case BS_3STATE:
        case BS_RADIOBUTTON: {
            // Plain check boxes and radio buttons leave their state to the
            // program: undo Qt's toggle.
            QSignalBlocker block(m_button);
            m_button->setChecked(!m_button->isChecked());
            break;
        }
        case BS_AUTORADIOBUTTON:
            checkRadioInGroup();
            break;
        default:
            break;
        }
        notifyCommand(BN_CLICKED);
    }

    QPointer<QWidget> m_widget;
    QPointer<QAbstractButton> m_button;
    DWORD m_type = BS_PUSHBUTTON;
};

}  // namespace

std::unique_ptr<NativeControl> MakeButton()
{
    return std::make_unique<Button>();
}

}  // namespace vxw
