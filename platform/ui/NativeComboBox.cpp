// The COMBOBOX class: drop-down lists and editable combos, items with data.
// Selection notices go out for the user's choices only, as the classic
// control does; CB_SETCURSEL and friends are silent.
#include "platform/ui/NativeControl_p.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>

namespace vxw {

namespace {

class Combo : public QComboBox {
public:
    Combo(HWND h, QWidget* parent) : QComboBox(parent), m_hwnd(h) {}
    void showPopup() override
    {
        notify(CBN_DROPDOWN);
        QComboBox::showPopup();
    }
    void hidePopup() override
    {
        QComboBox::hidePopup();
        notify(CBN_CLOSEUP);
    }

private:
    void notify(UINT code)
    {
        WindowRecord* r = Rec(m_hwnd);
        if (r && r->parent)
            ::SendMessage(r->parent, WM_COMMAND, MAKEWPARAM(r->id, code), reinterpret_cast<LPARAM>(m_hwnd));
    }
    HWND m_hwnd;
};

class ComboBox : public NativeControl {
public:
    QWidget* create(WindowRecord& r, QWidget* parent) override
    {
        m_combo = new Combo(r.hwnd, parent);
        DWORD kind = r.style & 3;
        m_combo->setEditable(kind == CBS_DROPDOWN || kind == CBS_SIMPLE);
        m_combo->setInsertPolicy(QComboBox::NoInsert);
        m_combo->setMaxVisibleItems(12);
        m_combo->setFocusPolicy(Qt::StrongFocus);
        m_sorted = (r.style & CBS_SORT) != 0;
        QObject::connect(m_combo, &QComboBox::currentIndexChanged, m_combo, [this](int) {
            if (!m_silent)
                notifyCommand(CBN_SELCHANGE);
        });
        if (m_combo->lineEdit()) {
            QObject::connect(m_combo->lineEdit(), &QLineEdit::textEdited, m_combo, [this] {
                notifyCommand(CBN_EDITUPDATE);
                notifyCommand(CBN_EDITCHANGE);
            });
        }
        return m_combo;
    }

    int fixedHeight() const override { return m_combo ? m_combo->sizeHint().height() : -1; }

    bool handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (!m_combo)
            return false;
        Silent silent(this);
        int count = m_combo->count();
        int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        switch (msg) {
        case CB_ADDSTRING: {
            QString t = Text(lParam);
            int at = count;
            if (m_sorted) {
                at = 0;
                while (at < count && m_combo->itemText(at).compare(t, Qt::CaseInsensitive) <= 0)
                    ++at;
            }
            m_combo->insertItem(at, t, QVariant(qlonglong(0)));
            result = at;
            return true;
        }
        case CB_INSERTSTRING: {
            int at = index < 0 || index > count ? count : index;
            m_combo->insertItem(at, Text(lParam), QVariant(qlonglong(0)));
            result = at;
            return true;
        }
        case CB_DELETESTRING:
            if (index < 0 || index >= count) {
                result = CB_ERR;
                return true;
            }
            m_combo->removeItem(index);
            result = m_combo->count();
            return true;
        case CB_RESETCONTENT:
            m_combo->clear();
            result = 0;
            return true;
        case CB_GETCOUNT:
            result = count;
            return true;
        case CB_GETCURSEL:
            result = m_combo->currentIndex();
            return true;
        case CB_SETCURSEL:
            if (index < 0 || index >= count) {
                m_combo->setCurrentIndex(-1);
                result = CB_ERR;
                return true;
            }
            m_combo->setCurrentIndex(index);
            result = index;
            return true;
        case CB_GETLBTEXT:
            if (index < 0 || index >= count) {
                result = CB_ERR;
                return true;
            }
            result = CopyOut(FromQ(m_combo->itemText(index)), reinterpret_cast<char*>(lParam), 0x7FFFFFFF);
            return true;
        case CB_GETLBTEXTLEN:
            result =
                index < 0 || index >= count ? CB_ERR : static_cast<LRESULT>(FromQ(m_combo->itemText(index)).size());
            return true;
        case CB_FINDSTRING:
        case CB_FINDSTRINGEXACT:
        case CB_SELECTSTRING: {
            int found = find(index, Text(lParam), msg == CB_FINDSTRINGEXACT);
            if (msg == CB_SELECTSTRING && found >= 0)
                m_combo->setCurrentIndex(found);
            result = found;
            return true;
        }
        case CB_GETITEMDATA:
            result = index < 0 || index >= count ? CB_ERR : static_cast<LRESULT>(m_combo->itemData(index).toLongLong());
            return true;
        case CB_SETITEMDATA:
            if (index < 0 || index >= count) {
                result = CB_ERR;
                return true;
            }
            m_combo->setItemData(index, QVariant(qlonglong(lParam)));
            result = TRUE;
            return true;
        case CB_SHOWDROPDOWN:
            if (wParam)
                m_combo->showPopup();
            else
                m_combo->hidePopup();
            result = TRUE;
            return true;
        case CB_GETDROPPEDSTATE:
            result = m_combo->view() && m_combo->view()->isVisible();
            return true;
        case CB_LIMITTEXT:
            if (m_combo->lineEdit())
                m_combo->lineEdit()->setMaxLength(wParam ? static_cast<int>(wParam) : 32767);
            result = TRUE;
            return true;
        case WM_SETTEXT: {
            QString t = Text(lParam);
            if (m_combo->lineEdit()) {
                m_combo->lineEdit()->setText(t);
                result = TRUE;
            } else {
                int i = m_combo->findText(t, Qt::MatchFixedString);
                if (i >= 0)
                    m_combo->setCurrentIndex(i);
                result = i >= 0 ? TRUE : CB_ERR;
            }
            return true;
        }
        case WM_GETTEXT:
            result = CopyOut(FromQ(m_combo->currentText()), reinterpret_cast<char*>(lParam), static_cast<int>(wParam));
            return true;
        case WM_GETTEXTLENGTH:
            result = static_cast<LRESULT>(FromQ(m_combo->currentText()).size());
            return true;
        case WM_GETDLGCODE:
            result = DLGC_WANTCHARS | DLGC_WANTARROWS;
            return true;
        default:
            return false;
        }
    }

    void focusChanged(bool in) override { notifyCommand(in ? CBN_SETFOCUS : CBN_KILLFOCUS); }

private:
    struct Silent {
        explicit Silent(ComboBox* c) : combo(c), was(c->m_silent) { c->m_silent = true; }
        ~Silent() { combo->m_silent = was; }
        ComboBox* combo;
        bool was;
    };

    static QString Text(LPARAM l) { return ToQ(l ? reinterpret_cast<const char*>(l) : ""); }

    // Searches after `start` (-1: from the top), wrapping round, without case.
    int find(int start, const QString& text, bool exact) const
    {
        int count = m_combo->count();
        for (int k = 1; k <= count; ++k) {
            int i = ((start < 0 ? -1 : start) + k) % count;
            QString item = m_combo->itemText(i);
            bool hit =
                exact ? item.compare(text, Qt::CaseInsensitive) == 0 : item.startsWith(text, Qt::CaseInsensitive);
            if (hit)
                return i;
        }
        return CB_ERR;
    }

    QPointer<Combo> m_combo;
    bool m_sorted = false;
    bool m_silent = false;
};

}  // namespace

std::unique_ptr<NativeControl> MakeComboBox()
{
    return std::make_unique<ComboBox>();
}

}  // namespace vxw
