// The EDIT class: single-line (plain, password, number, read-only) and
// multi-line edits. Multi-line text travels as "\r\n" lines, as callers
// expect, and is "\n" inside Qt.
#include "platform/ui/CtlColorQuery_p.h"
#include "platform/ui/NativeControl_p.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <QValidator>

namespace vxw {

namespace {

// What the user may type: at most the limit, digits only for ES_NUMBER. Qt
// applies it to typing and pasting only, as the classic control applies its
// limit: text set by the program is taken whole.
class TypingRule : public QValidator {
public:
    TypingRule(QObject* parent, bool digits) : QValidator(parent), m_digits(digits) {}
    int limit = 30000;
    State validate(QString& input, int&) const override
    {
        if (input.size() > limit)
            return Invalid;
        if (m_digits) {
            for (QChar c : input) {
                if (!c.isDigit())
                    return Invalid;
            }
        }
        return Acceptable;
    }

private:
    bool m_digits;
};

// Edits ask their parent for their colours before each paint
// (WM_CTLCOLOREDIT, or WM_CTLCOLORSTATIC when read-only or disabled): the
// DC's text colour becomes the text, the returned brush the base.
template <typename Base>
class Coloured : public Base {
public:
    // The palette of every state is kept: the colours asked for depend on
    // the state at paint time, not on the state the edit was made in.
    Coloured(HWND h, QWidget* parent) : Base(parent), m_hwnd(h), m_original(this->palette()) {}

protected:
    void paintEvent(QPaintEvent* e) override
    {
        askColours();
        Base::paintEvent(e);
    }

private:
    void askColours()
    {
        WindowRecord* r = Rec(m_hwnd);
        if (!r || !r->parent)
            return;
        const bool passive = (r->style & ES_READONLY) || !this->isEnabled();
        const QPalette::ColorGroup group = this->isEnabled() ? QPalette::Active : QPalette::Disabled;
        const QColor text = m_original.color(group, QPalette::Text);
        const QColor defaultBase = m_original.color(group, QPalette::Base);
        vxgdi::CtlColors c =
            QueryCtlColor(r->parent, passive ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT, m_hwnd, text, defaultBase);
        if (!::IsWindow(m_hwnd))
            return;
        QColor base = c.brush ? c.brushColor : defaultBase;
        QPalette p = this->palette();
        // Only a change is applied: a new palette paints again.
        if (p.color(QPalette::Text) == c.text && p.color(QPalette::Base) == base)
            return;
        p.setColor(QPalette::Text, c.text);
        p.setColor(QPalette::Base, base);
        this->setPalette(p);
    }

    HWND m_hwnd;
    QPalette m_original;
};

class Edit : public NativeControl {
public:
    QWidget* create(WindowRecord& r, QWidget* parent) override
    {
        m_multi = (r.style & ES_MULTILINE) != 0;
        if (m_multi) {
            auto* t = new Coloured<QPlainTextEdit>(r.hwnd, parent);
            t->setTabChangesFocus(true);
            t->setReadOnly((r.style & ES_READONLY) != 0);
            t->setLineWrapMode((r.style & (WS_HSCROLL | ES_AUTOHSCROLL)) ? QPlainTextEdit::NoWrap
                                                                         : QPlainTextEdit::WidgetWidth);
            t->setVerticalScrollBarPolicy((r.style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
            t->setPlainText(FromWin(r.text));
            m_text = t;
            QObject::connect(t, &QPlainTextEdit::textChanged, t, [this] { onChanged(); });
        } else {
            auto* e = new Coloured<QLineEdit>(r.hwnd, parent);
            e->setText(ToQ(r.text));
            e->setReadOnly((r.style & ES_READONLY) != 0);
            if (r.style & ES_PASSWORD)
                e->setEchoMode(QLineEdit::Password);
            m_rule = new TypingRule(e, (r.style & ES_NUMBER) != 0);
            e->setValidator(m_rule);
            Qt::Alignment a = Qt::AlignLeft;
            if (r.style & ES_CENTER)
                a = Qt::AlignHCenter;
            else if (r.style & ES_RIGHT)
                a = Qt::AlignRight;
            e->setAlignment(a | Qt::AlignVCenter);
            e->setFrame((r.style & WS_BORDER) || (r.exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)));
            m_line = e;
            QObject::connect(e, &QLineEdit::textChanged, e, [this] { onChanged(); });
        }
        QWidget* w = widget();
        w->setFocusPolicy(Qt::StrongFocus);
        return w;
    }

    bool handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        switch (msg) {
        case WM_SETTEXT:
            setText(ToQ(lParam ? reinterpret_cast<const char*>(lParam) : ""));
            result = TRUE;
            return true;
        case WM_GETTEXT:
            result = CopyOut(text(), reinterpret_cast<char*>(lParam), static_cast<int>(wParam));
            return true;
        case WM_GETTEXTLENGTH:
            result = static_cast<LRESULT>(text().size());
            return true;
        case EM_LIMITTEXT:
            m_limit = wParam == 0 ? 0x7FFFFFFE : static_cast<int>(std::min<WPARAM>(wParam, 0x7FFFFFFE));
            if (m_rule)
                m_rule->limit = m_limit;
            result = 0;
            return true;
        case EM_GETLIMITTEXT:
            result = m_limit;
            return true;
        case EM_SETSEL:
            setSel(static_cast<int>(wParam), static_cast<int>(lParam));
            result = 0;
            return true;
        case EM_GETSEL: {
            auto [start, end] = sel();
            if (wParam)
                *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(start);
            if (lParam)
                *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(end);
            result = MAKELRESULT(start, end);
            return true;
        }
        case EM_REPLACESEL: {
            QString t = ToQ(lParam ? reinterpret_cast<const char*>(lParam) : "");
            if (m_line)
                m_line->insert(t);
            else if (m_text)
                m_text->insertPlainText(FromWin(FromQ(t)));
            result = 0;
            return true;
        }
        case EM_SETREADONLY:
            if (m_line)
                m_line->setReadOnly(wParam != 0);
            if (m_text)
                m_text->setReadOnly(wParam != 0);
            if (WindowRecord* r = rec())
                SetRecordStyle(*r, wParam ? (r->style | ES_READONLY) : (r->style & ~static_cast<DWORD>(ES_READONLY)));
            result = TRUE;
            return true;
        case EM_SETPASSWORDCHAR:
            if (m_line)
                m_line->setEchoMode(wParam ? QLineEdit::Password : QLineEdit::Normal);
            result = 0;
            return true;
        case EM_GETLINECOUNT:
            result = m_text ? m_text->document()->blockCount() : 1;
            return true;
        case WM_GETDLGCODE: {
            UINT code = DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS;
            WindowRecord* r = rec();
            if (m_multi && wParam == VK_RETURN && r && (r->style & ES_WANTRETURN))
                code |= DLGC_WANTALLKEYS;
            result = code;
            return true;
        }
        default:
            return false;
        }
    }

    UINT dlgCode() const override { return DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS; }

    void focusChanged(bool in) override { notifyCommand(in ? EN_SETFOCUS : EN_KILLFOCUS); }

    void styleChanged(DWORD old) override
    {
        WindowRecord* r = rec();
        if (!r)
            return;
        if ((old ^ r->style) & ES_READONLY) {
            if (m_line)
                m_line->setReadOnly((r->style & ES_READONLY) != 0);
            if (m_text)
                m_text->setReadOnly((r->style & ES_READONLY) != 0);
        }
        if (m_line && ((old ^ r->style) & ES_PASSWORD))
            m_line->setEchoMode((r->style & ES_PASSWORD) ? QLineEdit::Password : QLineEdit::Normal);
    }

private:
    QWidget* widget() const { return m_line ? static_cast<QWidget*>(m_line) : static_cast<QWidget*>(m_text); }

    static QString FromWin(const std::string& text)
    {
        QString t = ToQ(text);
        t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        return t;
    }

    std::string text() const
    {
        if (m_line)
            return FromQ(m_line->text());
        if (m_text) {
            QString t = m_text->toPlainText();
            t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
            return FromQ(t);
        }
        return {};
    }

    void setText(const QString& t)
    {
        if (m_line) {
            m_line->setText(t);
        } else if (m_text) {
            m_programmatic = true;
            m_text->setPlainText(FromWin(FromQ(t)));
            m_programmatic = false;
        }
    }

    void setSel(int start, int end)
    {
        if (m_line) {
            int len = static_cast<int>(m_line->text().size());
            if (start == -1) {
                m_line->deselect();
                return;
            }
            if (end == -1 || end > len)
                end = len;
            if (start == 0 && end == len && len > 0) {
                m_line->selectAll();
                return;
            }
            m_line->setSelection(start, end - start);
        } else if (m_text) {
            QTextCursor c = m_text->textCursor();
            int len = static_cast<int>(m_text->toPlainText().size());
            if (start == -1) {
                c.clearSelection();
            } else {
                if (end == -1 || end > len)
                    end = len;
                c.setPosition(std::min(start, len));
                c.setPosition(end, QTextCursor::KeepAnchor);
            }
            m_text->setTextCursor(c);
        }
    }

    std::pair<int, int> sel() const
    {
        if (m_line) {
            if (!m_line->hasSelectedText())
                return {m_line->cursorPosition(), m_line->cursorPosition()};
            int s = m_line->selectionStart();
            return {s, s + static_cast<int>(m_line->selectedText().size())};
        }
        if (m_text) {
            QTextCursor c = m_text->textCursor();
            return {c.selectionStart(), c.selectionEnd()};
        }
        return {0, 0};
    }

    void onChanged()
    {
        // Multi-line edits have no length limit of their own in Qt; only what
        // the user typed past it is cut.
        if (m_text && m_text->toPlainText().size() > m_limit && !m_programmatic) {
            QSignalBlocker block(m_text);
            QTextCursor c = m_text->textCursor();
            m_text->setPlainText(m_text->toPlainText().left(m_limit));
            c.movePosition(QTextCursor::End);
            m_text->setTextCursor(c);
            notifyCommand(EN_MAXTEXT);
        }
        HWND self = hwnd;
        notifyCommand(EN_UPDATE);
        if (::IsWindow(self))
            notifyCommand(EN_CHANGE);
    }

    bool m_multi = false;
    bool m_programmatic = false;
    int m_limit = 30000;
    QPointer<QLineEdit> m_line;
    TypingRule* m_rule = nullptr;
    QPointer<QPlainTextEdit> m_text;
};

}  // namespace

std::unique_ptr<NativeControl> MakeEdit()
{
    return std::make_unique<Edit>();
}

}  // namespace vxw
